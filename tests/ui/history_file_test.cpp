// The history file: what the main window keeps between sessions.
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/HistoryFile.h"

namespace fs = std::filesystem;

class HistoryFileTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString file(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
  fs::path history() const { return file("history").toStdString(); }

 private slots:
  void init() { QVERIFY(QDir(dir_.path()).removeRecursively() && QDir().mkpath(dir_.path())); }

  // Any text comes back as it was, in order; a million digits too.
  void textsRoundTrip_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("backslashes") << QByteArray("a\\b\\\\n\\");
    QTest::newRow("line breaks") << QByteArray("1 +\r\n2\n\r");
    QTest::newRow("blanks") << QByteArray("  x y ");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("UTF-8") << QByteArray("\xCF\x80 \xC3\xA9 \xF0\x9F\x98\x80");
    QTest::newRow("a million digits") << QByteArray(1000000, '7');
  }
  void textsRoundTrip() {
    QFETCH(QByteArray, text);
    const std::string t = text.toStdString();
    const History written{{{t, "1"}, {"2", t}}, {{t, "x"}, {"v", t}}};
    QVERIFY(writeHistory(history(), written));
    History read{{{"stale", ""}}, {}};
    QCOMPARE(readHistory(history(), read), HistoryLoad::Loaded);
    QVERIFY(read == written);
  }

  void onlyTheNewestEntriesAreKept() {
    History all;
    for (std::size_t i = 0; i < kHistoryEntries + 5; ++i) all.entries.push_back({std::to_string(i), ""});
    QVERIFY(writeHistory(history(), all));
    History read;
    QCOMPARE(readHistory(history(), read), HistoryLoad::Loaded);
    QCOMPARE(read.entries.size(), kHistoryEntries);
    QVERIFY(read.entries.front().expression == "5" && read.entries.back().expression == "1004");
  }

  // What is not a whole history file is moved over an older "history.bad" as it is.
  void damagedFilesAreMovedAside_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("type");  // S_IFREG, S_IFDIR or S_IFIFO
    const QByteArray good = "Numbrix history 1\nE 1+1\n= 2\nV a 2\nEnd\n";
    QByteArray noise(4096, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(noise.data()), noise.size() / 4);
    QTest::newRow("random bytes") << noise << S_IFREG;
    QTest::newRow("wrong header") << "Numbrix history 2" + good.mid(17) << S_IFREG;
    QTest::newRow("answer cut") << good.left(good.indexOf("= ")) << S_IFREG;
    QTest::newRow("end cut") << good.chopped(2) << S_IFREG;
    QTest::newRow("no end") << good.chopped(4) << S_IFREG;
    QTest::newRow("after the end") << good + "V b 1\n" << S_IFREG;
    QTest::newRow("unknown tag") << QByteArray(good).replace("V a", "X a") << S_IFREG;
    QTest::newRow("unknown escape") << QByteArray(good).replace("1+1", "1\\t1") << S_IFREG;
    QTest::newRow("CRLF") << QByteArray(good).replace("= 2\n", "= 2\r\n") << S_IFREG;
    QTest::newRow("folder") << QByteArray() << S_IFDIR;
    QTest::newRow("FIFO") << QByteArray() << S_IFIFO;
  }
  void damagedFilesAreMovedAside() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, type);
    const QString path = file("history"), bad = file("history.bad");
    writeFile(bad, "older");
    if (type == S_IFREG) writeFile(path, bytes);
    if (type == S_IFDIR) QVERIFY(QDir().mkdir(path));
    if (type == S_IFIFO) QCOMPARE(::mkfifo(qPrintable(path), 0600), 0);
    History read{{{"stale", ""}}, {{"stale", "1"}}};
    QCOMPARE(readHistory(history(), read), HistoryLoad::Damaged);
    QVERIFY(read == History());
    struct stat info {};
    QVERIFY(!QFileInfo::exists(path) && ::lstat(qPrintable(bad), &info) == 0);
    QCOMPARE(static_cast<int>(info.st_mode & S_IFMT), type);
    if (type == S_IFREG) QCOMPARE(readFile(bad), bytes);
  }

  // A failed write keeps the old file; Clear All leaves nothing behind.
  void writeFailuresAndClearing_data() {
    QTest::addColumn<bool>("readOnlyFolder");  // else a read-only file
    QTest::newRow("read-only file") << false;
    QTest::newRow("read-only folder") << true;
  }
  void writeFailuresAndClearing() {
    QFETCH(bool, readOnlyFolder);
    if (readOnlyFolder && ::geteuid() == 0) QSKIP("permissions do not stop root");
    QVERIFY(writeHistory(history(), {{{"1", "1"}}, {}}));
    const QByteArray old = readFile(file("history"));
    QCOMPARE(::chmod(qPrintable(readOnlyFolder ? dir_.path() : file("history")), readOnlyFolder ? 0555 : 0444), 0);
    QVERIFY(!writeHistory(history(), {{{"2", "2"}}, {}}));
    QCOMPARE(::chmod(qPrintable(dir_.path()), 0755), 0);
    QCOMPARE(readFile(file("history")), old);
    QVERIFY(clearHistory(history()) && clearHistory(history()));
    History read{{{"stale", ""}}, {}};
    QCOMPARE(readHistory(history(), read), HistoryLoad::Missing);
    QVERIFY(read.entries.empty() && QDir(dir_.path()).isEmpty());
  }
};

QTEST_MAIN(HistoryFileTest)
#include "history_file_test.moc"
