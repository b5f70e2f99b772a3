// Shared by the window tests: a private program folder (NUMBRIX_HOME) and a
// fresh evaluator and settings store for each test.
#pragma once

#include <QTemporaryDir>
#include <QtTest>

#include "config/IConfig.h"
#include "expr/IExprParser.h"
#include "ui/AppState.h"
#include "ui/CInputEdit.h"
#include "ui/CNumbrixDlg.h"

class ProgramFolder {
 public:
  ProgramFolder() { qputenv("NUMBRIX_HOME", dir_.path().toLocal8Bit()); }
  ~ProgramFolder() {
    qunsetenv("NUMBRIX_HOME");
    IConfig::instance(0)->release();
    IExprParser::resetInstance();
  }
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

// Runs `action` on the modal dialog that will be open once the event loop
// runs (for exec() calls); the dialog must be closed by `action`.
template <class Action>
void whenModalOpens(Action action) {
  QTimer::singleShot(0, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    QVERIFY(modal != nullptr);
    action(modal);
  });
}

// A shown main window in a private program folder, with keys to type.
struct TestWindow {
  ProgramFolder folder;
  AppState state{folder.path().toStdString(), {}, false};  // the program folder holds "Constant"
  CNumbrixDlg dialog{state};
  TestWindow() { dialog.show(); }
  CInputEdit* input() { return dialog.input(); }
  // Key by key; line breaks and tabs as their keys.
  void type(const QString& text) {
    for (QChar c : text) {
      if (c == QLatin1Char('\n'))
        QTest::keyClick(input(), Qt::Key_Return);
      else if (c == QLatin1Char('\t'))
        QTest::keyClick(input(), Qt::Key_Tab);
      else
        QTest::keyClick(input(), c.toLatin1());
    }
  }
  void ctrlEnter() { QTest::keyClick(input(), Qt::Key_Return, Qt::ControlModifier); }
};
