// The settings step of the operator window: the settings dialog and what a changed setting
// brings with it; and how a failed save reaches the operator.
#include <QPointer>
#include <QTimer>

#include "CSettingsDlg.h"
#include "CWaitDlg.h"
#include "CZorviDlg.h"
#include "DrawCommitment.h"
#include "WaitWithMessages.h"

namespace zorvi {

void CZorviDlg::SettingsCommand() {
    commands_.StopAutomatic();
    CSettingsDlg dialog(settings_, log_, this);
    if (prompts_.Run(dialog) != QDialog::Accepted)
        return;
    ApplyChangedSettings(dialog);
}

void CZorviDlg::ApplyChangedSettings(const CSettingsDlg& dialog) {
    // A local pointer: the start-up's wait window is its own, should the two ever overlap.
    QPointer<CWaitDlg> wait = new CWaitDlg(Text(TextId::TXT_PLEASE_WAIT), this);
    wait->ShowCentred();
    setEnabled(false);
    publicScreen_.EnableButtons(false);
    Helpers::WaitWithMessages(50);

    SaveSettings();
    const int n = settings_.max_called_numbers;
    if (dialog.language_changed) {
        RelabelWindow();
        SelectPageFolder();
    }
    if (dialog.reread_coupons) {
        log_.WriteLog("Reading coupons after settings change");
        // The panel's blank coupon belongs to the series being replaced: the panel is built
        // anew from the new series' blank.
        couponPanelBlank_ = false;
        coupons_.ReadCouponSeries(n, settings_.coupon_series);
        ClearCouponPanel();
    }
    if (dialog.restart_game) {
        commands_.DiscardSequence();
        state_.ResetGame();
        ClearCouponPanel();
        RebuildNumberBoard(n);
        PlaceCouponNumberLabel();
    }
    if (dialog.public_screen_changed || dialog.language_changed) {
        state_.shown_public_screen = settings_.public_screen;
        OpenPublicScreen(dialog.language_changed != 0);
        if (dialog.language_changed) {
            PageReset(n, DrawCommitment::PageText(state_));
            // The page loaded anew knows nothing of the game that goes on.
            if (!dialog.restart_game)
                PageUpdateMainScreen(state_.CurrentNumber(), state_.DrawnCount(),
                                     state_.current_row);
        }
    }
    if (dialog.BackgroundVoice())
        voice_.StartBackgroundVoice();
    else
        voice_.StopBackgroundVoice();
    if (dialog.restart_game)
        commands_.BeginNewGame();

    RedrawAll();
    delete wait.data();
    setEnabled(true);
    publicScreen_.EnableButtons(true);
    // Disabling the window took the focus away; the next coupon number can be typed at once.
    FocusCouponField();
}

void CZorviDlg::SaveSettings() {
    ReportSave(settingsSaveNotice_, settings_.SaveSettings(),
               QStringLiteral("The settings could not be saved: the data folder cannot be "
                              "written. The changed settings last only until the program ends."));
}

void CZorviDlg::ReportSave(SaveFailureNotice& notice, bool saved, const QString& text) {
    if (!notice.Report(saved))
        return;
    // Shown from the event loop once the saving command is over: a message loop inside a
    // game step would let ticks and keys run in the middle of it.
    QTimer::singleShot(0, this, [this, &notice, text] {
        if (!finishing_)
            prompts_.Message(text);
        notice.Closed();
    });
}

} // namespace zorvi
