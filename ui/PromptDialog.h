#pragma once

#include <QDialog>

#include "DialogUnits.h"

class QPushButton;

namespace zorvi {

// Common frame of the small dialogs: a fixed size in dialog units of their own font, an
// empty title, and Esc (reject) ending the dialog with kResultCancel.
class PromptDialog : public QDialog {
    Q_OBJECT
public:
    PromptDialog(QWidget* owner, int points, int width, int height, bool closeBox);
    ~PromptDialog() override = default;

    void reject() override;

protected:
    const DialogUnits& units() const { return units_; }
    QPushButton* AddButton(int id, const QString& text, QRect rect, bool isDefault);

private:
    DialogUnits units_;
};

} // namespace zorvi
