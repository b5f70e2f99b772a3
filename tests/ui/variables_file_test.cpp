// Variables files through the results list's commands: what export writes,
// round trips to 81 digits, what import takes and what it skips.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QtTest>

#include <sys/stat.h>

#include <list>

#include "FakePrompts.h"
#include "UiTestSupport.h"
#include "config/IConfig.h"
#include "expr/FormatValue.h"
#include "support/FileSizeLimit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CResultListCtrl.h"
#include "ui/ControlIds.h"

using bignum::bigfloat;

namespace {

// Every variable with its full value, in the list's order.
QList<std::pair<std::string, bigfloat>> variables(CResultListCtrl* list) {
  QList<std::pair<std::string, bigfloat>> all;
  for (int row = 0; row < list->rowCount(); ++row) {
    const std::string name = list->item(row, 0)->text().toStdString();
    bigfloat value;
    if (IExprParser::instance()->getVariable(name, value)) all.append({name, value});
  }
  return all;
}

}  // namespace

class VariablesFileTest : public QObject {
  Q_OBJECT

 private:
  struct Window : TestWindow {
    FakePrompts prompts;
    CResultListCtrl* results() { return dialog.results(); }
    void evaluate(const QString& text) {
      input()->setPlainText(text);
      ctrlEnter();
    }
    // The command as the user reaches it, through the opened menu.
    void command(int id) {
      results()->preparedMenu();
      QAction* action = findCommand(results(), id);
      QVERIFY(action->isEnabled());
      action->trigger();
    }
    void exportTo(const QString& path) {
      prompts.nextFile = path;
      command(ids::ExportVariables);
    }
    void importFrom(const QString& path) {
      prompts.nextFile = path;
      command(ids::ImportVariables);
    }
  };

