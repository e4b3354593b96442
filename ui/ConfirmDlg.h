#pragma once

#include "PromptDialog.h"

class QLabel;

namespace zorvi {

class Settings;

// A yes/no question: Yes (the default, also Enter) gives kResultYes, No kResultNo, Esc
// kResultCancel.
class ConfirmDlg : public PromptDialog {
    Q_OBJECT
public:
    ConfirmDlg(const Settings& settings, QWidget* owner);
    ~ConfirmDlg() override = default;

    void SetQuestion(const QString& question);

private:
    QLabel* question_;
};

} // namespace zorvi
