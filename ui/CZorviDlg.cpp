#include "CZorviDlg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>

#include "CCalledNumbersDlg.h"
#include "CWaitDlg.h"
#include "ConfirmDlg.h"
#include "ControlIds.h"
#include "DialogResult.h"
#include "Folders.h"
#include "GameRules.h"
#include "IntegerField.h"
#include "KeyFilter.h"
#include "NumberLimitDlg.h"
#include "OkDlg.h"
#include "ProgramArt.h"
#include "StateFile.h"
#include "StaticControl.h"

namespace zorvi {

namespace {

// The coupon number field takes the numbers a coupon can have.
constexpr IntegerFieldRule kCouponField{GameRules::kLowestCouponNumber,
                                        GameRules::kHighestCouponNumber, false};

} // namespace

CZorviDlg::CZorviDlg(Game& game, QWidget* parent)
    : QDialog(parent), game_(game), settings_(game.GetSettings()), state_(game.State()),
      coupons_(game.Coupons()), log_(game.Log()), commands_(AttachTo(game)),
      noScreen_(std::make_unique<NoPlayersScreen>()), publicScreen_(noScreen_.get()),
      prompts_(this), messages_(prompts_),
      layout_(*this, paint_,
              [this](int id, const QString& text) { return ControlColoursFor(id, text); }) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(OperatorLayout::DialogFont());
    setWindowTitle(QString());
    setWindowIcon(ProgramIcon());
    resize(layout_.BaseSize());

    ConnectControls();

    // A modal window may have taken the release of a key that is marked as held.
    prompts_.SetAfterPrompt([this] {
        ForgetHeldKeys();
        // The machine's caller types the next ball straight after a question: the window takes
        // the keyboard back, also where no window manager hands it back.
        if (ballMachine_ && isVisible())
            activateWindow();
    });

    keyFilter_ = std::make_unique<KeyFilter>(
        [this](QKeyEvent* event) { return HandleKey(event); },
        [this](QObject* receiver) { return IsOurKeyReceiver(receiver); });
    keyFilter_->SetWindow(this);
    qApp->installEventFilter(keyFilter_.get());
}

GameCommands& CZorviDlg::AttachTo(Game& game) {
    game.AttachWindow(*this);
    return game.Commands();
}

void CZorviDlg::AttachPlayersScreen(PlayersScreen& screen) {
    publicScreen_ = &screen;
    PlayersScreen::Handlers handlers;
    handlers.draw = [this] { commands_.DrawCommand(); };
    handlers.close = [this] { HidePublicScreen(); };
    handlers.focus = [this] {
        activateWindow();
        FocusEntryField();
    };
    publicScreen_->SetHandlers(std::move(handlers));
}

CZorviDlg::~CZorviDlg() {
    // Nothing may come from the scan's thread while the window is taken down, and the
    // commands must not address a window that is gone.
    game_.DetachWindow();
    publicScreen_->SetHandlers({});
    qApp->removeEventFilter(keyFilter_.get());
    for (auto& [id, timer] : timers_)
        timer->stop();
    delete waitDlg_.data();
    log_.CloseLog();
}

void CZorviDlg::ConnectControls() {
    const auto onClick = [this](int id, auto handler) {
        if (auto* button = qobject_cast<QAbstractButton*>(ControlById(id)))
            connect(button, &QAbstractButton::clicked, this, handler);
    };
    onClick(Control::Draw, [this] { commands_.DrawCommand(); });
    onClick(Control::WinningNow, [this] { CheckFirstWinningNow(); });
    onClick(Control::AutomaticCheck, [this] { commands_.ToggleAutomatic(); });
    onClick(Control::IntervalDown, [this] { commands_.IntervalDown(); });
    onClick(Control::IntervalUp, [this] { commands_.IntervalUp(); });
    onClick(Control::CancelNumber, [this] { commands_.CancelNumberCommand(); });
    onClick(Control::NewGame, [this] { commands_.NewGameCommand(); });
    onClick(Control::RowUp, [this] { commands_.RowUpCommand(); });
    onClick(Control::RowDown, [this] { commands_.RowDownCommand(); });
    onClick(Control::Check, [this] { commands_.CheckCommand(); });
    onClick(Control::ShowDrawnNumbers, [this] { ShowDrawnNumbersCommand(); });
    onClick(Control::Settings, [this] { SettingsCommand(); });
    onClick(Control::Fullscreen, [this] { FullscreenCommand(); });
    onClick(Control::VolumeDown, [this] { VolumeDown(); });
    onClick(Control::VolumeUp, [this] { VolumeUp(); });
    onClick(Control::Exit, [this] { ExitCommand(); });
    onClick(Control::NextGame, [this] { commands_.NextGameCommand(); });
    onClick(Control::Programme, [this] { ProgrammeCommand(); });

    if (auto* slider = qobject_cast<QSlider*>(ControlById(Control::IntervalSlider))) {
        // Whenever the slider shows a new position the game takes it, without the bound
        // fields: a moved slider must never raise the coupon field's message.
        connect(slider, &QSlider::valueChanged, this, &CZorviDlg::OnIntervalSliderMoved);
        slider->installEventFilter(this);
    }
    if (auto* slider = qobject_cast<QSlider*>(ControlById(Control::VolumeSlider)))
        slider->installEventFilter(this);
}

