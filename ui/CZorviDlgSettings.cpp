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

    // A local pointer: the start-up's wait window is its own, should the two ever overlap.
    QPointer<CWaitDlg> wait = new CWaitDlg(Text(TextId::TXT_PLEASE_WAIT), this);
    wait->ShowCentred();
    setEnabled(false);
    publicScreen_->EnableButtons(false);
    Helpers::WaitWithMessages(50);

    SaveSettings();
    const SettingsChange change = dialog.Change();
    commands_.ApplySettingsChange(change);
    if (change.hall_server_changed)
        ApplyHallServer();
    else
        ShowHallAddress(); // in the new language

    RedrawAll();
    delete wait.data();
    setEnabled(true);
    publicScreen_->EnableButtons(true);
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
