#pragma once

namespace zorvi {

// Identifiers of the operator window's controls (window template 102) and timers, by which
// the game commands name what they ask the window to change.
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

inline constexpr int FirstBoardCell = 100000;  // + number - 1
inline constexpr int FirstCouponCell = 101000; // + position
} // namespace Control

namespace Timer {
inline constexpr int Automatic = 1025;
inline constexpr int DrawLock = 1026;
inline constexpr int OtherScreenWatch = 1027;
} // namespace Timer

} // namespace zorvi
