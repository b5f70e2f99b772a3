// The main window's lists with answers of every length: shown whole where
// they fit, cut in the middle where not, and always exported and copied whole.
#include <QClipboard>
#include <QHeaderView>
#include <QStringEncoder>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/CLogListCtrl.h"
#include "ui/ReportList.h"

class ListsTest : public QObject {
  Q_OBJECT

 private slots:
  // In the main window's log (as wide as it starts).
  void longAnswersAreShortenedButKeptWhole_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("2^100") << "1267650600228229401496703205376";
    QTest::newRow("5000 digits") << "1" + QString(4998, u'0') + "3";
  }
  void longAnswersAreShortenedButKeptWhole() {
    QFETCH(QString, answer);
    TestWindow w;
    CLogListCtrl* log = w.dialog.logList();
    log->clearAll();  // nothing carried over from an earlier window
    log->log("x", answer.toStdString());
    QCOMPARE(log->answerText(0), answer);
    const QString shown = log->item(0, 0)->text(), tip = log->item(0, 0)->toolTip().replace(QChar::Nbsp, u' ');
    if (answer.size() <= kLongText) {
      QCOMPARE(shown, answer);
      // Room for the text and the cell's margins.
      const int needed = log->fontMetrics().horizontalAdvance(answer) + 10;
      QVERIFY2(needed <= log->columnWidth(0),
               qPrintable(QStringLiteral("%1 > %2").arg(needed).arg(log->columnWidth(0))));
    } else {
      const qsizetype cut = shown.indexOf(QChar(0x2026));
      QVERIFY2(shown.size() < 200 && cut > 20 && shown.size() - cut > 20, qPrintable(shown));
      QVERIFY(answer.startsWith(shown.left(cut)) && answer.endsWith(shown.mid(cut + 1)));
      QVERIFY2(tip.size() < 3000 && tip.contains(QStringLiteral("5000 digits")), qPrintable(tip.right(100)));
    }
    QVERIFY(tip.contains(answer.left(100)));
    QCOMPARE(log->exportBytes(), QStringEncoder(QStringEncoder::Utf16LE).encode("x\r\n= " + answer + "\r\n\r\n"));
    log->selectRow(0);
    QTest::keyClick(log, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), answer);
  }

  // The answers' column takes its share of the width, and one the user
  // dragged keeps the share it was given.
  void theAnswersColumnFollowsTheWidth() {
    CLogListCtrl log;
    log.resize(500, 200);
    log.show();
    QCOMPARE(log.columnWidth(0), qRound(0.45 * log.viewport()->width()));
    log.horizontalHeader()->resizeSection(0, log.viewport()->width() / 4);
    log.resize(900, 200);
    QVERIFY(qAbs(log.columnWidth(0) - log.viewport()->width() / 4) <= 1);
  }

  // Each copy command is greyed (or Ctrl+C does nothing) without a
  // selection, and copies the whole text of the selected row, which the
  // list shows shortened.
  void copyingGivesWholeTexts_data() {
    QTest::addColumn<bool>("onLog");
    QTest::addColumn<int>("id");  // 0: Ctrl+C
    QTest::addColumn<int>("column");
    QTest::newRow("log answer") << true << ids::LogCopyAnswer << 0;
    QTest::newRow("log expression") << true << ids::LogCopyExpression << 1;
    QTest::newRow("log Ctrl+C") << true << 0 << 0;
    QTest::newRow("result value") << false << ids::ResultCopyValue << 1;
    QTest::newRow("result Ctrl+C") << false << 0 << 1;
  }
  void copyingGivesWholeTexts() {
    QFETCH(bool, onLog);
    QFETCH(int, id);
    QFETCH(int, column);
    ProgramFolder folder;
    CLogListCtrl log;
    CResultListCtrl results;
    const QString expression = QStringLiteral("1+").repeated(600) + "1", answer = QString(5000, u'9'),
                  value = "1" + QString(2999, u'0') + "7";
    log.log(expression.toStdString(), answer.toStdString());
    results.display("v", bignum::bigfloat(value.toLatin1().constData(), value.size()));
    results.display("w", bignum::bigfloat(2));
    QTableWidget* list = &log;
    if (!onLog) list = &results;
    const QString expected = onLog ? column == 0 ? answer : expression : value;
    const auto copy = [&] {
      if (id != 0) return onLog ? chooseFromMenu(&log, id) : chooseFromMenu(&results, id);
      QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
      return true;
    };
    QApplication::clipboard()->setText(QStringLiteral("earlier"));
    QCOMPARE(copy(), id == 0);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("earlier"));
    const int row = onLog ? 0 : results.rowOf(QStringLiteral("v"));
    list->selectRow(row);
    QVERIFY(copy());
    QCOMPARE(QApplication::clipboard()->text(), expected);
    QVERIFY(list->item(row, column)->text().size() < 200);
  }
};

QTEST_MAIN(ListsTest)
#include "lists_test.moc"
