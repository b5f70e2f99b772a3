// The application's start-up and exit under a private NUMBRIX_HOME: the
// first settings file, how the keys are read, the window loop and what is
// written back.
#include <QAbstractButton>
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

  // Entries whose values are not numbers are told once, by their count;
  // neither the start nor the exit rewrites the file.
  void theUserConstantsAreLoadedAtStart_data() {
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("all numbers") << QByteArray("\tneg = -1;\n") << QStringList();
    QTest::newRow("one skipped") << QByteArray("\tbad = abc;\n")
                                 << QStringList({"warning My Constants: 1 entry of the constants file was skipped "
                                                 "because its value is not a number. The file keeps it as it is:\n"});
    QTest::newRow("two skipped") << QByteArray("\tbad = abc;\n\ttwice = --1;\n")
                                 << QStringList({"warning My Constants: 2 entries of the constants file were skipped "
                                                 "because their values are not numbers. The file keeps them as they "
                                                 "are:\n"});
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
    for (QString& message : messages) message += constants;  // the file's path ends the text
    QCOMPARE(prompts.messages, messages);
    QString answer;
    whenWindowOpens(nullptr, [&](QWidget* modal) {
      auto* window = qobject_cast<CNumbrixDlg*>(modal);
      QVERIFY(window != nullptr);
      window->input()->setPlainText(QStringLiteral("2 * g"));
      QTest::keyClick(window->input(), Qt::Key_Return, Qt::ControlModifier);
      answer = window->logList()->rowCount() == 1 ? window->logList()->item(0, 0)->text() : QString();
      window->reject();
    });
    app.runWindowLoop();
    app.exitInstance();
    QCOMPARE(answer, QStringLiteral("19.62"));
    QCOMPARE(prompts.messages.size(), messages.size());
    QCOMPARE(readFile(constants), file);
  }
};

QTEST_MAIN(AppSettingsTest)
#include "app_settings_test.moc"
