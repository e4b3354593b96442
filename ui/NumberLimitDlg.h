#pragma once

#include <optional>

#include "PromptDialog.h"
#include "Prompter.h"

class QLineEdit;
class QToolButton;

namespace zorvi {

class PaintHelper;
class Settings;

// The number-limit prompt of a new game. The arrows step the stored limit by one without
// bounds; OK takes the edit's text, which must be an integer from 0 to 90 (kResultOk); the skip
// button, Esc and the close box give kResultCancel.
class NumberLimitDlg : public PromptDialog {
    Q_OBJECT
public:
    NumberLimitDlg(const Settings& settings, const PaintHelper& paint, int limit, QWidget* owner);
    ~NumberLimitDlg() override = default;

    int limit() const { return limit_; }
    void accept() override;

    // Its own warnings (a refused limit).
    Prompter& Prompts() { return prompts_; }

private:
    void Step(int delta);

    Prompter prompts_;
    int limit_;
    QLineEdit* edit_;
};

} // namespace zorvi
