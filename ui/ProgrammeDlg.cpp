#include "ProgrammeDlg.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <utility>

#include "ConfirmDlg.h"
#include "DialogResult.h"
#include "GameRules.h"
#include "ProgrammeStore.h"
#include "Settings.h"
#include "WinPattern.h"

namespace zorvi {

namespace {

constexpr int kSide = WinPatterns::kGridSide;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

std::string S(const QString& text) {
    return text.trimmed().toStdString();
}

std::filesystem::path PathOf(const QString& file) {
    return std::filesystem::path(file.toStdU16String());
}

// The last stage wins the jackpot only as a full card, as the programme file demands.
bool IsFullCard(const WinPattern& pattern, int numberCount) {
    return !pattern.drawn &&
           (pattern.key == "full_card" ||
            (pattern.rows > 0 && pattern.rows == GameRules::RowsPerGame(numberCount)));
}

bool JackpotAllowed(const ProgrammeGame& game) {
    return !game.stages.empty() && IsFullCard(game.stages.back().pattern, game.numberCount);
}

WinPattern FullCardOf(int numberCount) {
    if (auto card = WinPatterns::Find("full_card", numberCount))
        return *card;
    return WinPatterns::Rows(GameRules::RowsPerGame(numberCount), numberCount);
}

bool SameName(const std::string& a, const std::string& b) {
    return QString::compare(Q(a), Q(b), Qt::CaseInsensitive) == 0;
}

QPushButton* Button(const QString& name, const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QSpinBox* Spin(const QString& name, int most, QWidget* parent) {
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(name);
    spin->setRange(0, most);
    return spin;
}

} // namespace

PatternPreview::PatternPreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("patternPreview"));
    setMinimumSize(70, 70);
}

void PatternPreview::SetPattern(std::uint32_t mask, int squares) {
    mask_ = mask;
    squares_ = squares;
    update();
}

void PatternPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int rows = std::max(1, squares_ / kSide);
    const int pitch = std::max(4, std::min(width() / kSide, height() / rows));
    for (int square = 0; square < rows * kSide; ++square) {
        const QRect cell((square % kSide) * pitch, (square / kSide) * pitch, pitch - 2, pitch - 2);
        const bool in = (mask_ >> square) & 1U;
        painter.fillRect(cell, in ? QColor(200, 30, 30) : QColor(235, 235, 235));
        painter.setPen(QColor(120, 120, 120));
        painter.drawRect(cell);
    }
}