bool CZorviDlg::eventFilter(QObject* watched, QEvent* event) {
    OnBoardCellEvent(watched, event);
    // A released mouse button on a slider: the position is final once the slider has taken
    // the release itself.
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == ControlById(Control::IntervalSlider))
            QTimer::singleShot(0, this, [this] { OnIntervalSliderReleased(); });
        else if (watched == ControlById(Control::VolumeSlider))
            QTimer::singleShot(0, this, [this] { VolumeFromSlider(); });
    }
    return QDialog::eventFilter(watched, event);
}

void CZorviDlg::OnIntervalSliderMoved(int position) {
    intervalPosition_ = position;
    commands_.IntervalFromSlider(position, false);
}

void CZorviDlg::OnIntervalSliderReleased() {
    if (!ReadBoundFields())
        return;
    commands_.IntervalFromSlider(intervalPosition_, true);
}

QString CZorviDlg::Text(TextId id) const {
    return QString::fromStdString(Language::GetText(id, settings_.language));
}

// ---- Keys -------------------------------------------------------------------------------

bool CZorviDlg::IsOurKeyReceiver(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget || !isEnabled())
        return false;
    const QWidget* top = widget->window();
    if (top != this && (!publicScreen_->window() || top != publicScreen_->window()))
        return false;
    // Keys of a modal window of ours are that window's own.
    const QWidget* modal = QApplication::activeModalWidget();
    return !modal || modal == this;
}

bool CZorviDlg::HandleKey(QKeyEvent* event) {
    // The focus of the application when a window of it is active, else the window's own.
    const QWidget* focused =
        QApplication::focusWidget() ? QApplication::focusWidget() : focusWidget();
    const QWidget* ballField = ControlById(Control::BallField);
    switch (event->key()) {
    case Qt::Key_Space:
        // Taken in every mode; the game draws nothing while the hall's machine draws.
        commands_.DrawCommand();
        return true;
    case Qt::Key_Plus:
        if (!event->modifiers().testFlag(Qt::KeypadModifier))
            return false;
        return commands_.StartStopKey();
    case kCheckWinningNowKey:
        CheckFirstWinningNow();
        return true;
    case kNextGameKey:
        // Only while a programme is loaded; the command itself asks first.
        if (!game_.ProgrammeRead().programme)
            return false;
        commands_.NextGameCommand();
        return true;
    case Qt::Key_Escape:
        HidePublicScreen();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (ballField && focused == ballField) {
            commands_.EnterBallCommand();
            return true;
        }
        if (focused != ControlById(Control::CouponField))
            return false;
        commands_.CheckCommand();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        // The machine's caller types into two fields, the ball and the coupon to check; the
        // computer's draw has one and Tab goes nowhere.
        if (!ballMachine_)
            return false;
        if (focused == ballField)
            FocusCouponField();
        else
            FocusBallField();
        return true;
    default:
        return false;
    }
}

void CZorviDlg::ForgetHeldKeys() {
    if (keyFilter_)
        keyFilter_->ForgetHeldKeys();
}

void CZorviDlg::keyPressEvent(QKeyEvent* event) {
    // Keys that no control took end here: the dialog's own keyboard interface (Enter for a
    // default button, Esc for closing, arrows between buttons) stays out of play.
    event->ignore();
}

