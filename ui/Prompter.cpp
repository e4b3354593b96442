#include "Prompter.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>

namespace zorvi {

int Prompter::Run(QDialog& dialog) {
    int result = 0;
    if (!nextAnswers_.empty()) {
        result = nextAnswers_.front();
        nextAnswers_.pop_front();
        answered_ << PromptText(dialog);
    } else {
        result = dialog.exec();
    }
    if (afterPrompt_)
        afterPrompt_();
    return result;
}

void Prompter::Message(const QString& text, const QString& caption, QMessageBox::Icon icon) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner_.data());
    box.setTextFormat(Qt::PlainText);
    Run(box);
}

void Prompter::FieldWarning(const QString& text) {
    Message(text, QApplication::applicationName(), QMessageBox::Warning);
}

QString Prompter::PromptText(const QDialog& dialog) {
    if (const auto* box = qobject_cast<const QMessageBox*>(&dialog))
        return box->text();
    // The small dialogs give their text label a fixed object name: "1064" for a question,
    // "1075" for a message, "1096" for a prompt.
    for (const char* name : {"1064", "1075", "1096"})
        if (const auto* label = dialog.findChild<const QLabel*>(QString::fromLatin1(name)))
            return label->text();
    return QString::fromLatin1(dialog.metaObject()->className());
}

} // namespace zorvi