 private slots:
  // Every kind of value comes back to 81 significant digits.
  void exportThenImportGivesEveryValueBack() {
    Window w;
    w.evaluate(QStringLiteral(
        "neg = -2.5\ntiny = 1.5e-30\nnegtiny = -7e-33\nint = 10^32 + 1\nzero = 0\nseventh = 1/7\n"
        "root = -sqrt(2) * 1e20\nlong = 1.23456789012345678901234567890123456789012345678901234567890123456789012345678901\n"
        "pi = PI / 1e10\nfar = 3e-2000000"));
    QVERIFY2(w.dialog.messageLine()->text().isEmpty(), qPrintable(w.dialog.messageLine()->text()));
    const auto before = variables(w.results());
    QCOMPARE(before.size(), 10);
    const QString file = w.folder.file(QStringLiteral("all.cvf"));
    w.exportTo(file);
    QCOMPARE(w.prompts.asked, QStringList({"save Variables [Numbrix Variables Files (*.cvf)] .cvf"}));
    w.command(ids::ResultClearAll);
    QCOMPARE(w.results()->rowCount(), 0);
    w.importFrom(file);
    QCOMPARE(w.prompts.asked.back(), QStringLiteral("open [Numbrix Variables Files (*.cvf)]"));
    QVERIFY(w.prompts.messages.isEmpty());
    const auto after = variables(w.results());
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
      QCOMPARE(after[i].first, before[i].first);
      const bigfloat& a = before[i].second;
      const bigfloat& b = after[i].second;
      const bigfloat error = abs(a - b);
      QVERIFY2(a.sign() == 0 ? b.sign() == 0 : !(error > abs(a) * bigfloat("1e-80", 81)),
               qPrintable(QString::fromStdString(before[i].first + ": " + plainText(a) + " came back as " +
                                                 plainText(b))));
    }
    // The list shows what it showed before.
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("int")), 1)->text(),
             QStringLiteral("100000000000000000000000000000001"));
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("far")), 1)->text(), QStringLiteral("0"));
  }

  void theFileHoldsTheValuesInFullInTheListsOrder() {
    Window w;
    w.evaluate(QStringLiteral("b = 1/3\na = -4\nC = 2"));
    const QString file = w.folder.file(QStringLiteral("v.cvf"));
    w.exportTo(file);
    bigfloat third;
    QVERIFY(IExprParser::instance()->getVariable("b", third));
    QCOMPARE(fileEntries(file), QStringList({"C=2", "a=-4", QString::fromStdString("b=" + plainText(third))}));
    QVERIFY(plainText(third).size() > 80);  // not the 40 decimals of the list
    QFile text(file);
    QVERIFY(text.open(QIODevice::ReadOnly));
    QVERIFY(text.readAll().startsWith("Variables"));
  }

  void importReplacesAndKeeps() {
    Window w;
    const QString file = w.folder.file(QStringLiteral("in.cvf"));
    writeFile(file, "Variables\n{\n\tx = 5;\n\ty = -0.25;\n}\n");
    w.evaluate(QStringLiteral("x = 1\nkeep = 2"));
    w.importFrom(file);
    QCOMPARE(w.results()->rowCount(), 3);
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("x")), 1)->text(), QStringLiteral("5"));
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("y")), 1)->text(), QStringLiteral("-0.25"));
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("keep")), 1)->text(), QStringLiteral("2"));
    w.evaluate(QStringLiteral("z = x * y"));
    QCOMPARE(w.dialog.logList()->item(0, 0)->text(), QStringLiteral("-1.25"));
  }

  // Entries that are not variables are skipped and counted.
  void damagedEntriesAreSkipped() {
    Window w;
    const QString file = w.folder.file(QStringLiteral("damaged.cvf"));
    writeFile(file,
              "Variables\n{\n"
              "\tgood = -5;\n"      // one leading sign is fine
              "\tsmall = 2.5e-3;\n"
              "\tlimit = 1e33;\n"   // the largest value the evaluator holds
              "\tletters = abc;\n"
              "\tsigns = --5;\n"
              "\thuge = 1e999999999;\n"
              "\tbeyond = -1.5e33;\n"
              "\tpoints = 1.2.3;\n"
              "\thex = 0x10;\n"
              "\tsign = -;\n"
              "\tempty = ;\n"
              "\t1x = 1;\n"
              "\ta-b = 2;\n"
              "\t\xC3\xA9t\xC3\xA9 = 3;\n"
              "}\n");
    w.importFrom(file);
    QCOMPARE(w.prompts.messages,
             QStringList({"information Import Variables: 11 entries of the file were skipped because they are not "
                          "valid variables."}));
    QCOMPARE(w.results()->rowCount(), 3);
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("good")), 1)->text(), QStringLiteral("-5"));
    QCOMPARE(w.results()->item(w.results()->rowOf(QStringLiteral("small")), 1)->text(), QStringLiteral("0.0025"));
    QVERIFY(w.results()->rowOf(QStringLiteral("limit")) >= 0);
  }

  // A file that cannot be read as a variables file (malformed, missing, a
  // FIFO that would block a plain read) sets nothing and says so.
  void anUnreadableFileSetsNothing() {
    Window w;
    const QString broken = w.folder.file(QStringLiteral("broken.cvf")), fifo = w.folder.file(QStringLiteral("fifo.cvf"));
    writeFile(broken, "Variables\n{\n\tx = 1;\n/* never closed");
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    w.evaluate(QStringLiteral("kept = 1"));
    const QStringList files({broken, w.folder.file(QStringLiteral("missing.cvf")), fifo});
    QStringList expected;
    for (const QString& file : files) {
      w.importFrom(file);
      expected << "warning Import Variables: The file cannot be read as a variables file:\n" + file;
    }
    QCOMPARE(w.results()->rowCount(), 1);
    QCOMPARE(w.prompts.messages, expected);
  }

  void cancellingDoesNothing() {
    Window w;
    w.evaluate(QStringLiteral("a = 1"));
    w.exportTo(QString());
    w.importFrom(QString());
    QCOMPARE(w.prompts.asked.size(), 2);
    QCOMPARE(QDir(w.folder.path()).entryList({QStringLiteral("*.cvf")}, QDir::Files), QStringList());
    QCOMPARE(w.results()->rowCount(), 1);
  }

  void anEmptyListOffersImportOnly() {
    Window w;
    w.results()->preparedMenu();
    QVERIFY(!findCommand(w.results(), ids::ExportVariables)->isEnabled());
    QVERIFY(findCommand(w.results(), ids::ImportVariables)->isEnabled());
  }

  void aFailedExportIsReportedAndKeepsTheOldFile() {
    Window w;
    const QString file = w.folder.file(QStringLiteral("old.cvf"));
    writeFile(file, "Variables\n{\n\told = 1;\n}\n");
    QString text;
    for (int i = 0; i < 40; ++i) text += QStringLiteral("v%1 = %1 / 7\n").arg(i);
    w.evaluate(text);
    {
      FileSizeLimit limit(256);
      w.exportTo(file);
    }
    QCOMPARE(fileEntries(file), QStringList({"old=1"}));
    QCOMPARE(w.prompts.messages,
             QStringList({"warning Export Variables: The variables could not be saved to the file:\n" + file}));
  }
};

QTEST_MAIN(VariablesFileTest)
#include "variables_file_test.moc"
