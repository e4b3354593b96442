#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>

#include "CSettingsDlg.h"
#include "Language.h"
#include "LogWriter.h"
#include "Settings.h"
#include "TestFolders.h"

using zorvi::CSettingsDlg;
using zorvi::Language;
using zorvi::LogWriter;
using zorvi::Settings;
using zorvi::TextId;
using Map = QMap<QString, QString>;

namespace {

// The record as key=value texts, so that a test can say which keys it expects to change.
Map Snapshot(const Settings& s) {
    return {{"max_called_numbers", QString::number(s.max_called_numbers)},
            {"language", QString::number(s.language)},
            {"public_screen", QString::number(s.public_screen)},
            {"free_middle", QString::number(s.free_middle)},
            {"public_screen_height", QString::number(s.public_screen_height)},
            {"public_screen_width", QString::number(s.public_screen_width)},
            {"voice", QString::fromStdString(s.voice)},
            {"coupon_series", QString::number(s.coupon_series)},
            {"dialog_mode", QString::number(s.dialog_mode)},
            {"volume", QString::number(s.volume)},
            {"enable_background_voice", QString::number(s.enable_background_voice)},
            {"enable_number_limit", QString::number(s.enable_number_limit)},
            {"disable_animation", QString::number(s.disable_animation)},
            {"coupons_in_play", QString::fromStdString(s.coupons_in_play)},
            {"hall_server", QString::number(s.hall_server)},
            {"hall_server_port", QString::number(s.hall_server_port)},
            {"hall_server_address", QString::fromStdString(s.hall_server_address)},
            {"ball_source", QString::number(s.ball_source)},
            {"confirm_board_entry", QString::number(s.confirm_board_entry)}};
}

// "key=value;key=value" over a snapshot.
Map With(Map map, const QString& changes) {
    for (const QString& pair : changes.split(';', Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf('=');
        map[pair.left(eq)] = pair.mid(eq + 1);
    }
    return map;
}

void Apply(Settings& s, const QString& changes) {
    const Map m = With(Snapshot(s), changes);
    s.max_called_numbers = m["max_called_numbers"].toInt();
    s.language = m["language"].toInt();
    s.public_screen = m["public_screen"].toInt();
    s.free_middle = m["free_middle"].toInt();
    s.public_screen_height = m["public_screen_height"].toInt();
    s.public_screen_width = m["public_screen_width"].toInt();
    s.voice = m["voice"].toStdString();
    s.coupon_series = m["coupon_series"].toInt();
    s.dialog_mode = m["dialog_mode"].toInt();
    s.volume = m["volume"].toInt();
    s.enable_background_voice = m["enable_background_voice"].toInt();
    s.enable_number_limit = m["enable_number_limit"].toInt();
    s.disable_animation = m["disable_animation"].toInt();
    s.coupons_in_play = m["coupons_in_play"].toStdString();
    s.hall_server = m["hall_server"].toInt();
    s.hall_server_port = m["hall_server_port"].toInt();
    s.hall_server_address = m["hall_server_address"].toStdString();
    s.ball_source = m["ball_source"].toInt();
    s.confirm_board_entry = m["confirm_board_entry"].toInt();
}

// What the change brings with it, by name: "restart reread screen language", any of them, or
// "none".
QString Flags(const CSettingsDlg& d) {
    const zorvi::SettingsChange change = d.Change();
    QStringList names;
    if (change.restart_game)
        names << "restart";
    if (change.reread_coupons)
        names << "reread";
    if (change.public_screen_changed)
        names << "screen";
    if (change.language_changed)
        names << "language";
    if (change.coupons_in_play_changed)
        names << "coupons";
    if (change.hall_server_changed)
        names << "hall";
    return names.isEmpty() ? QString("none") : names.join(' ');
}

// The dialog's controls by the names the test rows use.
int ControlNamed(const QString& name) {
    static const QMap<QString, int> ids{{"language", CSettingsDlg::IDC_LANGUAGE},
                                        {"voice", CSettingsDlg::IDC_VOICE},
                                        {"screen", CSettingsDlg::IDC_PUBLIC_SCREEN},
                                        {"width", CSettingsDlg::IDC_WIDTH},
                                        {"height", CSettingsDlg::IDC_HEIGHT},
                                        {"count", CSettingsDlg::IDC_NUMBER_COUNT},
                                        {"series", CSettingsDlg::IDC_SERIES},
                                        {"freeMiddle", CSettingsDlg::IDC_FREE_MIDDLE},
                                        {"noAnimation", CSettingsDlg::IDC_NO_ANIMATION},
                                        {"numberLimit", CSettingsDlg::IDC_NUMBER_LIMIT},
                                        {"coupons", CSettingsDlg::IDC_COUPONS_IN_PLAY},
                                        {"hall", CSettingsDlg::IDC_HALL_SERVER},
                                        {"port", CSettingsDlg::IDC_HALL_PORT},
                                        {"address", CSettingsDlg::IDC_HALL_ADDRESS},
                                        {"ballSource", CSettingsDlg::IDC_BALL_SOURCE},
                                        {"confirmBoard", CSettingsDlg::IDC_CONFIRM_BOARD_ENTRY}};
    return ids.value(name, 0);
}

// Answers every message box that comes up while it lives with OK, and records the texts.
class MessageBoxAnswerer {
public:
    MessageBoxAnswerer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->button(QMessageBox::Ok)->click();
            }
        });
        timer_.start(5);
    }
    QStringList texts;

