// Saves PNG screenshots of the operator window: a fresh game, a game in progress with a
// checked winner, automatic drawing on, in English and in Finnish.
//   zorvi_screenshots <output folder>
// Runs on any Qt platform (offscreen needs no display); fonts as installed.
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <cstdio>

#include "BingoHelpers.h"
#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "Random.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;

namespace {

bool Save(CZorviDlg& window, const QString& folder, const QString& name) {
    QApplication::processEvents();
    const QString path = QDir(folder).filePath(name);
    const bool ok = window.grab().save(path);
    std::printf("%s %s\n", ok ? "saved" : "FAILED", qPrintable(path));
    return ok;
}

// Draws until some coupon wins the current row, then checks it.
void PlayToWinner(CZorviDlg& window) {
    auto& state = window.State();
    for (int guard = 0; guard < 75; ++guard) {
        window.OnTimer(Timer::DrawLock);
        window.Commands().DrawCommand();
        const auto drawn = state.DrawnNumbers();
        for (long long k = 1; k <= window.Coupons().CouponCount(); ++k) {
            if (window.Coupons().CheckCouponNumber(state.current_row, drawn, k) == 1) {
                auto* field = qobject_cast<QLineEdit*>(window.ControlById(Control::CouponField));
                field->setText(QString::number(k));
                window.Commands().CheckCommand();
                return;
            }
        }
    }
}

bool Scenes(const QString& folder, int language, const QString& suffix) {
    test::TestFolders folders;
    test::WriteSettings([language](Settings& s) {
        s.language = language;
        s.public_screen = 0;
        s.enable_background_voice = 0;
    });
    test::WriteCouponSeries(folders.programFolder() / "kup75.hex", 500, 25);
    Random15 generator(20240611u + unsigned(language));
    test::OperatorWindow program = test::BuildOperatorWindow(generator);
    CZorviDlg& window = *program;
    window.Start();
    bool ok = Save(window, folder, "fresh-" + suffix + ".png");
    PlayToWinner(window);
    window.OnTimer(Timer::DrawLock);
    ok = Save(window, folder, "winner-" + suffix + ".png") && ok;
    window.OnTimer(Timer::DrawLock);
    window.Commands().ToggleAutomatic();
    window.Commands().DrawCommand();
    ok = Save(window, folder, "automatic-" + suffix + ".png") && ok;
    window.Commands().StopAutomatic();
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    bool ok = Scenes(folder, 2, QStringLiteral("en"));
    ok = Scenes(folder, 0, QStringLiteral("fi")) && ok;
    return ok ? 0 : 1;
}
