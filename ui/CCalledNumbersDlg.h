#pragma once

#include "PromptDialog.h"

namespace zorvi {

// The numbers drawn so far, as one text; OK, Enter and Esc close it.
class CCalledNumbersDlg : public PromptDialog {
    Q_OBJECT
public:
    CCalledNumbersDlg(const QString& text, QWidget* owner);
    ~CCalledNumbersDlg() override = default;
};

} // namespace zorvi