private:
    QTimer timer_;
};

// A column of the current data row, where QFETCH's declaration does not fit.
template <class T> T Data(const char* column) {
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

const QString kPositive = "Enter a positive integer.";
const QString kRange = "Enter an integer between 0 and 99999.";

} // namespace

class SettingsDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<zorvi::test::TestFolders> folders_;
    std::unique_ptr<Settings> settings_;
    std::unique_ptr<LogWriter> log_;
    QTimer safety_;
    bool timedOut_ = false;

    template <class T> static T* Find(CSettingsDlg& d, int id) {
        auto* w = qobject_cast<T*>(d.Control(id));
        if (!w)
            qFatal("control %d missing", id);
        return w;
    }
    static QComboBox* List(CSettingsDlg& d, int id) { return Find<QComboBox>(d, id); }
    static QCheckBox* Box(CSettingsDlg& d, int id) { return Find<QCheckBox>(d, id); }
    static QLineEdit* Edit(CSettingsDlg& d, int id) { return Find<QLineEdit>(d, id); }
    static QPushButton* Button(CSettingsDlg& d, int id) { return Find<QPushButton>(d, id); }
    static QString Caption(CSettingsDlg& d, int id) { return Describe(d.Control(id)); }
    static QString Describe(QWidget* w) {
        if (auto* label = qobject_cast<QLabel*>(w))
            return label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            return button->text();
        return w->metaObject()->className();
    }

