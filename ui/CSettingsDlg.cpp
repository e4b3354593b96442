#include "CSettingsDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <string>
#include <vector>

#include "CouponsInPlay.h"
#include "CouponsInPlayText.h"
#include "DesktopOpener.h"
#include "Folders.h"
#include "GameRules.h"
#include "Language.h"
#include "LogWriter.h"
#include "MachineAddresses.h"
#include "Settings.h"
#include "SettingsRules.h"

namespace zorvi {

namespace {

// The settings window measures 195 x 369 dialog units of Arial 10 point (Liberation Sans has
// the same metrics where Arial is missing); where the balls come from and the hall server's
// fields sit above OK and Cancel.
constexpr int kTemplateWidth = 195;
constexpr int kTemplateHeight = 369;

QFont DialogFont() {
    QFont font = DialogUnits::FontByPoints(QStringLiteral("Arial"), 10);
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    return font;
}

QString Text(TextId entry, int language) {
    return QString::fromStdString(Language::GetText(entry, language));
}

} // namespace

CSettingsDlg::CSettingsDlg(Settings& settings, LogWriter& log, QWidget* parent)
    : QDialog(parent), settings_(settings), before_(settings), log_(log), units_(DialogFont()),
      prompts_(this), opener_(OpenInTextEditor) {
    // A modal frame with caption bar and system menu, and an empty title.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QString());
    setModal(true);
    setFont(DialogFont());
    setFixedSize(units_.Size(kTemplateWidth, kTemplateHeight));

    BuildControls();
    OnInitDialog();

    // Connected after the first fill, so that only the operator's selections run the rules.
    connect(numberCount_, &QComboBox::currentIndexChanged, this,
            &CSettingsDlg::OnNumberCountChanged);
    connect(series_, &QComboBox::currentIndexChanged, this, &CSettingsDlg::OnSeriesChanged);
    connect(series_, &QComboBox::editTextChanged, this, &CSettingsDlg::OnSeriesTextEdited);
    connect(gameHistory_, &QPushButton::clicked, this, &CSettingsDlg::OnGameHistory);
    connect(hallServer_, &QCheckBox::toggled, this, &CSettingsDlg::UpdateHallFields);
    connect(hallPortEdit_, &QLineEdit::textChanged, this, &CSettingsDlg::UpdateHallFields);
    connect(hallAddress_, &QComboBox::currentIndexChanged, this, &CSettingsDlg::UpdateHallFields);
    UpdateHallFields();
    connect(ballSource_, &QComboBox::currentIndexChanged, this, &CSettingsDlg::UpdateBallFields);
    UpdateBallFields();
    connect(ok_, &QPushButton::clicked, this, &CSettingsDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CSettingsDlg::reject);
}

CSettingsDlg::~CSettingsDlg() = default;

QWidget* CSettingsDlg::Control(int id) const {
    const auto children = findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->property("controlId").toInt() == id)
            return child;
    }
    return nullptr;
}

void CSettingsDlg::SetFileOpener(FileOpener opener) {
    opener_ = std::move(opener);
}

