#include "Game.h"

#include "Folders.h"
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
    commands_->AttachJackpots(&jackpots_);
    commands_->SetProgramme(programme_.programme);
}

const ProgrammeLoad& Game::LoadProgramme() {
    Helpers::EnsureDataFolder();
    programme_ = ProgrammeStore::Load(Helpers::GetDataFolder());
    // A damaged jackpots file leaves every jackpot at its programme's values.
    jackpots_.Load(Helpers::GetDataFolder());
    if (commands_)
        commands_->SetProgramme(programme_.programme);
    return programme_;
}

bool Game::RemoveProgramme() {
    std::error_code error;
    std::filesystem::remove(Helpers::GetDataFolder() / kProgrammeFileName, error);
    if (error)
        return false;
    programme_ = ProgrammeLoad{};
    if (commands_)
        commands_->SetProgramme(std::nullopt);
    return true;
}

bool Game::ReplaceProgramme(const Programme& programme) {
    Helpers::EnsureDataFolder();
    if (!ProgrammeStore::Save(Helpers::GetDataFolder(), programme))
        return false;
    programme_ = ProgrammeLoad{programme, std::nullopt, false};
    if (commands_)
        commands_->SetProgramme(programme_.programme);
    return true;
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
