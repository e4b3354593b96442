#include "GuiSupport.h"

#include "CZorviApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <fstream>
#include <vector>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "Folders.h"
#include "Random.h"
#include "Settings.h"
#include "StaticControl.h"
#include "TestFolders.h"

namespace zorvi::test {

ModalScript::ModalScript(std::initializer_list<Answer> answers, int safetyMs)
    : safetyMs_(safetyMs) {
    for (Answer answer : answers)
        Add(answer);
    connect(&poll_, &QTimer::timeout, this, &ModalScript::Poll);
    poll_.start(10);
}

void ModalScript::Add(Answer answer) {
    answers_.push_back(ActionFor(answer));
}

ModalScript::Action ModalScript::ActionFor(Answer answer) {
    return [answer](QWidget* modal) {
        auto click = [modal](const char* name) {
            if (auto* button = modal->findChild<QPushButton*>(QString::fromLatin1(name)))
                button->click();
        };
        switch (answer) {
        case Answer::Yes:
            click("1057");
            break;
        case Answer::No:
            click("1056");
            break;
        case Answer::Esc:
            QTest::keyClick(modal, Qt::Key_Escape);
            break;
        case Answer::Ok:
            if (auto* box = qobject_cast<QMessageBox*>(modal))
                box->button(QMessageBox::Ok)->click();
            else
                click("1");
            break;
        }
    };
}

ModalScript::~ModalScript() {
    poll_.stop();
}

QString ModalScript::ModalText(QWidget* modal) {
    if (auto* box = qobject_cast<QMessageBox*>(modal))
        return box->text();
    for (const char* name : {"1064", "1075", "1096"})
        if (auto* label = modal->findChild<QLabel*>(QString::fromLatin1(name)))
            return label->text();
    return modal->metaObject()->className();
}

void ModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || (modal->windowFlags() & Qt::Window) == 0 || !modal->isVisible())
        return;
    // The operator window itself runs modally in the program, never in these tests.
    if (modal->inherits("zorvi::CZorviDlg"))
        return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (modal == current_) {
        if (now - currentSince_ > safetyMs_) {
            unexpected_ = true;
            QTest::keyClick(modal, Qt::Key_Escape);
        }
        return;
    }
    current_ = modal;
    currentSince_ = now;
    seen_ << ModalText(modal);
    Action action;
    if (!answers_.empty()) {
        action = std::move(answers_.front());
        answers_.pop_front();
    } else if (rest_) {
        action = rest_;
    } else {
        unexpected_ = true;
        QTest::keyClick(modal, Qt::Key_Escape);
        return;
    }
    action(modal);
}

void WriteCouponSeries(const std::filesystem::path& file, int count, int size) {
    Random15 random(12345);
    std::vector<char> bytes;
    for (int k = 0; k < count; ++k) {
        if (size == 25) {
            // Five columns, one per letter range, each five different numbers of its range.
            int cells[5][5];
            for (int column = 0; column < 5; ++column) {
                std::vector<int> range;
                for (int n = 1; n <= 15; ++n)
                    range.push_back(column * 15 + n);
                Helpers::ShuffleSequence(random, range);
                for (int row = 0; row < 5; ++row)
                    cells[row][column] = range[std::size_t(row)];
            }
            for (auto& row : cells)
                for (int n : row)
                    bytes.push_back(char(n));
        } else {
            std::vector<int> all;
            for (int n = 1; n <= 90; ++n)
                all.push_back(n);
            Helpers::ShuffleSequence(random, all);
            for (int i = 0; i < size; ++i)
                bytes.push_back(char(all[std::size_t(i)]));
        }
    }
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

CZorviApp& ProgramOf(OperatorWindow& window) {
    return *window.get_deleter().program;
}

OperatorWindow BuildOperatorWindow(DrawSource& source, const PlayersScreenFactory& makeScreen) {
    CZorviApp::Parts parts;
    parts.makeScreen = makeScreen;
    auto program = std::make_shared<CZorviApp>(source, std::move(parts));
    CZorviDlg* window = &program->Window();
    return OperatorWindow(window, ProgramEnd{std::move(program)});
}

OperatorWindow StartOperatorWindow(DrawSource& source, ModalScript& script, int activeWaitMs,
                                   const PlayersScreenFactory& makeScreen) {
    OperatorWindow window = BuildOperatorWindow(source, makeScreen);
    window->Start();
    window->activateWindow();
    // A message box of the start-up keeps the activation for itself.
    (void)QTest::qWaitForWindowActive(window.get(), activeWaitMs);
    [&] { QVERIFY2(!script.Unexpected(), qPrintable(script.Seen().join(" | "))); }();
    return window;
}

void SendKey(CZorviDlg& window, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers,
             bool autoRepeat, unsigned long timestamp) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &window;
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    QKeyEvent event(type, key, modifiers, text, autoRepeat);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(target, &event);
}

void TapKey(CZorviDlg& window, int key, Qt::KeyboardModifiers modifiers) {
    SendKey(window, QEvent::KeyPress, key, modifiers);
    SendKey(window, QEvent::KeyRelease, key, modifiers);
}

void EndDrawLock(CZorviDlg& window) {
    window.OnTimer(Timer::DrawLock);
}

bool BoardCellMarked(CZorviDlg& window, int number) {
    auto* cell =
        qobject_cast<StaticControl*>(window.ControlById(Control::FirstBoardCell + number - 1));
    const auto colours = cell ? cell->currentColours() : std::nullopt;
    return colours && colours->brush;
}

std::string GameLogText(const TestFolders& folders) {
    std::string log;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folders.dataFolder() / "logs", ec))
        log += TestFolders::ReadFile(entry.path());
    return log;
}

std::unique_ptr<TestFolders> PlainGameFolders() {
    auto folders = std::make_unique<TestFolders>();
    WriteSettings([](Settings& s) {
        s.language = 2;
        s.public_screen = 0;
        s.enable_background_voice = 0;
    });
    WriteCouponSeries(folders->programFolder() / "kup75.hex", 200, 25);
    return folders;
}

void WriteSettings(const std::function<void(Settings&)>& change) {
    Helpers::EnsureDataFolder();
    Settings settings(Settings::NoLoad{});
    change(settings);
    settings.SaveSettings();
}

} // namespace zorvi::test
