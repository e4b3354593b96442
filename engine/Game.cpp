#include "Game.h"

#include "SettingsChange.h"

namespace zorvi {

Game::Game(DrawSource& source, WinningNowScan::Mode scan) : state_(source), scanMode_(scan) {}

Game::~Game() {
    DetachWindow();
}

void Game::AttachWindow(WindowRequests& window) {
    DetachWindow();
    commands_ = std::make_unique<GameCommands>(state_, settings_, coupons_, window, pages_, log_);
    scan_ = std::make_unique<WinningNowScan>(scanMode_);
    commands_->AttachWinningScan(scan_.get());
}

void Game::DetachWindow() {
    if (scan_)
        scan_->Stop();
    commands_.reset();
    scan_.reset();
}

void Game::Started() {
    for (const Follower& follower : followers_)
        if (follower.started)
            follower.started();
}

void Game::ApplySettingsChange(const SettingsChange& change) {
    if (commands_)
        commands_->ApplySettingsChange(change);
    for (const Follower& follower : followers_)
        if (follower.settingsChanged)
            follower.settingsChanged(change);
}

} // namespace zorvi
