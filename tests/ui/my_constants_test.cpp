// "My Constants" driven through its fields and buttons: adding and its three
// refusals, deleting, Apply/OK/Cancel, Insert, and the constants file.
#include <sys/stat.h>

#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>
#include <map>
#include <memory>

#include "UiTestSupport.h"
#include "expr/FormatValue.h"
#include "support/FileSizeLimit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CMyConstantDlg.h"

namespace {

const QString kBadName = QStringLiteral(
    "information Error: The Name MUST begin with an UNDERLINE or a LETTER, \r\nand it can only include UNDERLINE, "
    "LETTER and DIGIST .");
const QString kBadValue = QStringLiteral("information Error: The format of Value is not correct .");
const QString kDuplicate = QStringLiteral("information Error: The CONSTANT has already existed !");

QStringList evaluatorConstants() {
  QStringList entries;
  for (const auto& [name, value] : IExprParser::instance()->constants())
    entries << QString::fromStdString(name + "=" + formatValue(value, 40));
  return entries;
}

}  // namespace

class MyConstantsTest : public QObject {
  Q_OBJECT

 private:
  struct Dialog {
    ProgramFolder folder;
    FakePrompts prompts;
    QPlainTextEdit target;
    std::unique_ptr<CMyConstantDlg> dialog;
    Dialog() { open(); }
    void open() {
      dialog = std::make_unique<CMyConstantDlg>(&target, constantsPath().toStdString());
      dialog->show();
    }
    QString constantsPath() const { return folder.file(QStringLiteral("Constant")); }
    QLineEdit* field(int id) { return qobject_cast<QLineEdit*>(findControl(dialog.get(), id)); }
    QPushButton* button(int id) { return qobject_cast<QPushButton*>(findControl(dialog.get(), id)); }
    void click(int id) { QTest::mouseClick(button(id), Qt::LeftButton); }
    void add(const QString& name, const QString& value) {
      field(ids::ConstantName)->setText(name);
      field(ids::ConstantValue)->setText(value);
      click(ids::ConstantAdd);
    }
    QStringList rows() {
      QStringList all;
      for (int row = 0; row < dialog->list()->rowCount(); ++row)
        all << dialog->list()->item(row, 0)->text() + "=" + dialog->list()->item(row, 1)->text();
      return all;
    }
    void select(const QString& name) {
      for (int row = 0; row < dialog->list()->rowCount(); ++row)
        if (dialog->list()->item(row, 0)->text() == name) dialog->list()->selectRow(row);
    }
  };

