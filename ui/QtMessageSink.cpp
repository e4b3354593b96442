#include "QtMessageSink.h"

#include <QMessageBox>

namespace zorvi {

void QtMessageSink::ShowMessage(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::Ok, owner_.data());
    box.setTextFormat(Qt::PlainText);
    box.exec();
    if (afterBox_)
        afterBox_();
}

} // namespace zorvi
