#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>

class QDialog;
class QWidget;

namespace zorvi {

// The one way a window of ours shows a prompt: every question, message and modal dialog goes
// through Run. Tests queue the next answers (SetNextAnswer, as KeePassXC's
// MessageBox::setNextAnswer): a queued answer is returned at once and the prompt is never
// shown. After every prompt, shown or answered, the after-prompt step runs; the operator
// window forgets its held keys there, since a modal window may have taken a key's release.
class Prompter {
public:
    explicit Prompter(QWidget* owner) : owner_(owner) {}
    virtual ~Prompter() = default;

    // Runs the dialog modally and returns its result, or the next queued answer.
    int Run(QDialog& dialog);
    // A plain message with one OK button, titled `caption`.
    void Message(const QString& text, const QString& caption = QString(),
                 QMessageBox::Icon icon = QMessageBox::NoIcon);
    // The framework's validation warning of an input field, titled with the program's name.
    void FieldWarning(const QString& text);

    void SetAfterPrompt(std::function<void()> afterPrompt) {
        afterPrompt_ = std::move(afterPrompt);
    }

    // Test seam: the next prompt returns `answer` (kResultYes, kResultOk, ...) without being shown.
    void SetNextAnswer(int answer) { nextAnswers_.push_back(answer); }
    // The texts of the prompts answered from the queue, in order.
    const QStringList& Answered() const { return answered_; }

    // The text a prompt shows: the question, the message or the box's text.
    static QString PromptText(const QDialog& dialog);

private:
    QPointer<QWidget> owner_;
    std::function<void()> afterPrompt_;
    std::deque<int> nextAnswers_;
    QStringList answered_;
};

} // namespace zorvi
