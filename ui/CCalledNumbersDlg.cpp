#include "CCalledNumbersDlg.h"

#include <QPlainTextEdit>
#include <QPushButton>

#include "DialogResult.h"

namespace zorvi {

CCalledNumbersDlg::CCalledNumbersDlg(const QString& text, QWidget* owner)
    : PromptDialog(owner, 11, 186, 90, false) {
    auto* list = new QPlainTextEdit(this);
    list->setObjectName(QStringLiteral("1063"));
    list->setGeometry(units().Rect(5, 10, 175, 50));
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    list->setPlainText(text);
    list->setFocusPolicy(Qt::NoFocus);
    auto* ok = AddButton(1, QStringLiteral("OK"), units().Rect(68, 70, 50, 14), true);
    connect(ok, &QPushButton::clicked, this, [this] { done(kResultOk); });
    ok->setFocus();
}

} // namespace zorvi
