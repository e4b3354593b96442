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

    // The operator window's size at scale 1, in dialog units.
    static constexpr int kTemplateWidth = 471;
    static constexpr int kTemplateHeight = 351;
    // The layout's scale (1 in window mode) and its offset inside the window.
    double LayoutScale() const { return layoutScale_; }
    QPoint LayoutOffset() const { return layoutOffset_; }

    // Painting.
    void BuildCellGrid(int frameId, std::vector<StaticControl*>& cells, int perLine, int firstId,
                       const std::vector<std::string>& texts, const QFont& font);
    void PlaceCouponNumberLabel();
    void RoundControlCorners(int id, int ellipseWidth, int ellipseHeight);
    std::optional<ControlColours> ControlColoursFor(int id, const QString& text) const;

    // The operator's note on the coupon panel (a coupon outside the series); not a control of
    // the engine's.
    static constexpr int kCouponNoteId = 1110;
    // The winning-now line, for the operator only; a click on it (or its key) checks the first
    // coupon it names.
    static constexpr int kWinningNowId = 1120;
    static constexpr Qt::Key kCheckWinningNowKey = Qt::Key_F2;
    void CheckFirstWinningNow();
    // The line that tells where the hall's browsers find the game; shown while the hall
    // server runs.
    static constexpr int kHallAddressId = 1111;

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
    const DialogUnits& Units() const { return units_; }
    bool IsControlEnabled(int id) const;
    bool IsTimerActive(int id) const;
    int TimerInterval(int id) const;
    void OnTimer(int id);
    int BoardCellCount() const { return int(boardCells_.size()); }
    int CouponCellCount() const { return int(couponCells_.size()); }
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
    DialogUnits units_;

    // Attaches this window to the game and gives its commands.
    GameCommands& AttachTo(Game& game);
    void CreateControls();
    void ConnectControls();
    void SetFonts();
    // Layout at a scale (CZorviDlgScaling.cpp).
    static QFont DialogFont();
    int ScaledPixels(int pixels) const;
    QFont ScaledFont(const QFont& font) const;
    DialogUnits LayoutUnits() const;
    void ScaleLayoutTo(QSize area);
    void LayOutControls();
    void PlaceTemplateControls();
    void PlaceCells(int frameId, const std::vector<StaticControl*>& cells, int perLine,
                    const QFont& font);
    void RoundDisplays();
    void FitButtonTexts();
    void FitButton(QAbstractButton* button);
    static bool IsWrappedButton(int id);
    // Cells of the board and the coupon panel, in pixels at scale 1.
    static constexpr int kCellSize = 31;
    static constexpr int kCellPitch = 34;
    static constexpr int kCellsLeft = 10;
    static constexpr int kCellsTop = 20;
    static constexpr int kCellCorner = 5;
    static constexpr int kBoardCellsPerLine = 15;
    static constexpr int kCouponCellsPerLine = 5;
    bool HandleKey(QKeyEvent* event);
    bool IsOurKeyReceiver(QObject* receiver) const;
    QString Text(TextId id) const;
    void SetWrappedButtonText(int id, const QString& text);
    void ShowText(int id, const QString& text);
    void VolumeSteps();
    void OnIntervalSliderMoved(int position);
    void OnIntervalSliderReleased();
    void FinishWindow(int result);
    void DeleteCells();
    void HideCouponNote();
    void ShowHallAddress();
    void PlaceHallAddress();
    // Every second: how many screens follow the game, and the hall server's notes for the log.
    void WatchHallServer();
    void ShowCouponNoteText();
    void PlaceWinningNow();
    void ShowWinningNowText();
    // Saves the settings record; a failure is told to the operator (once, see the notice).
    void SaveSettings();
    // Tells the operator when the coupons in play reach beyond the series read.
    void NoteCouponsBeyondSeries();
    // Tells the operator that saves of one kind fail, after the command that saved has
    // finished, so that no message loop opens in the middle of a game step.
    void ReportSave(SaveFailureNotice& notice, bool saved, const QString& text);

    std::map<int, QWidget*> controls_;
    // Every control of the window in layout order (kTemplate), the frames without an
    // identifier too; rescaling places them again from their dialog units.
    std::vector<QWidget*> templateControls_;
    // The captions of the buttons that break them over lines, as given (unbroken).
    std::map<int, QString> buttonTexts_;
    double layoutScale_ = 1.0;
    QPoint layoutOffset_;
    std::map<int, QTimer*> timers_;
    // Controls that show a text of the language table, to show again in a new language.
    std::map<int, TextId> captions_;
    std::vector<StaticControl*> boardCells_;
    std::vector<StaticControl*> couponCells_;
    // The coupon panel shows the series' blank coupon. A flag, not a coupon view: a view
    // points into the series and would dangle once the series is read again.
    bool couponPanelBlank_ = false;
    StaticControl* couponNote_ = nullptr;
    StaticControl* hallAddress_ = nullptr;
    QTimer* hallWatch_ = nullptr;
    HallScreens hallShown_;
    // The coupon outside the series that the note tells about, and the series' size; 0 none.
    int noteCoupon_ = 0;
    int noteCouponCount_ = 0;
    QAbstractButton* winningNow_ = nullptr;
    int winningCount_ = 0;
    std::vector<int> winningFirst_;
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
