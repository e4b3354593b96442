// The settings step of the operator window: the settings dialog and what a changed setting
// brings with it; and how a failed save reaches the operator.
#include <QPointer>
#include <QTimer>

#include "CSettingsDlg.h"
#include "CWaitDlg.h"
#include "CZorviDlg.h"
#include "CouponsInPlay.h"
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
    game_.ApplySettingsChange(change);
    ShowHallAddress(); // moved, stopped, or in the new language
    if (change.coupons_in_play_changed || change.reread_coupons)
        NoteCouponsBeyondSeries();

    RedrawAll();
    delete wait.data();
    setEnabled(true);
    publicScreen_->EnableButtons(true);
    // Disabling the window took the focus away; the next ball or coupon number can be typed
    // at once.
    FocusEntryField();
}

void CZorviDlg::NoteCouponsBeyondSeries() {
    const auto inPlay = CouponsInPlay::Parse(settings_.coupons_in_play);
    const auto count = static_cast<long long>(coupons_.CouponCount());
    // Without a series there is nothing to compare; a failed read is told where it happens.
    if (!inPlay || count == 0 || inPlay->Highest() <= count)
        return;
    const QString text = Text(TextId::TXT_COUPONS_BEYOND_SERIES).arg(inPlay->Highest()).arg(count);
    // A note, not a refusal: the ranges stay as the operator wrote them (the hall may sell
    // coupons of a series file not yet copied here). Shown once the settings step is over.
    QTimer::singleShot(0, this, [this, text] {
        if (!finishing_)
            prompts_.Message(text);
    });
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
