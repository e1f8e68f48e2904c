// Control ids, private messages, timers and accelerator commands of the main window.
#pragma once

namespace app {

// Controls (see the layout table in main_window.cpp).
inline constexpr int IdDrawingArea = 4056;
inline constexpr int IdHeading = 4061;
inline constexpr int IdEventText = 4071;
inline constexpr int IdDays = 4072;
inline constexpr int IdHours = 4073;
inline constexpr int IdMinutes = 4074;
inline constexpr int IdSeconds = 4075;
inline constexpr int IdSpacer = 4076;
inline constexpr int IdDaysUnit = 4077;
inline constexpr int IdHoursUnit = 4078;
inline constexpr int IdMinutesUnit = 4079;
inline constexpr int IdSecondsUnit = 4080;
inline constexpr int IdLitCaption = 4081;
inline constexpr int IdLitValue = 4082;
inline constexpr int IdLitPercent = 4083;
inline constexpr int IdButtonPhases = 4091;
inline constexpr int IdButtonData = 4092;
inline constexpr int IdButtonSource = 4093;
inline constexpr int IdButtonExit = 4095;
inline constexpr int IdClock = 4096;
inline constexpr int IdCountdownDial = 4097;
inline constexpr int IdLitGauge = 4098;

// Commands that no control bears: 4055 ends the program like the exit button; 4052..4054 open
// the pages like the three page buttons.
inline constexpr int CmdExitAlias = 4055;
inline constexpr int CmdPhasesAlias = 4052;
inline constexpr int CmdDataAlias = 4053;
inline constexpr int CmdSourceAlias = 4054;

// Resources.
inline constexpr int IconMoon = 4051;

// Private message: recompute and redraw the current state (WM_USER + 1000).
inline constexpr unsigned RefreshMessage = 2024;

// Timers.
inline constexpr unsigned ListTimer = 9997;
inline constexpr unsigned ClockTimer = 9998;
inline constexpr unsigned RefreshTimer = 9999;

// Accelerator commands.
inline constexpr int CmdKeyEnter = 32122;
inline constexpr int CmdKeyUp = 32123;
inline constexpr int CmdKeyDown = 32124;
inline constexpr int CmdKeyTab = 32125;
inline constexpr int CmdSaveBitmap = 32126;

}  // namespace app
