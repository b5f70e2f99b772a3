// The main window driven through its real widgets.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QtTest>

#include "FakePrompts.h"
#include "UiTestSupport.h"
#include "ui/CGuiButton.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixDlg.h"
#include "ui/CResultListCtrl.h"
#include "ui/CResultViewDlg.h"
#include "ui/ControlIds.h"
#include "ui/ResultTexts.h"

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Window : TestWindow {
    void click(int id) { QTest::mouseClick(qobject_cast<QAbstractButton*>(findControl(&dialog, id)), Qt::LeftButton); }
    QString cell(QTableWidget* list, int row, int column) { return list->item(row, column)->text(); }
  };

  // The enabled state of each command of `menu`, as "id:1" or "id:0".
  static QStringList enabling(QMenu* menu) {
    QStringList states;
    for (QAction* action : menu->actions())
      if (!action->isSeparator()) states << QStringLiteral("%1:%2").arg(action->data().toInt()).arg(action->isEnabled());
    return states;
  }

 private slots:
  void evaluatesWithCtrlEnterAndClearsTheInput() {
    Window w;
    w.type(QStringLiteral("x = 2^10"));
    QTest::keyClick(w.input(), Qt::Key_Return);  // Enter alone adds a line
    w.type(QStringLiteral("x + 1"));
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("x = 2^10\nx + 1"));
    w.ctrlEnter();
    QCOMPARE(w.input()->toPlainText(), QString());
    QCOMPARE(w.dialog.messageLine()->text(), QString());
    // Results: ans and x, sorted by name; log: newest first.
    CResultListCtrl* results = w.dialog.results();
    QCOMPARE(results->rowCount(), 2);
    QCOMPARE(w.cell(results, 0, 0), QStringLiteral("ans"));
    QCOMPARE(w.cell(results, 0, 1), QStringLiteral("1025"));
    QCOMPARE(w.cell(results, 1, 0), QStringLiteral("x"));
    CLogListCtrl* log = w.dialog.logList();
    QCOMPARE(log->rowCount(), 2);
    QCOMPARE(w.cell(log, 0, 1), QStringLiteral("x + 1"));
    QCOMPARE(w.cell(log, 0, 0), QStringLiteral("1025"));
    QCOMPARE(w.cell(log, 1, 1), QStringLiteral("x = 2 ^ 10"));
    // Setting x again updates its row; names differing in case make two rows.
    w.type(QStringLiteral("x = 3\nX = 4"));
    w.click(ids::Ok);
    QCOMPARE(results->rowCount(), 3);
    QCOMPARE(w.cell(results, results->rowOf(QStringLiteral("x")), 1), QStringLiteral("3"));
    QCOMPARE(w.cell(results, results->rowOf(QStringLiteral("X")), 1), QStringLiteral("4"));
  }

  void anErrorIsShownInRedWithItsSpanSelectedAndTheInputKept() {
    Window w;
    w.type(QStringLiteral("a = 2\n1 + foo(3)"));
    w.ctrlEnter();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("a = 2\n1 + foo(3)"));
    QCOMPARE(w.dialog.messageLine()->text(), QStringLiteral("Undefined function: foo"));
    QCOMPARE(w.dialog.messageLine()->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(w.input()->textCursor().selectedText(), QStringLiteral("foo(3)"));
    QCOMPARE(w.dialog.results()->rowCount(), 0);  // nothing committed
    QCOMPARE(w.dialog.logList()->rowCount(), 1);  // the first statement was logged
    // A tab counts to the next tab stop in the error's columns.
    w.input()->clear();
    w.type(QStringLiteral("1\t+ 1/0"));
    w.ctrlEnter();
    QCOMPARE(w.input()->textCursor().selectedText(), QStringLiteral("/"));
    // A syntax error names no end: nothing is selected.
    w.input()->clear();
    w.type(QStringLiteral("1 +"));
    w.ctrlEnter();
    QVERIFY(!w.input()->textCursor().hasSelection());
    QCOMPARE(w.dialog.messageLine()->text(), QStringLiteral("unexpected token: \n"));
    // A success clears the message.
    w.input()->clear();
    w.type(QStringLiteral("1"));
    w.ctrlEnter();
    QCOMPARE(w.dialog.messageLine()->text(), QString());
  }

  void blankInputIsNotEvaluated() {
    Window w;
    w.type(QStringLiteral(" \t "));
    QTest::keyClick(w.input(), Qt::Key_Return);
    w.ctrlEnter();
    QCOMPARE(w.dialog.logList()->rowCount(), 0);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral(" \t \n"));
    QCOMPARE(w.dialog.messageLine()->text(), QString());
  }

  void keypadInsertsItsTexts() {
    Window w;
    w.type(QStringLiteral("1e"));
    w.click(1013);
    w.click(1007);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1e-5"));
    w.click(1012);
    w.click(1003);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1e-5 + 1"));
    w.click(1043);
    w.click(1044);
    w.click(1029);
    w.click(1026);
    w.click(1018);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1e-5 + 1 &  | sin(PI)"));
    // At the start of the input the minus sign takes its blanks; a selection is replaced.
    QTextCursor start = w.input()->textCursor();
    start.setPosition(0);
    w.input()->setTextCursor(start);
    w.click(1013);
    QVERIFY(w.input()->toPlainText().startsWith(QStringLiteral(" - 1e-5")));
    w.input()->selectAll();
    w.click(1024);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("E"));
    w.click(1013);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("E-"));  // E counts like e
    // "&&" shows one ampersand, not a mnemonic.
    QCOMPARE(qobject_cast<CGuiButton*>(findControl(&w.dialog, 1043))->text(), QStringLiteral("&&"));
    int keys = 0;
    for (int id = ids::KeypadFirst; id <= ids::KeypadLast; ++id) keys += findControl(&w.dialog, id) != nullptr;
    QCOMPARE(keys, 53);
  }

  void escapeDoesNotCloseTheWindowAndTheSwitchButtonAccepts() {
    Window w;
    QTest::keyClick(w.input(), Qt::Key_Escape);
    QTest::keyClick(&w.dialog, Qt::Key_Escape);
    QVERIFY(w.dialog.isVisible());
    QCOMPARE(w.dialog.result(), 0);
    w.click(ids::SwitchToMini);
    QVERIFY(!w.dialog.isVisible());
    QCOMPARE(w.dialog.result(), int(QDialog::Accepted));
  }

  void inputMenuEnabling() {
    Window w;
    QApplication::clipboard()->clear();
    QCOMPARE(enabling(w.input()->preparedMenu()),
             QStringList({"32784:0", "32785:0", "32786:0", "32787:0", "32795:1"}));
    w.type(QStringLiteral("12345"));
    QTextCursor cursor = w.input()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    w.input()->setTextCursor(cursor);
    // Commands act only as enabled when the menu opens, as a user would see them.
    QCOMPARE(enabling(w.input()->preparedMenu()),
             QStringList({"32784:1", "32785:1", "32786:1", "32787:0", "32795:1"}));
    findCommand(w.input(), ids::InputCopy)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("23"));
    QCOMPARE(enabling(w.input()->preparedMenu()),
             QStringList({"32784:1", "32785:1", "32786:1", "32787:1", "32795:1"}));
    findCommand(w.input(), ids::InputCut)->trigger();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("145"));
    findCommand(w.input(), ids::InputPaste)->trigger();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("12345"));
    findCommand(w.input(), ids::InputClear)->trigger();
    QCOMPARE(w.input()->toPlainText(), QString());
  }

  void resultMenuAndCommands() {
    Window w;
    CResultListCtrl* results = w.dialog.results();
    QCOMPARE(enabling(results->preparedMenu()),
             QStringList({"32771:0", "32772:0", "32774:0", "32793:1", "32794:0", "32792:1"}));
    w.type(QStringLiteral("a = 2^100\nb = 2"));
    w.ctrlEnter();
    QCOMPARE(enabling(results->preparedMenu()),
             QStringList({"32771:1", "32772:0", "32774:0", "32793:1", "32794:1", "32792:1"}));
    results->selectRow(results->rowOf(QStringLiteral("a")));
    QCOMPARE(enabling(results->preparedMenu()),
             QStringList({"32771:1", "32772:1", "32774:1", "32793:1", "32794:1", "32792:1"}));
    // Result View of the selected variable: 2^100 is an integer, with its hexadecimal text.
    QString shown;
    whenModalOpens([&shown](QWidget* modal) {
      auto* view = qobject_cast<CResultViewDlg*>(modal);
      QVERIFY(view != nullptr);
      QTest::mouseClick(findControl(view, ids::RadioHex), Qt::LeftButton);
      shown = qobject_cast<QLabel*>(findControl(view, ids::ViewLabel))->text() + " " + view->shownText();
      view->accept();
    });
    findCommand(results, ids::ResultView)->trigger();
    const bignum::bigfloat power("1267650600228229401496703205376", bignum::INFINITE);
    QCOMPARE(shown, QStringLiteral("a = ") + QString::fromStdString(radixText(power, 16)));
    // Clear Selected removes the variable through the evaluator.
    findCommand(results, ids::ResultClearSelected)->trigger();
    QCOMPARE(results->rowCount(), 1);
    bignum::bigfloat value;
    QVERIFY(!IExprParser::instance()->getVariable("a", value));
    findCommand(results, ids::ResultClearAll)->trigger();
    QCOMPARE(results->rowCount(), 0);
    QVERIFY(!IExprParser::instance()->getVariable("b", value));
  }

  void logMenuAndReevaluate() {
    Window w;
    CLogListCtrl* log = w.dialog.logList();
    QCOMPARE(enabling(log->preparedMenu()), QStringList({"32775:0", "32789:0", "32776:0", "32783:0"}));
    w.type(QStringLiteral("1+1\n1+1\n2*3"));
    w.ctrlEnter();
    QCOMPARE(log->rowCount(), 3);
    QCOMPARE(enabling(log->preparedMenu()), QStringList({"32775:1", "32789:0", "32776:1", "32783:0"}));
    log->selectRow(2);
    QCOMPARE(enabling(log->preparedMenu()), QStringList({"32775:1", "32789:1", "32776:1", "32783:1"}));
    // Re-evaluate puts the expression at the caret, replacing a selection.
    w.type(QStringLiteral("5 * ()"));
    QTextCursor cursor = w.input()->textCursor();
    cursor.setPosition(5);
    w.input()->setTextCursor(cursor);
    findCommand(log, ids::Reevaluate)->trigger();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("5 * (1 + 1)"));
    w.input()->selectAll();
    findCommand(log, ids::Reevaluate)->trigger();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1 + 1"));
    // Two equal entries stay two; Clear Selected removes one.
    findCommand(log, ids::LogClearSelected)->trigger();
    QCOMPARE(log->rowCount(), 2);
    QCOMPARE(log->item(1, 1)->text(), QStringLiteral("1 + 1"));
    findCommand(log, ids::LogClearAll)->trigger();
    QCOMPARE(log->rowCount(), 0);
  }

  // The window stays open in its modal loop with what it holds.
  void alwaysOnTopTogglesWhileTheWindowRuns() {
    Window w;
    w.type(QStringLiteral("x = 6 * 7"));
    w.ctrlEnter();
    w.type(QStringLiteral("x + 1"));
    const QString seen = toggleAlwaysOnTopTwiceInItsLoop(&w.dialog, [&w] {
      bignum::bigfloat x;
      return QStringLiteral("%1 | x %2 | %3 rows")
          .arg(w.input()->toPlainText())
          .arg(IExprParser::instance()->getVariable("x", x) && x == bignum::bigfloat(42))
          .arg(w.dialog.results()->rowCount() + w.dialog.logList()->rowCount());
    });
    QCOMPARE(seen, QStringLiteral("on, checked 1, hint 1/1, shown 1, modal 1: x + 1 | x 1 | 2 rows\n"
                                  "off, checked 0, hint 0/0, shown 1, modal 1: x + 1 | x 1 | 2 rows\n"
                                  "ended 0"));
    QVERIFY(!w.state.alwaysOnTop);
  }

  void helpOpensTheManualAndAboutShowsTheLinks() {
    FakePrompts prompts;
    Window w;
    w.state.programFolder = w.folder.path().toStdString();
    findCommand(&w.dialog, ids::Help)->trigger();
    QCOMPARE(prompts.opened.size(), 1);
    QVERIFY(prompts.opened.front().toLocalFile().endsWith(QStringLiteral("numbrix-manual.html")));
    QFile chm(w.folder.file(QStringLiteral("Manual.chm")));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    w.state.directory = w.folder.path().toStdString();
    findCommand(&w.dialog, ids::Help)->trigger();
    QCOMPARE(prompts.opened.back().toLocalFile(), w.folder.file(QStringLiteral("Manual.chm")));
    QString links;
    whenModalOpens([&links](QWidget* about) {
      links = qobject_cast<QLabel*>(findControl(about, ids::ContactLink))->text() + " " +
              qobject_cast<QLabel*>(findControl(about, ids::WebLink))->text();
      qobject_cast<QDialog*>(about)->accept();
    });
    findCommand(&w.dialog, ids::About)->trigger();
    QCOMPARE(links, QStringLiteral("numbrix@example.org https://www.example.org/numbrix"));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
