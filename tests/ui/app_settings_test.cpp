// The application's start-up and exit under a private NUMBRIX_HOME: the
// first settings file, how the keys are read, the window loop, the settings
// dialog and what is written back.
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>
#include <functional>
#include <memory>

#include "UiTestSupport.h"
#include "ui/CNumbrixApp.h"
#include "ui/CNumbrixMiniDlg.h"

namespace {

// The entries of a first settings file (the store keeps them by name).
const QStringList kDefaults({"dialogType=normal", "email=numbrix@example.org", "site=https://www.example.org/numbrix",
                             "topMost=false"});
// The user's settings as a file without them gains them at exit.
const QStringList kUserDefaults({"answerDecimals=40", "enterEvaluates=false", "keepHistory=true", "valueLimit=1e33"});

// The user's settings in force: the evaluator's and those of `state`.
QString userSettings(const AppState& state) {
  const EvaluationSettings& evaluation = IExprParser::instance()->settings();
  return QStringList{QString::number(evaluation.decimals),
                     evaluation.limitExponent ? QStringLiteral("1e%1").arg(*evaluation.limitExponent) : "off",
                     state.keepHistory ? "history" : "no history", state.enterEvaluates ? "Enter" : "Ctrl+Enter",
                     QString::fromStdString(state.mainGeometry + "|" + state.splitterState)}
      .join(QLatin1Char(' '));
}

// Starts afresh on the program folder, as the next session would.
QString userSettingsOfNextStart(const ProgramFolder& folder) {
  IConfig::instance(IConfig::SettingsStore)->release();
  IExprParser::resetInstance();
  CNumbrixApp app(folder.path().toStdString());
  app.loadSettings();
  return userSettings(app.state());
}

// Plays `keys` on the windows of `app`'s loop: 't' toggles Always On Top, 's'
// switches to the other window, anything else or the end of the keys closes
// the window. Returns the windows as they opened: "main" or "mini", with
// "+top" when both the window and its command say it stays on top.
QString playWindowLoop(CNumbrixApp& app, QString keys) {
  QStringList seen;
  std::function<void(QWidget*)> play = [&](QWidget* modal) {
    const bool hint = modal->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    const bool checked = findCommand(modal, ids::AlwaysOnTop)->isChecked();
    const char* top = hint && checked ? "+top" : hint || checked ? "+half on top" : "";
    seen << QLatin1String(qobject_cast<CNumbrixDlg*>(modal) ? "main" : "mini") + QLatin1String(top);
    for (; !keys.isEmpty() && keys.front() == QLatin1Char('t'); keys.remove(0, 1))
      findCommand(modal, ids::AlwaysOnTop)->trigger();
    if (keys.startsWith(QLatin1Char('s'))) {
      keys.remove(0, 1);
      whenWindowOpens(modal, play);
      switchWindow(modal);
    } else {
      qobject_cast<QDialog*>(modal)->reject();
    }
  };
  whenWindowOpens(nullptr, play);
  app.runWindowLoop();
  return seen.join(QLatin1Char(' '));
}

}  // namespace

class AppSettingsTest : public QObject {
  Q_OBJECT

 private slots:
  // The first window follows the file's keys, compared exactly; exit writes
  // back the type of the last window shown and the flag, but only into the
  // leaves the file already has, and adds the user's settings it lacks.
  void theWindowLoopReadsAndWritesTheSettings_data() {
    QTest::addColumn<QByteArray>("config");  // the leaves of "Config"; null: no file
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QStringList>("entries");
    const auto row = [](const char* name, const char* config, const char* keys, const char* windows,
                        const QStringList& entries) {
      QTest::newRow(name) << QByteArray(config) << QString::fromLatin1(keys) << QString::fromLatin1(windows) << entries;
    };
    const QString &email = kDefaults[1], &site = kDefaults[2];
    row("first start", nullptr, "t", "main", {"dialogType=normal", email, site, "topMost=true"});
    row("switched twice", nullptr, "ss", "main mini main", kDefaults);
    row("the flag carries", nullptr, "ts", "main mini+top", {"dialogType=mini", email, site, "topMost=true"});
    row("normal, true", "dialogType = normal; topMost = true; other = kept;", "", "main+top",
        {"dialogType=normal", "other=kept", "topMost=true"});
    row("mini, false", "dialogType = mini; topMost = false;", "s", "mini main", {"dialogType=normal", "topMost=false"});
    row("Normal, TRUE", "dialogType = Normal; topMost = TRUE;", "", "mini", {"dialogType=mini", "topMost=false"});
    row("empty values", "dialogType = ; topMost = ;", "t", "mini", {"dialogType=mini", "topMost=true"});
    row("absent keys", "site = https://example.net/;", "t", "mini", {"site=https://example.net/"});
  }
  void theWindowLoopReadsAndWritesTheSettings() {
    QFETCH(QByteArray, config);
    QFETCH(QString, keys);
    ProgramFolder folder;
    if (!config.isNull()) writeFile(folder.file(QStringLiteral("Config")), "Config\n{\n" + config + "\n}\n");
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QTEST(playWindowLoop(app, keys), "windows");
    app.exitInstance();
    QFETCH(QStringList, entries);
    entries << kUserDefaults;
    entries.sort();
    QStringList written = fileEntries(folder.file(QStringLiteral("Config")));
    written.removeIf([](const QString& entry) {  // the main window's layout, opaque
      return entry.startsWith(QLatin1String("mainWindowGeometry=")) ||
             entry.startsWith(QLatin1String("splitterState="));
    });
    QCOMPARE(written, entries);
  }

