// The operator window's own commands on the offscreen platform: the settings step and its
// follow-ups, the volume, the window mode, the two ways out, and a data folder that cannot
// be written.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include "CSettingsDlg.h"
#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "Helpers.h"
#include "Language.h"
#include "LogVerifier.h"
#include "ProgramState.h"
#include "Random.h"
#include "Settings.h"
#include "TestFolders.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;
namespace fs = std::filesystem;

namespace {

const QString kGameNotSaved = QStringLiteral(
    "The game could not be saved: the data folder cannot be written. The game goes on but will "
    "not survive a restart.");
const QString kSettingsNotSaved = QStringLiteral(
    "The settings could not be saved: the data folder cannot be written. The changed settings "
    "last only until the program ends.");
const QString kLoadPrevious = QStringLiteral("Load previous state?");

// Counts the showings of wait windows anywhere in the application.
class WaitWindowCounter : public QObject {
public:
    WaitWindowCounter() { qApp->installEventFilter(this); }
    ~WaitWindowCounter() override { qApp->removeEventFilter(this); }
    int shown = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->inherits("zorvi::CWaitDlg"))
            ++shown;
        return false;
    }
};

QString Tr(TextId id, int language) {
    return QString::fromStdString(Language::GetText(id, language));
}

// A multi-line button's caption as one line.
QString OneLine(QString text) {
    return text.replace(QLatin1Char('\n'), QLatin1Char(' '));
}

std::string ReadLogs(const fs::path& dataFolder) {
    std::string log;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dataFolder / "logs", ec))
        log += test::TestFolders::ReadFile(entry.path());
    return log;
}

// The game log checked as `zorvi-draws verify` checks it; fails the test when a line fails.
LogVerifier::Result VerifyLogs(const fs::path& dataFolder) {
    LogVerifier verifier;
    std::istringstream in(ReadLogs(dataFolder));
    verifier.Feed(in);
    const LogVerifier::Result result = verifier.Finish();
    [&] { QVERIFY2(result.ok, (result.line + " " + result.reason).c_str()); }();
    return result;
}

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

int SettingsFileInt(const char* key) {
    return Helpers::ReadIniInt(Settings::kFileName, key, -1);
}

} // namespace

class WindowCommandsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{777};

    test::OperatorWindow StartWindow(ModalScript& script) {
        return test::StartOperatorWindow(generator_, script, 1000);
    }

    static void Draw(CZorviDlg& window) {
        test::EndDrawLock(window);
        window.Commands().DrawCommand();
    }

    static void Click(CZorviDlg& window, int id) {
        auto* button = qobject_cast<QAbstractButton*>(window.ControlById(id));
        QVERIFY(button);
        button->click();
    }