void CSettingsDlg::BuildControls() {
    // Controls are made in the order of the dialog's layout, which is also the tab order.
    auto place = [this](QWidget* w, int id, int left, int top, int width, int height) {
        if (id != 0)
            w->setProperty("controlId", id);
        w->setGeometry(units_.Rect(left, top, width, height));
    };
    // A drop-down list: the height given is that of the opened list; the closed box is
    // as high as its font needs.
    auto placeList = [this, &place](QComboBox* box, int id, int left, int top, int width) {
        place(box, id, left, top, width, 0);
        box->resize(box->width(), box->sizeHint().height());
    };
    // A text wider than its laid-out box may grow into the free room to its right.
    auto fit = [this](QWidget* w, int room) {
        const int needed = w->sizeHint().width();
        if (needed > w->width())
            w->resize(std::min(needed, units_.X(room)), w->height());
    };
    auto label = [this, &place](int id, const QString& text, int l, int t, int w, int h) {
        auto* item = new QLabel(text, this);
        place(item, id, l, t, w, h);
        return item;
    };

    QLabel* languageLabel = label(IDC_LANGUAGE_LABEL, QStringLiteral("Kieli"), 10, 7, 47, 8);
    language_ = new QComboBox(this);
    placeList(language_, IDC_LANGUAGE, 75, 5, 100);

    QLabel* voiceLabel = label(IDC_VOICE_LABEL, QStringLiteral("Kuulutusääni"), 10, 26, 47, 8);
    voice_ = new QComboBox(this);
    placeList(voice_, IDC_VOICE, 75, 24, 100);

    // Carries enable_background_voice through; the operator does not see it.
    backgroundVoice_ = new QCheckBox(QStringLiteral("Jatkuva taustaääni"), this);
    place(backgroundVoice_, IDC_BACKGROUND_VOICE, 75, 42, 77, 10);
    backgroundVoice_->setVisible(false);

    auto* frame = new QGroupBox(this);
    place(frame, 0, 5, 54, 185, 77);

    QLabel* screenLabel =
        label(IDC_PUBLIC_SCREEN_LABEL, QStringLiteral("Yleisönäyttö"), 10, 68, 55, 8);
    publicScreen_ = new QComboBox(this);
    placeList(publicScreen_, IDC_PUBLIC_SCREEN, 75, 66, 100);

    QLabel* widthLabel = label(IDC_WIDTH_LABEL, QStringLiteral("Leveys"), 10, 92, 24, 8);
    widthEdit_ = new QLineEdit(this);
    place(widthEdit_, IDC_WIDTH, 40, 89, 40, 14);
    label(0, QStringLiteral("px"), 84, 92, 9, 8);
    QLabel* heightLabel = label(IDC_HEIGHT_LABEL, QStringLiteral("Korkeus"), 102, 92, 27, 8);
    heightEdit_ = new QLineEdit(this);
    place(heightEdit_, IDC_HEIGHT, 132, 89, 40, 14);
    label(0, QStringLiteral("px"), 177, 92, 9, 8);

    noAnimation_ = new QCheckBox(QStringLiteral("Ei animointia"), this);
    place(noAnimation_, IDC_NO_ANIMATION, 69, 112, 76, 10);

    QLabel* countLabel =
        label(IDC_NUMBER_COUNT_LABEL, QStringLiteral("Numeromäärä"), 10, 141, 55, 8);
    numberCount_ = new QComboBox(this);
    placeList(numberCount_, IDC_NUMBER_COUNT, 75, 139, 100);

    QLabel* seriesLabel = label(IDC_SERIES_LABEL, QStringLiteral("Lappusarja"), 10, 161, 55, 8);
    series_ = new QComboBox(this);
    series_->setEditable(true);
    // Typed text never becomes an item: the list holds exactly the three series.
    series_->setInsertPolicy(QComboBox::NoInsert);
    placeList(series_, IDC_SERIES, 75, 159, 100);

    freeMiddle_ = new QCheckBox(QStringLiteral("Vapaa keskiruutu"), this);
    place(freeMiddle_, IDC_FREE_MIDDLE, 21, 180, 71, 10);
    // On purpose: this box keeps its Finnish caption in every language.
    numberLimit_ = new QCheckBox(QStringLiteral("Numeroraja käytössä"), this);
    place(numberLimit_, IDC_NUMBER_LIMIT, 104, 180, 86, 10);

    gameHistory_ = new QPushButton(QStringLiteral("Pelihistoria"), this);
    place(gameHistory_, IDC_GAME_HISTORY, 54, 197, 85, 14);
    gameHistory_->setAutoDefault(false);

    // The coupons sold tonight, as ranges; empty for the whole series.
    QLabel* couponsLabel =
        label(IDC_COUPONS_IN_PLAY_LABEL, QStringLiteral("Lappuja pelissä"), 10, 219, 55, 8);
    couponsInPlay_ = new QLineEdit(this);
    place(couponsInPlay_, IDC_COUPONS_IN_PLAY, 75, 217, 100, 14);
    couponsInPlay_->setMaxLength(int(CouponsInPlay::kMaxTextLength));
    // Where the balls come from: this computer's draw, or the hall's ball machine with the
    // operator entering each ball.
    QLabel* ballSourceLabel =
        label(IDC_BALL_SOURCE_LABEL, QStringLiteral("Pallot"), 10, 238, 55, 8);
    ballSource_ = new QComboBox(this);
    placeList(ballSource_, IDC_BALL_SOURCE, 75, 236, 110);
    confirmBoardEntry_ = new QCheckBox(QStringLiteral("Numerotaulun napsautus kysyy ensin"), this);
    place(confirmBoardEntry_, IDC_CONFIRM_BOARD_ENTRY, 21, 253, 160, 10);
    auto* hallFrame = new QGroupBox(this);
    place(hallFrame, 0, 5, 268, 185, 72);
    hallServer_ = new QCheckBox(QStringLiteral("Salin näytöt verkon kautta"), this);
    place(hallServer_, IDC_HALL_SERVER, 10, 276, 170, 10);
    QLabel* hallPortLabel = label(IDC_HALL_PORT_LABEL, QStringLiteral("Portti"), 10, 293, 55, 8);
    hallPortEdit_ = new QLineEdit(this);
    place(hallPortEdit_, IDC_HALL_PORT, 75, 291, 40, 14);
    QLabel* hallAddressLabel =
        label(IDC_HALL_ADDRESS_LABEL, QStringLiteral("Osoite"), 10, 311, 55, 8);
    hallAddress_ = new QComboBox(this);
    placeList(hallAddress_, IDC_HALL_ADDRESS, 75, 309, 100);
    hallUrl_ = label(IDC_HALL_URL, QString(), 10, 327, 175, 8);
    hallUrl_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    place(ok_, IDOK_BUTTON, 42, 345, 50, 14);
    ok_->setDefault(true);
    cancel_ = new QPushButton(QStringLiteral("Peruuta"), this);
    place(cancel_, IDC_CANCEL, 102, 345, 50, 14);
    cancel_->setAutoDefault(false);

    // Run-time texts go in first, then the boxes that need it grow into their free room.
    const int lang = settings_.language;
    countLabel->setText(Text(TextId::TXT_NUMBER_COUNT, lang));
    languageLabel->setText(Text(TextId::TXT_LANGUAGE, lang));
    voiceLabel->setText(Text(TextId::TXT_VOICE, lang));
    screenLabel->setText(Text(TextId::TXT_PUBLIC_SCREEN, lang));
    widthLabel->setText(Text(TextId::TXT_WIDTH, lang));
    heightLabel->setText(Text(TextId::TXT_HEIGHT, lang));
    freeMiddle_->setText(Text(TextId::TXT_FREE_MIDDLE, lang));
    cancel_->setText(Text(TextId::TXT_CANCEL, lang));
    gameHistory_->setText(Text(TextId::TXT_SHOW_GAME_LOG, lang));
    seriesLabel->setText(Text(TextId::TXT_COUPON_SERIES, lang));
    noAnimation_->setText(Text(TextId::TXT_DISABLE_ANIMATION, lang));
    couponsLabel->setText(Text(TextId::TXT_COUPONS_IN_PLAY, lang));
    couponsInPlay_->setPlaceholderText(QStringLiteral("1-500, 1201-1300"));
    hallServer_->setText(Text(TextId::TXT_HALL_SERVER, lang));
    hallPortLabel->setText(Text(TextId::TXT_HALL_SERVER_PORT, lang));
    hallAddressLabel->setText(Text(TextId::TXT_HALL_SERVER_ADDRESS, lang));
    ballSourceLabel->setText(Text(TextId::TXT_BALL_SOURCE, lang));
    confirmBoardEntry_->setText(Text(TextId::TXT_CONFIRM_BOARD_ENTRY, lang));

    for (QLabel* item : {languageLabel, voiceLabel, screenLabel, countLabel, seriesLabel,
                         couponsLabel, ballSourceLabel, hallPortLabel, hallAddressLabel})
        fit(item, 63);
    fit(hallServer_, 175);
    fit(confirmBoardEntry_, 164);
    fit(widthLabel, 29);
    fit(heightLabel, 29);
    fit(noAnimation_, 116);
    fit(freeMiddle_, 81);
    fit(numberLimit_, 89);
}

