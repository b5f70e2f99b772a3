// The window menu both windows carry (what the system menu holds on other
// desktops): "&Settings…" (with the desktop's Preferences shortcut, where it
// has one), "Always On &Top", "&Help ..." (F1) and "&About Numbrix...". It
// shows as a small menu button and as the window's context menu.
#pragma once

#include <QObject>

#include "ui/AppState.h"

class QDialog;
class QMenu;
class QToolButton;

class WindowMenu : public QObject {
  Q_OBJECT

 public:
  // Builds the menu and its button for `window` (which owns both) and applies
  // the always-on-top flag of `state` to the window.
  WindowMenu(QDialog* window, AppState& state);

  QMenu* menu() const { return menu_; }
  // The button that opens the menu; the window places it in its layout.
  QToolButton* button() const { return button_; }

  // Inverts the application's always-on-top flag, applies it to the window
  // (which stays shown, its modal loop running on) and checks or unchecks
  // the command.
  void toggleAlwaysOnTop();
  // Opens "Manual.chm" of the program folder, else the manual that comes with
  // the program; a failure is not reported.
  void openHelp();
  // Shows the about box modally.
  void showAbout();

 signals:
  // "Settings…" was chosen; the window opens its settings dialog.
  void settingsRequested();

 private:
  void applyTopMost();

  QDialog* window_;
  AppState& state_;
  QMenu* menu_;
  QToolButton* button_;
};