 private slots:
  // An empty field adds nothing and says nothing; a bad name or value is
  // refused with the reason. The fields keep what was typed.
  void refusalsSayWhy_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("message");
    const auto row = [](const char* label, const char* name, const char* value, const QString& message) {
      QTest::newRow(label) << QString::fromLatin1(name) << QString::fromLatin1(value) << message;
    };
    row("no value, bad name", "1x", "", "");
    row("no name", "", "12", "");
    row("digit first", "1x", "1", kBadName);
    row("beyond the value limit", "k", "1e2000000000", kBadValue);
    row("two signs", "k", "--5", kBadValue);
    row("expression as value", "k", "1+1", kBadValue);
    row("bad name and value", "1x", "abc", kBadName);
  }
  void refusalsSayWhy() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(QString, message);
    Dialog d;
    d.add(name, value);
    QCOMPARE(d.prompts.messages, message.isEmpty() ? QStringList() : QStringList({message}));
    QCOMPARE(d.rows(), QStringList());
    QVERIFY(!d.button(ids::ConstantApply)->isEnabled());
    QCOMPARE(d.field(ids::ConstantName)->text(), name);
  }

  void aNameIsTakenOnceButCaseCounts() {
    Dialog d;
    d.add(QStringLiteral("k"), QStringLiteral("1.5"));
    QCOMPARE(d.field(ids::ConstantName)->text() + d.field(ids::ConstantValue)->text(), QString());
    QCOMPARE(d.dialog->focusWidget(), static_cast<QWidget*>(d.field(ids::ConstantName)));
    QVERIFY(d.button(ids::ConstantApply)->isEnabled());
    d.add(QStringLiteral("k"), QStringLiteral("2"));
    d.add(QStringLiteral("K"), QStringLiteral("2"));
    d.add(QStringLiteral("_a1"), QStringLiteral("1e-5"));
    // Enter in a field adds too, and does not close the dialog.
    d.field(ids::ConstantName)->setText(QStringLiteral("m"));
    d.field(ids::ConstantValue)->setText(QStringLiteral("-5"));
    QTest::keyClick(d.field(ids::ConstantValue), Qt::Key_Return);
    QVERIFY(d.dialog->isVisible());
    QCOMPARE(d.rows(), QStringList({"K=2", "_a1=1e-5", "k=1.5", "m=-5"}));  // sorted, values as typed
    QCOMPARE(d.prompts.messages, QStringList({kDuplicate}));                // "k" once, "K" is another name
  }

  void applyPutsTheCopyIntoTheEvaluatorAndTheFile() {
    Dialog d;
    d.add(QStringLiteral("g"), QStringLiteral("9.80665"));
    const QString typed = QStringLiteral("1") + QString(19, QLatin1Char('7')) + "." + QString(80, QLatin1Char('7'));
    d.add(QStringLiteral("big"), typed);
    QCOMPARE(evaluatorConstants(), QStringList());  // a working copy until applied
    QVERIFY(!QFile::exists(d.constantsPath()));
    d.click(ids::ConstantApply);
    QVERIFY(!d.button(ids::ConstantApply)->isEnabled());
    const bignum::bigfloat g = IExprParser::instance()->constants().at("g");
    QCOMPARE(QString::fromStdString(formatValue(g, 40)), QStringLiteral("9.80665"));
    // Values are read at 81 digits: the hundred-digit value keeps at least
    // its first 72, cut, not rounded.
    const std::string big = plainText(IExprParser::instance()->constants().at("big"));
    QVERIFY2(typed.startsWith(QString::fromStdString(big)) && big.size() > 72, big.c_str());
    QCOMPARE(fileEntries(d.constantsPath()).size(), 2);
    QVERIFY(fileEntries(d.constantsPath()).contains(QString::fromStdString("big=" + big)));
    QVERIFY(d.prompts.messages.isEmpty());
    // Reopened, the list shows the value in full, not rounded for display.
    d.open();
    QVERIFY(d.rows().contains(QString::fromStdString("big=" + big)));
  }

  // A deletion is undone by Cancel and made everywhere by OK.
  void deletingThenCancelOrOk() {
    Dialog d;
    d.add(QStringLiteral("k"), QStringLiteral("3"));
    d.add(QStringLiteral("m"), QStringLiteral("4"));
    d.click(ids::Ok);
    QCOMPARE(d.dialog->result(), int(QDialog::Accepted));
    d.open();
    d.click(ids::ConstantDelete);  // nothing selected: nothing happens
    QCOMPARE(d.rows().size(), 2);
    d.select(QStringLiteral("k"));
    d.click(ids::ConstantDelete);
    QCOMPARE(d.rows(), QStringList({"m=4"}));
    d.click(ids::Cancel);
    QCOMPARE(d.dialog->result(), int(QDialog::Rejected));
    QCOMPARE(evaluatorConstants() + fileEntries(d.constantsPath()), QStringList({"k=3", "m=4", "k=3", "m=4"}));
    // Deleting both, the last one too: the file then holds none.
    d.open();
    for (const char* name : {"k", "m"}) {
      d.select(QString::fromLatin1(name));
      d.click(ids::ConstantDelete);
    }
    d.click(ids::Ok);
    QCOMPARE(evaluatorConstants() + fileEntries(d.constantsPath()) + d.prompts.messages, QStringList());
  }

  // Opened from the window's two menus: the input is the target of one only.
  // Insert replaces the input's selection as one undoable edit, accepts the
  // dialog and so applies its constants; with no row selected it does nothing.
  void theMenusOpenTheDialogAndInsertApplies() {
    TestWindow w;
    w.type(QStringLiteral("1 + xyz"));
    QTextCursor cursor = w.input()->textCursor();
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    w.input()->setTextCursor(cursor);
    bool inputHasInsert = false, resultsHaveInsert = true, accepted = false;
    whenWindowOpens(nullptr, [&](QWidget* modal) {
      auto* dialog = qobject_cast<CMyConstantDlg*>(modal);
      qobject_cast<QLineEdit*>(findControl(modal, ids::ConstantName))->setText(QStringLiteral("e0"));
      qobject_cast<QLineEdit*>(findControl(modal, ids::ConstantValue))->setText(QStringLiteral("8.854"));
      dialog->add();
      dialog->insert();
      inputHasInsert = !findControl(modal, ids::ConstantInsert)->isHidden() && dialog->isVisible();
      dialog->list()->selectRow(0);
      dialog->insert();
      accepted = dialog->result() == QDialog::Accepted;
    });
    QVERIFY(chooseFromMenu(w.input(), ids::InputMyConstants));
    QVERIFY(accepted);
    w.input()->undo();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1 + xyz"));
    w.input()->redo();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1 + e0"));
    whenWindowOpens(nullptr, [&](QWidget* modal) {
      resultsHaveInsert = !findControl(modal, ids::ConstantInsert)->isHidden();
      qobject_cast<QDialog*>(modal)->reject();
    });
    QVERIFY(chooseFromMenu(w.dialog.results(), ids::ResultMyConstants));
    QVERIFY(inputHasInsert && !resultsHaveInsert);
    QCOMPARE(fileEntries(w.folder.file(QStringLiteral("Constant"))).size(), 1);
    w.ctrlEnter();
    QCOMPARE(w.dialog.logList()->item(0, 0)->text(), QStringLiteral("9.854"));
  }

  // Entries whose names or values are not valid are neither constants nor
  // rows, and a save writes them back byte for byte (names that are not UTF-8
  // are never renamed into one another), unless a constant added under the
  // same name replaces one.
  void aSaveKeepsTheEntriesThatAreNotValid() {
    Dialog d;
    writeFile(d.constantsPath(),
              "Constant\n{\n\tg = 9.81;\n\tbad = abc;\n\tneg = -2;\n\ttwice = --1;\n"
              "\tcomma = 1,5;\n\tnone = ;\n\tdots = 1.2.3;\n\thuge = 1e2000000000;\n"
              "\tk\xff = 1;\n\tk\xfe = 2;\n}\n");
    IExprParser* parser = IExprParser::instance();
    parser->loadConstants(d.constantsPath().toStdString());
    d.open();
    QCOMPARE(d.rows().size(), 2);
    QCOMPARE(evaluatorConstants(), QStringList({"g=9.81", "neg=-2"}));
    d.add(QStringLiteral("bad"), QStringLiteral("7"));
    d.click(ids::Ok);
    QVERIFY(d.prompts.messages.isEmpty());  // the read-back found what was written
    parser->loadConstants(d.constantsPath().toStdString());
    QCOMPARE(evaluatorConstants(), QStringList({"bad=7", "g=9.81", "neg=-2"}));
    QCOMPARE(parser->skippedConstants(), (std::map<std::string, std::string>{{"comma", "1,5"},
                                                                             {"dots", "1.2.3"},
                                                                             {"huge", "1e2000000000"},
                                                                             {"k\xfe", "2"},
                                                                             {"k\xff", "1"},
                                                                             {"none", ""},
                                                                             {"twice", "--1"}}));
  }

  // A file that exists but cannot be read is never written over: Apply keeps
  // it aside under a name of its own, says where, and writes a new file.
  // A damaged file first, then a FIFO (which must not block the save).
  void anUnreadableFileIsKeptAside() {
    Dialog d;
    const std::string path = d.constantsPath().toStdString();
    struct stat made {};
    for (const auto& [fifo, aside] : {std::pair(false, ".bad"), std::pair(true, ".bad.1")}) {
      if (fifo)
        QCOMPARE(::mkfifo(path.c_str(), 0600), 0);
      else
        writeFile(d.constantsPath(), "Constant\n{\n\tg = 9.80665;\n\th = 6.626 e-34;\n}\n");
      QCOMPARE(::stat(path.c_str(), &made), 0);
      QCOMPARE(IExprParser::instance()->loadConstants(path), IExprParser::ConstantsFile::Unreadable);
      d.prompts.messages.clear();
      d.open();
      d.add(QStringLiteral("k"), QStringLiteral("1"));
      d.click(ids::ConstantApply);
      const QString keptAs = d.constantsPath() + aside;
      QCOMPARE(d.prompts.messages,
               QStringList({"information My Constants: The constants file could not be read, so it was kept aside "
                            "as:\n" +
                            keptAs + "\n\nThe constants were saved to a new file:\n" + d.constantsPath()}));
      struct stat kept {};
      QCOMPARE(::lstat(keptAs.toStdString().c_str(), &kept), 0);
      QCOMPARE(kept.st_ino, made.st_ino);  // the very file, untouched
      QCOMPARE(fileEntries(d.constantsPath()), QStringList({"k=1"}));
      QVERIFY(QFile::remove(d.constantsPath()));  // the next round finds the first one kept aside
    }
  }

  // A save that cannot complete leaves the old file whole and says so truthfully.
  void aFailedSaveKeepsTheOldFile() {
    Dialog d;
    const QByteArray oldText = "Constant\n{\n\tkeep = 1;\n}\n";
    writeFile(d.constantsPath(), oldText);
    IExprParser::instance()->loadConstants(d.constantsPath().toStdString());
    for (int i = 0; i < 60; ++i) d.add(QStringLiteral("c%1").arg(i), QStringLiteral("3.14159265358979323846264338"));
    {
      FileSizeLimit limit(512);
      d.click(ids::ConstantApply);
    }
    QCOMPARE(readFile(d.constantsPath()), oldText);
    QCOMPARE(d.prompts.messages,
             QStringList({"warning My Constants: The constants could not be saved to the file:\n" + d.constantsPath() +
                          "\n\nThey are in use until the program ends; the file keeps what it held."}));
    QCOMPARE(QDir(d.folder.path()).entryList(QDir::Files), QStringList({"Constant"}));  // no temporary file left
    QCOMPARE(IExprParser::instance()->constants().size(), std::size_t{60});
  }

  // Another copy of the program changed the file after this one read it:
  // Apply keeps that copy's changes where this dialog left a constant alone,
  // and this dialog's edits and deletions where it did not.
  void anotherCopysChangesAreMerged() {
    Dialog d;
    writeFile(d.constantsPath(), "Constant\n{\n\ta = 1;\n\tb = 2;\n\tc = 3;\n\tf = 6;\n}\n");
    IExprParser::instance()->loadConstants(d.constantsPath().toStdString());
    d.open();
    writeFile(d.constantsPath(), "Constant\n{\n\ta = 10;\n\tb = 30;\n\te = 5;\n\tf = 6;\n}\n");
    for (const char* gone : {"b", "f"}) {
      d.select(QString::fromLatin1(gone));
      d.click(ids::ConstantDelete);
    }
    d.add(QStringLiteral("b"), QStringLiteral("20"));
    d.add(QStringLiteral("d"), QStringLiteral("4"));
    d.click(ids::ConstantApply);
    const QStringList merged({"a=10", "b=20", "d=4", "e=5"});
    QCOMPARE(fileEntries(d.constantsPath()) + evaluatorConstants() + d.rows(), merged + merged + merged);
    QCOMPARE(d.prompts.messages,
             QStringList({"information My Constants: The constants file had been changed by another program since "
                          "it was read:\n" +
                          d.constantsPath() +
                          "\n\nIts changes were kept together with yours; where both changed a constant, yours was "
                          "kept."}));
    // Applied again with no change from outside: no merge, no message.
    d.add(QStringLiteral("z"), QStringLiteral("0"));
    d.click(ids::ConstantApply);
    QCOMPARE(d.prompts.messages.size(), 1);
  }
};

QTEST_MAIN(MyConstantsTest)
#include "my_constants_test.moc"
