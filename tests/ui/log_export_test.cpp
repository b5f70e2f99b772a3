// The log list's export: the file's exact bytes, the dialog's questions,
// cancelling, failures that keep the old file, and re-evaluation by double-click.
#include <sys/stat.h>

#include <QFile>
#include <QMenu>
#include <QPlainTextEdit>
#include <QtTest>
#include <optional>

#include "FakePrompts.h"
#include "UiTestSupport.h"
#include "support/FileSizeLimit.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixDlg.h"
#include "ui/ControlIds.h"

namespace {

// `text` as UTF-16LE bytes, written out one character at a time.
QByteArray utf16le(const QString& text) {
  QByteArray bytes;
  for (QChar c : text) {
    bytes.append(static_cast<char>(c.unicode() & 0xff));
    bytes.append(static_cast<char>(c.unicode() >> 8));
  }
  return bytes;
}

}  // namespace

class LogExportTest : public QObject {
  Q_OBJECT

 private:
  struct Window : TestWindow {
    FakePrompts prompts;
    CLogListCtrl* log() { return dialog.logList(); }
    void evaluate(const QString& text) {
      dialog.input()->setPlainText(text);
      ctrlEnter();
    }
    // The command as the user reaches it: through the opened menu.
    bool exportThroughMenu() {
      QAction* action = findCommand(log(), ids::ExportLog);
      log()->preparedMenu();
      if (!action->isEnabled()) return false;
      action->trigger();
      return true;
    }
  };

 private slots:
  void recordsAreWrittenOldestFirstInUtf16() {
    Window w;
    w.evaluate(QStringLiteral("1+1\n2*3"));
    w.evaluate(QStringLiteral("x = 0.5"));
    w.prompts.nextFile = w.folder.file(QStringLiteral("log.txt"));
    QVERIFY(w.exportThroughMenu());
    QCOMPARE(w.prompts.asked,
             QStringList({QStringLiteral("save NumbrixLog [Numbrix Log Files (*.txt)] .txt")}));
    QCOMPARE(readFile(w.prompts.nextFile),
             utf16le(QStringLiteral("1 + 1\r\n= 2\r\n\r\n2 * 3\r\n= 6\r\n\r\nx = 0.5\r\n= 0.5\r\n\r\n")));
    QVERIFY(w.prompts.messages.isEmpty());
  }

  // Texts go out unchanged: line breaks inside an expression, characters
  // beyond Latin-1, and two equal entries as two records.
  void textsAreWrittenAsTheyStand() {
    Window w;
    w.log()->log("first\nsecond", "1");
    w.log()->log("\xCF\x80 \xC3\xA9", "-2.5");  // UTF-8 of a pi sign, a blank and e-acute
    w.log()->log("1 + 1", "2");
    w.log()->log("1 + 1", "2");
    const QByteArray expected = utf16le(QStringLiteral("first\nsecond\r\n= 1\r\n\r\n") + QChar(0x03C0) +
                                        QStringLiteral(" ") + QChar(0x00E9) +
                                        QStringLiteral("\r\n= -2.5\r\n\r\n1 + 1\r\n= 2\r\n\r\n1 + 1\r\n= 2\r\n\r\n"));
    QCOMPARE(w.log()->exportBytes(), expected);
    // Little-endian: the pi sign (U+03C0) after the first record of 21 characters.
    QCOMPARE(w.log()->exportBytes().mid(42, 4), QByteArray("\xC0\x03 \x00", 4));
    w.prompts.nextFile = w.folder.file(QStringLiteral("texts.txt"));
    QVERIFY(w.exportThroughMenu());
    QCOMPARE(readFile(w.prompts.nextFile), expected);
  }

  void anExistingFileIsReplacedWhole() {
    Window w;
    const QString path = w.folder.file(QStringLiteral("old.txt"));
    writeFile(path, QByteArray(4096, 'z'));
    w.evaluate(QStringLiteral("7"));
    w.prompts.nextFile = path;
    QVERIFY(w.exportThroughMenu());
    QCOMPARE(readFile(path), utf16le(QStringLiteral("7\r\n= 7\r\n\r\n")));
  }