ProgrammeDlg::ProgrammeDlg(const Programme& programme, const Settings& settings, Actions actions,
                           QWidget* parent)
    : QDialog(parent), programme_(programme), settings_(settings), language_(settings.language),
      actions_(std::move(actions)), prompts_(this) {
    setObjectName(QStringLiteral("programmeDialog"));
    setWindowTitle(Text(TextId::TXT_PROGRAMME).remove(QChar(0x2026)));
    chooser_ = [this](bool save) {
        const QString filter = QStringLiteral("*.ini");
        return save ? QFileDialog::getSaveFileName(this, Text(TextId::TXT_PROGRAMME_EXPORT),
                                                   QString(), filter)
                    : QFileDialog::getOpenFileName(this, Text(TextId::TXT_PROGRAMME_IMPORT),
                                                   QString(), filter);
    };

    auto* top = new QVBoxLayout(this);
    auto* head = new QHBoxLayout;
    programmeName_ = new QLineEdit(this);
    programmeName_->setObjectName(QStringLiteral("programmeName"));
    currency_ = new QLineEdit(this);
    currency_->setObjectName(QStringLiteral("currency"));
    currency_->setMaximumWidth(80);
    head->addWidget(new QLabel(Text(TextId::TXT_PROGRAMME_NAME), this));
    head->addWidget(programmeName_, 1);
    head->addWidget(new QLabel(Text(TextId::TXT_PROGRAMME_CURRENCY), this));
    head->addWidget(currency_);
    top->addLayout(head);

    auto* body = new QHBoxLayout;
    top->addLayout(body, 1);

    // The games in order.
    auto* gamesBox = new QGroupBox(Text(TextId::TXT_PROGRAMME_GAMES), this);
    auto* gamesColumn = new QVBoxLayout(gamesBox);
    games_ = new QListWidget(gamesBox);
    games_->setObjectName(QStringLiteral("games"));
    gamesColumn->addWidget(games_, 1);
    auto* gameButtons = new QGridLayout;
    gameButtons->addWidget(Button(QStringLiteral("addGame"), Text(TextId::TXT_PROGRAMME_ADD), this),
                           0, 0);
    gameButtons->addWidget(
        Button(QStringLiteral("removeGame"), Text(TextId::TXT_PROGRAMME_REMOVE), this), 0, 1);
    gameButtons->addWidget(Button(QStringLiteral("gameUp"), Text(TextId::TXT_PROGRAMME_UP), this),
                           1, 0);
    gameButtons->addWidget(
        Button(QStringLiteral("gameDown"), Text(TextId::TXT_PROGRAMME_DOWN), this), 1, 1);
    gamesColumn->addLayout(gameButtons);
    body->addWidget(gamesBox, 2);

    // The selected game: name, numbers, stages, jackpot.
    gamePanel_ = new QWidget(this);
    auto* gameColumn = new QVBoxLayout(gamePanel_);
    gameColumn->setContentsMargins(0, 0, 0, 0);
    auto* gameForm = new QFormLayout;
    gameName_ = new QLineEdit(gamePanel_);
    gameName_->setObjectName(QStringLiteral("gameName"));
    numbers_ = new QComboBox(gamePanel_);
    numbers_->setObjectName(QStringLiteral("numbers"));
    numbers_->addItem(QStringLiteral("75"), GameRules::kNumbers75);
    numbers_->addItem(QStringLiteral("90"), GameRules::kNumbers90);
    gameForm->addRow(Text(TextId::TXT_PROGRAMME_GAME_NAME), gameName_);
    gameForm->addRow(Text(TextId::TXT_PROGRAMME_NUMBERS), numbers_);
    gameColumn->addLayout(gameForm);

    auto* stagesBox = new QGroupBox(Text(TextId::TXT_PROGRAMME_STAGES), gamePanel_);
    auto* stagesColumn = new QVBoxLayout(stagesBox);
    stages_ = new QListWidget(stagesBox);
    stages_->setObjectName(QStringLiteral("stages"));
    stagesColumn->addWidget(stages_, 1);
    auto* stageButtons = new QHBoxLayout;
    stageButtons->addWidget(
        Button(QStringLiteral("addStage"), Text(TextId::TXT_PROGRAMME_ADD), stagesBox));
    stageButtons->addWidget(
        Button(QStringLiteral("removeStage"), Text(TextId::TXT_PROGRAMME_REMOVE), stagesBox));
    stageButtons->addWidget(
        Button(QStringLiteral("stageUp"), Text(TextId::TXT_PROGRAMME_UP), stagesBox));
    stageButtons->addWidget(
        Button(QStringLiteral("stageDown"), Text(TextId::TXT_PROGRAMME_DOWN), stagesBox));
    stagesColumn->addLayout(stageButtons);
    auto* stageForm = new QFormLayout;
    pattern_ = new QComboBox(stagesBox);
    pattern_->setObjectName(QStringLiteral("pattern"));
    prize_ = new QLineEdit(stagesBox);
    prize_->setObjectName(QStringLiteral("prize"));
    prize_->setMaxLength(int(ProgrammeLimits::kLongestPrize));
    stageForm->addRow(Text(TextId::TXT_PROGRAMME_PATTERN), pattern_);
    stageForm->addRow(Text(TextId::TXT_PROGRAMME_PRIZE), prize_);
    stagesColumn->addLayout(stageForm);
    gameColumn->addWidget(stagesBox, 1);

    jackpot_ = new QGroupBox(Text(TextId::TXT_PROGRAMME_JACKPOT), gamePanel_);
    jackpot_->setObjectName(QStringLiteral("jackpot"));
    jackpot_->setCheckable(true);
    auto* jackpotForm = new QFormLayout(jackpot_);
    const int largestPrize = int(ProgrammeLimits::kLargestPrize);
    within_ = Spin(QStringLiteral("jackpotWithin"), GameRules::kNumbers90, jackpot_);
    jackpotPrize_ = Spin(QStringLiteral("jackpotPrize"), largestPrize, jackpot_);
    step_ = Spin(QStringLiteral("jackpotStep"), GameRules::kNumbers90, jackpot_);
    prizeStep_ = Spin(QStringLiteral("jackpotPrizeStep"), largestPrize, jackpot_);
    cap_ = Spin(QStringLiteral("jackpotCap"), GameRules::kNumbers90, jackpot_);
    jackpotForm->addRow(Text(TextId::TXT_PROGRAMME_JACKPOT_WITHIN), within_);
    jackpotForm->addRow(Text(TextId::TXT_PROGRAMME_JACKPOT_PRIZE), jackpotPrize_);
    jackpotForm->addRow(Text(TextId::TXT_PROGRAMME_JACKPOT_STEP), step_);
    jackpotForm->addRow(Text(TextId::TXT_PROGRAMME_JACKPOT_PRIZE_STEP), prizeStep_);
    jackpotForm->addRow(Text(TextId::TXT_PROGRAMME_JACKPOT_CAP), cap_);
    gameColumn->addWidget(jackpot_);
    body->addWidget(gamePanel_, 3);

    // The selected stage's pattern, and the grid on which the hall draws its own.
    auto* patternColumn = new QVBoxLayout;
    preview_ = new PatternPreview(this);
    patternColumn->addWidget(preview_, 0, Qt::AlignHCenter);
    auto* drawBox = new QGroupBox(Text(TextId::TXT_PROGRAMME_DRAW_PATTERN), this);
    auto* drawColumn = new QVBoxLayout(drawBox);
    auto* grid = new QGridLayout;
    grid->setSpacing(2);
    for (int square = 0; square < WinPatterns::kGridSquares; ++square) {
        auto* button = Button(QStringLiteral("square%1").arg(square), QString(), drawBox);
        button->setCheckable(true);
        button->setFixedSize(22, 22);
        button->setStyleSheet(QStringLiteral("QPushButton:checked { background: #c81e1e; }"));
        grid->addWidget(button, square / kSide, square % kSide);
        squares_[std::size_t(square)] = button;
    }
    drawColumn->addLayout(grid);
    drawnName_ = new QLineEdit(drawBox);
    drawnName_->setObjectName(QStringLiteral("drawnName"));
    drawnName_->setMaxLength(int(ProgrammeLimits::kLongestName));
    drawnName_->setPlaceholderText(Text(TextId::TXT_PROGRAMME_PATTERN_NAME));
    drawColumn->addWidget(drawnName_);
    auto* addPattern =
        Button(QStringLiteral("addPattern"), Text(TextId::TXT_PROGRAMME_ADD_PATTERN), drawBox);
    drawColumn->addWidget(addPattern);
    patternColumn->addWidget(drawBox);
    patternColumn->addStretch(1);
    body->addLayout(patternColumn, 2);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("status"));
    top->addWidget(status_);
    auto* buttons = new QHBoxLayout;
    auto* save = Button(QStringLiteral("save"), Text(TextId::TXT_PROGRAMME_SAVE), this);
    auto* import = Button(QStringLiteral("import"), Text(TextId::TXT_PROGRAMME_IMPORT), this);
    auto* exportButton = Button(QStringLiteral("export"), Text(TextId::TXT_PROGRAMME_EXPORT), this);
    auto* remove =
        Button(QStringLiteral("removeProgramme"), Text(TextId::TXT_PROGRAMME_REMOVE_ALL), this);
    auto* close = Button(QStringLiteral("close"), Text(TextId::TXT_PROGRAMME_CLOSE), this);
    for (QPushButton* button : {save, import, exportButton, remove})
        buttons->addWidget(button);
    buttons->addStretch(1);
    buttons->addWidget(close);
    top->addLayout(buttons);

    const auto click = [this](const char* name, auto step) {
        connect(findChild<QPushButton*>(QLatin1String(name)), &QPushButton::clicked, this, step);
    };
    click("addGame", [this] { AddGame(); });
    click("removeGame", [this] { RemoveGame(); });
    click("gameUp", [this] { MoveGame(-1); });
    click("gameDown", [this] { MoveGame(1); });
    click("addStage", [this] { AddStage(); });
    click("removeStage", [this] { RemoveStage(); });
    click("stageUp", [this] { MoveStage(-1); });
    click("stageDown", [this] { MoveStage(1); });
    click("addPattern", [this] { AddDrawnPattern(); });
    click("save", [this] { Save(); });
    click("import", [this] { Import(); });
    click("export", [this] { Export(); });
    click("removeProgramme", [this] { RemoveProgramme(); });
    click("close", [this] { reject(); });

    connect(programmeName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        programme_.name = S(text);
        Changed();
    });
    connect(currency_, &QLineEdit::textEdited, this, [this](const QString& text) {
        programme_.currency = S(text);
        Changed();
    });
    connect(games_, &QListWidget::currentRowChanged, this, [this](int row) { ShowGame(row); });
    connect(stages_, &QListWidget::currentRowChanged, this, [this](int row) { ShowStage(row); });
    connect(gameName_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (ProgrammeGame* game = CurrentGame()) {
            game->name = S(text);
            games_->currentItem()->setText(GameItemText(*game));
            Changed();
        }
    });
    connect(numbers_, &QComboBox::currentIndexChanged, this,
            [this](int index) { SetNumberCount(numbers_->itemData(index).toInt()); });
    connect(pattern_, &QComboBox::currentIndexChanged, this,
            [this](int index) { PatternChosen(index); });
    connect(prize_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (ProgrammeStage* stage = CurrentStage()) {
            stage->prize = S(text);
            stages_->currentItem()->setText(StageItemText(*stage));
            Changed();
        }
    });
    connect(jackpot_, &QGroupBox::toggled, this, [this] { JackpotEdited(); });
    for (QSpinBox* spin : {within_, jackpotPrize_, step_, prizeStep_, cap_})
        connect(spin, &QSpinBox::valueChanged, this, [this] { JackpotEdited(); });

    ShowProgramme();
    resize(820, 560);
}

