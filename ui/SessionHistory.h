// The main window's log and variables kept between sessions in the history
// file (ui/HistoryFile.h), while the setting "Keep history between
// sessions" is on: restored when the window opens, saved soon after every
// change and when it closes.
#pragma once

#include <QObject>
#include <QStringList>
#include <filesystem>

#include "ui/AppState.h"

class CLogListCtrl;
class CResultListCtrl;
class QTimer;
class QWidget;

class SessionHistory : public QObject {
  Q_OBJECT

 public:
  // Watches the two lists of `window` (which owns this) for changes.
  SessionHistory(const AppState& state, CLogListCtrl* log, CResultListCtrl* results, QWidget* window);

  // Fills the log and the variables from the file when the history is kept.
  // A damaged file has been moved aside; the user is told so once the window
  // shows. Returns the restored expressions, oldest first.
  QStringList restore();
  // Saves now when a change is unsaved and the evaluator is free (its values
  // are read at full precision); else tries again soon. True when nothing is
  // left unsaved.
  bool save();
  // The setting was switched: off deletes the file, on saves the lists.
  void keepingChanged();

  std::filesystem::path path() const { return path_; }

 private:
  void changed();

  const AppState& state_;
  CLogListCtrl* log_;
  CResultListCtrl* results_;
  QTimer* saveTimer_;
  std::filesystem::path path_;
  bool unsaved_ = false;
  bool restoring_ = false;
};
