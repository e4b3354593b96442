// The operator window's start-up and its own commands (drawn numbers, window mode, volume
// and the two ways out). The settings step is in CZorviDlgSettings.cpp.
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>
#include <QTimer>

#include "CCalledNumbersDlg.h"
#include "CWaitDlg.h"
#include "CZorviDlg.h"
#include "ControlIds.h"
#include "Folders.h"
#include "GameRules.h"
#include "LogLines.h"
#include "ProgramArt.h"
#include "StateFile.h"
#include "StaticControl.h"
#include "WaitWithMessages.h"
#include "WindowTitle.h"

namespace zorvi {

void CZorviDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Shown without an explicit start: start as soon as the window is up.
    if (!started_)
        QTimer::singleShot(0, this, [this] { Start(); });
}

void CZorviDlg::Start() {
    if (started_)
        return;
    started_ = true;

    setWindowIcon(ProgramIcon());
    log_.OpenLog(&messages_);
    log_.WriteLog(std::string(LogLines::kProgramStart));

    waitDlg_ = new CWaitDlg(Text(TextId::TXT_PROGRAM_STARTING), this);
    waitDlg_->ShowCentred();
    Helpers::WaitWithMessages(50);

    state_.AttachSettings(settings_);
    voice_.AttachSettings(settings_);
    coupons_.AttachSettings(settings_);
    coupons_.AttachMessages(&messages_);
    state_.AttachSaver([this](const ProgramState& state) {
        ReportSave(stateSaveNotice_, StateFile::SaveState(state),
                   QStringLiteral("The game could not be saved: the data folder cannot be "
                                  "written. The game goes on but will not survive a restart."));
    });

    // The settings record was read when the window was built; what it did with a file it
    // could not use is told once, here.
    if (!settings_.SetAsideAs().empty())
        prompts_.Message(QStringLiteral("Unusable settings filed as %1, using defaults")
                             .arg(QString::fromStdString(settings_.SetAsideAs())));
    else if (settings_.LeftInPlace())
        prompts_.Message(QStringLiteral("Unusable settings left in place, using defaults"));

    // The programme comes first: a stored game of it is read back by its place in it.
    TellProgrammeFault(game_.LoadProgramme());
    commands_.LoadStoredGame();

    RelabelWindow();
    SelectPageFolder();
    PrepareControls();
    OpenPublicScreen(false);
    publicScreen_->WaitUntilLoaded();
    ReadCouponSeries(settings_.max_called_numbers, settings_.coupon_series);
    log_.WriteLog(std::string(LogLines::kReadCoupons));
    ClearCouponPanel();
    RebuildNumberBoard(settings_.max_called_numbers);
    ApplyDialogMode();
    RelabelWindow();
    delete waitDlg_.data();
    publicScreen_->EnableButtons(true);
    SetBackgroundVoice(settings_.enable_background_voice != 0);
    commands_.ResumeOrStart();
    game_.Started();
    ShowHallAddress();
    ShowNextGameButton();

    // The interval slider's first showing hands its position to the game.
    if (auto* slider = qobject_cast<QSlider*>(ControlById(Control::IntervalSlider)))
        OnIntervalSliderMoved(slider->value());
}

void CZorviDlg::PrepareControls() {
    setWindowTitle(QString::fromStdString(BuildWindowTitle(Helpers::GetProgramFolder())));
    SetControlText(Control::CheckedCoupon, "-");

    // The stored interval of a game that goes on, the start interval of a new one.
    const int interval = state_.auto_speed;
    auto* intervalSlider = qobject_cast<QSlider*>(ControlById(Control::IntervalSlider));
    // The slider is only placed here; the game takes its position once the start is over.
    const bool wasBlocked = intervalSlider && intervalSlider->blockSignals(true);
    intervalDisplay_ = QString::number(interval);
    volumeDisplay_ = QString::number(settings_.volume);
    ShowBoundFields();
    if (intervalSlider)
        intervalSlider->setRange(GameRules::kShortestInterval, GameRules::kLongestInterval);
    SetSliderPosition(Control::IntervalSlider, interval);
    SetSliderPosition(Control::VolumeSlider, settings_.volume);
    if (intervalSlider)
        intervalSlider->blockSignals(wasBlocked);

    voice_.ApplyVolume(settings_.volume);
    layout_.SetFonts();
    EnableControl(Control::IntervalSlider, false);
    EnableControl(Control::IntervalDown, false);
    EnableControl(Control::IntervalUp, false);
    SetControlText(Control::CheckResult, "-");
    SetControlText(Control::CurrentRow, std::to_string(state_.current_row));

    layout_.RoundDisplays();

    SetControlText(Control::AutomaticPanel, "");
    SetControlText(Control::AutomaticStatus, "");
    ShowControl(Control::AutomaticPanel, false);
    ShowControl(Control::AutomaticStatus, false);
}

