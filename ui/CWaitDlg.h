#pragma once

#include "PromptDialog.h"

namespace zorvi {

// The modeless wait window of the start-up and of the settings step: kept above the other
// windows, without a close box, centred on the desktop.
class CWaitDlg : public PromptDialog {
    Q_OBJECT
public:
    CWaitDlg(const QString& text, QWidget* owner);
    ~CWaitDlg() override = default;

    // Shows the window and moves it to the middle of the desktop, keeping its size.
    void ShowCentred();
};

} // namespace zorvi
