// Shared by the window tests: a private program folder (NUMBRIX_HOME) and a
// fresh evaluator and settings store for each test; answers for the
// windows' questions.
#pragma once

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QPointer>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
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
#include "ui/CResultListCtrl.h"
#include "ui/ControlIds.h"
#include "ui/EvaluationRunner.h"
#include "ui/Prompts.h"

// Waits until the window's worker has nothing left to do or to deliver.
inline void settle(NumbrixWindow& window) { QTRY_VERIFY_WITH_TIMEOUT(window.runner()->idle(), 30000); }

class ProgramFolder {
 public:
  // The history goes to a folder of its own in the same place.
  ProgramFolder() {
    qputenv("NUMBRIX_HOME", dir_.path().toLocal8Bit());
    qputenv("XDG_STATE_HOME", dir_.filePath(QStringLiteral("state")).toLocal8Bit());
  }
  ~ProgramFolder() {
    qunsetenv("NUMBRIX_HOME");
    qunsetenv("XDG_STATE_HOME");
    IConfig::instance(0)->release();
    IExprParser::resetInstance();
  }
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }

 private:
  QTemporaryDir dir_;
};

// The application's state with `folder` as the program folder (which holds "Constant").
inline AppState stateIn(const ProgramFolder& folder) {
  AppState state;
  state.directory = folder.path().toStdString();
  return state;
}

// A shown main window in a private program folder, with keys to type.
struct TestWindow {
  ProgramFolder folder;
  AppState state = stateIn(folder);
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
  // Ctrl+Enter, and waits until its answer has arrived.
  void ctrlEnter() {
    QTest::keyClick(input(), Qt::Key_Return, Qt::ControlModifier);
    settle(dialog);
  }
  // Puts `text` in the input at once and evaluates it as Ctrl+Enter does.
  void evaluate(const QString& text) {
    input()->setPlainText(text);
    ctrlEnter();
  }
  // The texts of `list`'s `column`, top to bottom.
  static QStringList column(QTableWidget* list, int column) {
    QStringList texts;
    for (int row = 0; row < list->rowCount(); ++row) texts << list->item(row, column)->text();
    return texts;
  }
  // The value the results list shows for `name` ("" without such a row).
  QString shownValue(const QString& name) {
    const int row = dialog.results()->rowOf(name);
    return row < 0 ? QString() : dialog.results()->item(row, 1)->text();
  }
};

// Runs `action` on the next modal window other than `previous` (which may
// still be closing, or be gone) once it has opened.
inline void whenWindowOpens(const QPointer<QWidget>& previous, const std::function<void(QWidget*)>& action) {
  QTimer::singleShot(5, [previous, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || (!previous.isNull() && modal == previous.data()) || !modal->isVisible())
      whenWindowOpens(previous, action);
    else
      action(modal);
  });
}

// Triggers the command `id` of `owner`'s context menu as the user reaches it:
// through the opened menu, and only when it is enabled there. False when not.
template <class Owner>
bool chooseFromMenu(Owner* owner, int id) {
  owner->preparedMenu();
  QAction* action = findCommand(owner, id);
  if (!action->isEnabled()) return false;
  action->trigger();
  return true;
}

// Clicks the window's ">" (main window) or "<" (mini window).
inline void switchWindow(QWidget* window) {
  QWidget* button = findControl(window, ids::SwitchToMini);
  if (button == nullptr) button = findControl(window, ids::SwitchToMain);
  QVERIFY(button != nullptr);
  QTest::mouseClick(qobject_cast<QAbstractButton*>(button), Qt::LeftButton);
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

// File names given in advance; message boxes and opened links recorded.
class FakePrompts : public Prompts {
 public:
  FakePrompts() { Prompts::install(this); }
  ~FakePrompts() override { Prompts::install(nullptr); }
  FakePrompts(const FakePrompts&) = delete;
  FakePrompts& operator=(const FakePrompts&) = delete;

  QString saveFileName(QWidget*, const QString& proposedName, const QString& filter, const QString& defaultSuffix,
                       QString* chosenFilter) override {
    asked << QStringLiteral("save %1 [%2] .%3").arg(proposedName, filter, defaultSuffix);
    if (chosenFilter != nullptr) *chosenFilter = filter.split(QStringLiteral(";;")).value(nextFilter);
    return nextFile;
  }
  QString openFileName(QWidget*, const QString& filter) override {
    asked << QStringLiteral("open [%1]").arg(filter);
    return nextFile;
  }
  void information(QWidget*, const QString& title, const QString& text) override {
    messages << QStringLiteral("information %1: %2").arg(title, text);
  }
  void warning(QWidget*, const QString& title, const QString& text) override {
    messages << QStringLiteral("warning %1: %2").arg(title, text);
  }
  bool openUrl(const QUrl& url) override {
    opened << url;
    return openSucceeds;
  }

  QString nextFile;    // what the next file dialog answers ("" = cancelled)
  int nextFilter = 0;  // the filter the next save dialog answers, by its place
  bool openSucceeds = true;
  QStringList asked, messages;
  QList<QUrl> opened;
};