void CSettingsDlg::OnInitDialog() {
    const int lang = settings_.language;

    freeMiddle_->setChecked(settings_.free_middle != 0);
    width_ = unsigned(SettingsRules::ScreenSizeShown(settings_.public_screen_width));
    height_ = unsigned(SettingsRules::ScreenSizeShown(settings_.public_screen_height));

    // Voice folders in name order, so that the list does not depend on the directory's order.
    // Each item keeps the folder name exactly as listed, for OK to store.
    // Names that the settings file could not keep (see IsSafeVoiceName) are left out.
    std::vector<std::string> voices = Helpers::ListSubfolders("audio");
    std::erase_if(voices, [](const std::string& name) { return !Settings::IsSafeVoiceName(name); });
    std::sort(voices.begin(), voices.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) <
               0;
    });
    voice_->addItem(Text(TextId::TXT_NO_VOICES, lang));
    for (const std::string& name : voices)
        voice_->addItem(QString::fromStdString(name), QByteArray::fromStdString(name));
    int voiceIndex = -1;
    if (settings_.voice.empty()) {
        voiceIndex = 0;
    } else {
        const QString stored = QString::fromStdString(settings_.voice);
        for (int i = 1; i < voice_->count() && voiceIndex < 0; ++i) {
            if (voice_->itemText(i).compare(stored, Qt::CaseInsensitive) == 0)
                voiceIndex = i;
        }
    }
    // A voice whose folder is gone selects nothing; OK then keeps the stored name, so the
    // voice comes back when its folder does.
    voice_->setCurrentIndex(voiceIndex);

    language_->addItems(
        {QStringLiteral("Suomi"), QStringLiteral("Svenska"), QStringLiteral("English")});
    language_->setCurrentIndex(SettingsRules::ChoiceIndex(settings_.language, 2));

    publicScreen_->addItems({Text(TextId::TXT_PUBLIC_SCREEN_DISABLED, lang),
                             Text(TextId::TXT_PUBLIC_SCREEN_SAME, lang),
                             Text(TextId::TXT_PUBLIC_SCREEN_OTHER, lang)});
    publicScreen_->setCurrentIndex(
        SettingsRules::ChoiceIndex(settings_.public_screen, PublicScreenMode::OtherScreen));

    series_->addItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    series_->setCurrentIndex(SettingsRules::ChoiceIndex(settings_.coupon_series, 2));

    numberCount_->addItems({QStringLiteral("75"), QStringLiteral("90")});
    numberCount_->setCurrentIndex(SettingsRules::NumberCountIndex(settings_.max_called_numbers));

    background_voice_ = settings_.enable_background_voice != 0 ? 1 : 0;
    number_limit_ = settings_.enable_number_limit != 0 ? 1 : 0;
    no_animation_ = settings_.disable_animation != 0 ? 1 : 0;

    // The hall server: "all addresses" first, then the machine's own. A stored address the
    // machine no longer has stays in the list, so that OK does not drop it unasked.
    hallServer_->setChecked(settings_.hall_server != 0);
    hall_port_ = unsigned(settings_.hall_server_port);
    hallAddress_->addItem(Text(TextId::TXT_HALL_SERVER_ALL_ADDRESSES, lang), QString());
    for (const std::string& address : MachineAddresses())
        hallAddress_->addItem(QString::fromStdString(address), QString::fromStdString(address));
    const QString storedAddress = QString::fromStdString(settings_.hall_server_address);
    int addressIndex = hallAddress_->findData(storedAddress);
    if (addressIndex < 0) {
        hallAddress_->addItem(storedAddress, storedAddress);
        addressIndex = hallAddress_->count() - 1;
    }
    hallAddress_->setCurrentIndex(addressIndex);

    const SettingsRules::CouponBoxes boxes =
        SettingsRules::CouponBoxesAtOpening(settings_.max_called_numbers, settings_.coupon_series);
    series_->setEnabled(boxes.seriesEnabled);
    freeMiddle_->setEnabled(boxes.freeMiddleEnabled);

    couponsInPlay_->setText(QString::fromStdString(settings_.coupons_in_play));

    ballSource_->addItems({Text(TextId::TXT_BALL_SOURCE_COMPUTER, lang),
                           Text(TextId::TXT_BALL_SOURCE_MACHINE, lang)});
    ballSource_->setCurrentIndex(SettingsRules::ChoiceIndex(settings_.ball_source, 1));
    confirmBoardEntry_->setChecked(settings_.confirm_board_entry != 0);

    DoDataExchange(Exchange::ToControls);
}