  // A key that is missing, malformed or out of range gives its default.
  void theUserSettingsAreReadAtStart_data() {
    QTest::addColumn<QByteArray>("config");
    QTest::addColumn<QString>("settings");
    const QString defaults = QStringLiteral("40 1e33 history Ctrl+Enter |");
    QTest::newRow("none") << QByteArray("dialogType = normal;") << defaults;
    QTest::newRow("all") << QByteArray(
                                "answerDecimals = 10; valueLimit = off; keepHistory = false; enterEvaluates = true; "
                                "mainWindowGeometry = AdnQywADAAA; splitterState = AAAA/w;")
                         << "10 off no history Enter AdnQywADAAA=|AAAA/w==";
    QTest::newRow("the ends") << QByteArray("answerDecimals = 0; valueLimit = 1e1000000000; keepHistory = true;")
                              << "0 1e1000000000 history Ctrl+Enter |";
    // One key out of range does not spoil the others.
    QTest::newRow("decimals out of range")
        << QByteArray("answerDecimals = 10000001; valueLimit = off;") << "40 off history Ctrl+Enter |";
    QTest::newRow("limit out of range") << QByteArray("answerDecimals = 7; valueLimit = 1e1000000001;")
                                        << "7 1e33 history Ctrl+Enter |";
    QTest::newRow("too small, too long") << QByteArray("answerDecimals = 99999999999999999999; valueLimit = 1e0;")
                                         << defaults;
    QTest::newRow("malformed") << QByteArray(
                                      "answerDecimals = -1; valueLimit = 33; keepHistory = no; enterEvaluates = TRUE; "
                                      "mainWindowGeometry = not*base64; splitterState = ;")
                               << defaults;
    QTest::newRow("near misses") << QByteArray("answerDecimals = 12x; valueLimit = 1e; enterEvaluates = true1;")
                                 << defaults;
  }
  void theUserSettingsAreReadAtStart() {
    QFETCH(QByteArray, config);
    ProgramFolder folder;
    writeFile(folder.file(QStringLiteral("Config")), "Config\n{\n" + config + "\n}\n");
    QTEST(userSettingsOfNextStart(folder), "settings");
  }

