// The files of the main window's lists: the log's export and the variables
// files' export and import.
#include <sys/stat.h>

#include <QLabel>
#include <QStringEncoder>
#include <QtTest>
#include <optional>

#include "UiTestSupport.h"
#include "expr/FormatValue.h"
#include "support/FileSizeLimit.h"
#include "ui/CLogListCtrl.h"

using bignum::bigfloat;

namespace {

QByteArray utf16le(const QString& text) { return QStringEncoder(QStringEncoder::Utf16LE).encode(text); }

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

class ListFilesTest : public QObject {
  Q_OBJECT

 private:
  struct Window : TestWindow {
    FakePrompts prompts;
    CLogListCtrl* log() { return dialog.logList(); }
    bool exportThroughMenu() { return chooseFromMenu(log(), ids::ExportLog); }
    CResultListCtrl* results() { return dialog.results(); }
    // The results list's command `id`, its file dialog answering `path`.
    void command(int id, const QString& path = {}) {
      prompts.nextFile = path;
      QVERIFY(chooseFromMenu(results(), id));
    }
  };

 private slots:
  // The records oldest first, over whatever the file held, in UTF-16LE (the
  // dialog's first choice) or UTF-8 with LF line ends; texts go out
  // unchanged: line breaks inside an expression, characters beyond Latin-1,
  // and two equal entries as two records. Neither has a byte-order mark.
  void recordsAreWrittenOldestFirst_data() {
    QTest::addColumn<int>("filter");
    QTest::newRow("UTF-16LE") << 0;
    QTest::newRow("UTF-8") << 1;
  }
  void recordsAreWrittenOldestFirst() {
    QFETCH(int, filter);
    Window w;
    w.evaluate(QStringLiteral("1+1\n2*3"));
    w.log()->log("first\nsecond", "1");
    w.log()->log("\xCF\x80 \xC3\xA9", "-2.5");  // UTF-8 of a pi sign, a blank and e-acute
    w.evaluate(QStringLiteral("1+1"));
    w.prompts.nextFile = w.folder.file(QStringLiteral("log.txt"));
    w.prompts.nextFilter = filter;
    writeFile(w.prompts.nextFile, QByteArray(4096, 'z'));
    QVERIFY(w.exportThroughMenu());
    QString text = QStringLiteral(
        "1 + 1\r\n= 2\r\n\r\n2 * 3\r\n= 6\r\n\r\nfirst\nsecond\r\n= 1\r\n\r\n"
        "\u03C0 \u00E9\r\n= -2.5\r\n\r\n1 + 1\r\n= 2\r\n\r\n");
    const QByteArray expected =
        filter == 0 ? utf16le(text) : text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).toUtf8();
    QCOMPARE(readFile(w.prompts.nextFile), expected);
    QVERIFY(w.prompts.asked.back().contains(QStringLiteral("[Numbrix Log Files (*.txt);;UTF-8 text (*.txt)]")));
    QVERIFY(w.prompts.messages.isEmpty());
  }

