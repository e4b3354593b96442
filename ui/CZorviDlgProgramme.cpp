// The evening's programme in the operator window: the line of the game and stage played, the
// step to the next game, the number count a game asks for, the programme dialog, and a refused
// programme file told at the start-up.
#include <QMessageBox>
#include <QStringList>

#include "CZorviDlg.h"
#include "ControlIds.h"
#include "Folders.h"
#include "ProgrammeDlg.h"
#include "SettingsRules.h"
#include "WinPattern.h"

namespace zorvi {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Tr(TextId id, int language) {
    return Q(Language::GetText(id, language));
}

// "name — prize", or the name alone when there is no prize.
QString WithPrize(const QString& name, const std::string& prize) {
    return prize.empty() ? name : name + QStringLiteral(" \u2014 ") + Q(prize);
}

// "Game 3 of 12: Early bird · Stage 1 of 2: Four corners — 20 € · Jackpot: …"; between games
// the game is over and the next one is named. Empty without a programme.
QString ProgrammeLine(const PagePrizeBoard& board, int language) {
    if (board.game == 0)
        return QString();
    QStringList parts;
    QString game =
        Tr(TextId::TXT_PROGRAMME_LINE_GAME, language)
            .arg(QString::number(board.game), QString::number(board.games), Q(board.name));
    if (board.between) {
        parts << game + QStringLiteral(" \u2014 ") + Tr(TextId::TXT_PROGRAMME_LINE_OVER, language);
        if (board.next.empty()) {
            parts << Tr(TextId::TXT_PROGRAMME_LINE_LAST, language);
        } else {
            const PageNextGame& next = board.next.front();
            parts << WithPrize(Tr(TextId::TXT_PROGRAMME_LINE_NEXT, language)
                                   .arg(QString::number(next.number), Q(next.name)),
                               next.prize);
        }
    } else {
        const PageTexts& name = board.pattern.name;
        const QString pattern = Q(PatternNames{name.fi, name.sv, name.en}.In(language));
        parts << game;
        parts << WithPrize(
            Tr(TextId::TXT_PROGRAMME_LINE_STAGE, language)
                .arg(QString::number(board.stage), QString::number(board.stages), pattern),
            board.prize);
        if (board.jackpotWithin > 0)
            parts << Tr(TextId::TXT_PROGRAMME_LINE_JACKPOT, language)
                         .arg(QString::number(board.jackpotWithin), Q(board.jackpotPrize));
    }
    return parts.join(QStringLiteral(" \u00b7 "));
}

} // namespace

void CZorviDlg::ShowProgrammeStage(const PagePrizeBoard& board) {
    programmeBoard_ = board;
    ShowProgrammeStageText();
    ShowNextGameButton();
}

void CZorviDlg::ShowProgrammeStageText() {
    const QString line = ProgrammeLine(programmeBoard_, settings_.language);
    layout_.SetText(Control::ProgrammeStage, line);
    ShowControl(Control::ProgrammeStage, !line.isEmpty());
}

void CZorviDlg::ShowNextGameButton() {
    const auto& loaded = game_.ProgrammeRead().programme;
    const bool shown = loaded && !loaded->Empty();
    ShowControl(Control::NextGame, shown);
    EnableControl(Control::NextGame, shown && commands_.HasNextGame());
}

bool CZorviDlg::SwitchNumberCount(int numberCount) {
    const int count = settings_.max_called_numbers;
    const int middle = settings_.free_middle;
    settings_.max_called_numbers = numberCount;
    // The coupon rules follow the count as they do when the operator picks it in the settings.
    const auto boxes = SettingsRules::CouponBoxesAfterChoice(numberCount, settings_.coupon_series);
    if (boxes.freeMiddle == SettingsRules::Tick::Clear)
        settings_.free_middle = 0;
    else if (boxes.freeMiddle == SettingsRules::Tick::Set)
        settings_.free_middle = 1;
    const bool saved = settings_.SaveSettings();
    if (!saved) {
        // The game goes on with the count it has; the settings say so too.
        settings_.max_called_numbers = count;
        settings_.free_middle = middle;
    }
    ReportSave(settingsSaveNotice_, saved,
               QStringLiteral("The settings could not be saved: the data folder cannot be "
                              "written. The programme's game is played with the numbers of the "
                              "game before."));
    return saved;
}

void CZorviDlg::TellProgrammeFault(const ProgrammeLoad& load) {
    if (!load.fault)
        return;
    const int language = settings_.language;
    const QString file = QString::fromStdU16String(
        (Helpers::GetDataFolder() / std::string(kProgrammeFileName)).u16string());
    const QString text = Tr(TextId::TXT_PROGRAMME_FILE_REFUSED, language)
                             .arg(file, Q(ProgrammeFaultText(*load.fault, language))) +
                         QLatin1Char('\n') +
                         Tr(load.programme ? TextId::TXT_PROGRAMME_LAST_GOOD_PLAYED
                                           : TextId::TXT_PROGRAMME_NONE_PLAYED,
                            language);
    prompts_.Message(text, QString(), QMessageBox::Warning);
}

void CZorviDlg::ProgrammeCommand() {
    // Nothing is drawn behind the dialog.
    commands_.StopAutomatic();
    ProgrammeDlg::Actions actions;
    actions.save = [this](const Programme& programme) { return game_.ReplaceProgramme(programme); };
    actions.remove = [this] { return game_.RemoveProgramme(); };
    ProgrammeDlg dialog(game_.ProgrammeRead().programme.value_or(Programme{}), settings_,
                        std::move(actions), this);
    prompts_.Run(dialog);
    ShowNextGameButton();
    FocusEntryField();
}

} // namespace zorvi
