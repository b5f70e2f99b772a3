// The main window as people use it every day: long work on the worker that
// Esc stops, answers in order, the live answer, completion, recalling inputs,
// the history kept between sessions and a window that grows.
#include <QAbstractItemView>
#include <QCompleter>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSplitter>
#include <memory>

#include "UiTestSupport.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixMiniDlg.h"
#include "ui/HistoryFile.h"
#include "ui/InputAssist.h"
#include "ui/SessionHistory.h"

namespace {

// Puts `decimals` in force (the window's evaluator is idle).
void setDecimals(long decimals) {
  const EvaluatorAccess::Guard access = EvaluatorAccess::acquire();
  QVERIFY(static_cast<bool>(access));
  EvaluationSettings s = IExprParser::instance()->settings();
  s.decimals = decimals;
  QVERIFY(IExprParser::instance()->setSettings(s));
}

}  // namespace

class SessionTest : public QObject {
  Q_OBJECT

 private slots:
  // A million-decimal PI is stopped by Esc: the variables stay as they were,
  // the window says so, and the next input is answered at once.
  void escStopsLongWorkAndTheNextInputIsAnswered() {
    TestWindow w;
    w.evaluate(QStringLiteral("x = 1"));
    setDecimals(1000000);
    w.input()->setPlainText(QStringLiteral("x = PI"));
    QTest::keyClick(w.input(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(w.dialog.progressBar()->isVisible() && w.dialog.cancelButton()->isVisible());
    QTRY_VERIFY(w.dialog.messageLine()->text().startsWith(QStringLiteral("Computing x = PI")));
    QTest::qWait(200);  // well into the computation
    QVERIFY(w.dialog.runner()->busy());
    w.input()->insertPlainText(QStringLiteral(" "));  // the input stays editable
    QTest::keyClick(w.input(), Qt::Key_Escape);
    settle(w.dialog);
    QCOMPARE(w.dialog.messageLine()->text(), QStringLiteral("The computation was interrupted !"));
    QCOMPARE(w.shownValue(QStringLiteral("x")), QStringLiteral("1"));
    QVERIFY(!w.dialog.progressBar()->isVisible());
    setDecimals(40);
    QElapsedTimer clock;
    clock.start();
    w.evaluate(QStringLiteral("6*7"));
    QCOMPARE(w.shownValue(QStringLiteral("ans")), QStringLiteral("42"));
    QVERIFY2(clock.elapsed() < 5000, "the stopped work still ran");
  }

  // Inputs given while one works are answered in their order; the Cancel
  // button drops those still waiting.
  void answersKeepTheOrderOfTheInputs() {
    TestWindow w;
    QSignalSpy outcomes(w.dialog.runner(), &EvaluationRunner::evaluated);
    for (const char* text : {"a = 2^100", "a / 0", "b = a + 1", "c = 3"}) {
      w.input()->setPlainText(QString::fromLatin1(text));
      QTest::keyClick(w.input(), Qt::Key_Return, Qt::ControlModifier);
    }
    settle(w.dialog);
    QList<int> order;
    for (const QList<QVariant>& outcome : outcomes) order << outcome.at(0).toInt();
    QCOMPARE(order, QList<int>({1, 2, 3, 4}));
    QCOMPARE(w.column(w.dialog.logList(), 1), QStringList({"c = 3", "b = a + 1", "a = 2 ^ 100"}));
    // Cancel: what waits is dropped, the window is free at once.
    setDecimals(1000000);
    for (const char* text : {"PI", "y = 5"}) {
      w.input()->setPlainText(QString::fromLatin1(text));
      QTest::keyClick(w.input(), Qt::Key_Return, Qt::ControlModifier);
    }
    QTRY_VERIFY(w.dialog.cancelButton()->isVisible());
    QTest::mouseClick(w.dialog.cancelButton(), Qt::LeftButton);
    settle(w.dialog);
    QCOMPARE(w.shownValue(QStringLiteral("y")), QString());
  }

  // Closing the window while it works stops the work and closes at once.
  void closingStopsTheWork() {
    auto w = std::make_unique<TestWindow>();
    setDecimals(EvaluationSettings::kMaxDecimals);  // a computation of many seconds, even here
    w->input()->setPlainText(QStringLiteral("exp(PI)"));
    QTest::keyClick(w->input(), Qt::Key_Return, Qt::ControlModifier);
    QTRY_VERIFY(w->dialog.runner()->busy());
    QTest::qWait(100);
    QElapsedTimer clock;
    clock.start();
    w->dialog.reject();
    w.reset();
    QVERIFY2(clock.elapsed() < 8000, "closing waited for the computation");
  }

  // The live answer: shown in grey for one statement, never assigning, and
  // not for errors, several lines or work longer than its limit.
  void liveAnswersAssignNothing() {
    TestWindow w;
    w.evaluate(QStringLiteral("x = 4"));
    const struct {
      const char* typed;
      const char* live;
    } cases[] = {{"x^3", "= 64"}, {"y = x + 1", "= 5"}, {"1/0", ""}, {"1\n2", ""}, {"sqrt(", ""}, {"2^-1", "= 0.5"}};
    for (const auto& c : cases) {
      w.input()->clear();
      w.type(QString::fromLatin1(c.typed));
      if (*c.live != '\0') {
        QTRY_COMPARE_WITH_TIMEOUT(w.dialog.messageLine()->text(), QString::fromLatin1(c.live), 2000);
        QVERIFY(w.dialog.messageLine()->palette().color(QPalette::WindowText) != QColor(Qt::black));
      } else {
        QTest::qWait(300);
        QCOMPARE(w.dialog.messageLine()->text(), QString());
      }
    }
    QCOMPARE(w.column(w.dialog.results(), 0), QStringList({"x"}));
    QCOMPARE(w.dialog.logList()->rowCount(), 1);
    // An edit drops it at once.
    w.input()->setPlainText(QStringLiteral("3*3"));
    QTRY_COMPARE(w.dialog.liveAnswer(), QStringLiteral("9"));
    w.type(QStringLiteral("+"));
    QCOMPARE(w.dialog.liveAnswer(), QString());
    // Longer than its limit: stopped, nothing shown, the worker free again.
    setDecimals(1000000);
    w.input()->setPlainText(QStringLiteral("PI * 2"));
    QTest::qWait(800);
    QCOMPARE(w.dialog.messageLine()->text(), QString());
    QTRY_VERIFY(w.dialog.runner()->idle());
  }

  // Two letters offer the names; a function is inserted with its bracket.
  void completionOffersAndInserts() {
    TestWindow w;
    w.evaluate(QStringLiteral("sqrtTwo = 1.4142"));
    w.type(QStringLiteral("1 + sq"));
    QCompleter* completer = w.dialog.assist()->completer();
    QTRY_VERIFY(completer->popup()->isVisible());
    QStringList offered;
    for (int row = 0; row < completer->completionModel()->rowCount(); ++row)
      offered << completer->completionModel()->index(row, 0).data().toString();
    QCOMPARE(offered, QStringList({"sqrt(x)", "sqrtTwo"}));
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1 + sqrt("));
    w.type(QStringLiteral("9)"));
    QTest::keyClick(w.input(), Qt::Key_Return, Qt::ControlModifier);
    settle(w.dialog);
    QCOMPARE(w.shownValue(QStringLiteral("ans")), QStringLiteral("4"));
    // log shows its two arguments; one letter offers nothing.
    w.type(QStringLiteral("lo"));
    QTRY_VERIFY(completer->popup()->isVisible());
    QCOMPARE(completer->completionModel()->index(0, 0).data().toString(), QStringLiteral("log(a, b)"));
    w.input()->setPlainText(QStringLiteral("l"));
    QVERIFY(!completer->popup()->isVisible());
  }

  // Ctrl+Up and Ctrl+Down walk through earlier inputs and back to the draft;
  // with the setting, Enter evaluates and Shift+Enter starts a new line.
  void recallAndEnterSetting() {
    TestWindow w;
    for (const char* text : {"1+1", "2+2"}) w.evaluate(QString::fromLatin1(text));
    w.type(QStringLiteral("dra"));
    QStringList seen;
    for (Qt::Key key : {Qt::Key_Up, Qt::Key_Up, Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}) {
      QTest::keyClick(w.input(), key, Qt::ControlModifier);
      seen << w.input()->toPlainText();
    }
    QCOMPARE(seen, QStringList({"2+2", "1+1", "1+1", "2+2", "dra", "dra"}));
    w.state.enterEvaluates = true;
    w.input()->clear();
    w.type(QStringLiteral("a = 1"));
    QTest::keyClick(w.input(), Qt::Key_Return, Qt::ShiftModifier);
    w.type(QStringLiteral("a + 1"));
    QTest::keyClick(w.input(), Qt::Key_Return);
    settle(w.dialog);
    QCOMPARE(w.column(w.dialog.logList(), 1).mid(0, 2) << w.dialog.messageLine()->text() << w.input()->toPlainText(),
             QStringList({"a + 1", "a = 1", "", ""}));
  }

  // The log and variables come back in the next session, at full precision;
  // a damaged file is kept aside and told; turning the setting off deletes it.
  void historySurvivesARestart() {
    ProgramFolder folder;
    FakePrompts prompts;
    AppState state = stateIn(folder);
    {
      CNumbrixDlg first(state);
      first.input()->setPlainText(QStringLiteral("big = 2^100 + 1/3\nbig * 3"));
      first.evaluate();
      settle(first);
    }
    const std::filesystem::path path = historyFilePath();
    QVERIFY(path.string().starts_with(folder.path().toStdString()));
    {
      CNumbrixDlg second(state);
      QCOMPARE(TestWindow::column(second.logList(), 1), QStringList({"big * 3", "big = 2 ^ 100 + 1 / 3"}));
      second.input()->setPlainText(QStringLiteral("big * 3 - 2^100 * 3"));
      second.evaluate();
      settle(second);
      QCOMPARE(second.logList()->answerText(0), QStringLiteral("1"));  // every digit came back
      QCOMPARE(second.assist()->recalled().front(), QStringLiteral("big = 2 ^ 100 + 1 / 3"));
    }
    writeFile(QString::fromStdString(path.string()), "Numbrix history 1\nE 1 +\n");
    {
      CNumbrixDlg third(state);
      QTRY_COMPARE(prompts.messages.size(), 1);
      QVERIFY(prompts.messages.front().startsWith(QStringLiteral("warning History:")));
      QCOMPARE(third.logList()->rowCount(), 0);
      QCOMPARE(readFile(QString::fromStdString(damagedHistoryPath(path).string())),
               QByteArray("Numbrix history 1\nE 1 +\n"));
      state.keepHistory = false;
      third.history()->keepingChanged();
      QVERIFY(!std::filesystem::exists(path));
    }
    QVERIFY(!std::filesystem::exists(path));  // nor written at the end
  }

  // The window grows and shrinks with the lists; the splitter keeps its
  // place; size and splitter come back in the next window.
  void resizeKeepsTheSplitter() {
    ProgramFolder folder;
    AppState state = stateIn(folder);
    QList<int> sizes;
    {
      CNumbrixDlg window(state);
      window.show();
      QVERIFY(QTest::qWaitForWindowExposed(&window));
      QVERIFY(window.maximumSize().width() > 2000 && window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
      window.splitter()->setSizes({100, 200});
      sizes = window.splitter()->sizes();
      const int listHeights = sizes[0] + sizes[1];
      window.resize(window.width() + 300, window.height() + 400);
      QTRY_VERIFY(window.splitter()->sizes()[0] + window.splitter()->sizes()[1] > listHeights + 300);
      const QList<int> grown = window.splitter()->sizes();
      QVERIFY2(qAbs(grown[0] * 2 - grown[1]) <= 4, "the bar keeps its share");
      sizes = grown;
      window.accept();
    }
    QVERIFY(!state.mainGeometry.empty() && !state.splitterState.empty());
    CNumbrixDlg again(state);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTRY_COMPARE(again.splitter()->sizes(), sizes);
  }

  // The mini window shows the start of a long answer with the whole text in
  // its tooltip, and an error's message in the tooltip.
  void miniWindowShowsStartsAndMessages() {
    ProgramFolder folder;
    AppState state = stateIn(folder);
    CNumbrixMiniDlg mini(state);
    mini.show();
    for (const char* text : {"2^100", "1/0"}) {
      mini.input()->setText(QString::fromLatin1(text));
      mini.evaluate();
      settle(mini);
    }
    QCOMPARE(mini.resultBox()->text(), QStringLiteral("Error"));
    QCOMPARE(mini.resultBox()->toolTip(), QStringLiteral("In the expression 'x / y', y MUST NOT be zero !"));
    mini.input()->setText(QStringLiteral("2^100 / 3"));
    mini.evaluate();
    settle(mini);
    QCOMPARE(mini.resultBox()->toolTip(), mini.resultBox()->text());
    QVERIFY(mini.resultBox()->text().startsWith(QStringLiteral("422550200076076467165567735125.3333")));
    QCOMPARE(mini.resultBox()->cursorPosition(), 0);
  }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