  // "Settings…" of either window opens the dialog; its OK puts the values in
  // force and saves them at once beside the old keys, Cancel changes nothing.
  // The layout the main window leaves is saved at exit in the file's syntax.
  void theSettingsDialogAppliesAndSaves_data() {
    QTest::addColumn<bool>("mini");
    QTest::addColumn<bool>("ok");
    QTest::newRow("main, OK") << false << true;
    QTest::newRow("main, Cancel") << false << false;
    QTest::newRow("mini, OK") << true << true;
    QTest::newRow("mini, Cancel") << true << false;
  }
  void theSettingsDialogAppliesAndSaves() {
    QFETCH(bool, mini);
    QFETCH(bool, ok);
    ProgramFolder folder;
    const QString config = folder.file(QStringLiteral("Config"));
    const QByteArray oldStyle = "Config\n{\n\tdialogType = normal;\n\temail = e;\n\tsite = s;\n\ttopMost = false;\n}\n";
    writeFile(config, oldStyle);
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    std::unique_ptr<QDialog> window;
    if (mini)
      window = std::make_unique<CNumbrixMiniDlg>(app.state());
    else
      window = std::make_unique<CNumbrixDlg>(app.state());
    window->show();
    QString title;
    whenWindowOpens(window.get(), [&](QWidget* dialog) {
      title = dialog->windowTitle();
      qobject_cast<QSpinBox*>(findControl(dialog, ids::SettingsDecimals))->setValue(10);
      for (int id : {ids::SettingsLimited, ids::SettingsKeepHistory, ids::SettingsEnterEvaluates})
        QTest::mouseClick(qobject_cast<QCheckBox*>(findControl(dialog, id)), Qt::LeftButton);
      dialog->findChild<QDialogButtonBox*>()->button(ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
    });
    findCommand(window.get(), ids::Settings)->trigger();
    QCOMPARE(title, QStringLiteral("Settings"));
    const QString after =
        ok ? QStringLiteral("10 off no history Enter |") : QStringLiteral("40 1e33 history Ctrl+Enter |");
    QCOMPARE(userSettings(app.state()), after);
    QCOMPARE(QString::fromStdString(IExprParser::instance()->preview("1/3\n")),
             QStringLiteral("0.") + QString(ok ? 10 : 40, QLatin1Char('3')));
    if (ok)
      QCOMPARE(fileEntries(config),
               QStringList({"answerDecimals=10", "dialogType=normal", "email=e", "enterEvaluates=true",
                            "keepHistory=false", "site=s", "topMost=false", "valueLimit=off"}));
    else
      QCOMPARE(readFile(config), oldStyle);
    app.state().mainGeometry = QByteArray("geometry").toBase64().toStdString();
    app.state().splitterState = QByteArray("state").toBase64().toStdString();
    window.reset();
    app.exitInstance();
    QCOMPARE(userSettingsOfNextStart(folder), after.chopped(1) + "Z2VvbWV0cnk=|c3RhdGU=");
  }

  // Without HOME, XDG_CONFIG_HOME or NUMBRIX_HOME there is no program
  // folder: the user is told once, the defaults are used, and neither the
  // start nor the exit writes anything where the program was started.
  void withoutAFolderNothingIsWritten() {
    ProgramFolder folder;  // its NUMBRIX_HOME is dropped below; it serves as the working folder
    const QByteArray home = qgetenv("HOME"), xdg = qgetenv("XDG_CONFIG_HOME");
    for (const char* name : {"NUMBRIX_HOME", "HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME"}) qunsetenv(name);
    const QString started = QDir::currentPath();
    QDir::setCurrent(folder.path());
    FakePrompts prompts;
    {
      CNumbrixApp app(folder.path().toStdString());
      app.loadSettings();
      QCOMPARE(playWindowLoop(app, QStringLiteral("t")), QStringLiteral("main"));
      app.exitInstance();
    }
    QDir::setCurrent(started);
    qputenv("HOME", home);
    if (!xdg.isEmpty()) qputenv("XDG_CONFIG_HOME", xdg);
    QVERIFY2(prompts.messages.size() == 1 && prompts.messages.front().startsWith(
                                                 "warning Numbrix: Neither HOME nor XDG_CONFIG_HOME names a folder"),
             qPrintable(prompts.messages.join(QLatin1Char('\n'))));
    QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).join(" "),
             QString());
  }

  // Entries whose names or values are not valid are told once, by their
  // count; a file that cannot be read at all is told as such. Neither the
  // start nor the exit rewrites the file.
  void theUserConstantsAreLoadedAtStart_data() {
    QTest::addColumn<QByteArray>("entries");
    QTest::addColumn<QString>("message");  // how the one warning starts, "" for none
    QTest::addColumn<QString>("loaded");   // the constants' names
    const auto row = [](const char* name, const char* entries, const QString& message, const char* loaded = "g") {
      QTest::newRow(name) << QByteArray(entries) << message << QString::fromLatin1(loaded);
    };
    const QString one = QStringLiteral(
        "warning My Constants: 1 entry of the constants file was skipped because its "
        "name or value is not valid. The file keeps it as it is:\n");
    row("all numbers", "\tneg = -1;\n", QString(), "g neg");
    row("letters", "\tbad = abc;\n", one);
    row("three skipped", "\tbad = abc;\n\ttwice = --1;\n\tdots = 1.2.3;\n",
        QStringLiteral("warning My Constants: 3 entries of the constants file were skipped because their names or "
                       "values are not valid. The file keeps them as they are:\n"));
    // One damaged value makes the whole file unreadable: nothing is loaded, and the user is told.
    row("blank inside a value", "\th = 6.626 e-34;\n",
        QStringLiteral("warning My Constants: The constants file cannot be read:\n"), "");
  }
  void theUserConstantsAreLoadedAtStart() {
    QFETCH(QByteArray, entries);
    QFETCH(QString, message);
    FakePrompts prompts;
    ProgramFolder folder;
    const QString constants = folder.file(QStringLiteral("Constant"));
    const QByteArray file = "Constant\n{\n\tg = 9.81;\n" + entries + "}\n";
    writeFile(constants, file);
    const auto toldOnce = [&] {
      return message.isEmpty() ? prompts.messages.isEmpty()
                               : prompts.messages.size() == 1 && prompts.messages[0].startsWith(message + constants);
    };
    CNumbrixApp app(folder.path().toStdString());
    app.loadSettings();
    QVERIFY2(toldOnce(), qPrintable(prompts.messages.join(QLatin1Char('\n'))));
    QStringList loaded;
    for (const auto& [name, value] : IExprParser::instance()->constants()) loaded << QString::fromStdString(name);
    QTEST(loaded.join(QLatin1Char(' ')), "loaded");
    QCOMPARE(playWindowLoop(app, QString()), QStringLiteral("main"));
    app.exitInstance();
    QVERIFY2(toldOnce(), qPrintable(prompts.messages.join(QLatin1Char('\n'))));
    QCOMPARE(readFile(constants), file);
  }
};

QTEST_MAIN(AppSettingsTest)
#include "app_settings_test.moc"
