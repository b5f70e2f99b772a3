// The numeric ids of the windows' controls and commands. Every control and
// menu command carries its id as the property "controlId" (commands also as
// the action's data), so that code and tests find them by id.
#pragma once

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace ids {

// Main window.
inline constexpr int Ok = 1;
inline constexpr int KeypadFirst = 1000;
inline constexpr int KeypadLast = 1052;
inline constexpr int Input = 1059;
inline constexpr int OutputFrame = 1061;
inline constexpr int MessageLine = 1062;
inline constexpr int SwitchToMini = 1064;

// Commands of the window menu (the system menu on other desktops).
inline constexpr int About = 16;
inline constexpr int AlwaysOnTop = 40016;
inline constexpr int Help = 40048;
inline constexpr int Settings = 40064;

// Menu 130 "&Result" of the results list.
inline constexpr int ResultClearAll = 32771;
inline constexpr int ResultClearSelected = 32772;
inline constexpr int ResultView = 32774;
inline constexpr int ImportVariables = 32793;
inline constexpr int ExportVariables = 32794;
inline constexpr int ResultMyConstants = 32792;
inline constexpr int ResultCopyValue = 32796;

// Menu 131 "&Log" of the log list.
inline constexpr int LogClearAll = 32775;
inline constexpr int LogClearSelected = 32789;
inline constexpr int ExportLog = 32776;
inline constexpr int Reevaluate = 32783;
inline constexpr int LogCopyAnswer = 32797;
inline constexpr int LogCopyExpression = 32798;

// Menu 132 "&Input" of the input.
inline constexpr int InputClear = 32784;
inline constexpr int InputCut = 32785;
inline constexpr int InputCopy = 32786;
inline constexpr int InputPaste = 32787;
inline constexpr int InputMyConstants = 32795;

// Result view.
inline constexpr int ViewLabel = 1060;
inline constexpr int ViewText = 1068;
inline constexpr int ViewWidth = 1069;
inline constexpr int RadioDec = 1053;
inline constexpr int RadioBin = 1054;
inline constexpr int RadioOct = 1055;
inline constexpr int RadioHex = 1056;
inline constexpr int RadioRad = 1057;
inline constexpr int RadioDeg = 1058;

// Mini window (its input is 1059, its keypad 1000 and 1002-1019, "=" is 1).
inline constexpr int MiniResult = 1063;
inline constexpr int SwitchToMain = 1065;

// My Constants.
inline constexpr int Cancel = 2;
inline constexpr int ConstantName = 1073;
inline constexpr int ConstantValue = 1068;
inline constexpr int ConstantAdd = 1075;
inline constexpr int ConstantList = 1076;
inline constexpr int ConstantDelete = 1077;
inline constexpr int ConstantInsert = 1078;
inline constexpr int ConstantApply = 1079;

// Settings.
inline constexpr int SettingsDecimals = 1080;
inline constexpr int SettingsLimited = 1081;
inline constexpr int SettingsLimitExponent = 1082;
inline constexpr int SettingsKeepHistory = 1083;
inline constexpr int SettingsEnterEvaluates = 1084;

// About box.
inline constexpr int ContactLink = 1071;
inline constexpr int WebLink = 1072;

}  // namespace ids

// Gives a widget or action its id.
void setControlId(QWidget* widget, int id);
void setControlId(QAction* action, int id);

// The widget or action below `root` (or root itself) that carries `id`, or null.
QWidget* findControl(const QWidget* root, int id);
QAction* findCommand(const QWidget* root, int id);

// A new action with a caption and an id.
QAction* commandAction(const QString& caption, int id, QObject* parent);

// Adds to `menu` a command with a caption and an id whose trigger calls `slot` on `receiver`.
template <class Receiver, class Slot>
QAction* addCommand(QMenu* menu, const QString& caption, int id, Receiver* receiver, Slot slot) {
  QAction* action = commandAction(caption, id, menu);
  QObject::connect(action, &QAction::triggered, receiver, slot);
  menu->addAction(action);
  return action;
}
