#pragma once

#include <QDialog>
#include <QPointer>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "BingoCoupon.h"
#include "BingoHelpers.h"
#include "ColourRules.h"
#include "DialogUnits.h"
#include "Game.h"
#include "GameCommands.h"
#include "LogWriter.h"
#include "OperatorLayout.h"
#include "PaintHelper.h"
#include "PlayersScreen.h"
#include "ProgramState.h"
#include "Prompter.h"
#include "QtMessageSink.h"
#include "SaveFailureNotice.h"
#include "Settings.h"
#include "Voice.h"
#include "WindowRequests.h"

class QAbstractButton;
class QKeyEvent;
class QResizeEvent;
class QLineEdit;
class QPlainTextEdit;
class QSlider;
class QTimer;

namespace zorvi {

class CSettingsDlg;
class CWaitDlg;
class KeyFilter;
class DrawSource;
class StaticControl;

// What the operator window shows of the hall's screens: where a browser joins (empty while
// the hall server is off) and how many follow the game.
struct HallScreens {
    std::string url;
    int connected = 0;
};

// The operator's window: one front end of the running game. It binds its buttons, keys and
// timers to the game commands, carries out every request of the commands, speaks, and opens and
// places the players' window. The game, its pages and its log are the program's.
class CZorviDlg : public QDialog, public WindowRequests {
    Q_OBJECT
public:
    // Attaches itself to `game` as the window its commands address, until it goes.
    explicit CZorviDlg(Game& game, QWidget* parent = nullptr);
    ~CZorviDlg() override;

    // The players' window this window opens, places and keeps its draw button in step with;
    // without one the players are shown nothing. Not owned; set before the start-up.
    void AttachPlayersScreen(PlayersScreen& screen);
    // Where the window reads the hall's screens from, once a second; without it the line
    // stays empty.
    void SetHallScreens(std::function<HallScreens()> screens);
    // A message for the operator, shown once the step that is running now is over.
    void TellLater(const QString& text);

    // The start-up of the window: log, wait window, stored game, controls, public screen,
    // coupons, board, window mode, background sound, then the game. Runs once; showing the
    // window runs it when nobody has.
    void Start();
    bool started() const { return started_; }

    // Operations of the window.
    void FocusCouponField() override;
    void ForgetHeldKeys() override;
    // Takes the bound fields from the controls; false when the coupon field was refused (its
    // message shown, the focus back in it) and nothing was taken.
    bool ReadBoundFields();
    void ShowBoundFields() override;
    void RelabelWindow() override;
    void ApplyDialogMode();
    void SelectPageFolder() override;
    void PrepareControls();
    void OpenPublicScreen(bool reload) override;
    void ClosePublicScreen();
    void HidePublicScreen();
    void CheckOtherScreen();

    // Window commands.
    void ShowDrawnNumbersCommand();
    void SettingsCommand();
    void FullscreenCommand();
    void VolumeDown();
    void VolumeUp();
    void VolumeFromSlider();
    void ExitCommand();
    // The platform's close request: true when both questions were answered Yes.
    bool CloseRequest();
    // Closes the window without asking (the session ends); the game stays stored.
    void EndNow();
    // A step is running or a question is open: an answer made up now could decide for the
    // operator (give up the stored game, say), so the window cannot simply close.
    bool Deciding() const;

    // Where the controls stand, at which scale; the operator's own lines among them (the
    // note on a coupon outside the series, the winning-now line, the hall's address).
    const OperatorLayout& Layout() const { return layout_; }

    // A click on the winning-now line (or its key) checks the first coupon it names.
    static constexpr Qt::Key kCheckWinningNowKey = Qt::Key_F2;
    void CheckFirstWinningNow();

    // The evening's programme: its next game by the button or its key, and the dialog that
    // edits it.
    static constexpr Qt::Key kNextGameKey = Qt::Key_F8;
    void ProgrammeCommand();

    // Access for tests, tools and screenshots.
    QWidget* ControlById(int id) const;
    QString ControlText(int id) const;
    GameCommands& Commands() { return commands_; }
    ProgramState& State() { return state_; }
    Settings& GetSettings() { return settings_; }
    BingoHelpers& Coupons() { return coupons_; }
    PlayersScreen& PublicScreen() { return *publicScreen_; }
    // Every page the game is shown on: the public screen and any other that registers.
    PageFanOut& Pages() { return game_.Pages(); }
    bool IsControlEnabled(int id) const;
    bool IsTimerActive(int id) const;
    int TimerInterval(int id) const;
    void OnTimer(int id);
    int BoardCellCount() const { return int(layout_.BoardCells().size()); }
    int CouponCellCount() const { return int(layout_.CouponCells().size()); }
    KeyFilter& Keys() { return *keyFilter_; }
    Prompter& Prompts() { return prompts_; }