  // Empty lists offer no export (though an empty log exports as an empty
  // file); cancelled dialogs write and set nothing.
  void emptyListsAreNotOfferedAndCancellingDoesNothing() {
    Window w;
    QVERIFY(!w.exportThroughMenu());
    QVERIFY(!chooseFromMenu(w.results(), ids::ExportVariables));
    w.prompts.nextFile = w.folder.file(QStringLiteral("empty.txt"));
    w.log()->exportLog();
    QCOMPARE(readFile(w.prompts.nextFile), QByteArray());
    QVERIFY(QFile::remove(w.prompts.nextFile));  // it was made
    w.command(ids::ImportVariables, QString());
    w.evaluate(QStringLiteral("a = 1"));
    QVERIFY(w.exportThroughMenu());  // the file name is still ""
    w.command(ids::ExportVariables, QString());
    QCOMPARE(w.prompts.asked.size(), 4);
    QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files), QStringList());
    QCOMPARE(w.results()->rowCount(), 1);
    QVERIFY(w.prompts.messages.isEmpty());
  }

  // A file that may not be written and a write that fails (a full disk)
  // have their own messages; the old file and the log are kept.
  void failuresAreReported_data() {
    QTest::addColumn<int>("sizeLimit");  // of any file written, 0 for none
    QTest::newRow("read-only log") << 0;
    QTest::newRow("full disk") << 64;
  }
  void failuresAreReported() {
    QFETCH(int, sizeLimit);
    Window w;
    for (const char* text : {"123456789*987654321", "2^64", "1/3"}) w.evaluate(QString::fromLatin1(text));
    const QString path = w.folder.file(QStringLiteral("log.txt"));
    writeFile(path, "earlier");
    QCOMPARE(chmod(QFile::encodeName(path).constData(), sizeLimit > 0 ? 0644 : 0444), 0);
    w.prompts.nextFile = path;
    {
      std::optional<FileSizeLimit> limit;
      if (sizeLimit > 0) limit.emplace(sizeLimit);
      QVERIFY(w.exportThroughMenu());
    }
    const QString expected =
        sizeLimit > 0 ? QStringLiteral("information Error: Log exportting failed: nexpected exception !")
                      : QStringLiteral("information Export Log Failed: Can't open or create the file:\n") + path;
    QCOMPARE(w.prompts.messages, QStringList(expected));
    QCOMPARE(readFile(path), QByteArray("earlier"));
    QCOMPARE(w.log()->rowCount(), 3);
  }

  // Every kind of value comes back to 81 significant digits.
  void exportThenImportGivesEveryValueBack() {
    Window w;
    w.evaluate(
        QStringLiteral("neg = -2.5\ntiny = 1.5e-30\nnegtiny = -7e-33\nint = 10^32 + 1\nzero = 0\nseventh = 1/7\n"
                       "root = -sqrt(2) * 1e20\nlong = "
                       "1.23456789012345678901234567890123456789012345678901234567890123456789012345678901\n"
                       "pi = PI / 1e10\nfar = 3e-2000000"));
    QVERIFY2(w.dialog.messageLine()->text().isEmpty(), qPrintable(w.dialog.messageLine()->text()));
    const auto before = variables(w.results());
    QCOMPARE(before.size(), 10);
    const QString file = w.folder.file(QStringLiteral("all.cvf"));
    w.command(ids::ExportVariables, file);
    w.command(ids::ResultClearAll);
    w.command(ids::ImportVariables, file);
    QVERIFY(w.prompts.messages.isEmpty());
    const auto after = variables(w.results());
    QCOMPARE(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i) {
      const auto& [name, a] = before[i];
      const bigfloat& b = after[i].second;
      QCOMPARE(after[i].first, name);
      QVERIFY2(a.sign() == 0 ? b.sign() == 0 : !(abs(a - b) > abs(a) * bigfloat("1e-80", 81)),
               qPrintable(QString::fromStdString(name + ": " + plainText(a) + " came back as " + plainText(b))));
    }
    // The list shows what it showed before.
    QCOMPARE(w.shownValue(QStringLiteral("int")) + " " + w.shownValue(QStringLiteral("far")),
             QStringLiteral("100000000000000000000000000000001 0"));
    // An export that fails (a full disk) is reported and keeps the old file.
    const QByteArray saved = readFile(file);
    {
      FileSizeLimit limit(256);
      w.command(ids::ExportVariables, file);
    }
    QCOMPARE(readFile(file), saved);
    QCOMPARE(w.prompts.messages,
             QStringList({"warning Export Variables: The variables could not be saved to the file:\n" + file}));
  }

  // Entries that are not variables are skipped and counted; the others
  // replace variables of the same name, and the rest are kept.
  void damagedEntriesAreSkipped() {
    Window w;
    const QString file = w.folder.file(QStringLiteral("damaged.cvf"));
    writeFile(file,
              "Variables\n{\n"
              "\tgood = -5;\n"  // one leading sign is fine
              "\tsmall = 2.5e-3;\n"
              "\tlimit = 1e33;\n"  // the largest value the evaluator holds
              "\tletters = abc;\n\tsigns = --5;\n\thuge = 1e999999999;\n\tbeyond = -1.5e33;\n\tpoints = 1.2.3;\n"
              "\thex = 0x10;\n\tsign = -;\n\tempty = ;\n\t1x = 1;\n\ta-b = 2;\n\t\xC3\xA9t\xC3\xA9 = 3;\n"
              "}\n");
    w.evaluate(QStringLiteral("good = 1\nkeep = 2"));
    w.command(ids::ImportVariables, file);
    QCOMPARE(w.prompts.messages,
             QStringList({"information Import Variables: 11 entries of the file were skipped because they are not "
                          "valid variables."}));
    QCOMPARE(Window::column(w.results(), 0) + Window::column(w.results(), 1),
             QStringList({"good", "keep", "limit", "small", "-5", "2", "1" + QString(33, u'0'), "0.0025"}));
  }

  // A file that cannot be read as a variables file (malformed, missing, a
  // FIFO that would block a plain read) sets nothing and says so.
  void anUnreadableFileSetsNothing() {
    Window w;
    const QString broken = w.folder.file(QStringLiteral("broken.cvf")),
                  fifo = w.folder.file(QStringLiteral("fifo.cvf"));
    writeFile(broken, "Variables\n{\n\tx = 1;\n/* never closed");
    QCOMPARE(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    w.evaluate(QStringLiteral("kept = 1"));
    const QStringList files({broken, w.folder.file(QStringLiteral("missing.cvf")), fifo});
    QStringList expected;
    for (const QString& file : files) {
      w.command(ids::ImportVariables, file);
      expected << "warning Import Variables: The file cannot be read as a variables file:\n" + file;
    }
    QCOMPARE(w.results()->rowCount(), 1);
    QCOMPARE(w.prompts.messages, expected);
  }
};

QTEST_MAIN(ListFilesTest)
#include "list_files_test.moc"