ProgrammeDlg::~ProgrammeDlg() = default;

QString ProgrammeDlg::Text(TextId id) const {
    return Q(Language::GetText(id, language_));
}

QString ProgrammeDlg::Status() const {
    return status_->text();
}

ProgrammeGame* ProgrammeDlg::CurrentGame() {
    const int row = games_->currentRow();
    return row >= 0 && row < int(programme_.games.size()) ? &programme_.games[std::size_t(row)]
                                                          : nullptr;
}

ProgrammeStage* ProgrammeDlg::CurrentStage() {
    ProgrammeGame* game = CurrentGame();
    const int row = stages_->currentRow();
    return game && row >= 0 && row < int(game->stages.size()) ? &game->stages[std::size_t(row)]
                                                              : nullptr;
}

void ProgrammeDlg::Changed() {
    if (filling_)
        return;
    unsaved_ = true;
    status_->clear();
}

QString ProgrammeDlg::GameItemText(const ProgrammeGame& game) const {
    return QStringLiteral("%1 (%2)").arg(Q(game.name)).arg(game.numberCount);
}

QString ProgrammeDlg::StageItemText(const ProgrammeStage& stage) const {
    const QString name = Q(stage.pattern.names.In(language_));
    return stage.prize.empty() ? name : name + QStringLiteral(" \u2014 ") + Q(stage.prize);
}

