// Shared by the window tests: a private program folder (NUMBRIX_HOME) and a
// fresh evaluator and settings store for each test.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

#include <functional>
#include <list>
#include <string>

#include "config/IConfig.h"
#include "expr/IExprParser.h"
#include "ui/AppState.h"
#include "ui/CInputEdit.h"
#include "ui/CNumbrixDlg.h"
#include "ui/ControlIds.h"

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

// Runs `action` on the next modal window other than `previous` (which may
// still be closing, or be gone) once it has opened.
inline void whenWindowOpens(QPointer<QWidget> previous, std::function<void(QWidget*)> action) {
  QTimer::singleShot(5, [previous, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || (!previous.isNull() && modal == previous.data()) || !modal->isVisible())
      whenWindowOpens(previous, action);
    else
      action(modal);
  });
}

// Clicks the window's ">" (main window) or "<" (mini window).
inline void switchWindow(QWidget* window) {
  QWidget* button = findControl(window, ids::SwitchToMini);
  if (button == nullptr) button = findControl(window, ids::SwitchToMain);
  QVERIFY(button != nullptr);
  QTest::mouseClick(qobject_cast<QAbstractButton*>(button), Qt::LeftButton);
}

// Runs `window`'s modal loop and toggles "Always On Top" twice in it. After
// each toggle, once the loop has run on, `contents()` and the window's state
// are recorded: "on|off, checked, <flags>, shown, modal: <contents>", where
// <flags> is whether both the widget and its native window carry the
// stay-on-top hint. The last line is the loop's end code; the window is
// closed (rejected) after the second toggle.
inline QString toggleAlwaysOnTopTwiceInItsLoop(QDialog* window, const std::function<QString()>& contents) {
  QStringList seen;
  QAction* command = findCommand(window, ids::AlwaysOnTop);
  auto record = [&] {
    const bool widgetHint = window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    const bool nativeHint =
        window->windowHandle() != nullptr && window->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint);
    seen << QStringLiteral("%1, checked %2, hint %3/%4, shown %5, modal %6: %7")
                .arg(command->isChecked() ? "on" : "off")
                .arg(command->isChecked())
                .arg(widgetHint)
                .arg(nativeHint)
                .arg(window->isVisible())
                .arg(QApplication::activeModalWidget() == window)
                .arg(contents());
  };
  // Each check runs a little later than the toggle, so that a loop the toggle ended would have returned.
  QTimer::singleShot(0, window, [&] {
    command->trigger();
    QTimer::singleShot(20, window, [&] {
      record();
      command->trigger();
      QTimer::singleShot(20, window, [&] {
        record();
        window->reject();
      });
    });
  });
  window->hide();  // exec() of a window already shown would not make it modal
  seen << QStringLiteral("ended %1").arg(window->exec());
  return seen.join(QLatin1Char('\n'));
}

// Writes `bytes` to `path`, replacing what it held.
inline void writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

// The bytes of `path` (empty when it cannot be read).
inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The entries under the root of the configuration file `path` as "name=value",
// read through a store the program does not use.
inline QStringList fileEntries(const QString& path) {
  IConfig* store = IConfig::instance(3);
  store->load(path.toStdString());
  std::list<IConfig::Node*> nodes;
  store->children("/", nodes);
  QStringList entries;
  for (const IConfig::Node* node : nodes) entries << QString::fromStdString(node->getName() + "=" + node->getValue());
  store->release();
  return entries;
}

// The value of `key` in the configuration file `path`.
inline std::string storedValue(const QString& path, const std::string& key) {
  IConfig* store = IConfig::instance(3);
  store->load(path.toStdString());
  std::string value = store->get(key);
  store->release();
  return value;
}
