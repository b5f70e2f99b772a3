// The mini window driven through its widgets, and the switches between the
// two windows in the application's loop.
#include <QLineEdit>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixApp.h"
#include "ui/CNumbrixMiniDlg.h"
#include "ui/CResultListCtrl.h"

class MiniWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Mini {
    ProgramFolder folder;
    AppState state = stateIn(folder);
    CNumbrixMiniDlg dialog{state};
    Mini() { dialog.show(); }
    QLineEdit* input() { return dialog.input(); }
    QString result() { return dialog.resultBox()->text(); }
    // Types `text` key by key, then Enter.
    void enter(const QString& text) {
      QTest::keyClicks(input(), text);
      QTest::keyClick(input(), Qt::Key_Return);
      settle(dialog);
    }
    void click(int id) {
      QTest::mouseClick(qobject_cast<QAbstractButton*>(findControl(&dialog, id)), Qt::LeftButton);
      settle(dialog);
    }
  };

 private slots:
  // An assignment shows its value; blanks are not evaluated.
  void enterEvaluatesAndClearsTheInput() {
    Mini m;
    QStringList shown({m.result()});
    for (const char* text : {"1+2*3", "x = 7/2", "x * 2", "   "}) {
      m.enter(QString::fromLatin1(text));
      shown << m.result() + "|" + m.input()->text();
    }
    QCOMPARE(shown, QStringList({"0.0", "7|", "3.5|", "7|", "7|   "}));
  }

  void theKeypadInsertsAndEqualsEvaluates() {
    Mini m;
    for (int id : {1003, 1000, 1007, 1014, 1017, 1004, 1013, 1002, 1018}) m.click(id);  // 1.5*(2-0)
    QCOMPARE(m.input()->text(), QStringLiteral("1.5 * (2 - 0)"));
    m.click(ids::Ok);
    QCOMPARE(m.result(), QStringLiteral("3"));
    // A selection is replaced; at the start the minus sign takes its blanks.
    QTest::keyClicks(m.input(), QStringLiteral("23"));
    m.input()->setSelection(0, 1);
    m.click(1011);
    m.input()->setCursorPosition(0);
    m.click(1013);
    QCOMPARE(m.input()->text(), QStringLiteral(" - 93"));
  }

  // An error shows only its kind, keeps the input, and goes at the next edit.
  void errorsShowUntilTheNextEdit() {
    Mini m;
    for (const auto& [text, shown] : {std::pair("1/0", "Error"), std::pair("10^40", "Too Big")}) {
      m.enter(QStringLiteral("5"));
      m.input()->setText(QString::fromLatin1(text));
      QTest::keyClick(m.input(), Qt::Key_Return);
      settle(m.dialog);
      QCOMPARE(m.result() + " " + m.input()->text(), QString::fromLatin1(shown) + " " + text);
      QTest::keyClick(m.input(), Qt::Key_3);
      QCOMPARE(m.result() + " " + m.input()->text(), QStringLiteral("0.0 ") + text + "3");
    }
    // A value stays when the input is edited.
    m.input()->setText(QStringLiteral("4"));
    QTest::keyClick(m.input(), Qt::Key_Return);
    settle(m.dialog);
    QTest::keyClick(m.input(), Qt::Key_1);
    QCOMPARE(m.result(), QStringLiteral("4"));
  }

  // Always On Top toggled twice in the window's own loop: each time, a little
  // later (when a loop the toggle ended would have returned), the command's
  // check, whether the widget and its native window carry the hint, whether
  // the window is shown and modal, its input and result; then the loop's end.
  void alwaysOnTopKeepsTheLoopAndTheContents() {
    Mini m;
    m.enter(QStringLiteral("y = 2^5"));
    QTest::keyClicks(m.input(), QStringLiteral("y - 1"));
    QStringList seen;
    QAction* command = findCommand(&m.dialog, ids::AlwaysOnTop);
    std::function<void(int)> toggle = [&](int times) {
      if (times == 0) return m.dialog.reject();
      command->trigger();
      QTimer::singleShot(20, &m.dialog, [&, times] {
        const QWindow* native = m.dialog.windowHandle();
        seen << QStringLiteral("checked %1, hint %2/%3, shown %4, modal %5: %6 | %7")
                    .arg(command->isChecked())
                    .arg(m.dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint))
                    .arg(native != nullptr && native->flags().testFlag(Qt::WindowStaysOnTopHint))
                    .arg(m.dialog.isVisible())
                    .arg(QApplication::activeModalWidget() == &m.dialog)
                    .arg(m.input()->text(), m.result());
        toggle(times - 1);
      });
    };
    QTimer::singleShot(0, &m.dialog, [&] { toggle(2); });
    m.dialog.hide();  // exec() of a window already shown would not make it modal
    seen << QStringLiteral("ended %1").arg(m.dialog.exec());
    QCOMPARE(seen.join(QLatin1Char('\n')), QStringLiteral("checked 1, hint 1/1, shown 1, modal 1: y - 1 | 32\n"
                                                          "checked 0, hint 0/0, shown 1, modal 1: y - 1 | 32\n"
                                                          "ended 0"));
  }

  // main -> mini -> main: the mini window starts without variables, constants
  // stay, and nothing evaluated in the mini window is logged.
  void switchingClearsVariablesAndKeepsConstants() {
    ProgramFolder folder;
    writeFile(folder.file(QStringLiteral("Constant")), "Constant\n{\n\tk = 2.5;\n}\n");
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QStringList seen;
    whenWindowOpens(nullptr, [&](QWidget* first) {
      auto* main = qobject_cast<CNumbrixDlg*>(first);
      QVERIFY(main != nullptr);
      main->input()->setPlainText(QStringLiteral("v = 5"));
      main->evaluate();
      settle(*main);
      seen << QStringLiteral("main rows %1").arg(main->results()->rowCount());
      whenWindowOpens(first, [&](QWidget* second) {
        auto* mini = qobject_cast<CNumbrixMiniDlg*>(second);
        QVERIFY(mini != nullptr);
        seen << "mini " + mini->resultBox()->text();
        for (const char* text : {"v", "w = k * 2"}) {
          mini->input()->setText(QString::fromLatin1(text));
          mini->evaluate();
          settle(*mini);
          seen << text + (" " + mini->resultBox()->text());
        }
        whenWindowOpens(second, [&](QWidget* third) {
          auto* again = qobject_cast<CNumbrixDlg*>(third);
          QVERIFY(again != nullptr);
          seen << QStringLiteral("main rows %1 log %2")
                      .arg(again->results()->rowCount())
                      .arg(again->logList()->rowCount());
          again->input()->setPlainText(QStringLiteral("k + 1"));
          again->evaluate();
          settle(*again);
          seen << "k " + again->logList()->item(0, 0)->text();
          again->reject();
        });
        switchWindow(second);
      });
      switchWindow(first);
    });
    app.runWindowLoop();
    // The main window opens again with the log and variables it had: they are kept between sessions.
    QCOMPARE(seen, QStringList({"main rows 1", "mini 0.0", "v Error", "w = k * 2 5", "main rows 1 log 1", "k 3.5"}));
  }
};

QTEST_MAIN(MiniWindowTest)
#include "mini_window_test.moc"