void ProgrammeDlg::ShowProgramme(int gameRow) {
    filling_ = true;
    programmeName_->setText(Q(programme_.name));
    currency_->setText(Q(programme_.currency));
    games_->clear();
    for (const ProgrammeGame& game : programme_.games)
        games_->addItem(GameItemText(game));
    filling_ = false;
    const int count = int(programme_.games.size());
    games_->setCurrentRow(count == 0 ? -1 : std::clamp(gameRow, 0, count - 1));
    ShowGame(games_->currentRow());
}

void ProgrammeDlg::ShowGame(int row) {
    if (filling_)
        return;
    filling_ = true;
    const ProgrammeGame* game = row >= 0 && row < int(programme_.games.size())
                                    ? &programme_.games[std::size_t(row)]
                                    : nullptr;
    gamePanel_->setEnabled(game != nullptr);
    gameName_->setText(game ? Q(game->name) : QString());
    numbers_->setCurrentIndex(game && game->numberCount == GameRules::kNumbers90 ? 1 : 0);
    stages_->clear();
    if (game)
        for (const ProgrammeStage& stage : game->stages)
            stages_->addItem(StageItemText(stage));
    FillPatterns();
    filling_ = false;
    stages_->setCurrentRow(game && !game->stages.empty() ? 0 : -1);
    ShowStage(stages_->currentRow());
    ShowJackpot();
}

void ProgrammeDlg::FillPatterns() {
    const bool was = filling_;
    filling_ = true;
    pattern_->clear();
    if (const ProgrammeGame* game = CurrentGame()) {
        for (const WinPattern& pattern : WinPatterns::Library(game->numberCount))
            pattern_->addItem(Q(pattern.names.In(language_)), Q(pattern.key));
        // Drawn patterns are 5 x 5: a 90-number coupon has none.
        if (game->numberCount == GameRules::kNumbers75)
            for (const WinPattern& pattern : programme_.drawnPatterns)
                pattern_->addItem(Q(pattern.key), Q(pattern.key));
    }
    filling_ = was;
}