private slots:
    void init() {
        folders_ = test::PlainGameFolders();
        test::WriteCouponSeries(folders_->programFolder() / "90.hex", 100, 15);
    }
    void cleanup() { folders_.reset(); }

    // Coupons in play beyond the series read are taken as written (the hall may sell coupons
    // of a series not copied here yet), with a note once the settings step is over; the log
    // notes the change.
    void couponsInPlayBeyondTheSeries_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("note");
        QTest::newRow("within") << "7, 1-150"
                                << "1-150"
                                << "";
        QTest::newRow("within, merged") << "1-150, 151-200"
                                        << "1-200"
                                        << "";
        QTest::newRow("beyond") << "190-250, 1-10"
                                << "1-10, 190-250"
                                << QString::fromUtf8("The coupons in play go up to 250, but the "
                                                     "series holds only coupons 1\u2013200.");
    }
    void couponsInPlayBeyondTheSeries() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, note);
        ModalScript script;
        auto window = StartWindow(script);
        script.Add([&](QWidget* modal) {
            auto* dialog = qobject_cast<CSettingsDlg*>(modal);
            QVERIFY(dialog);
            qobject_cast<QLineEdit*>(dialog->Control(CSettingsDlg::IDC_COUPONS_IN_PLAY))
                ->setText(typed);
            qobject_cast<QAbstractButton*>(dialog->Control(CSettingsDlg::IDOK_BUTTON))->click();
        });
        script.AnswerRestWith(Answer::Ok);
        Click(*window, Control::Settings);
        const int modals = note.isEmpty() ? 1 : 2;
        QTRY_COMPARE(script.Seen().size(), modals);
        QTest::qWait(50);
        QCOMPARE(script.Seen().size(), modals);
        if (!note.isEmpty())
            QCOMPARE(script.Seen().last(), note);
        QCOMPARE(QString::fromStdString(window->GetSettings().coupons_in_play), stored);
        QCOMPARE(QString::fromStdString(
                     Helpers::ReadIniString(Settings::kFileName, "coupons_in_play", "-")),
                 stored);
        const std::string log = ReadLogs(folders_->dataFolder());
        QCOMPARE(Occurrences(log, ": Coupons in play: " +
                                      (stored.isEmpty() ? std::string("the whole series")
                                                        : stored.toStdString()) +
                                      "\r\n"),
                 stored.isEmpty() ? 0u : 1u);
    }

    // What follows the settings dialog, seen on the window. Each row plays three numbers,
    // checks a coupon, starts automatic drawing, then opens the settings.
    void settingsStep_data() {
        QTest::addColumn<int>("language");  // index to choose in the dialog, -1 none
        QTest::addColumn<QString>("count"); // number count to choose, empty none
        QTest::addColumn<bool>("ok");       // OK, else Cancel
        QTest::addColumn<int>("newLanguage");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("restarted");

        QTest::newRow("cancel changes nothing") << 0 << "90" << false << 2 << 75 << false;
        QTest::newRow("ok unchanged") << -1 << "" << true << 2 << 75 << false;
        QTest::newRow("language relabels") << 1 << "" << true << 1 << 75 << false;
        QTest::newRow("count 90 restarts") << -1 << "90" << true << 2 << 90 << true;
    }
    void settingsStep() {
        QFETCH(int, language);
        QFETCH(QString, count);
        QFETCH(bool, ok);
        QFETCH(int, newLanguage);
        QFETCH(int, n);
        QFETCH(bool, restarted);

        ModalScript script;
        auto window = StartWindow(script);
        for (int i = 0; i < 3; ++i)
            Draw(*window);
        const std::vector<int> sequence = window->State().randomizer_numbers;
        qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField))
            ->setText(QStringLiteral("7"));
        window->Commands().CheckCommand();
        QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("7"));
        QVERIFY(window->Commands().StartStopKey());
        QCOMPARE(window->State().auto_new_number, 2);
        const std::string settingsBefore =
            test::TestFolders::ReadFile(folders_->dataFolder() / Settings::kFileName);

        script.Add([&](QWidget* modal) {
            auto* dialog = qobject_cast<CSettingsDlg*>(modal);
            QVERIFY(dialog);
            if (language >= 0)
                qobject_cast<QComboBox*>(dialog->Control(CSettingsDlg::IDC_LANGUAGE))
                    ->setCurrentIndex(language);
            if (!count.isEmpty()) {
                auto* box =
                    qobject_cast<QComboBox*>(dialog->Control(CSettingsDlg::IDC_NUMBER_COUNT));
                box->setCurrentIndex(box->findText(count));
            }
            qobject_cast<QAbstractButton*>(
                dialog->Control(ok ? CSettingsDlg::IDOK_BUTTON : CSettingsDlg::IDC_CANCEL))
                ->click();
        });
        WaitWindowCounter waits;
        Click(*window, Control::Settings);
        QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));

        // Automatic drawing stopped before the dialog, whatever its end.
        QCOMPARE(window->State().auto_new_number, 1);
        QVERIFY(!window->IsTimerActive(Timer::Automatic));
        QCOMPARE(waits.shown, ok ? 1 : 0);
        QVERIFY(window->isEnabled());
        QCOMPARE(window->GetSettings().language, newLanguage);
        QCOMPARE(window->GetSettings().max_called_numbers, n);
        if (ok) {
            QCOMPARE(SettingsFileInt("language"), newLanguage);
            QCOMPARE(SettingsFileInt("max_called_numbers"), n);
        } else {
            QCOMPARE(test::TestFolders::ReadFile(folders_->dataFolder() / Settings::kFileName),
                     settingsBefore);
        }

        // Every text in the language now in use; the Draw button follows the stopped mode.
        QCOMPARE(OneLine(window->ControlText(Control::Draw)),
                 Tr(TextId::TXT_START_SPACEBAR, newLanguage));
        QCOMPARE(window->ControlText(Control::Settings), Tr(TextId::TXT_SETTINGS, newLanguage));
        // The texts the game told the window follow the language too.
        if (!restarted) {
            QCOMPARE(window->ControlText(Control::CheckResult), Tr(TextId::TXT_WRONG, newLanguage));
            const auto letter = Language::GetLetterName(window->State().CurrentNumber());
            QVERIFY(letter);
            QCOMPARE(window->ControlText(Control::LetterName), Tr(*letter, newLanguage));
        }
        QCOMPARE(window->ControlText(Control::WinnersHeading),
                 Tr(TextId::TXT_ROW, newLanguage) + "  " +
                     Tr(TextId::TXT_NUMBER_COUNT, newLanguage) + "  " +
                     Tr(TextId::TXT_GRID, newLanguage));

        const bool reread =
            ReadLogs(folders_->dataFolder()).find(": Reading coupons after settings change") !=
            std::string::npos;
        QCOMPARE(reread, restarted);
        // A restart reveals the game it gives up and commits the new one, nothing in between.
        const std::string log = ReadLogs(folders_->dataFolder());
        QCOMPARE(Occurrences(log, ": Game commitment: "), restarted ? 2u : 1u);
        QCOMPARE(Occurrences(log, ": Game reveal: "), restarted ? 1u : 0u);
        QCOMPARE(VerifyLogs(folders_->dataFolder()).games_verified, restarted ? 1u : 0u);
        QCOMPARE(window->BoardCellCount(), n);
        const int couponSize = n == 75 ? 25 : 15;
        QCOMPARE(window->CouponCellCount(), couponSize);
        QCOMPARE(int(window->Coupons().CouponSize()), couponSize);
        // The board's last cell stands on line 5 (75) or line 6 (90).
        const int lines = (n + 14) / 15;
        QCOMPARE(window->ControlById(Control::FirstBoardCell + n - 1)->y() -
                     window->ControlById(Control::FirstBoardCell)->y(),
                 34 * (lines - 1));
        if (restarted) {
            QCOMPARE(window->State().number_count, 0);
            QCOMPARE(int(window->State().randomizer_numbers.size()), 90);
            QCOMPARE(window->State().max_row, 3);
            QCOMPARE(window->ControlText(Control::DrawnCount), QStringLiteral("-"));
            // The checked coupon gave way to the new series' blank.
            QCOMPARE(window->ControlText(Control::CheckedCoupon), QStringLiteral("-"));
            for (int i = 0; i < couponSize; ++i)
                QCOMPARE(window->ControlText(Control::FirstCouponCell + i), QStringLiteral("0"));
            // The new game plays with the new series.
            window->Commands().SwitchToManual();
            Draw(*window);
            QCOMPARE(window->State().number_count, 1);
            window->Commands().CheckCommand();
            QCOMPARE(window->ControlText(Control::FirstCouponCell),
                     QString::number(window->Coupons().GetCoupon(7).Number(0)));
        } else {
            QCOMPARE(window->State().number_count, 3);
            QCOMPARE(window->State().randomizer_numbers, sequence);
            QCOMPARE(window->ControlText(Control::DrawnCount), QStringLiteral("3"));
        }
        QVERIFY(!script.Unexpected());
    }

    void volumeSteps_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("volume");
        QTest::addColumn<QString>("message");
        QTest::newRow("minus at 3") << 3 << "-" << 0 << "";
        QTest::newRow("plus at 98") << 98 << "+" << 100 << "";
        QTest::newRow("minus at 50") << 50 << "-" << 45 << "";
        QTest::newRow("slider released at 40") << 50 << "slider" << 40 << "";
        QTest::newRow("slider with a bad coupon field")
            << 50 << "slider, empty field" << 50 << "Enter a positive integer.";
    }
    void volumeSteps() {
        QFETCH(int, start);
        QFETCH(QString, action);
        QFETCH(int, volume);
        QFETCH(QString, message);
        test::WriteSettings([start](Settings& s) {
            s.language = 2;
            s.enable_background_voice = 0;
            s.volume = start;
        });
        ModalScript script;
        if (!message.isEmpty())
            script.Add(Answer::Ok);
        auto window = StartWindow(script);
        auto* slider = qobject_cast<QSlider*>(window->ControlById(Control::VolumeSlider));
        QCOMPARE(slider->value(), start);
        if (action == "-") {
            Click(*window, Control::VolumeDown);
        } else if (action == "+") {
            Click(*window, Control::VolumeUp);
        } else {
            if (action.contains("empty"))
                qobject_cast<QLineEdit*>(window->ControlById(Control::CouponField))->clear();
            slider->setValue(40);
            QTest::mouseRelease(slider, Qt::LeftButton);
            QTRY_COMPARE(script.Seen().size(), message.isEmpty() ? 0 : 1);
            QTest::qWait(50);
        }
        QCOMPARE(script.Seen(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(window->GetSettings().volume, volume);
        QCOMPARE(SettingsFileInt("volume"), volume);
        QCOMPARE(window->ControlText(Control::VolumeDisplay), QString::number(volume));
        if (message.isEmpty())
            QCOMPARE(slider->value(), volume);
    }

    void fullscreenTwiceReturnsToWindowMode() {
        ModalScript script;
        auto window = StartWindow(script);
        Click(*window, Control::Fullscreen);
        QCOMPARE(SettingsFileInt("dialog_mode"), 1);
        QVERIFY(window->isFullScreen());
        QCOMPARE(window->ControlText(Control::Fullscreen), QStringLiteral("Windowed"));
        Click(*window, Control::Fullscreen);
        QCOMPARE(SettingsFileInt("dialog_mode"), 0);
        QVERIFY(!window->isFullScreen());
        QCOMPARE(window->ControlText(Control::Fullscreen), QStringLiteral("Fullscreen"));
        QVERIFY(script.Seen().isEmpty());
    }

    // Exit and the close box ask the same two questions; only Exit ends the stored game,
    // which the next start-up then does not offer.
    void waysOut_data() {
        QTest::addColumn<bool>("exit");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("stateKept");
        const int yes = int(Answer::Yes), no = int(Answer::No);
        QTest::newRow("exit yes yes") << true << QList<int>{yes, yes} << true << false;
        QTest::newRow("exit yes no") << true << QList<int>{yes, no} << false << true;
        QTest::newRow("exit no") << true << QList<int>{no} << false << true;
        QTest::newRow("close yes yes") << false << QList<int>{yes, yes} << true << true;
        QTest::newRow("close no") << false << QList<int>{no} << false << true;
    }
    void waysOut() {
        QFETCH(bool, exit);
        QFETCH(QList<int>, answers);
        QFETCH(bool, ends);
        QFETCH(bool, stateKept);
        const fs::path stateFile = folders_->dataFolder() / "state.ini";
        {
            ModalScript script;
            auto window = StartWindow(script);
            Draw(*window);
            for (int answer : answers)
                script.Add(Answer(answer));
            if (exit)
                Click(*window, Control::Exit);
            else
                window->close();
            QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
            QCOMPARE(script.Seen().size(), answers.size());
            QCOMPARE(script.Seen().first(),
                     QStringLiteral("The game is on. Are you sure want to close the program?"));
            QCOMPARE(window->isVisible(), !ends);
            QCOMPARE(fs::exists(stateFile), stateKept);
            // Only Exit gives the game up: its sequence is revealed then.
            QCOMPARE(Occurrences(ReadLogs(folders_->dataFolder()), ": Game reveal: "),
                     exit && ends ? 1u : 0u);
        }
        // The next start-up.
        ModalScript script{Answer::Yes};
        auto window = StartWindow(script);
        QCOMPARE(script.Seen(), stateKept ? QStringList{kLoadPrevious} : QStringList());
        QCOMPARE(window->State().number_count, stateKept ? 1 : 0);
        // A continued game keeps its commitment; a fresh one gets its own.
        const std::string log = ReadLogs(folders_->dataFolder());
        QCOMPARE(Occurrences(log, ": Game commitment: "), stateKept ? 1u : 2u);
        VerifyLogs(folders_->dataFolder());
    }

    // A stored game declined at the next start is revealed before the new game is committed,
    // and the log verifies.
    void declinedStoredGameIsRevealed() {
        std::vector<int> first;
        {
            ModalScript script;
            auto window = StartWindow(script);
            Draw(*window);
            Draw(*window);
            first = window->State().randomizer_numbers;
            script.Add(Answer::Yes);
            script.Add(Answer::Yes);
            window->close();
            QVERIFY2(script.Done() && !script.Unexpected(), qPrintable(script.Seen().join(" | ")));
        }
        ModalScript script{Answer::No};
        auto window = StartWindow(script);
        QCOMPARE(script.Seen(), QStringList{kLoadPrevious});
        const std::string log = ReadLogs(folders_->dataFolder());
        std::string numbers;
        for (std::size_t i = 0; i < first.size(); ++i)
            numbers += (i ? "," : "") + std::to_string(first[i]);
        const std::size_t reveal = log.find(": Game reveal: ");
        QVERIFY(reveal != std::string::npos);
        QVERIFY(log.find(numbers, reveal) != std::string::npos);
        QVERIFY(log.rfind(": Game commitment: ") > reveal);
        QCOMPARE(VerifyLogs(folders_->dataFolder()).games_verified, 1u);
        QCOMPARE(window->State().number_count, 0);
    }

    // A data folder that cannot be written: the program starts and plays, and each kind of
    // failed save is told once; a save that works again arms the notice anew.
    void unwritableDataFolder_data() {
        QTest::addColumn<bool>("folderIsFile");
        QTest::newRow("data folder is a file") << true;
        QTest::newRow("state.ini becomes a folder") << false;
    }
    void unwritableDataFolder() {
        QFETCH(bool, folderIsFile);
        const fs::path data = folders_->dataFolder();
        if (folderIsFile) {
            fs::remove_all(data);
            test::TestFolders::WriteFile(data, "not a folder");
        }
        ModalScript script;
        script.AnswerRestWith(Answer::Ok);
        auto window = StartWindow(script);
        if (!folderIsFile) {
            // A folder there at start-up would be set aside; one that appears later stops
            // every save.
            fs::remove(data / "state.ini");
            fs::create_directory(data / "state.ini");
        }
        for (int i = 0; i < 5; ++i)
            Draw(*window);
        QCOMPARE(window->State().number_count, 5);
        QCOMPARE(window->ControlText(Control::DrawnCount), QStringLiteral("5"));
        QCOMPARE(window->ControlText(Control::CurrentNumber),
                 QString::number(window->State().CurrentNumber()));
        Click(*window, Control::VolumeUp);
        Click(*window, Control::VolumeUp);
        QTRY_VERIFY(script.Seen().contains(kGameNotSaved));
        QTest::qWait(100);
        QCOMPARE(script.Seen().count(kGameNotSaved), 1);
        QCOMPARE(script.Seen().count(kSettingsNotSaved), folderIsFile ? 1 : 0);
        QCOMPARE(window->GetSettings().volume, 35);
        QVERIFY(!script.Unexpected());
        QVERIFY(!QApplication::activeModalWidget());

        if (!folderIsFile) {
            // The folder goes: the next save works, and a later failure is told again.
            fs::remove(data / "state.ini");
            Draw(*window);
            QVERIFY(fs::is_regular_file(data / "state.ini"));
            fs::remove(data / "state.ini");
            fs::create_directory(data / "state.ini");
            Draw(*window);
            QTRY_COMPARE(script.Seen().count(kGameNotSaved), 2);
            QCOMPARE(window->State().number_count, 7);
        }
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "WindowCommandsTest.moc"
