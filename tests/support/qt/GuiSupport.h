#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "RecordingPlayersScreen.h"

class QWidget;

namespace zorvi {
class CZorviApp;
class CZorviDlg;
class DrawSource;
class Settings;
namespace test {
class TestFolders;
}
} // namespace zorvi

namespace zorvi::test {

// Answers the modal windows that open while a test runs, in order, the way an operator
// would: it waits for QApplication::activeModalWidget() and clicks or presses a key on it.
// Every modal seen is recorded with its text. A modal beyond the script, or one that is
// still open after the safety time, is closed with Esc and recorded as unexpected.
class ModalScript : public QObject {
    Q_OBJECT
public:
    enum class Answer { Yes, No, Esc, Ok };

    explicit ModalScript(std::initializer_list<Answer> answers = {}, int safetyMs = 8000);
    // Modals beyond the script get this answer instead of counting as unexpected (tests
    // that count what was shown rather than script it).
    void AnswerRestWith(Answer answer) { rest_ = ActionFor(answer); }
    ~ModalScript() override;

    // What to do with the next modal: a fixed answer, or an action of the test's own (fill
    // in a dialog and press its button).
    using Action = std::function<void(QWidget* modal)>;

    void Add(Answer answer);
    void Add(Action action) { answers_.push_back(std::move(action)); }
    // The texts of the modals seen, in order (question, message or box text).
    const QStringList& Seen() const { return seen_; }
    bool Unexpected() const { return unexpected_; }
    bool Done() const { return answers_.empty(); }

    // The text a modal window shows: the question, the message or the box's text.
    static QString ModalText(QWidget* modal);

private:
    void Poll();

    static Action ActionFor(Answer answer);

    std::deque<Action> answers_;
    Action rest_;
    QStringList seen_;
    bool unexpected_ = false;
    QTimer poll_;
    QPointer<QWidget> current_;
    qint64 currentSince_ = 0;
    int safetyMs_;
};

// A coupon-series file of `count` coupons of `size` numbers (25: five columns of the
// letter ranges, 15: numbers 1 to 90), the same for every run.
void WriteCouponSeries(const std::filesystem::path& file, int count, int size);

// Fresh data and program folders with the settings most window tests play with (English, no
// public screen, no background sound) and a series of 200 coupons of the 75-number game.
std::unique_ptr<TestFolders> PlainGameFolders();

// Writes "settings.ini" in the data folder with the given changes to the built-in values.
void WriteSettings(const std::function<void(Settings&)>& change);

// The operator window of a program built as the program builds itself (the game, the
// players' window, the hall server); releasing it ends the whole program.
struct ProgramEnd {
    std::shared_ptr<CZorviApp> program;
    void operator()(CZorviDlg*) { program.reset(); }
};
using OperatorWindow = std::unique_ptr<CZorviDlg, ProgramEnd>;

// The program around an operator window: its game, players' window and hall server.
CZorviApp& ProgramOf(OperatorWindow& window);

// The program built, its operator window not started yet; without a factory the players are
// shown nothing.
OperatorWindow BuildOperatorWindow(DrawSource& source, const PlayersScreenFactory& makeScreen = {});

// The operator window built and started as the program starts it, then activated (waiting
// at most `activeWaitMs` for it). Fails the test when the start-up showed a modal window
// that `script` did not expect.
// Its players' window is one that records the page calls, unless the test passes another.
OperatorWindow
StartOperatorWindow(DrawSource& source, ModalScript& script, int activeWaitMs = 5000,
                    const PlayersScreenFactory& makeScreen = RecordingPlayersScreen::Factory());

// One key event at the widget that has the focus (else the window), as the platform sends
// it; `timestamp` is the event time in milliseconds, 0 for none.
void SendKey(CZorviDlg& window, QEvent::Type type, int key,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false,
             unsigned long timestamp = 0);
// A press and a release.
void TapKey(CZorviDlg& window, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// The one-second lock of the Draw button runs out.
void EndDrawLock(CZorviDlg& window);

// The board cell of `number` is painted as drawn.
bool BoardCellMarked(CZorviDlg& window, int number);

// Every game log in the data folder, one after the other.
std::string GameLogText(const TestFolders& folders);

} // namespace zorvi::test