void ProgrammeDlg::ShowStage(int row) {
    if (filling_)
        return;
    filling_ = true;
    const ProgrammeGame* game = CurrentGame();
    const ProgrammeStage* stage = game && row >= 0 && row < int(game->stages.size())
                                      ? &game->stages[std::size_t(row)]
                                      : nullptr;
    pattern_->setEnabled(stage != nullptr);
    prize_->setEnabled(stage != nullptr);
    pattern_->setCurrentIndex(stage ? pattern_->findData(Q(stage->pattern.key)) : -1);
    prize_->setText(stage ? Q(stage->prize) : QString());
    if (stage)
        preview_->SetPattern(stage->pattern.masks.empty() ? 0 : stage->pattern.masks.front(),
                             stage->pattern.squares);
    else
        preview_->SetPattern(0, WinPatterns::kGridSquares);
    filling_ = false;
}

void ProgrammeDlg::ShowJackpot() {
    const bool was = filling_;
    filling_ = true;
    const ProgrammeGame* game = CurrentGame();
    const bool allowed = game && JackpotAllowed(*game);
    jackpot_->setEnabled(allowed);
    const Jackpot jackpot = game ? game->jackpot : Jackpot{};
    jackpot_->setChecked(allowed && jackpot.Any());
    const int numbers = game ? game->numberCount : GameRules::kNumbers75;
    for (QSpinBox* spin : {within_, step_, cap_})
        spin->setMaximum(numbers);
    within_->setMinimum(1);
    within_->setValue(jackpot.Any() ? jackpot.within : numbers);
    jackpotPrize_->setValue(int(jackpot.prize));
    step_->setValue(jackpot.step);
    prizeStep_->setValue(int(jackpot.prizeStep));
    cap_->setValue(jackpot.cap);
    filling_ = was;
}

void ProgrammeDlg::JackpotEdited() {
    ProgrammeGame* game = CurrentGame();
    if (filling_ || !game)
        return;
    if (!jackpot_->isChecked() || !JackpotAllowed(*game)) {
        game->jackpot = Jackpot{};
    } else {
        game->jackpot = Jackpot{within_->value(), jackpotPrize_->value(), step_->value(),
                                prizeStep_->value(), cap_->value()};
    }
    Changed();
}

void ProgrammeDlg::AddGame() {
    if (programme_.games.size() >= ProgrammeLimits::kMostGames)
        return;
    // A name of its own: jackpots are kept by the game's name.
    const QString base = Text(TextId::TXT_NEW_GAME);
    QString name;
    for (int n = int(programme_.games.size()) + 1;; ++n) {
        name = QStringLiteral("%1 %2").arg(base).arg(n);
        const auto taken = [&](const ProgrammeGame& g) { return SameName(g.name, S(name)); };
        if (std::none_of(programme_.games.begin(), programme_.games.end(), taken))
            break;
    }
    const ProgrammeGame* current = CurrentGame();
    const int numbers = current ? current->numberCount : GameRules::kNumbers75;
    ProgrammeGame game{S(name), numbers, {ProgrammeStage{FullCardOf(numbers), ""}}, {}};
    const int row = games_->currentRow() + 1;
    programme_.games.insert(programme_.games.begin() + row, std::move(game));
    Changed();
    ShowProgramme(row);
}

void ProgrammeDlg::RemoveGame() {
    const int row = games_->currentRow();
    if (!CurrentGame())
        return;
    programme_.games.erase(programme_.games.begin() + row);
    Changed();
    ShowProgramme(row);
}

void ProgrammeDlg::MoveGame(int by) {
    const int row = games_->currentRow();
    const int to = row + by;
    if (!CurrentGame() || to < 0 || to >= int(programme_.games.size()))
        return;
    std::swap(programme_.games[std::size_t(row)], programme_.games[std::size_t(to)]);
    Changed();
    ShowProgramme(to);
}

