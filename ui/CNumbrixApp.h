// The application: finds its folder, reads the settings and the user
// constants, shows the main or the mini window until one is closed, and
// writes the settings back at exit.
#pragma once

#include <QCoreApplication>
#include <QString>
#include <filesystem>

#include "config/AppDirectory.h"
#include "ui/AppState.h"

class NumbrixWindow;

class CNumbrixApp {
  Q_DECLARE_TR_FUNCTIONS(CNumbrixApp)

 public:
  // `programFolder` is the folder of the running executable.
  explicit CNumbrixApp(std::filesystem::path programFolder);

  // Start-up: the locale, the folder (a first "Config" is written there when
  // it has none), the settings and the constants; then the window loop.
  // Returns false (the application has no loop of its own after it).
  bool initInstance();
  // Writes "/dialogType" and "/topMost" back to the settings file.
  void exitInstance();

  // Start-up without the window loop (initInstance runs both). A constants
  // file that exists but cannot be read, or entries of it that were skipped
  // (their names or values are not valid), are told once in a warning naming
  // the file; the file is left as it is.
  void loadSettings();
  // Shows windows modally, switching on "OK", until one ends otherwise.
  void runWindowLoop();

  AppState& state() { return state_; }
  // True: the mini window comes next.
  bool miniNext() const { return miniNext_; }
  // The program's files; empty when there is no program folder.
  std::filesystem::path settingsPath() const { return settingsFilePath(state_.directory); }
  std::filesystem::path constantsPath() const { return constantsFilePath(state_.directory); }

  // What a picture shows besides the first window.
  struct Screenshot {
    QString path;            // where the picture goes; empty: none is taken
    bool constants = false;  // "My Constants" opened from the main window
    bool settings = false;   // the settings dialog
    QString resultView;      // the result view of this variable, in binary
    bool maximized = false;  // the main window maximised
  };
  // Saves a picture of the first window (or of the dialog it opens) once it
  // shows, then closes it.
  void setScreenshot(const Screenshot& screenshot) { screenshot_ = screenshot; }
  // True when a picture was asked for and could not be saved.
  bool screenshotFailed() const { return screenshotFailed_; }

 private:
  void writeDefaultSettings();
  void warnOfConstantsFile(bool unreadable);
  void scheduleScreenshot(NumbrixWindow* window);

  AppState state_;
  bool miniNext_ = false;
  Screenshot screenshot_;
  bool screenshotFailed_ = false;
};
