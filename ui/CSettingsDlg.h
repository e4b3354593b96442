#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "DialogUnits.h"
#include "IntegerField.h"
#include "Prompter.h"
#include "Settings.h"
#include "SettingsChange.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zorvi {

class LogWriter;

// The settings dialog. It fills its controls from the shared Settings record and writes the
// operator's choices back into the record on OK; Change() tells what that brings with it. It
// never writes a file (the operator window saves).
class CSettingsDlg : public QDialog {
    Q_OBJECT

public:
    // The dialog's controls by number; each widget carries its number in the
    // "controlId" property.
    enum ControlId {
        IDOK_BUTTON = 1,
        IDC_NUMBER_COUNT = 1002,
        IDC_NUMBER_COUNT_LABEL = 1003,
        IDC_LANGUAGE = 1007,
        IDC_LANGUAGE_LABEL = 1008,
        IDC_VOICE = 1014,
        IDC_VOICE_LABEL = 1015,
        IDC_PUBLIC_SCREEN = 1022,
        IDC_PUBLIC_SCREEN_LABEL = 1023,
        IDC_FREE_MIDDLE = 1025,
        IDC_HEIGHT = 1026,
        IDC_WIDTH = 1027,
        IDC_HEIGHT_LABEL = 1028,
        IDC_WIDTH_LABEL = 1029,
        IDC_CANCEL = 1052,
        IDC_GAME_HISTORY = 1060,
        IDC_SERIES = 1079,
        IDC_SERIES_LABEL = 1080,
        IDC_BACKGROUND_VOICE = 1095,
        IDC_NUMBER_LIMIT = 1099,
        IDC_NO_ANIMATION = 1102,
        IDC_COUPONS_IN_PLAY = 1120,
        IDC_COUPONS_IN_PLAY_LABEL = 1121,
        IDC_HALL_SERVER = 1130,
        IDC_HALL_PORT = 1131,
        IDC_HALL_PORT_LABEL = 1132,
        IDC_HALL_ADDRESS = 1133,
        IDC_HALL_ADDRESS_LABEL = 1134,
        IDC_HALL_URL = 1135,
        IDC_BALL_SOURCE = 1140,
        IDC_BALL_SOURCE_LABEL = 1141,
        IDC_CONFIRM_BOARD_ENTRY = 1142,
    };

    // Opens a file in the operator's text editor; false when nothing could be started.
    using FileOpener = std::function<bool(const QString& path)>;

    CSettingsDlg(Settings& settings, LogWriter& log, QWidget* parent = nullptr);
    ~CSettingsDlg() override;

    // The control with this identifier, or null.
    QWidget* Control(int id) const;

    // Replaces the way the game-history button opens the log (tests observe it here).
    void SetFileOpener(FileOpener opener);

    // The dialog's own messages (refused fields, the game log).
    Prompter& Prompts() { return prompts_; }

    // The background-voice value as it was carried through the hidden check box.
    int BackgroundVoice() const { return background_voice_; }

    // What the record now holds against what it held when the dialog was built, the series
    // rule's free middle included; read by the operator window after OK.
    SettingsChange Change() const;

public slots:
    // OK: takes the values, stores them in the record and closes; a refused field keeps it open.
    void accept() override;
    // Cancel, Esc and the close box: closes and stores nothing.
    void reject() override;

private:
    enum class Exchange { ToControls, FromControls, FromControlsKeepGood };

    void BuildControls();
    void OnInitDialog();
    // Returns false when a field was refused (its message shown, the focus in it).
    bool DoDataExchange(Exchange direction);
    bool TakeSize(QLineEdit* field, unsigned& value, bool showMessage);
    // The coupons in play as the record keeps them, or nothing when the field was refused
    // (its message shown, the focus in it).
    std::optional<std::string> TakeCouponsInPlay();
    bool TakeInteger(QLineEdit* field, const IntegerFieldRule& rule, unsigned& value,
                     bool showMessage);

    void OnNumberCountChanged();
    void OnSeriesChanged();
    void OnSeriesTextEdited(const QString& text);
    void OnGameHistory();
    void ApplyCouponRules();
    // The hall server's fields follow its check box; the address line shows where browsers go.
    void UpdateHallFields();
    // The board's confirmation matters only while the balls come from the hall's machine.
    void UpdateBallFields();

    int SelectedSeries() const;
    int SelectedNumberCount() const; // 75, 90 or 0 when nothing is selected

    Settings& settings_;
    const Settings before_;
    LogWriter& log_;
    DialogUnits units_;
    Prompter prompts_;
    FileOpener opener_;

    // Members of the value exchange.
    unsigned height_ = 0;
    unsigned width_ = 0;
    int background_voice_ = 0;
    int number_limit_ = 0;
    int no_animation_ = 0;
    unsigned hall_port_ = 0;

    QComboBox* language_ = nullptr;
    QComboBox* voice_ = nullptr;
    QCheckBox* backgroundVoice_ = nullptr;
    QComboBox* publicScreen_ = nullptr;
    QLineEdit* widthEdit_ = nullptr;
    QLineEdit* heightEdit_ = nullptr;
    QCheckBox* noAnimation_ = nullptr;
    QComboBox* numberCount_ = nullptr;
    QComboBox* series_ = nullptr;
    QCheckBox* freeMiddle_ = nullptr;
    QCheckBox* numberLimit_ = nullptr;
    QPushButton* gameHistory_ = nullptr;
    QLineEdit* couponsInPlay_ = nullptr;
    QComboBox* ballSource_ = nullptr;
    QCheckBox* confirmBoardEntry_ = nullptr;
    QCheckBox* hallServer_ = nullptr;
    QLineEdit* hallPortEdit_ = nullptr;
    QComboBox* hallAddress_ = nullptr;
    QLabel* hallUrl_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace zorvi
