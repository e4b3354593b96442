#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace zorvi {

// Identifiers of the operator window's controls and timers, by which the game commands name
// what they ask the window to change. The numbers only have to be distinct; their names below
// are what transcripts and messages show.
namespace Control {
inline constexpr int Exit = 1001;
inline constexpr int NewGame = 1004;
inline constexpr int CurrentNumber = 1006;
inline constexpr int Settings = 1009;
inline constexpr int CouponFrame = 1010;
inline constexpr int IntervalSlider = 1011;
inline constexpr int IntervalLabel = 1012;
inline constexpr int IntervalDisplay = 1013;
inline constexpr int Draw = 1016;
inline constexpr int AutomaticCheck = 1017;
inline constexpr int LetterName = 1018;
inline constexpr int CouponField = 1019;
inline constexpr int CouponFieldLabel = 1020;
inline constexpr int DrawnCount = 1021;
inline constexpr int Check = 1030;
inline constexpr int DrawnCountLabel = 1031;
inline constexpr int PreviousNumber = 1032;
inline constexpr int CancelNumber = 1035;
inline constexpr int CurrentNumberLabel = 1038;
inline constexpr int PreviousNumberLabel = 1039;
inline constexpr int CurrentRow = 1041;
inline constexpr int RowLabel = 1042;
inline constexpr int RowUp = 1043;
inline constexpr int RowDown = 1044;
inline constexpr int IntervalDown = 1045;
inline constexpr int IntervalUp = 1046;
inline constexpr int CheckResult = 1047;
inline constexpr int CheckedCoupon = 1050;
inline constexpr int ShowDrawnNumbers = 1061;
inline constexpr int Logo = 1078;
inline constexpr int WinnersList = 1084;
inline constexpr int WinnersHeading = 1085;
inline constexpr int WinnersLabel = 1086;
inline constexpr int AutomaticPanel = 1087;
inline constexpr int AutomaticStatus = 1088;
inline constexpr int Fullscreen = 1089;
inline constexpr int VolumeSlider = 1090;
inline constexpr int VolumeLabel = 1091;
inline constexpr int VolumeDown = 1092;
inline constexpr int VolumeUp = 1093;
inline constexpr int VolumeDisplay = 1094;
inline constexpr int NumberLimitLabel = 1100;
inline constexpr int NumberLimit = 1101;
inline constexpr int BoardFrame = 1000;
// The window's own lines, which the game never addresses: the note on a coupon outside the
// series, where the hall's browsers join, and how many coupons win now.
inline constexpr int CouponNote = 1110;
inline constexpr int HallAddress = 1111;
inline constexpr int WinningNow = 1120;
// Balls from the hall's machine: the field a ball is typed into, its label, why an entry was
// refused, and which source the game uses.
inline constexpr int BallField = 1130;
inline constexpr int BallFieldLabel = 1131;
inline constexpr int BallRefused = 1132;
inline constexpr int BallSourceStatus = 1133;
// The evening's programme: the game and stage played, the step to its next game, and the
// dialog that edits it.
inline constexpr int ProgrammeStage = 1140;
inline constexpr int NextGame = 1141;
inline constexpr int Programme = 1142;

inline constexpr int FirstBoardCell = 100000;  // + number - 1
inline constexpr int FirstCouponCell = 101000; // + position
} // namespace Control

namespace Timer {
inline constexpr int Automatic = 1025;
inline constexpr int DrawLock = 1026;
inline constexpr int OtherScreenWatch = 1027;
} // namespace Timer

// Names for transcripts and diagnostics: one row per identifier above.
struct IdName {
    int id;
    std::string_view name;
};