std::optional<std::string> CSettingsDlg::TakeCouponsInPlay() {
    CouponsInPlay::ParseError why;
    const auto parsed = CouponsInPlay::Parse(couponsInPlay_->text().toStdString(), &why);
    if (parsed)
        return parsed->Text();
    prompts_.Message(QString::fromStdString(DescribeCouponsInPlay(why, settings_.language)),
                     QString(), QMessageBox::Warning);
    couponsInPlay_->setFocus();
    couponsInPlay_->selectAll();
    return std::nullopt;
}

bool CSettingsDlg::TakeSize(QLineEdit* field, unsigned& value, bool showMessage) {
    return TakeInteger(field, SettingsRules::kScreenSizeField, value, showMessage);
}

bool CSettingsDlg::TakeInteger(QLineEdit* field, const IntegerFieldRule& rule, unsigned& value,
                               bool showMessage) {
    const IntegerFieldVerdict verdict = ReadIntegerField(field->text().toStdString(), rule);
    if (verdict.value) {
        value = unsigned(*verdict.value);
        return true;
    }
    if (showMessage) {
        prompts_.Message(QString::fromStdString(verdict.message), QString(), QMessageBox::Warning);
        field->setFocus();
        field->selectAll();
    }
    return false;
}

bool CSettingsDlg::DoDataExchange(Exchange direction) {
    if (direction == Exchange::ToControls) {
        heightEdit_->setText(QString::number(height_));
        widthEdit_->setText(QString::number(width_));
        backgroundVoice_->setChecked(background_voice_ != 0);
        numberLimit_->setChecked(number_limit_ != 0);
        noAnimation_->setChecked(no_animation_ != 0);
        hallPortEdit_->setText(QString::number(hall_port_));
        return true;
    }

    // For OK the exchange stops at the first refused field. The list handlers go on past
    // it (FromControlsKeepGood): only the refused field returns to its previous value when
    // the values are put back, and the operator's other entries and clicks are kept.
    const bool keepGood = direction == Exchange::FromControlsKeepGood;
    bool refused = false;
    for (auto [field, value] : {std::pair{heightEdit_, &height_}, std::pair{widthEdit_, &width_}}) {
        if (!TakeSize(field, *value, !refused)) {
            if (!keepGood)
                return false;
            refused = true;
        }
    }
    background_voice_ = backgroundVoice_->isChecked() ? 1 : 0;
    number_limit_ = numberLimit_->isChecked() ? 1 : 0;
    no_animation_ = noAnimation_->isChecked() ? 1 : 0;
    if (!TakeInteger(hallPortEdit_, SettingsRules::kHallPortField, hall_port_, !refused))
        return false;
    return !refused;
}

