// The prompt dialogs on the offscreen platform.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include "CCalledNumbersDlg.h"
#include "CWaitDlg.h"
#include "ConfirmDlg.h"
#include "DialogResult.h"
#include "GuiSupport.h"
#include "NumberLimitDlg.h"
#include "OkDlg.h"
#include "PaintHelper.h"
#include "Settings.h"

using namespace zorvi;
using test::ModalScript;
using Answer = ModalScript::Answer;

class PromptDialogTest : public QObject {
    Q_OBJECT

private slots:
    void numberLimitValidation_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("arrows");    // presses: positive up, negative down
        QTest::addColumn<QString>("typed"); // typed over the edit after the arrows, if any
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("limit"); // taken with OK, when no message
        QTest::newRow("three downs from 1")
            << 1 << -3 << QString() << "Enter an integer between 0 and 90." << 0;
        QTest::newRow("up from 89") << 89 << 1 << QString() << "" << 90;
        QTest::newRow("up past 90")
            << 90 << 1 << QString() << "Enter an integer between 0 and 90." << 0;
        QTest::newRow("zero") << 5 << 0 << "0"
                              << "" << 0;
        QTest::newRow("blanks around") << 5 << 0 << " 42 "
                                       << "" << 42;
        QTest::newRow("not a number") << 5 << 0 << "abc"
                                      << "Enter an integer." << 0;
        QTest::newRow("empty") << 5 << 0 << QStringLiteral("") << "Enter an integer." << 0;
        // An integer however long, outside the range (every integer field says so alike).
        QTest::newRow("too long for int") << 5 << 0 << "99999999999"
                                          << "Enter an integer between 0 and 90." << 0;
        QTest::newRow("negative") << 5 << 0 << "-1"
                                  << "Enter an integer between 0 and 90." << 0;
    }
    void numberLimitValidation() {
        QFETCH(int, start);
        QFETCH(int, arrows);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(int, limit);
        Settings settings(Settings::NoLoad{});
        settings.language = 2;
        PaintHelper paint;
        NumberLimitDlg dialog(settings, paint, start, nullptr);
        dialog.show();
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("1098"));
        auto* up = dialog.findChild<QToolButton*>(QStringLiteral("1097up"));
        auto* down = dialog.findChild<QToolButton*>(QStringLiteral("1097down"));
        QVERIFY(edit && up && down);
        QCOMPARE(edit->text(), QString::number(start));
        for (int i = 0; i < qAbs(arrows); ++i)
            (arrows > 0 ? up : down)->click();
        QCOMPARE(edit->text(), QString::number(start + arrows));
        if (!typed.isNull())
            edit->setText(typed);
        ModalScript script;
        if (!message.isEmpty())
            script.Add(Answer::Ok);
        dialog.findChild<QPushButton*>(QStringLiteral("1"))->click();
        QCOMPARE(script.Seen(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(!script.Unexpected());
        if (message.isEmpty()) {
            QCOMPARE(dialog.result(), int(kResultOk));
            QCOMPARE(dialog.limit(), limit);
        } else {
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.focusWidget(), edit);
        }
    }

    void numberLimitArrowsIgnoreTypedText() {
        Settings settings(Settings::NoLoad{});
        PaintHelper paint;
        NumberLimitDlg dialog(settings, paint, 10, nullptr);
        dialog.show();
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("1098"));
        edit->setText(QStringLiteral("50"));
        dialog.findChild<QToolButton*>(QStringLiteral("1097up"))->click();
        QCOMPARE(edit->text(), QStringLiteral("11"));
    }

    void numberLimitSkipAndEscCancel_data() {
        QTest::addColumn<bool>("skip");
        QTest::newRow("skip button") << true;
        QTest::newRow("esc") << false;
    }
    void numberLimitSkipAndEscCancel() {
        QFETCH(bool, skip);
        Settings settings(Settings::NoLoad{});
        settings.language = 2;
        PaintHelper paint;
        NumberLimitDlg dialog(settings, paint, 10, nullptr);
        QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("1096"))->text(),
                 QStringLiteral("Number limit for this game"));
        auto* skipButton = dialog.findChild<QPushButton*>(QStringLiteral("2"));
        QCOMPARE(skipButton->text(), QStringLiteral("Skip number limit for this game"));
        QTimer::singleShot(0, &dialog, [&] {
            if (skip)
                skipButton->click();
            else
                QTest::keyClick(&dialog, Qt::Key_Escape);
        });
        QTimer safety;
        safety.singleShot(5000, &dialog, [&] { dialog.done(-1); });
        QCOMPARE(dialog.exec(), int(kResultCancel));
    }

    void confirmAnswers_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("yesText");
        QTest::newRow("yes, English") << 2 << int(Answer::Yes) << int(kResultYes) << "Yes";
        QTest::newRow("no, Swedish") << 1 << int(Answer::No) << int(kResultNo) << "Ja";
        QTest::newRow("esc, Finnish") << 0 << int(Answer::Esc) << int(kResultCancel) << "Kyllä";
    }
    void confirmAnswers() {
        QFETCH(int, language);
        QFETCH(int, answer);
        QFETCH(int, result);
        QFETCH(QString, yesText);
        Settings settings(Settings::NoLoad{});
        settings.language = language;
        ConfirmDlg dialog(settings, nullptr);
        dialog.SetQuestion(QStringLiteral("Question?"));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("1057"))->text(), yesText);
        QVERIFY(dialog.findChild<QPushButton*>(QStringLiteral("1057"))->isDefault());
        QVERIFY(dialog.windowTitle().isEmpty());
        ModalScript script{Answer(answer)};
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(script.Seen(), QStringList{QStringLiteral("Question?")});
    }

    void confirmEnterMeansYes() {
        Settings settings(Settings::NoLoad{});
        ConfirmDlg dialog(settings, nullptr);
        QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Return); });
        QTimer::singleShot(5000, &dialog, [&] { dialog.done(-1); });
        QCOMPARE(dialog.exec(), int(kResultYes));
    }

    void okAndCalledNumbersClose() {
        OkDlg ok(QStringLiteral("Number limit"), nullptr);
        QCOMPARE(ok.findChild<QPushButton*>(QStringLiteral("1"))->text(), QStringLiteral("OK"));
        ModalScript script{Answer::Esc, Answer::Ok};
        ok.exec();
        CCalledNumbersDlg list(QStringLiteral("Drawn Numbers: 12, 5, 33"), nullptr);
        QCOMPARE(list.findChild<QPlainTextEdit*>(QStringLiteral("1063"))->toPlainText(),
                 QStringLiteral("Drawn Numbers: 12, 5, 33"));
        list.exec();
        QCOMPARE(script.Seen().size(), 2);
        QVERIFY(!script.Unexpected());
    }

    void waitWindowIsCentredOnTheDesktop() {
        CWaitDlg wait(QStringLiteral("Program is starting..."), nullptr);
        wait.ShowCentred();
        QVERIFY(wait.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!wait.windowFlags().testFlag(Qt::WindowCloseButtonHint));
        const QRect desktop = QGuiApplication::primaryScreen()->geometry();
        const QRect frame = wait.frameGeometry();
        QCOMPARE(frame.x(), desktop.width() / 2 - frame.width() / 2);
        QCOMPARE(frame.y(), desktop.height() / 2 - frame.height() / 2);
    }
};

QTEST_MAIN(PromptDialogTest)
#include "PromptDialogTest.moc"
