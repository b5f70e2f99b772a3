// The main window driven through its real widgets: evaluation, keypad, menus,
// the bar between its lists, the about box's links, and hostile input that
// must get an answer or an error and leave the window working.
#include <QClipboard>
#include <QLabel>
#include <QSplitter>
#include <QTextDocument>
#include <QtTest>
#include <random>

#include "UiTestSupport.h"
#include "ui/CAboutDlg.h"
#include "ui/CLogListCtrl.h"
#include "ui/CResultViewDlg.h"

namespace {

// What `label` shows to the eye, whatever its text format.
QString shownText(const QLabel* label) {
  if (label->textFormat() == Qt::PlainText) return label->text();
  QTextDocument document;
  document.setHtml(label->text());
  return document.toPlainText();
}

// A left click near the start of the label's text, where a link would be.
void clickText(QLabel* label) {
  QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->contentsRect().left() + 4, label->height() / 2));
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  struct Window : TestWindow {
    void click(int id) {
      QTest::mouseClick(qobject_cast<QAbstractButton*>(findControl(&dialog, id)), Qt::LeftButton);
      settle(dialog);
    }
    // Evaluates `text` as pasted; empty when the window answered it or showed
    // an error with the input kept, else what went wrong.
    QString evaluatePasted(const QString& text) {
      dialog.input()->clear();
      QApplication::clipboard()->setText(text);
      dialog.input()->paste();
      const QString pasted = dialog.input()->toPlainText();  // line ends as the editor keeps them
      const int rows = dialog.logList()->rowCount();
      ctrlEnter();
      if (!dialog.messageLine()->text().isEmpty())
        return dialog.input()->toPlainText() == pasted ? QString() : QStringLiteral("input lost");
      if (!text.trimmed().isEmpty() && dialog.logList()->rowCount() == rows)
        return QStringLiteral("neither an answer nor an error");
      return QString();
    }
  };

  // Which commands of `menu` are enabled, in its order: "1" or "0" each.
  static QString enabling(QMenu* menu) {
    QString states;
    for (QAction* action : menu->actions())
      if (!action->isSeparator()) states += QLatin1Char(action->isEnabled() ? '1' : '0');
    return states;
  }

 private slots:
  void evaluatesWithCtrlEnterAndClearsTheInput() {
    Window w;
    w.type(QStringLiteral("x = 2^10\nx + 1"));  // Enter alone adds a line
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("x = 2^10\nx + 1"));
    w.ctrlEnter();
    QCOMPARE(w.input()->toPlainText() + w.dialog.messageLine()->text(), QString());
    // Results sorted by name; log newest first.
    QCOMPARE(w.column(w.dialog.results(), 0) + w.column(w.dialog.results(), 1) + w.column(w.dialog.logList(), 1) +
                 w.column(w.dialog.logList(), 0),
             QStringList({"ans", "x", "1025", "1024", "x + 1", "x = 2 ^ 10", "1025", "1024"}));
    // Setting x again updates its row; names differing in case make two rows.
    w.type(QStringLiteral("x = 3\nX = 4"));
    w.click(ids::Ok);
    QCOMPARE(w.dialog.results()->rowCount(), 3);
    QCOMPARE(w.shownValue(QStringLiteral("x")) + w.shownValue(QStringLiteral("X")), QStringLiteral("34"));
    // Escape closes neither window (both share this; the switch buttons are the window loop's test).
    QTest::keyClick(w.input(), Qt::Key_Escape);
    QTest::keyClick(&w.dialog, Qt::Key_Escape);
    QVERIFY(w.dialog.isVisible() && w.dialog.result() == 0);
  }

  // The input is kept, the span the error names is selected (a tab counting
  // to the next tab stop) and the message shown; nothing is committed. Blank
  // input is not evaluated at all.
  void anErrorKeepsTheInputAndSelectsItsSpan() {
    Window w;
    const struct {
      const char *input, *selected, *message;
    } cases[] = {
        {" \t \n", "", ""},
        {"a = 2\n1 + foo(3)", "foo(3)", "Undefined function: foo"},
        {"1\t+ 1/0", "/", nullptr},
        {"1 +", "", "unexpected token: \n"},  // a syntax error names no end
    };
    for (const auto& c : cases) {
      w.input()->clear();
      w.type(QString::fromLatin1(c.input));
      w.ctrlEnter();
      QCOMPARE(w.input()->toPlainText(), QString::fromLatin1(c.input));
      QCOMPARE(w.input()->textCursor().selectedText(), QString::fromLatin1(c.selected));
      if (c.message != nullptr) QCOMPARE(w.dialog.messageLine()->text(), QString::fromLatin1(c.message));
    }
    QCOMPARE(w.dialog.results()->rowCount(), 0);
    QCOMPARE(w.dialog.logList()->rowCount(), 1);  // the first statement was logged
    w.evaluate(QStringLiteral("1"));
    QCOMPARE(w.dialog.messageLine()->text(), QString());  // a success clears the message
  }

  void keypadInsertsItsTexts() {
    Window w;
    w.type(QStringLiteral("1e"));
    for (int id : {1013, 1007}) w.click(id);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1e-5"));
    for (int id : {1012, 1003, 1043, 1044, 1029, 1026, 1018}) w.click(id);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1e-5 + 1 &  | sin(PI)"));
    // A selection is replaced (the minus sign's blanks at the start are the mini window's test).
    w.input()->selectAll();
    for (int id : {1024, 1013}) w.click(id);
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("E-"));  // E counts like e
  }

  void inputMenuEnabling() {
    Window w;
    QApplication::clipboard()->clear();
    // Clear, Cut, Copy, Paste, My Constants.
    QCOMPARE(enabling(w.input()->preparedMenu()), QStringLiteral("00001"));
    w.type(QStringLiteral("12345"));
    QTextCursor cursor = w.input()->textCursor();
    cursor.setPosition(1);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    w.input()->setTextCursor(cursor);
    // Commands act only as enabled when the menu opens, as a user would see them.
    QCOMPARE(enabling(w.input()->preparedMenu()), QStringLiteral("11101"));
    findCommand(w.input(), ids::InputCopy)->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("23"));
    QCOMPARE(enabling(w.input()->preparedMenu()), QStringLiteral("11111"));
    for (const auto& [id, left] :
         {std::pair(ids::InputCut, "145"), {ids::InputPaste, "12345"}, {ids::InputClear, ""}}) {
      findCommand(w.input(), id)->trigger();
      QCOMPARE(w.input()->toPlainText(), QString::fromLatin1(left));
    }
  }

  void resultMenuAndCommands() {
    Window w;
    CResultListCtrl* results = w.dialog.results();
    // Copy Value, Clear All, Clear Selected, Result View, Import, Export, My Constants.
    QCOMPARE(enabling(results->preparedMenu()), QStringLiteral("0000101"));
    w.type(QStringLiteral("a = 2^100\nb = 2"));
    w.ctrlEnter();
    QCOMPARE(enabling(results->preparedMenu()), QStringLiteral("0100111"));
    results->selectRow(results->rowOf(QStringLiteral("a")));
    QCOMPARE(enabling(results->preparedMenu()), QStringLiteral("1111111"));
    // Result View of the selected variable: 2^100 is an integer, with its hexadecimal text.
    QString shown;
    whenWindowOpens(nullptr, [&shown](QWidget* modal) {
      auto* view = qobject_cast<CResultViewDlg*>(modal);
      QVERIFY(view != nullptr);
      QTest::mouseClick(findControl(view, ids::RadioHex), Qt::LeftButton);
      shown = qobject_cast<QLabel*>(findControl(view, ids::ViewLabel))->text() + " " + view->shownText();
      view->accept();
    });
    findCommand(results, ids::ResultView)->trigger();
    QCOMPARE(shown, QStringLiteral("a = 10, 00 00 00 00, 00 00 00 00, 00 00 00 00"));
    // Clear Selected removes the variable through the evaluator.
    findCommand(results, ids::ResultClearSelected)->trigger();
    QCOMPARE(results->rowCount(), 1);
    bignum::bigfloat value;
    QVERIFY(!IExprParser::instance()->getVariable("a", value));
    findCommand(results, ids::ResultClearAll)->trigger();
    QCOMPARE(results->rowCount(), 0);
    QVERIFY(!IExprParser::instance()->getVariable("b", value));
  }

  void logMenuAndReevaluate() {
    Window w;
    CLogListCtrl* log = w.dialog.logList();
    // Copy Answer, Copy Expression, Clear All, Clear Selected, Export, Re-evaluate.
    QCOMPARE(enabling(log->preparedMenu()), QStringLiteral("000000"));
    w.type(QStringLiteral("1+1\n1+1\n2*3"));
    w.ctrlEnter();
    QCOMPARE(log->rowCount(), 3);
    QCOMPARE(enabling(log->preparedMenu()), QStringLiteral("001010"));
    log->selectRow(2);
    QCOMPARE(enabling(log->preparedMenu()), QStringLiteral("111111"));
    // Re-evaluate puts the expression at the caret, replacing a selection.
    w.type(QStringLiteral("5 * ()"));
    QTextCursor cursor = w.input()->textCursor();
    cursor.setPosition(5);
    w.input()->setTextCursor(cursor);
    findCommand(log, ids::Reevaluate)->trigger();
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("5 * (1 + 1)"));
    // A double-click does the same, evaluates nothing and gives the input the focus.
    w.input()->selectAll();
    QTest::mouseDClick(log->viewport(), Qt::LeftButton, {}, log->visualItemRect(log->item(2, 1)).center());
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1 + 1"));
    QCOMPARE(w.dialog.focusWidget(), static_cast<QWidget*>(w.input()));
    // Two equal entries stay two; Clear Selected removes one.
    findCommand(log, ids::LogClearSelected)->trigger();
    QCOMPARE(w.column(log, 1), QStringList({"2 * 3", "1 + 1"}));
    // Without a selection a double-click does nothing.
    log->clearSelection();
    log->setCurrentItem(nullptr);
    QTest::mouseDClick(log->viewport(), Qt::LeftButton, {},
                       QPoint(log->viewport()->width() - 2, log->viewport()->height() - 2));
    QCOMPARE(w.input()->toPlainText(), QStringLiteral("1 + 1"));
    findCommand(log, ids::LogClearAll)->trigger();
    QCOMPARE(log->rowCount(), 0);
  }

  void helpOpensTheManualAndAboutTheAboutBox() {
    FakePrompts prompts;
    Window w;
    w.state.programFolder = w.folder.path().toStdString();
    findCommand(&w.dialog, ids::Help)->trigger();
    QVERIFY(prompts.opened.size() == 1 &&
            prompts.opened.front().toLocalFile().endsWith(QStringLiteral("numbrix-manual.html")));
    writeFile(w.folder.file(QStringLiteral("Manual.chm")), {});
    w.state.directory = w.folder.path().toStdString();
    findCommand(&w.dialog, ids::Help)->trigger();
    QCOMPARE(prompts.opened.back().toLocalFile(), w.folder.file(QStringLiteral("Manual.chm")));
    bool about = false;  // its links are the about box's own test
    whenWindowOpens(nullptr, [&about](QWidget* modal) {
      about = qobject_cast<CAboutDlg*>(modal) != nullptr;
      qobject_cast<QDialog*>(modal)->accept();
    });
    findCommand(&w.dialog, ids::About)->trigger();
    QVERIFY(about);
  }

  // The lists share the output frame half and half, and dragging the bar to
  // the top edge still leaves the results list on screen.
  void theBarBetweenTheListsKeepsBothInView() {
    TestWindow w;
    QSplitter* splitter = w.dialog.splitter();
    const int results = w.dialog.results()->height(), log = w.dialog.logList()->height();
    QVERIFY2(results > 50 && qAbs(results - log) <= 1, qPrintable(QStringLiteral("%1 / %2").arg(results).arg(log)));
    QWidget* bar = splitter->handle(1);
    const QPoint from = bar->rect().center(), to = bar->mapFromGlobal(splitter->mapToGlobal(QPoint(10, -400)));
    QMouseEvent press(QEvent::MouseButtonPress, from, bar->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton, {});
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QMouseEvent release(QEvent::MouseButtonRelease, to, bar->mapToGlobal(to), Qt::LeftButton, Qt::NoButton, {});
    for (QMouseEvent* event : {&press, &move, &release}) QApplication::sendEvent(bar, event);
    QVERIFY(w.dialog.logList()->height() > log);
    QVERIFY(w.dialog.results()->isVisible() && w.dialog.results()->height() > 0);
  }

  // The settings file may name anything; only web pages and plain mail
  // addresses become links, the rest is shown as plain text that opens
  // nothing. Whatever it says is shown as it stands, never read as markup.
  void theAboutBoxLinksOnlyWebAndMail_data() {
    QTest::addColumn<QString>("key");  // empty: the defaults
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("opens");  // empty: plain text
    const auto row = [](const char* name, const char* key, const char* value, const char* opens) {
      QTest::newRow(name) << QString::fromLatin1(key) << QString::fromLatin1(value) << QString::fromLatin1(opens);
    };
    row("default site", "", "https://www.example.org/numbrix", "https://www.example.org/numbrix");
    row("default address", "", "numbrix@example.org", "mailto:numbrix@example.org");
    row("http", "site", "http://numbers.example.net/a?b=c", "http://numbers.example.net/a?b=c");
    row("upper case", "site", "HTTP://NUMBERS.EXAMPLE.NET/", "http://numbers.example.net/");
    row("markup", "site", "https://x.example/<b>bold</b>&amp;", "https://x.example/%3Cb%3Ebold%3C/b%3E&amp;");
    row("mail", "site", "mailto:help@example.net", "mailto:help@example.net");
    row("file", "site", "file:///etc/passwd", "");
    row("plain path", "site", "/etc/passwd", "");
    row("share", "site", "smb://server/share", "");
    row("script", "site", "javascript:alert(1)", "");
    row("ftp", "site", "ftp://example.net/", "");
    row("mail with a query", "site", "mailto:help@example.net?attach=/etc/passwd", "");
    row("address", "email", "help@example.net", "mailto:help@example.net");
    row("address with markup", "email", "<i>x</i>@y", "");
    row("address with a query", "email", "x@y?attach=/etc/passwd", "");
    row("escaped query", "email", "x@y%3Fattach=/etc/passwd", "");
    row("line break", "email", "x@y\nattach=/etc/passwd", "");
  }
  void theAboutBoxLinksOnlyWebAndMail() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, opens);
    ProgramFolder folder;
    FakePrompts prompts;
    IConfig::instance(0)->create("Config");
    if (!key.isEmpty()) IConfig::instance(0)->add("/", key.toStdString(), value.toStdString());
    CAboutDlg about;
    about.show();
    const bool site = key == QLatin1String("site") || (key.isEmpty() && value.startsWith(QLatin1String("http")));
    QLabel* link = site ? about.webLink() : about.contactLink();
    QCOMPARE(shownText(link), value);
    QCOMPARE(link->toolTip(), opens.isEmpty() ? QString() : site ? value : "mailto:" + value);
    clickText(link);
    // A target the box did not offer as a link is refused as well.
    for (const char* forged : {"file:///etc/passwd", "javascript:alert(1)", "mailto:x@y?attach=/etc/passwd"})
      emit link->linkActivated(QString::fromLatin1(forged));
    QCOMPARE(prompts.opened, opens.isEmpty() ? QList<QUrl>() : QList<QUrl>({QUrl(opens)}));
    QVERIFY(prompts.messages.isEmpty());
    // A link the desktop cannot open is reported.
    prompts.openSucceeds = false;
    clickText(link);
    QCOMPARE(prompts.messages.filter(QStringLiteral("warning Numbrix: Unable to open hyperlink")).size(),
             opens.isEmpty() ? 0 : 1);
    QCOMPARE(prompts.messages.size(), opens.isEmpty() ? 0 : 1);
  }

  // Texts that once strained the window, then seeded random texts over the
  // language's characters and some others, all in one window.
  void hostileTextsGetAnAnswerOrAnError() {
    Window w;
    QStringList texts({QString(5000, QLatin1Char('(')) + "1" + QString(5000, QLatin1Char(')')),
                       QStringLiteral("1+").repeated(20000) + "1", QStringLiteral("2 \u03c0 \u00e9 \U0001F600"),
                       QStringLiteral("1\u0001+\u00002"), QStringLiteral("= = ; ; + ) ("),
                       QString(10000, QLatin1Char('x')) + " = 1", QStringLiteral("a=1;").repeated(3000),
                       QStringLiteral("\t1 +\r\n\t2\r\n")});
    const QString alphabet = QStringLiteral("0123456789.eE+-*/%^()!&|$~<>=;, \n\tabxyzPIsincoqrtlgfdu0x0bABCDEF#@\"\\");
    std::mt19937 random(8);
    for (int i = 0; i < 400; ++i) {
      QString& text = texts.emplace_back();
      const int length = static_cast<int>(random() % 40);
      for (int j = 0; j < length; ++j) text += alphabet[static_cast<int>(random() % alphabet.size())];
    }
    for (const QString& text : texts) {
      const QString problem = w.evaluatePasted(text);
      QVERIFY2(problem.isEmpty(), qPrintable(problem + ": " + text.left(80)));
    }
    QVERIFY(w.evaluatePasted(QStringLiteral("probe = 6*7")).isEmpty() && w.dialog.messageLine()->text().isEmpty());
    QCOMPARE(w.dialog.logList()->item(0, 0)->text(), QStringLiteral("42"));  // and the window still works
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
