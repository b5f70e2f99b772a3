// The mini window driven through its widgets, and the switches between the
// two windows in the application's loop.
#include <QLineEdit>
#include <QtTest>

#include "FakePrompts.h"
#include "UiTestSupport.h"
#include "ui/CGuiButton.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixApp.h"
#include "ui/CNumbrixMiniDlg.h"
#include "ui/CResultListCtrl.h"

class MiniWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Mini {
    ProgramFolder folder;
    AppState state{folder.path().toStdString(), {}, false};
    CNumbrixMiniDlg dialog{state};
    Mini() { dialog.show(); }
    QLineEdit* input() { return dialog.input(); }
    QString result() { return dialog.resultBox()->text(); }
    // Types `text` key by key, then Enter.
    void enter(const QString& text) {
      QTest::keyClicks(input(), text);
      QTest::keyClick(input(), Qt::Key_Return);
    }
    void click(int id) { QTest::mouseClick(qobject_cast<QAbstractButton*>(findControl(&dialog, id)), Qt::LeftButton); }
  };

 private slots:
  void aFreshWindowShowsZero() {
    Mini m;
    QCOMPARE(m.result(), QStringLiteral("0.0"));
    QVERIFY(m.dialog.resultBox()->isReadOnly());
    QCOMPARE(m.dialog.windowTitle(), QStringLiteral("Numbrix"));
    QCOMPARE(findControl(&m.dialog, ids::MiniResult), static_cast<QWidget*>(m.dialog.resultBox()));
    QCOMPARE(findControl(&m.dialog, ids::Input), static_cast<QWidget*>(m.input()));
  }

  // The 21 buttons: 19 that insert, "=" and "<", with their colours.
  void theKeypadHasItsButtonsAndColours() {
    Mini m;
    QStringList blue, red;
    for (CGuiButton* button : m.dialog.findChildren<CGuiButton*>()) {
      QCOMPARE(button->buttonStyle(), 3);
      if (button->captionColor() == QColor(0, 0, 255))
        blue << button->text();
      else if (button->captionColor() == QColor(255, 0, 0))
        red << button->text();
      else
        QFAIL(qPrintable(button->text()));
    }
    blue.sort();
    red.sort();
    QCOMPARE(blue, QStringList({".", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "<"}));
    QCOMPARE(red, QStringList({"%", "(", ")", "*", "+", "-", "/", "=", "^"}));
    QVERIFY(findControl(&m.dialog, 1001) == nullptr);  // no "e"
    for (int id : {1000, 1002, 1011, 1012, 1019, ids::Ok, ids::SwitchToMain}) QVERIFY(findControl(&m.dialog, id));
  }

  void enterEvaluatesAndClearsTheInput() {
    Mini m;
    m.enter(QStringLiteral("1+2*3"));
    QCOMPARE(m.result(), QStringLiteral("7"));
    QCOMPARE(m.input()->text(), QString());
    m.enter(QStringLiteral("x = 7/2"));  // an assignment shows its value
    QCOMPARE(m.result(), QStringLiteral("3.5"));
    m.enter(QStringLiteral("x * 2"));
    QCOMPARE(m.result(), QStringLiteral("7"));
    m.enter(QStringLiteral("   "));  // blanks are not evaluated
    QCOMPARE(m.result(), QStringLiteral("7"));
  }

  void theKeypadInsertsAndEqualsEvaluates() {
    Mini m;
    m.click(1003);                  // 1
    m.click(1000);                  // .
    m.click(1007);                  // 5
    m.click(1014);                  // *
    m.click(1017);                  // (
    m.click(1004);                  // 2
    m.click(1013);                  // -
    m.click(1002);                  // 0
    m.click(1018);                  // )
    QCOMPARE(m.input()->text(), QStringLiteral("1.5 * (2 - 0)"));
    m.click(ids::Ok);
    QCOMPARE(m.result(), QStringLiteral("3"));
    // After a typed "e" the signs take no blanks; a selection is replaced.
    QTest::keyClicks(m.input(), QStringLiteral("2e"));
    m.click(1012);
    m.click(1005);
    QCOMPARE(m.input()->text(), QStringLiteral("2e+3"));
    m.input()->setSelection(0, 1);
    m.click(1011);
    QCOMPARE(m.input()->text(), QStringLiteral("9e+3"));
    m.input()->setCursorPosition(0);
    m.click(1013);
    QCOMPARE(m.input()->text(), QStringLiteral(" - 9e+3"));
  }

  // An error shows only its kind, keeps the input, and goes at the next edit.
  void errorsShowUntilTheNextEdit_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("syntax") << "1+" << "Error";
    QTest::newRow("undefined") << "nothing + 1" << "Error";
    QTest::newRow("division by zero") << "1/0" << "Error";
    QTest::newRow("too big") << "10^40" << "Too Big";
    QTest::newRow("too big literal") << "1e34" << "Too Big";
    QTest::newRow("deep nesting") << QString(3000, QLatin1Char('(')) + "1" + QString(3000, QLatin1Char(')'))
                                  << "Error";
  }
  void errorsShowUntilTheNextEdit() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    Mini m;
    m.enter(QStringLiteral("5"));
    m.input()->setText(text);
    QTest::keyClick(m.input(), Qt::Key_Return);
    QCOMPARE(m.result(), shown);
    QCOMPARE(m.input()->text(), text);
    QTest::keyClick(m.input(), Qt::Key_3);
    QCOMPARE(m.result(), QStringLiteral("0.0"));
    QCOMPARE(m.input()->text(), text + "3");
    // A value stays when the input is edited.
    m.input()->setText(QStringLiteral("4"));
    QTest::keyClick(m.input(), Qt::Key_Return);
    QTest::keyClick(m.input(), Qt::Key_1);
    QCOMPARE(m.result(), QStringLiteral("4"));
  }

  void escapeDoesNotCloseAndLessThanSwitches() {
    Mini m;
    QTest::keyClick(m.input(), Qt::Key_Escape);
    QTest::keyClick(&m.dialog, Qt::Key_Escape);
    QVERIFY(m.dialog.isVisible());
    m.click(ids::SwitchToMain);
    QVERIFY(!m.dialog.isVisible());
    QCOMPARE(m.dialog.result(), int(QDialog::Accepted));
  }

  void theWindowMenuWorksHereToo() {
    FakePrompts prompts;
    Mini m;
    m.enter(QStringLiteral("y = 2^5"));
    QTest::keyClicks(m.input(), QStringLiteral("y - 1"));
    const QString seen = toggleAlwaysOnTopTwiceInItsLoop(&m.dialog, [&m] {
      bignum::bigfloat y;
      return QStringLiteral("%1 | %2 | y %3")
          .arg(m.input()->text(), m.result())
          .arg(IExprParser::instance()->getVariable("y", y) && y == bignum::bigfloat(32));
    });
    QCOMPARE(seen, QStringLiteral("on, checked 1, hint 1/1, shown 1, modal 1: y - 1 | 32 | y 1\n"
                                  "off, checked 0, hint 0/0, shown 1, modal 1: y - 1 | 32 | y 1\n"
                                  "ended 0"));
    findCommand(&m.dialog, ids::Help)->trigger();
    QCOMPARE(prompts.opened.size(), 1);
    QVERIFY(findCommand(&m.dialog, ids::About) != nullptr);
  }

  // main -> mini -> main: variables are cleared at each switch, constants
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
      seen << QStringLiteral("main rows %1").arg(main->results()->rowCount());
      whenWindowOpens(first, [&](QWidget* second) {
        auto* mini = qobject_cast<CNumbrixMiniDlg*>(second);
        QVERIFY(mini != nullptr);
        seen << "mini " + mini->resultBox()->text();
        mini->input()->setText(QStringLiteral("v"));
        mini->evaluate();
        seen << "v " + mini->resultBox()->text();
        mini->input()->setText(QStringLiteral("w = k * 2"));
        mini->evaluate();
        seen << "w " + mini->resultBox()->text();
        whenWindowOpens(second, [&](QWidget* third) {
          auto* again = qobject_cast<CNumbrixDlg*>(third);
          QVERIFY(again != nullptr);
          seen << QStringLiteral("main rows %1 log %2")
                      .arg(again->results()->rowCount())
                      .arg(again->logList()->rowCount());
          again->input()->setPlainText(QStringLiteral("k + 1"));
          again->evaluate();
          seen << "k " + again->logList()->item(0, 0)->text();
          again->reject();
        });
        switchWindow(second);
      });
      switchWindow(first);
    });
    app.runWindowLoop();
    QCOMPARE(seen, QStringList({"main rows 1", "mini 0.0", "v Error", "w 5", "main rows 0 log 0", "k 3.5"}));
    app.exitInstance();
    // The main window was the last one.
    QCOMPARE(storedValue(folder.file(QStringLiteral("Config")), "/dialogType"), std::string("normal"));
  }

  // Settings that name the mini window open it first; closing it writes "mini".
  void theMiniWindowCanComeFirst() {
    ProgramFolder folder;
    writeFile(folder.file(QStringLiteral("Config")), "Config\n{\n\tdialogType = mini;\n\ttopMost = false;\n}\n");
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    bool mini = false;
    whenWindowOpens(nullptr, [&](QWidget* first) {
      mini = qobject_cast<CNumbrixMiniDlg*>(first) != nullptr;
      qobject_cast<QDialog*>(first)->reject();
    });
    app.runWindowLoop();
    app.exitInstance();
    QVERIFY(mini);
    QCOMPARE(storedValue(folder.file(QStringLiteral("Config")), "/dialogType"), std::string("mini"));
  }
};

QTEST_MAIN(MiniWindowTest)
#include "mini_window_test.moc"
