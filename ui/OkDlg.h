#pragma once

#include "PromptDialog.h"

namespace zorvi {

// A message with one OK button; OK, Enter and Esc close it.
class OkDlg : public PromptDialog {
    Q_OBJECT
public:
    OkDlg(const QString& message, QWidget* owner);
    ~OkDlg() override = default;
};

} // namespace zorvi