  void cancellingWritesNothing() {
    Window w;
    w.evaluate(QStringLiteral("1"));
    w.prompts.nextFile.clear();
    QVERIFY(w.exportThroughMenu());
    QCOMPARE(w.prompts.asked.size(), 1);
    QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files), QStringList());
    QVERIFY(w.prompts.messages.isEmpty());
  }

  // A failed export changes no file and leaves no new one; a file that
  // cannot be made (or may not be written) and a write that fails (a full
  // disk) have their own messages.
  void failuresKeepTheOldFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("mode");       // of an earlier log there, 0 for none
    QTest::addColumn<int>("sizeLimit");  // of any file written, 0 for none
    QTest::addColumn<bool>("writeFails");
    QTest::newRow("missing folder") << QStringLiteral("no such folder/log.txt") << 0 << 0 << false;
    QTest::newRow("read-only log") << QStringLiteral("log.txt") << 0444 << 0 << false;
    QTest::newRow("full disk") << QStringLiteral("log.txt") << 0644 << 64 << true;
  }
  void failuresKeepTheOldFile() {
    QFETCH(QString, name);
    QFETCH(int, mode);
    QFETCH(int, sizeLimit);
    QFETCH(bool, writeFails);
    Window w;
    for (const char* text : {"123456789*987654321", "2^64", "1/3"}) w.evaluate(QString::fromLatin1(text));
    QVERIFY(w.log()->exportBytes().size() > sizeLimit);
    const QString path = w.folder.file(name);
    const QByteArray earlier = utf16le(QStringLiteral("1\r\n= 1\r\n\r\n"));
    if (mode != 0) {
      writeFile(path, earlier);
      QCOMPARE(chmod(QFile::encodeName(path).constData(), static_cast<mode_t>(mode)), 0);
    }
    const QStringList files = QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden);
    w.prompts.nextFile = path;
    {
      std::optional<FileSizeLimit> limit;
      if (sizeLimit > 0) limit.emplace(sizeLimit);
      QVERIFY(w.exportThroughMenu());
    }
    const QString expected =
        writeFails ? QStringLiteral("information Error: Log exportting failed: nexpected exception !")
                   : QStringLiteral("information Export Log Failed: Can't open or create the file:\n") + path;
    QCOMPARE(w.prompts.messages, QStringList(expected));
    QCOMPARE(readFile(path), mode != 0 ? earlier : QByteArray());
    QVERIFY(mode != 0 || !QFile::exists(path));
    QCOMPARE(QDir(w.folder.path()).entryList(QDir::Files | QDir::Hidden), files);
    QCOMPARE(w.log()->rowCount(), 3);  // the log itself is kept
  }

  void anEmptyLogIsNotOfferedButExportsAnEmptyFile() {
    Window w;
    QVERIFY(!w.exportThroughMenu());
    w.prompts.nextFile = w.folder.file(QStringLiteral("empty.txt"));
    w.log()->exportLog();
    QVERIFY(QFile::exists(w.prompts.nextFile));
    QCOMPARE(readFile(w.prompts.nextFile), QByteArray());
  }

  void doubleClickPutsTheExpressionBackWithoutEvaluating() {
    Window w;
    w.evaluate(QStringLiteral("2^8\n3-1"));
    QCOMPARE(w.log()->rowCount(), 2);
    const QRect oldest = w.log()->visualItemRect(w.log()->item(1, 1));
    QTest::mouseClick(w.log()->viewport(), Qt::LeftButton, {}, oldest.center());
    QTest::mouseDClick(w.log()->viewport(), Qt::LeftButton, {}, oldest.center());
    QCOMPARE(w.dialog.input()->toPlainText(), QStringLiteral("2 ^ 8"));
    QCOMPARE(w.log()->rowCount(), 2);
    QCOMPARE(w.dialog.focusWidget(), static_cast<QWidget*>(w.dialog.input()));
    // Without a selection a double-click does nothing.
    w.log()->clearSelection();
    w.log()->setCurrentItem(nullptr);
    w.dialog.input()->clear();
    QTest::mouseDClick(w.log()->viewport(), Qt::LeftButton, {}, QPoint(w.log()->viewport()->width() - 2,
                                                                        w.log()->viewport()->height() - 2));
    QCOMPARE(w.dialog.input()->toPlainText(), QString());
  }
};

QTEST_MAIN(LogExportTest)
#include "log_export_test.moc"
