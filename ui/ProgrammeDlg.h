#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "Language.h"
#include "Programme.h"
#include "Prompter.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;

namespace zorvi {

class Settings;

// A pattern's first mask drawn small, square by square.
class PatternPreview : public QWidget {
    Q_OBJECT
public:
    explicit PatternPreview(QWidget* parent = nullptr);
    void SetPattern(std::uint32_t mask, int squares);
    std::uint32_t Mask() const { return mask_; }
    QSize sizeHint() const override { return {90, 90}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::uint32_t mask_ = 0;
    int squares_ = 25;
};

// The evening's programme as the operator edits it: the games in order, each game's name,
// number count, stages and jackpot, and the patterns the hall draws on the 5 x 5 grid. It
// works on a copy: nothing reaches the game before Save, and Save takes only a programme that
// reads back from its file unchanged. Every control carries an object name, by which the tests
// find it.
class ProgrammeDlg : public QDialog {
    Q_OBJECT
public:
    // What Save and Remove programme do to the game's programme; false when it failed.
    struct Actions {
        std::function<bool(const Programme&)> save;
        std::function<bool()> remove;
    };
    // The file to import from (`save` false) or export to; empty when none was chosen.
    using FileChooser = std::function<QString(bool save)>;

    ProgrammeDlg(const Programme& programme, const Settings& settings, Actions actions,
                 QWidget* parent = nullptr);
    ~ProgrammeDlg() override;

    const Programme& Edited() const { return programme_; }
    bool Unsaved() const { return unsaved_; }
    // The dialog's messages and questions (tests answer them here).
    Prompter& Prompts() { return prompts_; }
    // Replaces the file dialogs (tests choose the file here).
    void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // The line under the buttons: saved, imported.
    QString Status() const;

    // The buttons' steps.
    void Save();
    void Import();
    void Export();
    void RemoveProgramme();

    // Close, Esc and the close box: asks first when there are changes not saved.
    void reject() override;

private:
    ProgrammeGame* CurrentGame();
    ProgrammeStage* CurrentStage();
    QString Text(TextId id) const;
    void Changed();
    // The controls from the programme, keeping the selection where it can.
    void ShowProgramme(int gameRow = 0);
    void ShowGame(int row);
    void ShowStage(int row);
    void ShowJackpot();
    void FillPatterns();
    QString GameItemText(const ProgrammeGame& game) const;
    QString StageItemText(const ProgrammeStage& stage) const;
    void AddGame();
    void RemoveGame();
    void MoveGame(int by);
    void SetNumberCount(int numberCount);
    void AddStage();
    void RemoveStage();
    void MoveStage(int by);
    void PatternChosen(int index);
    void JackpotEdited();
    void AddDrawnPattern();
    // The programme as it would be saved (names and prizes trimmed), or nothing when it
    // cannot be: the reason told.
    std::optional<Programme> Writable();

    Programme programme_;
    const Settings& settings_;
    int language_;
    Actions actions_;
    FileChooser chooser_;
    Prompter prompts_;
    bool unsaved_ = false;
    // The controls are being filled from the programme: their signals change nothing.
    bool filling_ = false;

    QLineEdit* programmeName_ = nullptr;
    QLineEdit* currency_ = nullptr;
    QListWidget* games_ = nullptr;
    QLineEdit* gameName_ = nullptr;
    QComboBox* numbers_ = nullptr;
    QListWidget* stages_ = nullptr;
    QComboBox* pattern_ = nullptr;
    QLineEdit* prize_ = nullptr;
    QGroupBox* jackpot_ = nullptr;
    QSpinBox* within_ = nullptr;
    QSpinBox* jackpotPrize_ = nullptr;
    QSpinBox* step_ = nullptr;
    QSpinBox* prizeStep_ = nullptr;
    QSpinBox* cap_ = nullptr;
    PatternPreview* preview_ = nullptr;
    std::array<QPushButton*, 25> squares_{};
    QLineEdit* drawnName_ = nullptr;
    QLabel* status_ = nullptr;
    QWidget* gamePanel_ = nullptr;
};

} // namespace zorvi