bool CZorviDlg::focusNextPrevChild(bool) {
    return false;
}

void CZorviDlg::reject() {
    // Esc and every other way of cancelling the dialog do nothing; the window ends only
    // through Exit or a confirmed close request.
}

// ---- Bound fields -------------------------------------------------------------------------

bool CZorviDlg::ReadBoundFields() {
    auto* edit = qobject_cast<QLineEdit*>(ControlById(Control::CouponField));
    const IntegerFieldVerdict coupon =
        ReadIntegerField(edit ? edit->text().toStdString() : std::string(), kCouponField);
    if (!coupon.value) {
        // A refused field takes nothing: the fields keep their values and no caller acts.
        prompts_.FieldWarning(QString::fromStdString(coupon.message));
        // The box had the keyboard; without this the next digits typed would go nowhere.
        activateWindow();
        FocusCouponField();
        return false;
    }
    couponNumber_ = unsigned(*coupon.value);
    if (auto* slider = qobject_cast<QSlider*>(ControlById(Control::IntervalSlider)))
        intervalPosition_ = slider->value();
    intervalDisplay_ = ControlText(Control::IntervalDisplay);
    if (auto* slider = qobject_cast<QSlider*>(ControlById(Control::VolumeSlider)))
        volumePosition_ = slider->value();
    volumeDisplay_ = ControlText(Control::VolumeDisplay);
    return true;
}

void CZorviDlg::ShowBoundFields() {
    if (auto* edit = qobject_cast<QLineEdit*>(ControlById(Control::CouponField)))
        edit->setText(QString::number(couponNumber_));
    SetSliderPosition(Control::IntervalSlider, intervalPosition_);
    SetControlText(Control::IntervalDisplay, intervalDisplay_.toStdString());
    SetSliderPosition(Control::VolumeSlider, volumePosition_);
    SetControlText(Control::VolumeDisplay, volumeDisplay_.toStdString());
}

std::optional<long long> CZorviDlg::ReadCouponNumber() {
    if (!ReadBoundFields())
        return std::nullopt;
    return couponNumber_;
}

void CZorviDlg::FocusCouponField() {
    if (auto* edit = qobject_cast<QLineEdit*>(ControlById(Control::CouponField))) {
        edit->selectAll();
        edit->setFocus(Qt::OtherFocusReason);
    }
}

// ---- Controls -----------------------------------------------------------------------------

void CZorviDlg::EnableControl(int id, bool enable) {
    if (QWidget* w = ControlById(id))
        w->setEnabled(enable);
}

bool CZorviDlg::IsControlEnabled(int id) const {
    // The control's own state, not whether the whole window is enabled (tests ask it).
    const QWidget* w = ControlById(id);
    return w && w->isEnabledTo(const_cast<CZorviDlg*>(this));
}

void CZorviDlg::ShowControl(int id, bool show) {
    if (QWidget* w = ControlById(id))
        w->setVisible(show);
}

void CZorviDlg::SetAutomaticCheck(bool checked) {
    if (auto* check = qobject_cast<QCheckBox*>(ControlById(Control::AutomaticCheck)))
        check->setChecked(checked);
}

void CZorviDlg::SetSliderPosition(int id, int position) {
    auto* slider = qobject_cast<QSlider*>(ControlById(id));
    if (!slider)
        return;
    slider->setValue(position);
    if (id == Control::IntervalSlider)
        intervalPosition_ = slider->value();
    else if (id == Control::VolumeSlider)
        volumePosition_ = slider->value();
}

std::optional<ControlColours> CZorviDlg::ControlColoursFor(int id, const QString& text) const {
    const std::vector<int> drawn = state_.DrawnNumbers();
    const ColourContext context{paint_, drawn, int(layout_.CouponCells().size()),
                                settings_.free_middle, state_.bingo_found};
    return ChooseControlColours(id, text, context);
}

// ---- Timers -------------------------------------------------------------------------------

void CZorviDlg::StartTimer(int id, int periodMs) {
    QTimer*& timer = timers_[id];
    if (!timer) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    }
    timer->start(std::max(0, periodMs));
}

void CZorviDlg::StopTimer(int id) {
    const auto it = timers_.find(id);
    if (it != timers_.end())
        it->second->stop();
}

