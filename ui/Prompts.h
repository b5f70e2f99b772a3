// The one seam through which the windows ask the user (file dialogs,
// message boxes) and hand links to the desktop. The program uses the Qt
// versions; tests install their own answers.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A save-file dialog; the chosen path, or empty when the user cancels.
  // `filter` is in Qt's form ("Numbrix Log Files (*.txt)", several separated
  // by ";;", the first chosen at first); an existing file is confirmed before
  // it is chosen. The filter the user chose goes to `chosenFilter` unless it
  // is null.
  virtual QString saveFileName(QWidget* parent, const QString& proposedName, const QString& filter,
                               const QString& defaultSuffix, QString* chosenFilter) = 0;
  // An open-file dialog; the chosen path, or empty.
  virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
  // A message box with the information icon (or the exclamation icon).
  virtual void information(QWidget* parent, const QString& title, const QString& text) = 0;
  virtual void warning(QWidget* parent, const QString& title, const QString& text) = 0;
  // Opens a link or a file with the desktop's program for it; false on failure.
  virtual bool openUrl(const QUrl& url) = 0;

  // The prompts in use (the Qt ones unless a test installed others).
  static Prompts& current();
  // Installs `prompts` (not owned); null restores the Qt ones.
  static void install(Prompts* prompts);
};
