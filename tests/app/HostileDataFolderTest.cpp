// The operator window's start-up on the offscreen platform with prepared data and program
// folders: whatever lies in place of a file, the start reaches a playable game, says what
// happened, keeps a set-aside copy and writes clean files.
#include <QAbstractButton>
#include <QTest>
#include <filesystem>
#include <memory>

#ifdef __linux__
#include <sys/mount.h>
#endif

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "GuiSupport.h"
#include "Helpers.h"
#include "HostileFiles.h"
#include "ProgramState.h"
#include "Random.h"
#include "SetAside.h"
#include "Settings.h"
#include "StateFile.h"
#include "TestFolders.h"

using namespace zorvi;
using test::Hostile;
using test::ModalScript;
using Answer = ModalScript::Answer;
namespace fs = std::filesystem;

Q_DECLARE_METATYPE(test::Hostile)

namespace {

const QString kFiled = QStringLiteral("Corrupted state filed, resetting");

bool StartsAsOurFile(const fs::path& path) {
    return fs::is_regular_file(fs::symlink_status(path)) &&
           test::TestFolders::ReadFile(path).rfind("[common]", 0) == 0;
}

} // namespace

class HostileDataFolderTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<test::TestFolders> folders_;
    Random15 generator_{31};

    test::OperatorWindow StartWindow() {
        auto window = test::BuildOperatorWindow(generator_);
        window->Start();
        return window;
    }
    static void Draw(CZorviDlg& window) {
        window.OnTimer(Timer::DrawLock); // the one-second lock ends
        window.Commands().DrawCommand();
    }