void ProgrammeDlg::SetNumberCount(int numberCount) {
    ProgrammeGame* game = CurrentGame();
    if (filling_ || !game || game->numberCount == numberCount)
        return;
    // Each stage keeps its pattern where the other count has it; a full card stays a full
    // card, anything else becomes one row.
    for (ProgrammeStage& stage : game->stages) {
        const bool card = IsFullCard(stage.pattern, game->numberCount);
        if (card)
            stage.pattern = FullCardOf(numberCount);
        else if (auto same = WinPatterns::Find(stage.pattern.key, numberCount);
                 same && !stage.pattern.drawn)
            stage.pattern = *same;
        else
            stage.pattern = WinPatterns::Rows(1, numberCount);
    }
    game->numberCount = numberCount;
    if (game->jackpot.Any()) {
        Jackpot& jackpot = game->jackpot;
        jackpot.within = std::min(jackpot.within, numberCount);
        jackpot.step = std::min(jackpot.step, numberCount);
        jackpot.cap = jackpot.cap == 0 ? 0 : std::clamp(jackpot.cap, jackpot.within, numberCount);
    }
    Changed();
    ShowProgramme(games_->currentRow());
}

void ProgrammeDlg::AddStage() {
    ProgrammeGame* game = CurrentGame();
    if (!game || game->stages.size() >= ProgrammeLimits::kMostStages)
        return;
    const int row = stages_->currentRow() + 1;
    game->stages.insert(game->stages.begin() + row,
                        ProgrammeStage{WinPatterns::Rows(1, game->numberCount), ""});
    if (!JackpotAllowed(*game))
        game->jackpot = Jackpot{};
    Changed();
    const int gameRow = games_->currentRow();
    ShowProgramme(gameRow);
    stages_->setCurrentRow(row);
}

void ProgrammeDlg::RemoveStage() {
    ProgrammeGame* game = CurrentGame();
    const int row = stages_->currentRow();
    // A game has at least one stage.
    if (!CurrentStage() || game->stages.size() <= 1)
        return;
    game->stages.erase(game->stages.begin() + row);
    if (!JackpotAllowed(*game))
        game->jackpot = Jackpot{};
    Changed();
    ShowProgramme(games_->currentRow());
    stages_->setCurrentRow(std::min(row, int(game->stages.size()) - 1));
}

void ProgrammeDlg::MoveStage(int by) {
    ProgrammeGame* game = CurrentGame();
    const int row = stages_->currentRow();
    const int to = row + by;
    if (!CurrentStage() || to < 0 || to >= int(game->stages.size()))
        return;
    std::swap(game->stages[std::size_t(row)], game->stages[std::size_t(to)]);
    if (!JackpotAllowed(*game))
        game->jackpot = Jackpot{};
    Changed();
    ShowProgramme(games_->currentRow());
    stages_->setCurrentRow(to);
}

void ProgrammeDlg::PatternChosen(int index) {
    ProgrammeGame* game = CurrentGame();
    ProgrammeStage* stage = CurrentStage();
    if (filling_ || !stage || index < 0)
        return;
    const std::string key = S(pattern_->itemData(index).toString());
    std::optional<WinPattern> chosen = WinPatterns::Find(key, game->numberCount);
    if (!chosen)
        for (const WinPattern& drawn : programme_.drawnPatterns)
            if (drawn.key == key)
                chosen = drawn;
    if (!chosen)
        return;
    stage->pattern = *chosen;
    if (!JackpotAllowed(*game))
        game->jackpot = Jackpot{};
    Changed();
    stages_->currentItem()->setText(StageItemText(*stage));
    ShowStage(stages_->currentRow());
    ShowJackpot();
}

void ProgrammeDlg::AddDrawnPattern() {
    std::uint32_t mask = 0;
    for (int square = 0; square < WinPatterns::kGridSquares; ++square)
        if (squares_[std::size_t(square)]->isChecked())
            mask |= 1U << square;
    const std::string name = S(drawnName_->text());
    const auto sameName = [&](const WinPattern& p) { return SameName(p.key, name); };
    bool refused =
        name.find('|') != std::string::npos ||
        programme_.drawnPatterns.size() >= ProgrammeLimits::kMostDrawnPatterns ||
        std::any_of(programme_.drawnPatterns.begin(), programme_.drawnPatterns.end(), sameName);
    for (const int numbers : {GameRules::kNumbers75, GameRules::kNumbers90})
        for (const WinPattern& builtIn : WinPatterns::Library(numbers))
            refused = refused || sameName(builtIn);
    const std::optional<WinPattern> drawn = refused ? std::nullopt : WinPatterns::Drawn(name, mask);
    if (!drawn) {
        prompts_.Message(Text(TextId::TXT_PROGRAMME_PATTERN_REFUSED), QString(),
                         QMessageBox::Warning);
        return;
    }
    programme_.drawnPatterns.push_back(*drawn);
    for (QPushButton* square : squares_)
        square->setChecked(false);
    drawnName_->clear();
    Changed();
    const int stageRow = stages_->currentRow();
    FillPatterns();
    ShowStage(stageRow);
}

