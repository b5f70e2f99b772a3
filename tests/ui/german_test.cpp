// The program in German, started as main() starts it under a German locale
// (the test's environment): its menus, Qt's stock buttons, and the
// evaluator's messages translated with their names and numbers kept.
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/CLogListCtrl.h"
#include "ui/CNumbrixMiniDlg.h"
#include "ui/EvaluatorMessages.h"
#include "ui/Translations.h"

class GermanTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QVERIFY(installTranslations(*QCoreApplication::instance())); }

  void menusAndStockButtonsAreGerman() {
    TestWindow w;
    const QDialogButtonBox stock(QDialogButtonBox::Cancel);
    QCOMPARE(QStringList({findCommand(&w.dialog, ids::Settings)->text(), w.dialog.logList()->preparedMenu()->title(),
                          findCommand(w.dialog.results(), ids::ResultView)->text(),
                          stock.button(QDialogButtonBox::Cancel)->text().remove('&')}),
             QStringList({"&Einstellungen …", "&Protokoll", "Ergebnis&ansicht", "Abbrechen"}));
  }

  // The message line of the main window, and the mini window's tooltip.
  void evaluatorErrorsAreGerman() {
    const struct {
      const char *input, *message;
    } cases[] = {
        {"1/0", "Im Ausdruck 'x / y' darf y nicht null sein!"},
        {"1 + abc", "Undefinierte Variable: abc"},
        {"sin(1, 2)", "Die Funktion 'sin(x)' erwartet einen Parameter!"},
        {"(1", "RIGHT_PARENTHESES erwartet, '\n' gefunden"},
        {"1 +", "Unerwartetes Symbol: \n"},
    };
    {
      TestWindow w;
      for (const auto& c : cases) {
        w.evaluate(QString::fromLatin1(c.input));
        QCOMPARE(w.dialog.messageLine()->text(), QString::fromUtf8(c.message));
      }
    }
    ProgramFolder folder;  // one window at a time, as the program has
    AppState state = stateIn(folder);
    CNumbrixMiniDlg mini(state);
    mini.show();
    mini.input()->setText(QStringLiteral("1/0"));
    QTest::keyClick(mini.input(), Qt::Key_Return);
    settle(mini);
    QCOMPARE(mini.resultBox()->text() + " / " + mini.resultBox()->toolTip(),
             QStringLiteral("Fehler / Im Ausdruck 'x / y' darf y nicht null sein!"));
  }

  // Several parts, the narrower of two matching patterns, and a text it does not know.
  void messagesWithPartsAndUnknownOnes() {
    const struct {
      const char *english, *german;
    } cases[] = {
        {"The result would have 12 digits, more than the 10 digits allowed !",
         "Das Ergebnis hätte 12 Stellen, mehr als die erlaubten 10 Stellen!"},
        {"expecting one of ( NAME NUMBER), found '%1'", "Eines von ( NAME NUMBER) erwartet, '%1' gefunden"},
        {"Undefined variable: x", "Undefinierte Variable: x"},
        {"Undefined variable: ", "Undefined variable: "},
        {"bad_alloc", "bad_alloc"},
    };
    for (const auto& c : cases)
      QCOMPARE(localisedEvaluatorMessage(QString::fromUtf8(c.english)), QString::fromUtf8(c.german));
  }
};

QTEST_MAIN(GermanTest)
#include "german_test.moc"