int CSettingsDlg::SelectedSeries() const {
    // Typed text that names no series leaves the box without a selection.
    const int index = series_->currentIndex();
    if (index < 0 ||
        series_->currentText().trimmed().compare(series_->itemText(index), Qt::CaseInsensitive))
        return -1;
    return index;
}

int CSettingsDlg::SelectedNumberCount() const {
    return SettingsRules::NumberCountOfIndex(numberCount_->currentIndex());
}

void CSettingsDlg::ApplyCouponRules() {
    const SettingsRules::CouponBoxes boxes =
        SettingsRules::CouponBoxesAfterChoice(SelectedNumberCount(), SelectedSeries());
    series_->setEnabled(boxes.seriesEnabled);
    freeMiddle_->setEnabled(boxes.freeMiddleEnabled);
    if (boxes.freeMiddle == SettingsRules::Tick::Clear) {
        freeMiddle_->setChecked(false);
    } else if (boxes.freeMiddle == SettingsRules::Tick::Set) {
        // The record takes the free middle of series "B" at once, so it stays even when the
        // dialog is cancelled (on purpose: the series is never played without it).
        settings_.free_middle = 1;
        freeMiddle_->setChecked(true);
    }
}

void CSettingsDlg::OnNumberCountChanged() {
    DoDataExchange(Exchange::FromControlsKeepGood);
    ApplyCouponRules();
    DoDataExchange(Exchange::ToControls);
}

void CSettingsDlg::OnSeriesChanged() {
    DoDataExchange(Exchange::FromControlsKeepGood);
    ApplyCouponRules();
    DoDataExchange(Exchange::ToControls);
}

void CSettingsDlg::OnSeriesTextEdited(const QString& text) {
    // Typing a series' name selects it, as picking it from the list would.
    const int found = series_->findText(text.trimmed(), Qt::MatchFixedString);
    if (found >= 0 && found != series_->currentIndex())
        series_->setCurrentIndex(found);
}