bool CZorviDlg::IsTimerActive(int id) const {
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->isActive();
}

int CZorviDlg::TimerInterval(int id) const {
    const auto it = timers_.find(id);
    return it == timers_.end() ? -1 : it->second->interval();
}

void CZorviDlg::OnTimer(int id) {
    switch (id) {
    case Timer::Automatic:
        commands_.OnAutomaticTick();
        break;
    case Timer::DrawLock:
        commands_.OnDrawLockTick();
        break;
    case Timer::OtherScreenWatch:
        CheckOtherScreen();
        break;
    default:
        break;
    }
}

// ---- Prompts ------------------------------------------------------------------------------

bool CZorviDlg::AskConfirmation(TextId question) {
    ConfirmDlg dialog(settings_, this);
    dialog.SetQuestion(Text(question));
    return prompts_.Run(dialog) == kResultYes;
}

void CZorviDlg::OkDlg(TextId message) {
    zorvi::OkDlg dialog(Text(message), this);
    prompts_.Run(dialog);
}

std::optional<int> CZorviDlg::NumberLimitDlg(int initialLimit) {
    zorvi::NumberLimitDlg dialog(settings_, paint_, initialLimit, this);
    if (prompts_.Run(dialog) == kResultOk)
        return dialog.limit();
    return std::nullopt;
}

void CZorviDlg::ShowMessage(const std::string& text) {
    prompts_.Message(QString::fromStdString(text));
}

// ---- Voice, public screen ------------------------------------------------------------

void CZorviDlg::SayNumber(int number) {
    voice_.SayNumber(number);
}
void CZorviDlg::SayNumberLimit() {
    voice_.SayNumberLimit();
}
void CZorviDlg::SayCorrect() {
    voice_.SayCorrect();
}

void CZorviDlg::ShowPublicScreen() {
    if (QWidget* window = publicScreen_->window())
        window->show();
}

void CZorviDlg::EnablePublicDrawButton(bool enable) {
    publicScreen_->EnableDrawButton(enable);
}

void CZorviDlg::SetPublicDrawCaption(TextId caption) {
    publicScreen_->SetDrawButtonText(caption);
}

void CZorviDlg::ReadCouponSeries(int numberCount, int couponSeries) {
    // The panel's blank coupon belongs to the series being replaced: the panel is built anew
    // from the new series' blank.
    couponPanelBlank_ = false;
    coupons_.ReadCouponSeries(numberCount, couponSeries);
}

void CZorviDlg::SetBackgroundVoice(bool on) {
    if (on)
        voice_.StartBackgroundVoice();
    else
        voice_.StopBackgroundVoice();
}

void CZorviDlg::SelectPageFolder() {
    const QString program = QString::fromStdU16String(Helpers::GetProgramFolder().u16string());
    publicScreen_->SetHtmlFolder(PlayersScreen::PageFolderFor(program, settings_.language));
}

void CZorviDlg::OpenPublicScreen(bool reload) {
    const int mode = state_.shown_public_screen;
    if (mode <= PublicScreenMode::None) {
        ClosePublicScreen();
        StopTimer(Timer::OtherScreenWatch);
        return;
    }
    // A new or reloaded page is shown the game by the public screen itself.
    publicScreen_->Open(mode, reload);
    StartTimer(Timer::OtherScreenWatch, 1000);
}

void CZorviDlg::ClosePublicScreen() {
    publicScreen_->Close();
}

void CZorviDlg::HidePublicScreen() {
    if (commands_.HidePublicScreen())
        publicScreen_->HideWindow();
}

void CZorviDlg::CheckOtherScreen() {
    if (state_.shown_public_screen != PublicScreenMode::OtherScreen)
        return;
    const QWidget* screen = publicScreen_->window();
    if (!screen)
        return;
    const QRect own = frameGeometry();
    const QRect other = screen->frameGeometry();
    // Left the second monitor: bring the window back to this one and stop watching.
    if (other.left() <= own.width() / 2) {
        settings_.public_screen = PublicScreenMode::SameScreen;
        state_.shown_public_screen = PublicScreenMode::SameScreen;
        OpenPublicScreen(false);
        StopTimer(Timer::OtherScreenWatch);
    }
}

} // namespace zorvi