std::optional<Programme> ProgrammeDlg::Writable() {
    Programme programme = programme_;
    QString reason;
    for (std::size_t i = 0; i < programme.games.size() && reason.isEmpty(); ++i) {
        const ProgrammeGame& game = programme.games[i];
        if (game.name.empty())
            reason = Text(TextId::TXT_PROGRAMME_NO_GAME_NAME).arg(i + 1);
        for (std::size_t j = 0; j < i && reason.isEmpty(); ++j)
            if (SameName(programme.games[j].name, game.name))
                reason = Text(TextId::TXT_PROGRAMME_SAME_GAME_NAME).arg(Q(game.name));
    }
    if (reason.isEmpty() && !ProgrammeWritable(programme)) {
        // The file's own refusal, by what it names; a programme that reads back otherwise
        // than it was written has no line to name.
        ProgrammeFault fault = ParseProgramme(FormatProgramme(programme)).fault;
        fault.line = 0;
        if (fault.kind == ProgrammeFaultKind::None)
            fault.kind = ProgrammeFaultKind::BadNumber;
        reason = Q(ProgrammeFaultText(fault, language_));
    }
    if (!reason.isEmpty()) {
        prompts_.Message(Text(TextId::TXT_PROGRAMME_NOT_WRITABLE).arg(reason), QString(),
                         QMessageBox::Warning);
        return std::nullopt;
    }
    return programme;
}

void ProgrammeDlg::Save() {
    const std::optional<Programme> programme = Writable();
    if (!programme)
        return;
    if (!actions_.save || !actions_.save(*programme)) {
        prompts_.Message(Text(TextId::TXT_PROGRAMME_SAVE_FAILED), QString(), QMessageBox::Warning);
        return;
    }
    unsaved_ = false;
    status_->setText(Text(TextId::TXT_PROGRAMME_SAVED));
}

void ProgrammeDlg::Import() {
    const QString file = chooser_ ? chooser_(false) : QString();
    if (file.isEmpty())
        return;
    const ProgrammeRead read = ProgrammeStore::Import(PathOf(file));
    if (!read.programme) {
        // Nothing changes: the programme being edited stays as it was.
        prompts_.Message(Text(TextId::TXT_PROGRAMME_FILE_REFUSED)
                             .arg(file, Q(ProgrammeFaultText(read.fault, language_))),
                         QString(), QMessageBox::Warning);
        return;
    }
    programme_ = *read.programme;
    Changed();
    ShowProgramme();
    status_->setText(Text(TextId::TXT_PROGRAMME_IMPORTED).arg(file));
}

void ProgrammeDlg::Export() {
    const std::optional<Programme> programme = Writable();
    if (!programme)
        return;
    const QString file = chooser_ ? chooser_(true) : QString();
    if (file.isEmpty())
        return;
    if (!ProgrammeStore::Export(PathOf(file), *programme))
        prompts_.Message(Text(TextId::TXT_PROGRAMME_EXPORT_FAILED).arg(file), QString(),
                         QMessageBox::Warning);
}

void ProgrammeDlg::RemoveProgramme() {
    ConfirmDlg question(settings_, this);
    question.SetQuestion(Text(TextId::TXT_CONFIRM_REMOVE_PROGRAMME));
    if (prompts_.Run(question) != kResultYes)
        return;
    if (!actions_.remove || !actions_.remove()) {
        prompts_.Message(Text(TextId::TXT_PROGRAMME_REMOVE_FAILED), QString(),
                         QMessageBox::Warning);
        return;
    }
    programme_ = Programme{};
    unsaved_ = false;
    ShowProgramme();
}

void ProgrammeDlg::reject() {
    if (unsaved_) {
        ConfirmDlg question(settings_, this);
        question.SetQuestion(Text(TextId::TXT_CONFIRM_CLOSE_UNSAVED));
        if (prompts_.Run(question) != kResultYes)
            return;
    }
    QDialog::reject();
}

} // namespace zorvi
