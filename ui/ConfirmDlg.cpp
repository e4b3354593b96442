#include "ConfirmDlg.h"

#include <QLabel>
#include <QPushButton>

#include "DialogResult.h"
#include "Language.h"
#include "Settings.h"

namespace zorvi {

ConfirmDlg::ConfirmDlg(const Settings& settings, QWidget* owner)
    : PromptDialog(owner, 10, 163, 76, false) {
    question_ = new QLabel(this);
    question_->setObjectName(QStringLiteral("1064"));
    question_->setGeometry(units().Rect(10, 10, 145, 35));
    question_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    question_->setWordWrap(true);
    question_->setTextFormat(Qt::PlainText);
    const int lang = settings.language;
    auto* yes = AddButton(1057, QString::fromStdString(Language::GetText(TextId::TXT_YES, lang)),
                          units().Rect(27, 55, 50, 14), true);
    auto* no = AddButton(1056, QString::fromStdString(Language::GetText(TextId::TXT_NO, lang)),
                         units().Rect(87, 55, 50, 14), false);
    connect(yes, &QPushButton::clicked, this, [this] { done(kResultYes); });
    connect(no, &QPushButton::clicked, this, [this] { done(kResultNo); });
    yes->setFocus();
}

void ConfirmDlg::SetQuestion(const QString& question) {
    question_->setText(question);
}

} // namespace zorvi
