#include "CZorviApp.h"

#include <QCoreApplication>
#include <cstdlib>

#include "CZorviDlg.h"
#include "CouponsInPlay.h"
#include "Game.h"
#include "HallService.h"
#include "Language.h"
#include "SettingsChange.h"
#include "TemporaryFiles.h"

namespace zorvi {

CZorviApp::CZorviApp(Parts parts) : ownSource_(std::in_place) {
    Build(*ownSource_, std::move(parts));
}

CZorviApp::CZorviApp(DrawSource& source, Parts parts) {
    Build(source, std::move(parts));
}

CZorviApp::~CZorviApp() {
    // Each outlet leaves the fan-out before it goes (the hall server in its own destructor).
    // The operator window goes before the players' window it drives (whose window it owns as a
    // child), and the game last.
    game_->Coupons().OnSeriesRead({});
    hall_.reset();
    if (screen_ && screen_->Page())
        game_->Pages().Unregister(screen_->Page());
    window_.reset();
    screen_.reset();
    game_.reset();
}

void CZorviApp::Build(DrawSource& source, Parts parts) {
    game_ = std::make_unique<Game>(source, parts.scan);
    Game& game = *game_;
    if (parts.gameBuilt)
        parts.gameBuilt(game);
    window_ = parts.makeWindow ? parts.makeWindow(game) : std::make_unique<CZorviDlg>(game);
    CZorviDlg& window = *window_;

    if (parts.makeScreen)
        screen_ = parts.makeScreen(game.GetSettings(), game.Pages(), &window);
    if (!screen_)
        screen_ = std::make_unique<NoPlayersScreen>();
    if (PageCalls* page = screen_->Page())
        game.Pages().Register(page);
    window.AttachPlayersScreen(*screen_);

    hall_ = std::make_unique<HallService>(game.GetSettings(), game.Pages(), game.Log(),
                                          std::move(parts.hall));
    HallService& hall = *hall_;
    const Settings& settings = game.GetSettings();
    hall.OnStartFailed([&window, &settings](int port, const std::string& error) {
        window.TellLater(
            QString::fromStdString(
                Language::GetText(TextId::TXT_HALL_SERVER_START_FAILED, settings.language))
                .arg(port)
                .arg(QString::fromStdString(error)));
    });
    // The players' phones look their coupons up in the series in use, among the coupons in
    // play.
    const auto shareCoupons = [&game, &hall] {
        const Settings& now = game.GetSettings();
        std::vector<std::pair<int, int>> inPlay;
        if (const auto parsed = CouponsInPlay::Parse(now.coupons_in_play))
            inPlay = parsed->Ranges();
        hall.Server().SetCoupons(game.Coupons().SeriesBytes(), game.Coupons().CouponSize(),
                                 now.max_called_numbers, std::move(inPlay));
    };
    game.Coupons().OnSeriesRead(shareCoupons);
    game.Follow({[&hall, shareCoupons] {
                     shareCoupons();
                     hall.Apply();
                 },
                 [&hall, shareCoupons](const SettingsChange& change) {
                     if (change.coupons_in_play_changed)
                         shareCoupons();
                     if (change.hall_server_changed)
                         hall.Apply();
                 }});
    window.SetHallScreens([&hall] { return HallScreens{hall.Url(), hall.Connected()}; });
}

int CZorviApp::InitInstance() {
    window_->Start();
    if (!ending_)
        window_->exec();
    return 0;
}

void CZorviApp::EndOnSignal() {
    ending_ = true;
    if (window_->Deciding()) {
        // No answer may be made up for the operator: the program ends as a crash would, which
        // the stored game survives by design, and takes its temporary files along.
        RemoveOwnTemporaryFiles();
        std::_Exit(0);
    }
    window_->EndNow();
    // Every running event loop returns, a prompt's too; the start-up, if it is still
    // running, finishes its steps and the window is not shown.
    QCoreApplication::exit(0);
}

} // namespace zorvi
