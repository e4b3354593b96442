#include "PromptDialog.h"

#include <QPushButton>

#include "DialogResult.h"

namespace zorvi {

PromptDialog::PromptDialog(QWidget* owner, int points, int width, int height, bool closeBox)
    : QDialog(owner), units_(DialogUnits::FontByPoints(QStringLiteral("Arial"), points)) {
    setFont(DialogUnits::FontByPoints(QStringLiteral("Arial"), points));
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    setWindowTitle(QString());
    setFixedSize(units_.Size(width, height));
}

void PromptDialog::reject() {
    done(kResultCancel);
}

QPushButton* PromptDialog::AddButton(int id, const QString& text, QRect rect, bool isDefault) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QString::number(id));
    button->setGeometry(rect);
    button->setAutoDefault(isDefault);
    button->setDefault(isDefault);
    return button;
}

} // namespace zorvi
