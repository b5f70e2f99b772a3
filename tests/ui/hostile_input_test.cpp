// Whatever is typed, pasted or clicked, the main window answers or shows an
// error, keeps the input on an error, and goes on working.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QtTest>

#include <random>

#include "UiTestSupport.h"
#include "ui/CGuiButton.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixDlg.h"
#include "ui/CResultListCtrl.h"
#include "ui/CResultViewDlg.h"
#include "ui/ControlIds.h"

class HostileInputTest : public QObject {
  Q_OBJECT

 private:
  struct Window : TestWindow {
    // Evaluates `text` as pasted; empty when the window answered it or showed
    // an error with the input kept, else what went wrong.
    QString evaluatePasted(const QString& text) {
      dialog.input()->clear();
      QApplication::clipboard()->setText(text);
      dialog.input()->paste();
      const QString pasted = dialog.input()->toPlainText();  // line ends as the editor keeps them
      const int rows = dialog.logList()->rowCount();
      ctrlEnter();
      if (!dialog.messageLine()->text().isEmpty())
        return dialog.input()->toPlainText() == pasted ? QString() : QStringLiteral("input lost");
      if (!text.trimmed().isEmpty() && dialog.logList()->rowCount() == rows)
        return QStringLiteral("neither an answer nor an error");
      return QString();
    }
    bool stillWorks() {
      return evaluatePasted(QStringLiteral("probe = 6*7")).isEmpty() && dialog.messageLine()->text().isEmpty() &&
             dialog.logList()->item(0, 0)->text() == QStringLiteral("42");
    }
  };

 private slots:
  void hostileTextsGetAnAnswerOrAnError_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("deep nesting") << QString(5000, QLatin1Char('(')) + "1" + QString(5000, QLatin1Char(')'));
    QTest::newRow("deep functions") << QStringLiteral("sin(").repeated(3000) + "1" + QString(3000, QLatin1Char(')'));
    QTest::newRow("long sum") << QStringLiteral("1+").repeated(20000) + "1";
    QTest::newRow("huge power") << QStringLiteral("10^10^10");
    QTest::newRow("huge literal") << QStringLiteral("1e999999999999");
    QTest::newRow("tiny literal") << QStringLiteral("1e-999999999999");
    QTest::newRow("long literal") << QString(100000, QLatin1Char('9'));
    QTest::newRow("division by zero") << QStringLiteral("1/0");
    QTest::newRow("factorial") << QStringLiteral("1000000!");
    QTest::newRow("shift") << QStringLiteral("1 << 100000");
    QTest::newRow("not a character of the language") << QStringLiteral("2 \u03c0 \u00e9 \U0001F600");
    QTest::newRow("control characters") << QStringLiteral("1\u0001+\u00002");
    QTest::newRow("lone operators") << QStringLiteral("= = ; ; + ) (");
    QTest::newRow("unknown name") << QStringLiteral("nothing_here + 1");
    QTest::newRow("long name") << QString(10000, QLatin1Char('x')) + " = 1";
    QTest::newRow("many statements") << QStringLiteral("a=1;").repeated(3000);
    QTest::newRow("tabs and CR") << QStringLiteral("\t1 +\r\n\t2\r\n");
    QTest::newRow("blank lines") << QStringLiteral("\n\n\n");
  }
  void hostileTextsGetAnAnswerOrAnError() {
    QFETCH(QString, text);
    Window w;
    const QString problem = w.evaluatePasted(text);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
    QVERIFY(w.stillWorks());
  }

  // Seeded random texts over the language's characters and some others.
  void randomTextsNeverBreakTheWindow() {
    Window w;
    const QString alphabet = QStringLiteral("0123456789.eE+-*/%^()!&|$~<>=;, \n\tabxyzPIsincoqrtlgfdu0x0bABCDEF#@\"\\");
    std::mt19937 random(8);
    for (int i = 0; i < 400; ++i) {
      QString text;
      const int length = static_cast<int>(random() % 40);
      for (int j = 0; j < length; ++j) text += alphabet[static_cast<int>(random() % alphabet.size())];
      const QString problem = w.evaluatePasted(text);
      QVERIFY2(problem.isEmpty(), qPrintable(problem + ": " + text));
    }
    QVERIFY(w.stillWorks());
  }

  // Random keypad clicks, each sequence evaluated; variables made on the way
  // can be viewed in every radix and angle.
  void randomKeypadSequences() {
    Window w;
    QList<CGuiButton*> keys;
    for (CGuiButton* button : w.dialog.findChildren<CGuiButton*>()) {
      const int id = button->property("controlId").toInt();
      if (id >= 1000 && id <= 1052) keys << button;
    }
    QCOMPARE(keys.size(), 53);
    std::mt19937 random(81);
    for (int i = 0; i < 200; ++i) {
      w.dialog.input()->clear();
      const int presses = 1 + static_cast<int>(random() % 12);
      for (int j = 0; j < presses; ++j) QTest::mouseClick(keys[static_cast<int>(random() % keys.size())], Qt::LeftButton);
      w.ctrlEnter();
    }
    QVERIFY(w.stillWorks());
    QCOMPARE(w.evaluatePasted(QStringLiteral("big = 10^32\nneg = -1e-30\nfrac = 1/7")), QString());
    CResultListCtrl* results = w.dialog.results();
    for (int row = 0; row < results->rowCount(); ++row) {
      bignum::bigfloat value;
      QVERIFY(IExprParser::instance()->getVariable(results->item(row, 0)->text().toStdString(), value));
      CResultViewDlg view(results->item(row, 0)->text(), value);
      for (int id = ids::RadioDec; id <= ids::RadioDeg; ++id)
        if (QWidget* radio = findControl(&view, id); radio->isEnabled())
          QTest::mouseClick(qobject_cast<QAbstractButton*>(radio), Qt::LeftButton);
      QVERIFY(!view.shownText().isEmpty());
    }
  }
};

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
