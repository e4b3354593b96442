#include "OkDlg.h"

#include <QLabel>
#include <QPushButton>

#include "DialogResult.h"

namespace zorvi {

OkDlg::OkDlg(const QString& message, QWidget* owner) : PromptDialog(owner, 10, 123, 79, false) {
    auto* text = new QLabel(message, this);
    text->setObjectName(QStringLiteral("1075"));
    text->setGeometry(units().Rect(5, 10, 115, 45));
    text->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    text->setTextFormat(Qt::PlainText);
    // On purpose: "OK" in every language.
    auto* ok = AddButton(1, QStringLiteral("OK"), units().Rect(36, 60, 50, 14), true);
    connect(ok, &QPushButton::clicked, this, [this] { done(kResultOk); });
    ok->setFocus();
}

} // namespace zorvi