void CZorviDlg::ApplyDialogMode() {
    const QSize baseSize = layout_.BaseSize();
    if (settings_.dialog_mode == 1) {
        // Full screen: the whole screen, no caption bar, the layout scaled to fill it (again
        // whenever the window's size changes). The geometry is set as well, for a desktop
        // without a window manager.
        if (!isFullScreen() && isVisible())
            normalGeometry_ = geometry();
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            setGeometry(screen->geometry());
        showFullScreen();
        ScaleLayoutTo(size());
    } else {
        ScaleLayoutTo(QSize());
        showNormal();
        setFixedSize(baseSize);
        if (normalGeometry_.isValid())
            move(normalGeometry_.topLeft());
    }
}

// ---- Window commands ----------------------------------------------------------------------

void CZorviDlg::ShowDrawnNumbersCommand() {
    const QString text = QStringLiteral("%1: %2").arg(
        Text(TextId::TXT_DRAWN_NUMBERS),
        QString::fromStdString(LogLines::NumberList(state_.DrawnNumbers())));
    CCalledNumbersDlg dialog(text, this);
    prompts_.Run(dialog);
}

void CZorviDlg::FullscreenCommand() {
    settings_.dialog_mode = settings_.dialog_mode == 0 ? 1 : 0;
    ApplyDialogMode();
    RelabelWindow();
    SaveSettings();
}

void CZorviDlg::VolumeDown() {
    volumePosition_ = std::max(0, volumePosition_ - 5);
    VolumeSteps();
}

void CZorviDlg::VolumeUp() {
    volumePosition_ = std::min(100, volumePosition_ + 5);
    VolumeSteps();
}

void CZorviDlg::VolumeFromSlider() {
    if (!ReadBoundFields())
        return;
    VolumeSteps();
}

void CZorviDlg::VolumeSteps() {
    settings_.volume = volumePosition_;
    volumeDisplay_ = QString::number(settings_.volume);
    voice_.ApplyVolume(settings_.volume);
    SaveSettings();
    ShowBoundFields();
}

void CZorviDlg::ExitCommand() {
    if (!AskConfirmation(TextId::TXT_CONFIRM_CLOSE_GAME_ON))
        return;
    if (!AskConfirmation(TextId::TXT_CONFIRM_CLOSE))
        return;
    // The game is over for good: the next start begins a fresh one without asking.
    commands_.EndGameForGood();
    FinishWindow(QDialog::Rejected);
}

bool CZorviDlg::CloseRequest() {
    return AskConfirmation(TextId::TXT_CONFIRM_CLOSE_GAME_ON) &&
           AskConfirmation(TextId::TXT_CONFIRM_CLOSE);
}

void CZorviDlg::closeEvent(QCloseEvent* event) {
    if (finishing_) {
        event->accept();
        return;
    }
    if (CloseRequest()) {
        // The state file stays, so the next start offers to continue the game.
        FinishWindow(QDialog::Rejected);
        event->accept();
    } else {
        event->ignore();
    }
}

bool CZorviDlg::Deciding() const {
    const QWidget* modal = QApplication::activeModalWidget();
    return !started_ || commands_.Busy() || (modal && modal != this);
}

void CZorviDlg::EndNow() {
    if (!finishing_)
        FinishWindow(QDialog::Rejected);
}

void CZorviDlg::FinishWindow(int result) {
    finishing_ = true;
    for (auto& [id, timer] : timers_)
        timer->stop();
    QDialog::done(result);
}

} // namespace zorvi
