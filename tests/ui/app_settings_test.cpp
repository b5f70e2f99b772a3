// The application's start-up and exit under a private NUMBRIX_HOME: the
// first settings file, how the keys are read, the window loop and what is
// written back.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QtTest>

#include <functional>

#include "FakePrompts.h"
#include "UiTestSupport.h"
#include "config/IConfig.h"
#include "ui/CInputEdit.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixApp.h"
#include "ui/CNumbrixDlg.h"
#include "ui/ControlIds.h"

namespace {

// What a window does when it opens in the loop.
enum class Step { Switch, ToggleOnTopAndClose, Close };

// Plays `steps` on the windows of `app`'s loop, one per window; returns how many opened.
int playWindowLoop(CNumbrixApp& app, QList<Step> steps) {
  int opened = 0;
  std::function<void(QWidget*)> play = [&](QWidget* modal) {
    ++opened;
    const Step step = steps.isEmpty() ? Step::Close : steps.takeFirst();
    if (step == Step::Switch) {
      whenWindowOpens(modal, play);
      switchWindow(modal);
      return;
    }
    if (step == Step::ToggleOnTopAndClose) findCommand(modal, ids::AlwaysOnTop)->trigger();
    qobject_cast<QDialog*>(modal)->reject();
  };
  whenWindowOpens(nullptr, play);
  app.runWindowLoop();
  return opened;
}

}  // namespace

class AppSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  void aFirstStartWritesTheDefaultSettings() {
    ProgramFolder folder;
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    const QString config = folder.file(QStringLiteral("Config"));
    QVERIFY(QFile::exists(config));
    QCOMPARE(storedValue(config, "/dialogType"), std::string("normal"));
    QCOMPARE(storedValue(config, "/topMost"), std::string("false"));
    QCOMPARE(storedValue(config, "/site"), std::string("https://www.example.org/numbrix"));
    QCOMPARE(storedValue(config, "/email"), std::string("numbrix@example.org"));
    QVERIFY(!app.miniNext());
    QVERIFY(!app.state().alwaysOnTop);
    QCOMPARE(QString::fromStdString(app.state().directory.string()), folder.path());
  }

  // Only the exact texts count.
  void theKeysAreComparedExactly_data() {
    QTest::addColumn<QByteArray>("dialogType");
    QTest::addColumn<QByteArray>("topMost");
    QTest::addColumn<bool>("mini");
    QTest::addColumn<bool>("onTop");
    QTest::newRow("normal, true") << QByteArray("normal") << QByteArray("true") << false << true;
    QTest::newRow("mini, false") << QByteArray("mini") << QByteArray("false") << true << false;
    QTest::newRow("Normal, TRUE") << QByteArray("Normal") << QByteArray("TRUE") << true << false;
    QTest::newRow("empty values") << QByteArray("") << QByteArray("") << true << false;
    QTest::newRow("absent keys") << QByteArray() << QByteArray() << true << false;
  }
  void theKeysAreComparedExactly() {
    QFETCH(QByteArray, dialogType);
    QFETCH(QByteArray, topMost);
    QFETCH(bool, mini);
    QFETCH(bool, onTop);
    ProgramFolder folder;
    QByteArray text = "Config\n{\n";
    if (!dialogType.isNull()) text += "\tdialogType = " + dialogType + ";\n";
    if (!topMost.isNull()) text += "\ttopMost = " + topMost + ";\n";
    text += "\tother = kept;\n}\n";
    writeFile(folder.file(QStringLiteral("Config")), text);
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QCOMPARE(app.miniNext(), mini);
    QCOMPARE(app.state().alwaysOnTop, onTop);
  }

  void closingTheWindowWritesItsTypeAndTheTopMostFlag() {
    ProgramFolder folder;
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QCOMPARE(playWindowLoop(app, {Step::ToggleOnTopAndClose}), 1);
    app.exitInstance();
    const QString config = folder.file(QStringLiteral("Config"));
    QCOMPARE(storedValue(config, "/dialogType"), std::string("normal"));
    QCOMPARE(storedValue(config, "/topMost"), std::string("true"));
    QCOMPARE(storedValue(config, "/site"), std::string("https://www.example.org/numbrix"));
  }

  // Each ">" ends a window with OK and the loop opens the next; writing back
  // names the type of the last window shown.
  void theLoopSwitchesUntilAWindowIsClosed() {
    ProgramFolder folder;
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QCOMPARE(playWindowLoop(app, {Step::Switch, Step::Switch, Step::Close}), 3);
    app.exitInstance();
    QCOMPARE(storedValue(folder.file(QStringLiteral("Config")), "/dialogType"), std::string("normal"));
    QCOMPARE(storedValue(folder.file(QStringLiteral("Config")), "/topMost"), std::string("false"));
  }

  // The flag is the application's: a later window starts with it.
  void alwaysOnTopCarriesToTheNextWindow() {
    ProgramFolder folder;
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    bool secondOnTop = false;
    whenWindowOpens(nullptr, [&](QWidget* first) {
      findCommand(first, ids::AlwaysOnTop)->trigger();
      whenWindowOpens(first, [&](QWidget* second) {
        secondOnTop = second->windowFlags().testFlag(Qt::WindowStaysOnTopHint) &&
                      findCommand(second, ids::AlwaysOnTop)->isChecked();
        qobject_cast<QDialog*>(second)->reject();
      });
      switchWindow(first);
    });
    app.runWindowLoop();
    QVERIFY(secondOnTop);
  }

  // Exit updates only the leaves the file already has.
  void exitCreatesNoKeys() {
    ProgramFolder folder;
    const QString config = folder.file(QStringLiteral("Config"));
    writeFile(config, "Config\n{\n\tdialogType = mini;\n\tsite = https://example.net/;\n}\n");
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    app.state().alwaysOnTop = true;
    QCOMPARE(playWindowLoop(app, {Step::Close}), 1);
    app.exitInstance();
    QCOMPARE(storedValue(config, "/topMost"), std::string());
    QVERIFY(!readFile(config).contains("topMost"));
    QCOMPARE(storedValue(config, "/site"), std::string("https://example.net/"));
  }

  // Without HOME, XDG_CONFIG_HOME or NUMBRIX_HOME there is no program
  // folder: the user is told once, the defaults are used, and neither the
  // start nor the exit writes anything where the program was started.
  void withoutAFolderNothingIsWritten() {
    ProgramFolder folder;  // its NUMBRIX_HOME is dropped below; it serves as the working folder
    const QByteArray home = qgetenv("HOME"), xdg = qgetenv("XDG_CONFIG_HOME");
    qunsetenv("NUMBRIX_HOME");
    qunsetenv("HOME");
    qunsetenv("XDG_CONFIG_HOME");
    const QString started = QDir::currentPath();
    QDir::setCurrent(folder.path());
    FakePrompts prompts;
    {
      CNumbrixApp app(folder.path().toStdString());
      app.loadSettings();
      QCOMPARE(playWindowLoop(app, {Step::ToggleOnTopAndClose}), 1);
      app.exitInstance();
    }
    QDir::setCurrent(started);
    qputenv("HOME", home);
    if (!xdg.isEmpty()) qputenv("XDG_CONFIG_HOME", xdg);
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY2(prompts.messages.front().startsWith("warning Numbrix: Neither HOME nor XDG_CONFIG_HOME names a folder"),
             qPrintable(prompts.messages.front()));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
  }

  // Entries whose names or values are not valid are told once, by their
  // count; a file that cannot be read at all is told as such. Neither the
  // start nor the exit rewrites the file.
  void theUserConstantsAreLoadedAtStart_data() {
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("answer");
    const QString one = QStringLiteral("warning My Constants: 1 entry of the constants file was skipped because its "
                                       "name or value is not valid. The file keeps it as it is:\n");
    QTest::newRow("all numbers") << QByteArray("\tneg = -1;\n") << QStringList() << "19.62";
    QTest::newRow("letters") << QByteArray("\tbad = abc;\n") << QStringList({one}) << "19.62";
    QTest::newRow("beyond the value limit") << QByteArray("\thuge = 1e2000000000;\n") << QStringList({one}) << "19.62";
    QTest::newRow("name not UTF-8") << QByteArray("\tk\xff = 1;\n") << QStringList({one}) << "19.62";
    QTest::newRow("three skipped")
        << QByteArray("\tbad = abc;\n\ttwice = --1;\n\tdots = 1.2.3;\n")
        << QStringList({"warning My Constants: 3 entries of the constants file were skipped because their names or "
                        "values are not valid. The file keeps them as they are:\n"})
        << "19.62";
    // One damaged value makes the whole file unreadable: nothing is loaded, and the user is told.
    QTest::newRow("blank inside a value")
        << QByteArray("\th = 6.626 e-34;\n")
        << QStringList({"warning My Constants: The constants file cannot be read:\n"}) << QString();
  }
  void theUserConstantsAreLoadedAtStart() {
    QFETCH(QByteArray, entries);
    QFETCH(QStringList, messages);
    FakePrompts prompts;
    ProgramFolder folder;
    const QString constants = folder.file(QStringLiteral("Constant"));
    const QByteArray file = "Constant\n{\n\tg = 9.81;\n" + entries + "}\n";
    writeFile(constants, file);
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QCOMPARE(prompts.messages.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
      QVERIFY2(prompts.messages[i].startsWith(messages[i] + constants), qPrintable(prompts.messages[i]));
    QString answerShown;
    whenWindowOpens(nullptr, [&](QWidget* modal) {
      auto* window = qobject_cast<CNumbrixDlg*>(modal);
      QVERIFY(window != nullptr);
      window->input()->setPlainText(QStringLiteral("2 * g"));
      QTest::keyClick(window->input(), Qt::Key_Return, Qt::ControlModifier);
      answerShown = window->logList()->rowCount() == 1 ? window->logList()->item(0, 0)->text() : QString();
      window->reject();
    });
    app.runWindowLoop();
    app.exitInstance();
    QFETCH(QString, answer);
    QCOMPARE(answerShown, answer);
    QCOMPARE(prompts.messages.size(), messages.size());
    QCOMPARE(readFile(constants), file);
  }
};

QTEST_MAIN(AppSettingsTest)
#include "app_settings_test.moc"