private slots:
    void init() {
        folders_ = std::make_unique<zorvi::test::TestFolders>();
        const auto audio = folders_->programFolder() / "audio";
        std::filesystem::create_directories(audio / "Matti");
        std::filesystem::create_directories(audio / "anna");
        std::filesystem::create_directories(audio / ".hidden");
        std::filesystem::create_directories(audio / "back\\slash"); // not kept by settings.ini
        zorvi::test::TestFolders::WriteFile(audio / "notes.txt", "not a voice");
        settings_ = std::make_unique<Settings>(Settings::NoLoad{});
        Apply(*settings_, "public_screen_width=600;public_screen_height=800");
        log_ = std::make_unique<LogWriter>();
        // A dialog that never closes would otherwise hang the run.
        timedOut_ = false;
        safety_.setSingleShot(true);
        safety_.callOnTimeout([this] {
            timedOut_ = true;
            while (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
        });
        safety_.start(10000);
    }

    void cleanup() {
        safety_.stop();
        log_.reset();
        settings_.reset();
        folders_.reset();
        QVERIFY2(!timedOut_, "a dialog had to be closed by the safety timer");
    }

    // clang-format off
    void initialSelections_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("voice");
        QTest::addColumn<int>("screen");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("freeMiddleChecked");
        QTest::addColumn<bool>("freeMiddleEnabled");
        QTest::addColumn<bool>("seriesEnabled");

        QTest::newRow("defaults") << "" << 0 << 0 << 0 << "A" << "75" << false << true << true;
        QTest::newRow("english, 90, other screen, voice Matti")
            << "language=2;max_called_numbers=90;public_screen=2;voice=Matti;free_middle=1" << 2
            << 2 << 2 << "A" << "90" << true << false << false;
        QTest::newRow("swedish, series B, voice in other case")
            << "language=1;coupon_series=1;free_middle=1;voice=ANNA;public_screen=1" << 1 << 1 << 1
            << "B" << "75" << true << false << true;
        QTest::newRow("series C with free middle") << "coupon_series=2;free_middle=1" << 0 << 0 << 0
            << "C" << "75" << true << true << true;
    }
    // clang-format on

    void initialSelections() {
        QFETCH(QString, stored);
        Apply(*settings_, stored + ";enable_number_limit=1;disable_animation=1;"
                                   "enable_background_voice=1;public_screen_width=1024");
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        const int lang = settings_->language;

        QCOMPARE(List(d, CSettingsDlg::IDC_LANGUAGE)->currentIndex(), Data<int>("language"));
        QCOMPARE(List(d, CSettingsDlg::IDC_VOICE)->currentIndex(), Data<int>("voice"));
        QCOMPARE(List(d, CSettingsDlg::IDC_PUBLIC_SCREEN)->currentIndex(), Data<int>("screen"));
        QCOMPARE(List(d, CSettingsDlg::IDC_SERIES)->currentText(), Data<QString>("series"));
        QCOMPARE(List(d, CSettingsDlg::IDC_NUMBER_COUNT)->currentText(), Data<QString>("count"));
        QCOMPARE(Box(d, CSettingsDlg::IDC_FREE_MIDDLE)->isChecked(),
                 Data<bool>("freeMiddleChecked"));
        QCOMPARE(Box(d, CSettingsDlg::IDC_FREE_MIDDLE)->isEnabled(),
                 Data<bool>("freeMiddleEnabled"));
        QCOMPARE(List(d, CSettingsDlg::IDC_SERIES)->isEnabled(), Data<bool>("seriesEnabled"));

        // Lists: literals and table texts in the stored language; voices hidden and plain
        // files left out, in name order.
        auto items = [](QComboBox* box) {
            QStringList all;
            for (int i = 0; i < box->count(); ++i)
                all << box->itemText(i);
            return all;
        };
        auto text = [lang](TextId id) {
            return QString::fromStdString(Language::GetText(id, lang));
        };
        QCOMPARE(items(List(d, CSettingsDlg::IDC_LANGUAGE)),
                 QStringList({"Suomi", "Svenska", "English"}));
        QCOMPARE(items(List(d, CSettingsDlg::IDC_VOICE)),
                 QStringList({text(TextId::TXT_NO_VOICES), "anna", "Matti"}));
        QCOMPARE(items(List(d, CSettingsDlg::IDC_PUBLIC_SCREEN)),
                 QStringList({text(TextId::TXT_PUBLIC_SCREEN_DISABLED),
                              text(TextId::TXT_PUBLIC_SCREEN_SAME),
                              text(TextId::TXT_PUBLIC_SCREEN_OTHER)}));
        QCOMPARE(items(List(d, CSettingsDlg::IDC_SERIES)), QStringList({"A", "B", "C"}));
        QCOMPARE(items(List(d, CSettingsDlg::IDC_NUMBER_COUNT)), QStringList({"75", "90"}));
        QCOMPARE(items(List(d, CSettingsDlg::IDC_BALL_SOURCE)),
                 QStringList({text(TextId::TXT_BALL_SOURCE_COMPUTER),
                              text(TextId::TXT_BALL_SOURCE_MACHINE)}));

        const std::pair<int, TextId> captions[] = {
            {CSettingsDlg::IDC_NUMBER_COUNT_LABEL, TextId::TXT_NUMBER_COUNT},
            {CSettingsDlg::IDC_LANGUAGE_LABEL, TextId::TXT_LANGUAGE},
            {CSettingsDlg::IDC_VOICE_LABEL, TextId::TXT_VOICE},
            {CSettingsDlg::IDC_PUBLIC_SCREEN_LABEL, TextId::TXT_PUBLIC_SCREEN},
            {CSettingsDlg::IDC_WIDTH_LABEL, TextId::TXT_WIDTH},
            {CSettingsDlg::IDC_HEIGHT_LABEL, TextId::TXT_HEIGHT},
            {CSettingsDlg::IDC_FREE_MIDDLE, TextId::TXT_FREE_MIDDLE},
            {CSettingsDlg::IDC_CANCEL, TextId::TXT_CANCEL},
            {CSettingsDlg::IDC_GAME_HISTORY, TextId::TXT_SHOW_GAME_LOG},
            {CSettingsDlg::IDC_SERIES_LABEL, TextId::TXT_COUPON_SERIES},
            {CSettingsDlg::IDC_NO_ANIMATION, TextId::TXT_DISABLE_ANIMATION},
            {CSettingsDlg::IDC_BALL_SOURCE_LABEL, TextId::TXT_BALL_SOURCE},
            {CSettingsDlg::IDC_CONFIRM_BOARD_ENTRY, TextId::TXT_CONFIRM_BOARD_ENTRY}};
        for (const auto& [id, entry] : captions)
            QCOMPARE(Caption(d, id), text(entry));
        QCOMPARE(Caption(d, CSettingsDlg::IDC_NUMBER_LIMIT), QString("Numeroraja käytössä"));
        QCOMPARE(Caption(d, CSettingsDlg::IDOK_BUTTON), QString("OK"));
        QCOMPARE(d.windowTitle(), QString());

        QCOMPARE(Edit(d, CSettingsDlg::IDC_WIDTH)->text(), QString("1024"));
        QCOMPARE(Edit(d, CSettingsDlg::IDC_HEIGHT)->text(), QString("800"));
        QVERIFY(Box(d, CSettingsDlg::IDC_NUMBER_LIMIT)->isChecked());
        QVERIFY(Box(d, CSettingsDlg::IDC_NO_ANIMATION)->isChecked());
        QVERIFY(Box(d, CSettingsDlg::IDC_BACKGROUND_VOICE)->isChecked());
        QVERIFY(Box(d, CSettingsDlg::IDC_BACKGROUND_VOICE)->isHidden());
        QCOMPARE(Flags(d), QString("none"));
        QCOMPARE(Snapshot(*settings_), before); // opening changes nothing
    }

    // clang-format off
    void countSwitching_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checkedAfter75");
        QTest::addColumn<bool>("enabledAfter75");
        QTest::newRow("series A, free middle on") << "free_middle=1" << false << true;
        QTest::newRow("series C") << "coupon_series=2" << false << true;
        QTest::newRow("series B") << "coupon_series=1;free_middle=1" << true << false;
    }
    // clang-format on

    void countSwitching() {
        QFETCH(QString, stored);
        Apply(*settings_, stored);
        CSettingsDlg d(*settings_, *log_);
        QComboBox* count = List(d, CSettingsDlg::IDC_NUMBER_COUNT);
        QCheckBox* freeMiddle = Box(d, CSettingsDlg::IDC_FREE_MIDDLE);
        QComboBox* series = List(d, CSettingsDlg::IDC_SERIES);

        count->setCurrentIndex(1); // "90"
        QVERIFY(!freeMiddle->isEnabled());
        QVERIFY(!freeMiddle->isChecked());
        QVERIFY(!series->isEnabled());

        count->setCurrentIndex(0); // back to "75"
        QVERIFY(series->isEnabled());
        QCOMPARE(freeMiddle->isChecked(), Data<bool>("checkedAfter75"));
        QCOMPARE(freeMiddle->isEnabled(), Data<bool>("enabledAfter75"));
    }

    // The board's confirmation can be changed only while the hall's machine is chosen; its tick
    // stays through a change of the source.
    // clang-format off
    void boardConfirmationFollowsTheSource_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("source");
        QTest::addColumn<bool>("checked");
        QTest::newRow("computer, asks") << "" << 0 << true;
        QTest::newRow("machine, asks") << "ball_source=1" << 1 << true;
        QTest::newRow("machine, enters at once") << "ball_source=1;confirm_board_entry=0" << 1
            << false;
    }
    // clang-format on

    void boardConfirmationFollowsTheSource() {
        QFETCH(QString, stored);
        QFETCH(int, source);
        QFETCH(bool, checked);
        Apply(*settings_, stored);
        CSettingsDlg d(*settings_, *log_);
        QComboBox* ballSource = List(d, CSettingsDlg::IDC_BALL_SOURCE);
        QCheckBox* confirm = Box(d, CSettingsDlg::IDC_CONFIRM_BOARD_ENTRY);
        QCOMPARE(ballSource->currentIndex(), source);
        for (const int index : {source, 1 - source, source}) {
            ballSource->setCurrentIndex(index);
            QCOMPARE(confirm->isEnabled(), index == 1);
            QCOMPARE(confirm->isChecked(), checked);
        }
    }

    // Series "B" takes the free middle into the record at once; Esc then cancels the rest.
    void seriesBThenCancel() {
        Apply(*settings_, "coupon_series=0;free_middle=0;language=2");
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        bool checkedWhileOpen = false;
        QTimer::singleShot(0, &d, [&] {
            List(d, CSettingsDlg::IDC_SERIES)->setCurrentIndex(1);
            checkedWhileOpen = Box(d, CSettingsDlg::IDC_FREE_MIDDLE)->isChecked() &&
                               !Box(d, CSettingsDlg::IDC_FREE_MIDDLE)->isEnabled() &&
                               settings_->free_middle == 1;
            List(d, CSettingsDlg::IDC_LANGUAGE)
                ->setCurrentIndex(0); // not kept: the dialog is cancelled
            QTest::keyClick(&d, Qt::Key_Escape);
        });
        QCOMPARE(d.exec(), int(QDialog::Rejected));
        QVERIFY(checkedWhileOpen);
        QCOMPARE(Snapshot(*settings_), With(before, "free_middle=1"));
        // The record did change; the operator window acts on Change() only after OK.
        QCOMPARE(Flags(d), QString("restart"));
    }

    // clang-format off
    void okFlags_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("action"); // control name=value
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("flags"); // what the change brings with it

        QTest::newRow("nothing") << "" << "" << "" << "none";
        QTest::newRow("language") << "" << "language=2" << "language=2" << "language";
        QTest::newRow("count 75 to 90") << "free_middle=1" << "count=1"
            << "max_called_numbers=90;free_middle=0" << "restart reread";
        QTest::newRow("count 90 to 75") << "max_called_numbers=90" << "count=0"
            << "max_called_numbers=75" << "restart reread";
        QTest::newRow("series A to C") << "" << "series=2" << "coupon_series=2" << "restart reread";
        QTest::newRow("series A to B") << "" << "series=1" << "coupon_series=1;free_middle=1"
            << "restart reread";
        QTest::newRow("series B to A keeps free middle") << "coupon_series=1;free_middle=1"
            << "series=0" << "coupon_series=0" << "restart reread";
        QTest::newRow("free middle") << "" << "freeMiddle=1" << "free_middle=1" << "restart";
        QTest::newRow("public screen") << "" << "screen=1" << "public_screen=1" << "screen";
        QTest::newRow("width") << "" << "width=1280" << "public_screen_width=1280" << "screen";
        QTest::newRow("height") << "" << "height=0" << "public_screen_height=0" << "screen";
        QTest::newRow("no animation") << "" << "noAnimation=1" << "disable_animation=1" << "restart";
        QTest::newRow("number limit") << "" << "numberLimit=1" << "enable_number_limit=1" << "none";
        QTest::newRow("voice folder") << "" << "voice=2" << "voice=Matti" << "none";
        QTest::newRow("no voice") << "voice=anna" << "voice=0" << "voice=" << "none";
        QTest::newRow("background voice carried through") << "enable_background_voice=0" << "" << ""
            << "none";
        QTest::newRow("coupons in play, sorted and merged") << "" << "coupons= 1201-1300,1-500, 7 "
            << "coupons_in_play=1-500, 1201-1300" << "coupons";
        QTest::newRow("coupons in play cleared: the whole series") << "coupons_in_play=1-500"
            << "coupons=  " << "coupons_in_play=" << "coupons";
        QTest::newRow("coupons in play written another way") << "coupons_in_play=1-500"
            << "coupons=1-250,251-500" << "" << "none";
        QTest::newRow("hall server on") << "" << "hall=1" << "hall_server=1" << "hall";
        QTest::newRow("hall server off") << "hall_server=1" << "hall=0" << "hall_server=0" << "hall";
        QTest::newRow("hall server port") << "hall_server=1" << "port=9000" << "hall_server_port=9000"
            << "hall";
        QTest::newRow("hall server on all addresses") << "hall_server_address=127.0.0.1"
            << "address=0" << "hall_server_address=" << "hall";
        QTest::newRow("hall server address gone, kept") << "hall_server_address=192.0.2.7" << ""
            << "" << "none";
        QTest::newRow("balls from the hall's machine") << "" << "ballSource=1" << "ball_source=1"
            << "restart";
        QTest::newRow("balls from this computer again") << "ball_source=1" << "ballSource=0"
            << "ball_source=0" << "restart";
        QTest::newRow("board click enters at once") << "ball_source=1" << "confirmBoard=0"
            << "confirm_board_entry=0" << "none";
        QTest::newRow("board click asks again") << "ball_source=1;confirm_board_entry=0"
            << "confirmBoard=1" << "confirm_board_entry=1" << "none";
        QTest::newRow("board confirmation kept while the computer draws")
            << "confirm_board_entry=0" << "confirmBoard=1" << "" << "none";
    }
    // clang-format on

    void okFlags() {
        QFETCH(QString, stored);
        QFETCH(QString, action);
        Apply(*settings_, stored);
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        d.show();
        if (!action.isEmpty()) {
            const int id = ControlNamed(action.section('=', 0, 0));
            const QString value = action.section('=', 1);
            QWidget* w = d.Control(id);
            if (auto* list = qobject_cast<QComboBox*>(w))
                list->setCurrentIndex(value.toInt());
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                edit->setText(value);
            else if (auto* box = qobject_cast<QCheckBox*>(w))
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, box->height() / 2));
        }
        Button(d, CSettingsDlg::IDOK_BUTTON)->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QVERIFY(d.isHidden());
        QCOMPARE(Flags(d), Data<QString>("flags"));
        QCOMPARE(Snapshot(*settings_), With(before, Data<QString>("changed")));
        QCOMPARE(d.BackgroundVoice(), settings_->enable_background_voice);
    }

    // clang-format off
    void sizeRefused_data() {
        QTest::addColumn<QString>("width");
        QTest::addColumn<QString>("height");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("width 100000") << "100000" << "800" << int(CSettingsDlg::IDC_WIDTH) << kRange;
        QTest::newRow("height 100000") << "600" << "100000" << int(CSettingsDlg::IDC_HEIGHT) << kRange;
        QTest::newRow("many digits") << "99999999999999999999" << "800" << int(CSettingsDlg::IDC_WIDTH) << kRange;
        QTest::newRow("negative") << "-5" << "800" << int(CSettingsDlg::IDC_WIDTH) << kPositive;
        QTest::newRow("letters") << "abc" << "800" << int(CSettingsDlg::IDC_WIDTH) << kPositive;
        QTest::newRow("empty") << "600" << "" << int(CSettingsDlg::IDC_HEIGHT) << kPositive;
        QTest::newRow("trailing text") << "12px" << "800" << int(CSettingsDlg::IDC_WIDTH) << kPositive;
        QTest::newRow("both bad: height first") << "x" << "100000" << int(CSettingsDlg::IDC_HEIGHT) << kRange;
    }
    // clang-format on

    void sizeRefused() {
        Apply(*settings_, "language=2");
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        d.show();
        List(d, CSettingsDlg::IDC_LANGUAGE)
            ->setCurrentIndex(0); // a change that must not be stored either
        Edit(d, CSettingsDlg::IDC_WIDTH)->setText(Data<QString>("width"));
        Edit(d, CSettingsDlg::IDC_HEIGHT)->setText(Data<QString>("height"));
        MessageBoxAnswerer answers;
        Button(d, CSettingsDlg::IDOK_BUTTON)->click();
        QCOMPARE(answers.texts, QStringList({Data<QString>("message")}));
        QVERIFY(d.isVisible());
        QCOMPARE(d.result(), int(QDialog::Rejected)); // not closed: result untouched
        QCOMPARE(d.focusWidget(), d.Control(Data<int>("field")));
        QCOMPARE(Flags(d), QString("none"));
        QCOMPARE(Snapshot(*settings_), before);
    }

    // clang-format off
    void couponsRefused_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("reversed") << 2 << "1-500, 500-1"
            << "The range \"500-1\" ends before it begins.";
        QTest::newRow("zero, Finnish") << 0 << "0-10"
            << QString::fromUtf8("Lapun numero 0 ei ole välillä 1\u2013999999.");
        QTest::newRow("letters, Swedish") << 1 << "1-5, abc"
            << QString::fromUtf8("\"abc\" är inget kupongnummer eller intervall: skriv "
                                 "intervallen som 1-500, 1201-1300.");
        QTest::newRow("missing number") << 2 << "5-" << "\"5-\" lacks a number: write a range as 1-500.";
        QTest::newRow("many digits") << 2 << "1-99999999999999999999"
            << "Coupon number 99999999999999999999 is outside 1 to 999999.";
    }
    // clang-format on

    // A bad range keeps the dialog open with its message, the focus in the field, and stores
    // nothing, like a refused size.
    void couponsRefused() {
        QFETCH(int, language);
        Apply(*settings_, QString("language=%1;coupons_in_play=1-100").arg(language));
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        d.show();
        QCOMPARE(Edit(d, CSettingsDlg::IDC_COUPONS_IN_PLAY)->text(), QString("1-100"));
        Edit(d, CSettingsDlg::IDC_WIDTH)->setText("1280"); // a change that must not be stored
        Edit(d, CSettingsDlg::IDC_COUPONS_IN_PLAY)->setText(Data<QString>("text"));
        MessageBoxAnswerer answers;
        Button(d, CSettingsDlg::IDOK_BUTTON)->click();
        QCOMPARE(answers.texts, QStringList({Data<QString>("message")}));
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), d.Control(CSettingsDlg::IDC_COUPONS_IN_PLAY));
        QCOMPARE(Flags(d), QString("none"));
        QCOMPARE(Snapshot(*settings_), before);
    }

    // clang-format off
    void hallPortRefused_data() {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("message");
        const QString range = "Enter an integer between 1024 and 65535.";
        QTest::newRow("80") << "80" << range;
        QTest::newRow("1023") << "1023" << range;
        QTest::newRow("65536") << "65536" << range;
        QTest::newRow("many digits") << "99999999999999999999" << range;
        QTest::newRow("letters") << "http" << kPositive;
        QTest::newRow("negative") << "-8765" << kPositive;
        QTest::newRow("empty") << "" << kPositive;
    }
    // clang-format on

    void hallPortRefused() {
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        d.show();
        Box(d, CSettingsDlg::IDC_HALL_SERVER)->setChecked(true);
        Edit(d, CSettingsDlg::IDC_HALL_PORT)->setText(Data<QString>("port"));
        QVERIFY(Find<QLabel>(d, CSettingsDlg::IDC_HALL_URL)->text().isEmpty());
        MessageBoxAnswerer answers;
        Button(d, CSettingsDlg::IDOK_BUTTON)->click();
        QCOMPARE(answers.texts, QStringList({Data<QString>("message")}));
        QVERIFY(d.isVisible());
        QCOMPARE(d.focusWidget(), d.Control(CSettingsDlg::IDC_HALL_PORT));
        QCOMPARE(Snapshot(*settings_), before);
    }

    // "All addresses" first, then this machine's; the address line shows what browsers open.
    void hallAddressesAndAddressLine() {
        Apply(*settings_,
              "language=2;hall_server=1;hall_server_port=8800;hall_server_address=127.0.0.1");
        CSettingsDlg d(*settings_, *log_);
        QComboBox* addresses = List(d, CSettingsDlg::IDC_HALL_ADDRESS);
        QCOMPARE(addresses->itemText(0), QString("All addresses"));
        QCOMPARE(addresses->itemData(0).toString(), QString());
        QCOMPARE(addresses->currentText(), QString("127.0.0.1"));
        QLabel* line = Find<QLabel>(d, CSettingsDlg::IDC_HALL_URL);
        QCOMPARE(line->text(), QString("http://127.0.0.1:8800/"));
        Edit(d, CSettingsDlg::IDC_HALL_PORT)->setText("9001");
        QCOMPARE(line->text(), QString("http://127.0.0.1:9001/"));
        if (const int v6 = addresses->findData("::1"); v6 >= 0) {
            addresses->setCurrentIndex(v6);
            QCOMPARE(line->text(), QString("http://[::1]:9001/"));
        }
        Box(d, CSettingsDlg::IDC_HALL_SERVER)->setChecked(false);
        QVERIFY(line->text().isEmpty());
        QVERIFY(!addresses->isEnabled());
        QVERIFY(!Edit(d, CSettingsDlg::IDC_HALL_PORT)->isEnabled());
    }

    // Through the modal loop: refused, corrected, then accepted with Enter.
    void sizeRefusedThenAccepted() {
        CSettingsDlg d(*settings_, *log_);
        MessageBoxAnswerer answers;
        bool stayedOpen = false;
        QTimer::singleShot(0, &d, [&] {
            Edit(d, CSettingsDlg::IDC_WIDTH)->setText("100000");
            Button(d, CSettingsDlg::IDOK_BUTTON)->click();
            stayedOpen = d.isVisible();
            Edit(d, CSettingsDlg::IDC_WIDTH)->setText(" 1280 ");
            QTest::keyClick(Edit(d, CSettingsDlg::IDC_WIDTH), Qt::Key_Return);
        });
        QCOMPARE(d.exec(), int(QDialog::Accepted));
        QVERIFY(stayedOpen);
        QCOMPARE(answers.texts, QStringList({kRange}));
        QCOMPARE(settings_->public_screen_width, 1280);
        QCOMPARE(Flags(d), QString("screen"));
    }

    // A list change takes and puts back the values: the refused field returns to its last
    // good value, while the operator's other entries and clicks stay.
    void refusedFieldRevertsOnListChange() {
        CSettingsDlg d(*settings_, *log_);
        d.show();
        MessageBoxAnswerer answers;
        Edit(d, CSettingsDlg::IDC_HEIGHT)->setText("abc");
        Edit(d, CSettingsDlg::IDC_WIDTH)->setText("1280");
        Box(d, CSettingsDlg::IDC_NO_ANIMATION)->setChecked(true);
        Box(d, CSettingsDlg::IDC_NUMBER_LIMIT)->setChecked(true);
        List(d, CSettingsDlg::IDC_NUMBER_COUNT)->setCurrentIndex(1);
        QCOMPARE(answers.texts, QStringList({kPositive}));
        QCOMPARE(Edit(d, CSettingsDlg::IDC_HEIGHT)->text(), QString("800"));
        QCOMPARE(Edit(d, CSettingsDlg::IDC_WIDTH)->text(), QString("1280"));
        QVERIFY(Box(d, CSettingsDlg::IDC_NO_ANIMATION)->isChecked());
        QVERIFY(Box(d, CSettingsDlg::IDC_NUMBER_LIMIT)->isChecked());
        QCOMPARE(d.focusWidget(), d.Control(CSettingsDlg::IDC_HEIGHT));
        QVERIFY(!Box(d, CSettingsDlg::IDC_FREE_MIDDLE)->isEnabled()); // the count rule still ran
    }

    // clang-format off
    void unselectedLists_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typedSeries");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("openIndex");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("flags");

        QTest::newRow("language 7") << "language=7" << "" << "language" << 0 << "language=0" << "language";
        QTest::newRow("language -1") << "language=-1" << "" << "language" << 0 << "language=0" << "language";
        QTest::newRow("count 80") << "max_called_numbers=80" << "" << "count" << 0
            << "max_called_numbers=75" << "restart reread";
        QTest::newRow("public screen 9") << "public_screen=9" << "" << "screen" << 0
            << "public_screen=0" << "screen";
        QTest::newRow("series 5") << "coupon_series=5" << "" << "series" << 0 << "coupon_series=0"
            << "restart reread";
        QTest::newRow("voice folder gone") << "voice=Gone" << "" << "voice" << -1 << "" << "none";
        QTest::newRow("series text names nothing") << "coupon_series=2" << "Z" << "series" << 2 << ""
            << "none";
        QTest::newRow("series typed in other case") << "" << "c" << "series" << 0 << "coupon_series=2"
            << "restart reread";
        QTest::newRow("ball source 7") << "ball_source=7" << "" << "ballSource" << 0
            << "ball_source=0" << "restart";
        QTest::newRow("screen size out of range")
            << "public_screen_width=-5;public_screen_height=123456" << "" << "screen" << 0
            << "public_screen_width=0;public_screen_height=99999" << "screen";
    }
    // clang-format on

    void unselectedLists() {
        QFETCH(QString, stored);
        QFETCH(QString, typedSeries);
        Apply(*settings_, stored);
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        d.show();
        QCOMPARE(List(d, ControlNamed(Data<QString>("list")))->currentIndex(),
                 Data<int>("openIndex"));
        if (!typedSeries.isEmpty()) {
            QLineEdit* edit = List(d, CSettingsDlg::IDC_SERIES)->lineEdit();
            edit->selectAll();
            QTest::keyClicks(edit, typedSeries);
        }
        Button(d, CSettingsDlg::IDOK_BUTTON)->click();
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(Snapshot(*settings_), With(before, Data<QString>("changed")));
        QCOMPARE(Flags(d), Data<QString>("flags"));
    }

    // clang-format off
    void gameHistory_data() {
        QTest::addColumn<bool>("logOpen");
        QTest::addColumn<bool>("openerWorks");
        QTest::addColumn<int>("opened");
        QTest::addColumn<QString>("message");
        QTest::newRow("no log") << false << true << 0 << "No game log is open.";
        QTest::newRow("log open") << true << true << 1 << "";
        QTest::newRow("editor does not start") << true << false << 1 << "Could not open";
    }
    // clang-format on

    void gameHistory() {
        QFETCH(bool, logOpen);
        QFETCH(bool, openerWorks);
        if (logOpen)
            log_->OpenLog(nullptr);
        QCOMPARE(log_->IsOpen(), logOpen);
        const Map before = Snapshot(*settings_);
        CSettingsDlg d(*settings_, *log_);
        QStringList opened;
        d.SetFileOpener([&](const QString& path) {
            opened << path;
            return openerWorks;
        });
        d.show();
        MessageBoxAnswerer answers;
        Button(d, CSettingsDlg::IDC_GAME_HISTORY)->click();

        QCOMPARE(opened.size(), Data<int>("opened"));
        if (!opened.isEmpty()) {
            QCOMPARE(opened.front(), QString::fromStdString(log_->GetLogFilePath()));
            QVERIFY(std::filesystem::exists(opened.front().toStdString()));
        }
        QFETCH(QString, message);
        if (message.isEmpty()) {
            QVERIFY(answers.texts.isEmpty());
        } else {
            QCOMPARE(answers.texts.size(), 1);
            QVERIFY2(answers.texts.front().startsWith(message), qPrintable(answers.texts.front()));
            // Where the editor does not start, the operator is told where the log is.
            if (logOpen)
                QVERIFY(answers.texts.front().contains(QDir::toNativeSeparators(
                    QFileInfo(QString::fromStdString(log_->GetLogFilePath())).absoluteFilePath())));
        }
        QVERIFY(d.isVisible()); // the dialog goes on
        QCOMPARE(Snapshot(*settings_), before);
    }

    // Every visible control lies inside the dialog, none overlaps another, and each shows
    // its whole caption, in every language.
    // clang-format off
    void layout_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("Finnish") << 0;
        QTest::newRow("Swedish") << 1;
        QTest::newRow("English") << 2;
    }
    // clang-format on

    void layout() {
        QFETCH(int, language);
        settings_->language = language;
        CSettingsDlg d(*settings_, *log_);
        d.show();
        const QRect inside = d.rect();
        QList<QWidget*> controls;
        for (QWidget* w : d.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (w->isHidden() || w->inherits("QGroupBox"))
                continue;
            controls << w;
            QVERIFY2(inside.contains(w->geometry()), qPrintable(w->metaObject()->className()));
            if (w->inherits("QLabel") || w->inherits("QAbstractButton"))
                QVERIFY2(w->sizeHint().width() <= w->width(), qPrintable(Describe(w)));
        }
        for (int i = 0; i < controls.size(); ++i)
            for (int j = i + 1; j < controls.size(); ++j)
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(Describe(controls[i]) + " and " + Describe(controls[j])));
        if (const QByteArray dir = qgetenv("ZORVI_SETTINGS_GRAB"); !dir.isEmpty())
            d.grab().save(QString("%1/settings-%2.png").arg(QString(dir)).arg(language));
    }
};

QTEST_MAIN(SettingsDialogTest)
#include "SettingsDialogTest.moc"