    // WindowRequests.
    void EnableControl(int id, bool enable) override;
    void ShowControl(int id, bool show) override;
    void SetControlText(int id, const std::string& text) override;
    void SetControlCaption(int id, TextId text) override;
    void SetAutomaticCheck(bool checked) override;
    void SetSliderPosition(int id, int position) override;
    void ScrollWinnersToEnd() override;
    std::optional<long long> ReadCouponNumber() override;
    void StartTimer(int id, int periodMs) override;
    void StopTimer(int id) override;
    void ClearCouponPanel() override;
    void ShowCoupon(const BingoCoupon& coupon) override;
    void ShowCouponNotInSeries(int couponNumber, int couponCount) override;
    void RepaintBoard() override;
    void RepaintCouponPanel() override;
    void RedrawAll() override;
    void RebuildNumberBoard(int n) override;
    bool AskConfirmation(TextId question) override;
    void ShowMessage(const std::string& text) override;
    void ReadCouponSeries(int numberCount, int couponSeries) override;
    void SetBackgroundVoice(bool on) override;
    void OkDlg(TextId message) override;
    std::optional<int> NumberLimitDlg(int initialLimit) override;
    void SayNumber(int number) override;
    void SayNumberLimit() override;
    void SayCorrect() override;
    void ShowPublicScreen() override;
    void EnablePublicDrawButton(bool enable) override;
    void SetPublicDrawCaption(TextId caption) override;
    void ShowWinningNow(int count, const std::vector<int>& first) override;
    void PostToWindowThread(std::function<void()> task) override;
    void ShowBallSource(bool machine) override;
    std::optional<long long> ReadBallNumber() override;
    void FocusBallField() override;
    bool AskBallConfirmation(int ball) override;
    void ShowBallRefused(std::optional<TextId> reason, long long entered, int highest) override;
    void ShowProgrammeStage(const PagePrizeBoard& board) override;
    bool SwitchNumberCount(int numberCount) override;

    // Esc and the dialog's own keyboard interface never close the window.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The running game and the parts of it the window works with most.
    Game& game_;
    Settings& settings_;
    ProgramState& state_;
    BingoHelpers& coupons_;
    LogWriter& log_;
    GameCommands& commands_;

    Voice voice_;
    PaintHelper paint_;
    // Stands in until a players' window is attached.
    std::unique_ptr<PlayersScreen> noScreen_;
    PlayersScreen* publicScreen_;
    std::function<HallScreens()> hallScreens_;

    Prompter prompts_;
    QtMessageSink messages_;
    OperatorLayout layout_;

    // Attaches this window to the game and gives its commands.
    GameCommands& AttachTo(Game& game);
    void ConnectControls();
    std::optional<ControlColours> ControlColoursFor(int id, const QString& text) const;
    void ScaleLayoutTo(QSize area);
    bool HandleKey(QKeyEvent* event);
    bool IsOurKeyReceiver(QObject* receiver) const;
    QString Text(TextId id) const;
    void ShowText(int id, const QString& text);
    void VolumeSteps();
    void OnIntervalSliderMoved(int position);
    void OnIntervalSliderReleased();
    void FinishWindow(int result);
    void HideCouponNote();
    void ShowHallAddress();
    // Every second: how many screens follow the game, and the hall server's notes for the log.
    void WatchHallServer();
    QString CouponNoteText() const;
    void ShowCouponNoteText();
    void ShowWinningNowText();
    // The field the operator types into next: the ball field while the hall's machine draws,
    // else the coupon number field.
    void FocusEntryField();
    void ShowBallRefusedText();
    // The programme's line in the current language, and the Next game button: shown while a
    // programme is loaded, enabled while it has a game to move on to.
    void ShowProgrammeStageText();
    void ShowNextGameButton();
    // A refused programme.ini, told once at the start-up.
    void TellProgrammeFault(const ProgrammeLoad& load);
    // A click on a number of the board enters it as a ball while the hall's machine draws.
    void WatchBoardClicks();
    void OnBoardCellEvent(QObject* watched, QEvent* event);
    void BoardNumberClicked(int number);
    // Saves the settings record; a failure is told to the operator (once, see the notice).
    void SaveSettings();
    // Tells the operator when the coupons in play reach beyond the series read.
    void NoteCouponsBeyondSeries();
    // Tells the operator that saves of one kind fail, after the command that saved has
    // finished, so that no message loop opens in the middle of a game step.
    void ReportSave(SaveFailureNotice& notice, bool saved, const QString& text);

    std::map<int, QTimer*> timers_;
    // Controls that show a text of the language table, to show again in a new language.
    std::map<int, TextId> captions_;
    // The coupon panel shows the series' blank coupon. A flag, not a coupon view: a view
    // points into the series and would dangle once the series is read again.
    bool couponPanelBlank_ = false;
    QTimer* hallWatch_ = nullptr;
    HallScreens hallShown_;
    // The coupon outside the series that the note tells about, and the series' size; 0 none.
    int noteCoupon_ = 0;
    int noteCouponCount_ = 0;
    int winningCount_ = 0;
    std::vector<int> winningFirst_;
    // The hall's machine draws (the ball field shown), and the refusal beside the field, kept
    // to be shown again in another language.
    bool ballMachine_ = false;
    std::optional<TextId> ballRefusal_;
    long long ballEntered_ = 0;
    int ballHighest_ = 0;
    // The programme's board last told, shown again in another language.
    PagePrizeBoard programmeBoard_;
    // The focus policies the buttons and sliders had before the machine took them away.
    std::map<QWidget*, Qt::FocusPolicy> clickFocus_;
    std::unique_ptr<KeyFilter> keyFilter_;
    QPointer<CWaitDlg> waitDlg_;
    SaveFailureNotice stateSaveNotice_;
    SaveFailureNotice settingsSaveNotice_;

    // Bound fields.
    unsigned couponNumber_ = 1;
    int intervalPosition_ = 0;
    QString intervalDisplay_;
    int volumePosition_ = 0;
    QString volumeDisplay_;

    QRect normalGeometry_; // window mode's place, kept while in full screen
    bool started_ = false;
    bool finishing_ = false;
};

} // namespace zorvi