void CSettingsDlg::OnGameHistory() {
    const std::string path = log_.GetLogFilePath();
    if (path.empty()) {
        // The language table has no entry for this; the text is English in every language.
        prompts_.Message(QStringLiteral("No game log is open."), QString(),
                         QMessageBox::Information);
        return;
    }
    const QString file = QString::fromStdString(path);
    if (!opener_ || !opener_(file)) {
        // The operator can still find the file: its full path, as the platform writes it.
        prompts_.Message(QStringLiteral("Could not open the game log in a text editor. The log "
                                        "file is:\n%1")
                             .arg(QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath())),
                         QString(), QMessageBox::Warning);
    }
}

// A list left without a selected item never gives a value that no item stands for:
// - language, public screen, series and number count select, at opening, the item that the
//   rest of the program uses for a stored value outside the list (the first item; "75");
//   OK then stores that item, which Change() reports like any other change;
// - a list that still has no selection at OK (a voice whose folder is gone, text typed in
//   the series box that names no series) keeps the stored value untouched.
void CSettingsDlg::accept() {
    if (!DoDataExchange(Exchange::FromControls))
        return; // the message was shown; nothing is stored and the dialog stays open
    const std::optional<std::string> couponsInPlay = TakeCouponsInPlay();
    if (!couponsInPlay)
        return;

    const int selectedCount = SelectedNumberCount();
    settings_.free_middle = freeMiddle_->isChecked() ? 1 : 0;
    if (selectedCount != 0)
        settings_.max_called_numbers = selectedCount;
    if (const int s = SelectedSeries(); s >= 0)
        settings_.coupon_series = s;
    if (const int l = language_->currentIndex(); l >= 0)
        settings_.language = l;
    const int screen = publicScreen_->currentIndex() >= 0 ? publicScreen_->currentIndex()
                                                          : settings_.public_screen;
    settings_.public_screen_width = int(width_);
    settings_.public_screen_height = int(height_);
    settings_.public_screen = screen;

    if (const int v = voice_->currentIndex(); v == 0)
        settings_.voice.clear();
    else if (v > 0)
        settings_.voice = voice_->itemData(v).toByteArray().toStdString();

    settings_.enable_background_voice = background_voice_;
    settings_.enable_number_limit = number_limit_;
    settings_.disable_animation = no_animation_;
    settings_.coupons_in_play = *couponsInPlay;
    // A new source starts a new game (Change() says so); the operator window carries it out.
    if (const int b = ballSource_->currentIndex(); b >= 0)
        settings_.ball_source = b;
    settings_.confirm_board_entry = confirmBoardEntry_->isChecked() ? 1 : 0;

    settings_.hall_server = hallServer_->isChecked() ? 1 : 0;
    settings_.hall_server_port = int(hall_port_);
    if (hallAddress_->currentIndex() >= 0)
        settings_.hall_server_address = hallAddress_->currentData().toString().toStdString();

    QDialog::accept();
}

void CSettingsDlg::UpdateHallFields() {
    const bool on = hallServer_->isChecked();
    hallPortEdit_->setEnabled(on);
    hallAddress_->setEnabled(on);
    const IntegerFieldVerdict port =
        ReadIntegerField(hallPortEdit_->text().toStdString(), SettingsRules::kHallPortField);
    QString url;
    if (on && port.value) {
        QString host = hallAddress_->currentData().toString();
        if (host.isEmpty()) {
            const std::vector<std::string> addresses = MachineAddresses();
            host = addresses.empty() ? QStringLiteral("127.0.0.1")
                                     : QString::fromStdString(addresses.front());
        }
        if (host.contains(QLatin1Char(':')))
            host = QLatin1Char('[') + host + QLatin1Char(']');
        url = QStringLiteral("http://%1:%2/").arg(host).arg(*port.value);
    }
    hallUrl_->setText(url);
}

void CSettingsDlg::UpdateBallFields() {
    // Kept as it is while disabled: the choice comes back with the machine.
    confirmBoardEntry_->setEnabled(ballSource_->currentIndex() == 1);
}

SettingsChange CSettingsDlg::Change() const {
    return SettingsChange::Between(before_, settings_);
}

void CSettingsDlg::reject() {
    QDialog::reject();
}

} // namespace zorvi