inline constexpr std::array kControlNames{
    IdName{Control::Exit, "Exit"},
    IdName{Control::NewGame, "NewGame"},
    IdName{Control::CurrentNumber, "CurrentNumber"},
    IdName{Control::Settings, "Settings"},
    IdName{Control::CouponFrame, "CouponFrame"},
    IdName{Control::IntervalSlider, "IntervalSlider"},
    IdName{Control::IntervalLabel, "IntervalLabel"},
    IdName{Control::IntervalDisplay, "IntervalDisplay"},
    IdName{Control::Draw, "Draw"},
    IdName{Control::AutomaticCheck, "AutomaticCheck"},
    IdName{Control::LetterName, "LetterName"},
    IdName{Control::CouponField, "CouponField"},
    IdName{Control::CouponFieldLabel, "CouponFieldLabel"},
    IdName{Control::DrawnCount, "DrawnCount"},
    IdName{Control::Check, "Check"},
    IdName{Control::DrawnCountLabel, "DrawnCountLabel"},
    IdName{Control::PreviousNumber, "PreviousNumber"},
    IdName{Control::CancelNumber, "CancelNumber"},
    IdName{Control::CurrentNumberLabel, "CurrentNumberLabel"},
    IdName{Control::PreviousNumberLabel, "PreviousNumberLabel"},
    IdName{Control::CurrentRow, "CurrentRow"},
    IdName{Control::RowLabel, "RowLabel"},
    IdName{Control::RowUp, "RowUp"},
    IdName{Control::RowDown, "RowDown"},
    IdName{Control::IntervalDown, "IntervalDown"},
    IdName{Control::IntervalUp, "IntervalUp"},
    IdName{Control::CheckResult, "CheckResult"},
    IdName{Control::CheckedCoupon, "CheckedCoupon"},
    IdName{Control::ShowDrawnNumbers, "ShowDrawnNumbers"},
    IdName{Control::Logo, "Logo"},
    IdName{Control::WinnersList, "WinnersList"},
    IdName{Control::WinnersHeading, "WinnersHeading"},
    IdName{Control::WinnersLabel, "WinnersLabel"},
    IdName{Control::AutomaticPanel, "AutomaticPanel"},
    IdName{Control::AutomaticStatus, "AutomaticStatus"},
    IdName{Control::Fullscreen, "Fullscreen"},
    IdName{Control::VolumeSlider, "VolumeSlider"},
    IdName{Control::VolumeLabel, "VolumeLabel"},
    IdName{Control::VolumeDown, "VolumeDown"},
    IdName{Control::VolumeUp, "VolumeUp"},
    IdName{Control::VolumeDisplay, "VolumeDisplay"},
    IdName{Control::NumberLimitLabel, "NumberLimitLabel"},
    IdName{Control::NumberLimit, "NumberLimit"},
    IdName{Control::BoardFrame, "BoardFrame"},
    IdName{Control::CouponNote, "CouponNote"},
    IdName{Control::HallAddress, "HallAddress"},
    IdName{Control::WinningNow, "WinningNow"},
    IdName{Control::BallField, "BallField"},
    IdName{Control::BallFieldLabel, "BallFieldLabel"},
    IdName{Control::BallRefused, "BallRefused"},
    IdName{Control::BallSourceStatus, "BallSourceStatus"},
    IdName{Control::ProgrammeStage, "ProgrammeStage"},
    IdName{Control::NextGame, "NextGame"},
    IdName{Control::Programme, "Programme"},
};

inline constexpr std::array kTimerNames{
    IdName{Timer::Automatic, "Automatic"},
    IdName{Timer::DrawLock, "DrawLock"},
    IdName{Timer::OtherScreenWatch, "OtherScreenWatch"},
};

namespace detail {
template <typename Table> constexpr std::string_view FindName(const Table& table, int id) {
    for (const auto& row : table)
        if (row.id == id)
            return row.name;
    return {};
}

template <typename Table> constexpr bool IdsDistinct(const Table& table) {
    for (std::size_t i = 0; i < table.size(); ++i)
        for (std::size_t j = i + 1; j < table.size(); ++j)
            if (table[i].id == table[j].id || table[i].name == table[j].name)
                return false;
    return true;
}
} // namespace detail

static_assert(detail::IdsDistinct(kControlNames) && detail::IdsDistinct(kTimerNames),
              "every control and timer has its own identifier and name");

// The name of a control: its identifier's name, "BoardCell<number>" / "CouponCell<position>"
// for the cells, or the bare number for an identifier this file does not know.
inline std::string ControlName(int id) {
    if (const auto name = detail::FindName(kControlNames, id); !name.empty())
        return std::string(name);
    if (id >= Control::FirstCouponCell)
        return "CouponCell" + std::to_string(id - Control::FirstCouponCell);
    if (id >= Control::FirstBoardCell)
        return "BoardCell" + std::to_string(id - Control::FirstBoardCell + 1);
    return std::to_string(id);
}

// The name of a timer, or the bare number for one this file does not know.
inline std::string TimerName(int id) {
    if (const auto name = detail::FindName(kTimerNames, id); !name.empty())
        return std::string(name);
    return std::to_string(id);
}

} // namespace zorvi