private slots:
    void init() { folders_ = test::PlainGameFolders(); }
    void cleanup() { folders_.reset(); }

    void startsPlayable_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<test::Hostile>("kind");
        QTest::addColumn<QString>("message"); // the start of the one message, or empty
        const Hostile all[] = {Hostile::GarbageText, Hostile::BinaryJunk, Hostile::Junk50MB,
                               Hostile::Pipe,        Hostile::Endless,    Hostile::Folder};
        for (const Hostile kind : all) {
            QTest::addRow("state %s", test::HostileName(kind)) << "state.ini" << kind << kFiled;
            QTest::addRow("settings %s", test::HostileName(kind))
                << "settings.ini" << kind
                << QStringLiteral("Unusable settings filed as settings.ini.corrupt-");
        }
        QTest::addRow("extra-version pipe") << "extra-version" << Hostile::Pipe << QString();
        QTest::addRow("extra-version endless") << "extra-version" << Hostile::Endless << QString();
        QTest::addRow("coupons pipe") << "kup75.hex" << Hostile::Pipe
                                      << QStringLiteral("Failed opening coupon file: kup75.hex");
        QTest::addRow("coupons folder") << "kup75.hex" << Hostile::Folder
                                        << QStringLiteral("Failed opening coupon file: kup75.hex");
    }
    void startsPlayable() {
        QFETCH(QString, file);
        QFETCH(test::Hostile, kind);
        QFETCH(QString, message);
        const bool inData = file.endsWith(QStringLiteral(".ini"));
        const fs::path folder = inData ? folders_->dataFolder() : folders_->programFolder();
        const fs::path path = folder / file.toStdString();
        fs::remove(path);
        if (!test::PutHostile(path, kind))
            QSKIP("cannot be made here");

        ModalScript script;
        script.AnswerRestWith(Answer::Ok);
        auto window = StartWindow();
        if (message.isEmpty()) {
            QVERIFY2(script.Seen().isEmpty(), qPrintable(script.Seen().join(" | ")));
        } else {
            QCOMPARE(script.Seen().size(), 1);
            QVERIFY2(script.Seen().first().startsWith(message), qPrintable(script.Seen().first()));
        }
        QCOMPARE(window->Commands().LoadedAtStart(), file == "state.ini" ? -1 : 0);

        // A playable fresh game whose every draw is saved to a clean file.
        Draw(*window);
        Draw(*window);
        QCOMPARE(window->State().number_count, 2);
        QCOMPARE(window->ControlText(Control::DrawnCount), QStringLiteral("2"));
        const fs::path state = folders_->dataFolder() / "state.ini";
        QVERIFY(StartsAsOurFile(state));
        QVERIFY(fs::file_size(state) < 1000);
        QCOMPARE(Helpers::ReadIniInt("state.ini", "number_count", -1), 2);

        if (inData) {
            const std::vector<std::string> copies = Helpers::SetAsideCopies(file.toStdString());
            QCOMPARE(copies.size(), std::size_t{1});
            const fs::path copy = folders_->dataFolder() / copies.front();
            QVERIFY(fs::exists(fs::symlink_status(copy)));
            if (test::HostileSize(kind) > 0)
                QCOMPARE(fs::file_size(copy), test::HostileSize(kind));
        } else {
            // The program folder is only read: what was there stays.
            QVERIFY(fs::exists(fs::symlink_status(path)));
        }
        if (file == "settings.ini") {
            // Defaults in use; the first save of a setting writes a clean file.
            QCOMPARE(window->GetSettings().volume, 25);
            QVERIFY(!fs::exists(folders_->dataFolder() / "settings.ini"));
            auto* volumeUp = qobject_cast<QAbstractButton*>(window->ControlById(Control::VolumeUp));
            QVERIFY(volumeUp);
            volumeUp->click();
            QVERIFY(StartsAsOurFile(folders_->dataFolder() / "settings.ini"));
            QCOMPARE(Helpers::ReadIniInt("settings.ini", "volume", -1), 30);
            QCOMPARE(Helpers::SetAsideCopies("settings.ini").size(), std::size_t{1});
        }
        QVERIFY(!script.Unexpected());
    }

    // A corrupted state that cannot be moved (the data folder is read-only) stays as it is:
    // the operator is told so, the game is played without being saved, and the file is never
    // written over.
    void corruptedStateThatCannotBeMoved_data() {
        QTest::addColumn<bool>("junkSettings");
        QTest::newRow("settings good") << false;
        QTest::newRow("settings junk too") << true;
    }
    void corruptedStateThatCannotBeMoved() {
        QFETCH(bool, junkSettings);
#ifdef __linux__
        const fs::path data = folders_->dataFolder();
        if (::mount("tmpfs", data.c_str(), "tmpfs", 0, "size=1m") != 0)
            QSKIP("no tmpfs can be mounted here");
        struct Unmount {
            fs::path path;
            ~Unmount() { ::umount2(path.c_str(), MNT_DETACH); }
        } unmount{data};
        test::WriteSettings([](Settings& s) {
            s.language = 2;
            s.public_screen = 0;
            s.enable_background_voice = 0;
        });
        if (junkSettings)
            test::TestFolders::WriteFile(data / "settings.ini", "no settings in here");
        test::TestFolders::WriteFile(data / "state.ini", "no game in here");
        QCOMPARE(::mount("tmpfs", data.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, "size=1m"), 0);

        ModalScript script;
        script.AnswerRestWith(Answer::Ok);
        auto window = StartWindow();
        QCOMPARE(window->Commands().LoadedAtStart(), -1);
        QVERIFY2(script.Seen().contains(QStringLiteral("Corrupted state left in place, resetting")),
                 qPrintable(script.Seen().join(" | ")));
        QVERIFY(!script.Seen().contains(kFiled));
        QCOMPARE(script.Seen().contains(
                     QStringLiteral("Unusable settings left in place, using defaults")),
                 junkSettings);
        if (junkSettings)
            QCOMPARE(test::TestFolders::ReadFile(data / "settings.ini"),
                     std::string("no settings in here"));
        Draw(*window);
        QCOMPARE(window->State().number_count, 1);
        QCOMPARE(test::TestFolders::ReadFile(data / "state.ini"), std::string("no game in here"));
        QVERIFY(Helpers::SetAsideCopies("state.ini").empty());
        window.reset();
#else
        QSKIP("needs a mountable file system");
#endif
    }

    // A stored game with 100,000 winners is no corruption: it is offered, resumed and played.
    void hundredThousandWinnersResume() {
        {
            Settings settings;
            ProgramState game(generator_);
            game.AttachSettings(settings);
            game.ResetGame();
            for (int i = 0; i < 20; ++i)
                game.DrawNext();
            for (int k = 1; k <= 100000; ++k)
                game.winners.push_back(Winner{1 + k % 5, 20, k});
            QVERIFY(StateFile::SaveState(game));
        }
        const fs::path state = folders_->dataFolder() / "state.ini";
        const auto size = fs::file_size(state);

        ModalScript script{Answer::Yes};
        auto window = StartWindow();
        QCOMPARE(script.Seen(), QStringList{QStringLiteral("Load previous state?")});
        QCOMPARE(window->Commands().LoadedAtStart(), 1);
        QCOMPARE(window->State().winners.size(), std::size_t{100000});
        Draw(*window);
        QCOMPARE(window->State().number_count, 21);
        QCOMPARE(Helpers::ReadIniInt("state.ini", "number_count", -1), 21);
        QVERIFY(fs::file_size(state) <= size + 3);
        QVERIFY(Helpers::SetAsideCopies("state.ini").empty());
        QVERIFY(!script.Unexpected());
    }
};

QTEST_MAIN(HostileDataFolderTest)
#include "HostileDataFolderTest.moc"
