// The small controls: the splitter's layout and dragging, the output frame,
// the links and their failure messages, the button's hover state and the
// about box.
#include <QEnterEvent>
#include <QLayout>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include "FakePrompts.h"
#include "UiTestSupport.h"
#include "config/IConfig.h"
#include "ui/CAboutDlg.h"
#include "ui/CGuiButton.h"
#include "ui/CGuiSplitter.h"
#include "ui/CGuiStaticStandar.h"
#include "ui/CHyperLink.h"
#include "ui/CNumbrixDlg.h"
#include "ui/ControlIds.h"

namespace {

void enter(QWidget* widget) {
  QEnterEvent event(QPointF(2, 2), QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)));
  QApplication::sendEvent(widget, &event);
}

void leave(QWidget* widget) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(widget, &event);
}

QColor textColour(const QWidget* widget) { return widget->palette().color(QPalette::WindowText); }

// A splitter of `size` holding two plain panes.
struct Split {
  QWidget host;
  CGuiSplitter* splitter = new CGuiSplitter(&host);
  QWidget* pane1 = new QWidget;
  QWidget* pane2 = new QWidget;
  Split(QSize size, int orientation) {
    host.resize(size);
    splitter->setGeometry(QRect(QPoint(0, 0), size));
    splitter->setOrientation(orientation);
    host.show();
  }
  void setPanes() {
    splitter->setPane1(pane1);
    splitter->setPane2(pane2);
  }
  void drag(QPoint from, QPoint to) {
    QMouseEvent press(QEvent::MouseButtonPress, from, splitter->mapToGlobal(from), Qt::LeftButton, Qt::LeftButton,
                      {});
    QApplication::sendEvent(splitter, &press);
    QMouseEvent move(QEvent::MouseMove, to, splitter->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(splitter, &move);
  }
  void release(QPoint at) {
    QMouseEvent up(QEvent::MouseButtonRelease, at, splitter->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, {});
    QApplication::sendEvent(splitter, &up);
  }
};

}  // namespace

class ControlsTest : public QObject {
  Q_OBJECT

 private slots:
  void aSplitterWithoutBothPanesLaysOutNothing() {
    Split split(QSize(200, 300), 1);
    split.pane1->setGeometry(5, 6, 7, 8);
    split.splitter->setPane1(split.pane1);
    split.splitter->resize(210, 310);
    QCOMPARE(split.pane1->geometry(), QRect(5, 6, 7, 8));
    QVERIFY(split.splitter->bar().isEmpty());
  }

  void theBarStartsInTheMiddleWithInsetPanes_data() {
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QRect>("bar");
    QTest::addColumn<QRect>("first");
    QTest::addColumn<QRect>("second");
    // 200 wide, 300 high: the bar's trailing edge at the half.
    QTest::newRow("horizontal bar") << 1 << QRect(0, 146, 200, 4) << QRect(1, 1, 198, 144) << QRect(1, 151, 198, 148);
    QTest::newRow("vertical bar") << 0 << QRect(96, 0, 4, 300) << QRect(1, 1, 94, 298) << QRect(101, 1, 98, 298);
  }
  void theBarStartsInTheMiddleWithInsetPanes() {
    QFETCH(int, orientation);
    QFETCH(QRect, bar);
    QFETCH(QRect, first);
    QFETCH(QRect, second);
    Split split(QSize(200, 300), orientation);
    split.setPanes();
    QCOMPARE(split.splitter->bar(), bar);
    QCOMPARE(split.pane1->geometry(), first);
    QCOMPARE(split.pane2->geometry(), second);
  }

  void draggingMovesTheBarWithinTheArea() {
    Split split(QSize(200, 300), 1);
    split.setPanes();
    split.drag(QPoint(50, 147), QPoint(50, 62));
    QVERIFY(split.splitter->isDragging());
    QCOMPARE(split.splitter->bar(), QRect(0, 60, 200, 4));
    QCOMPARE(split.pane1->geometry(), QRect(1, 1, 198, 58));  // live while the mouse moves
    QCOMPARE(split.pane2->geometry(), QRect(1, 65, 198, 234));
    QMouseEvent far(QEvent::MouseMove, QPoint(50, 9000), split.splitter->mapToGlobal(QPoint(50, 9000)), Qt::NoButton,
                    Qt::LeftButton, {});
    QApplication::sendEvent(split.splitter, &far);
    QCOMPARE(split.splitter->bar(), QRect(0, 296, 200, 4));
    QMouseEvent above(QEvent::MouseMove, QPoint(50, -500), split.splitter->mapToGlobal(QPoint(50, -500)),
                      Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(split.splitter, &above);
    QCOMPARE(split.splitter->bar(), QRect(0, 0, 200, 4));
    split.release(QPoint(50, -500));
    QVERIFY(!split.splitter->isDragging());
    // After the release the mouse moves without the bar.
    QMouseEvent free(QEvent::MouseMove, QPoint(50, 100), split.splitter->mapToGlobal(QPoint(50, 100)), Qt::NoButton,
                     Qt::NoButton, {});
    QApplication::sendEvent(split.splitter, &free);
    QCOMPARE(split.splitter->bar(), QRect(0, 0, 200, 4));
  }

  void pressingOutsideTheBarDoesNotDrag() {
    Split split(QSize(200, 300), 1);
    split.setPanes();
    split.drag(QPoint(50, 20), QPoint(50, 200));
    QVERIFY(!split.splitter->isDragging());
    QCOMPARE(split.splitter->bar(), QRect(0, 146, 200, 4));
  }

  void resizingKeepsTheBarInside() {
    Split split(QSize(200, 300), 1);
    split.setPanes();
    split.drag(QPoint(50, 147), QPoint(50, 252));
    split.release(QPoint(50, 252));
    QCOMPARE(split.splitter->bar().top(), 250);
    split.splitter->resize(200, 100);
    QCOMPARE(split.splitter->bar(), QRect(0, 96, 200, 4));
    QCOMPARE(split.pane2->geometry().height() <= 0 || split.pane2->geometry().top() >= 100, true);
    split.splitter->resize(200, 400);
    QCOMPARE(split.splitter->bar().top(), 96);  // kept where it is
    QCOMPARE(split.pane2->geometry(), QRect(1, 101, 198, 298));
  }

  void theOutputFrameKeepsItsWindowFillingIt() {
    QWidget host;
    auto* frame = new CGuiStaticStandar(QStringLiteral("Output"), &host);
    frame->setGeometry(0, 0, 300, 200);
    auto* inside = new QWidget;
    frame->attach(inside);
    host.show();
    // The inside of the frame, less a thin margin that keeps its edge visible.
    const auto inner = [frame] { return frame->contentsRect().marginsRemoved(frame->layout()->contentsMargins()); };
    QCOMPARE(inside->parentWidget(), static_cast<QWidget*>(frame));
    QCOMPARE(inside->geometry(), inner());
    QVERIFY(inside->width() > 280 && inside->height() > 150);
    frame->resize(500, 400);
    QCOMPARE(inside->geometry(), inner());
    QVERIFY(inside->width() > 480 && inside->height() > 350);
    QCOMPARE(frame->title(), QStringLiteral("Output"));
  }

  void aButtonIsHoveredWhileTheMouseIsOverIt() {
    QWidget host;
    auto* button = new CGuiButton(QStringLiteral("7"), &host);
    host.show();
    QSignalSpy clicks(button, &QPushButton::clicked);
    QVERIFY(!button->isHovered());
    enter(button);
    QVERIFY(button->isHovered());
    leave(button);
    QVERIFY(!button->isHovered());
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks.count(), 1);
    button->setCaption(QStringLiteral("&&"));
    QCOMPARE(button->text(), QStringLiteral("&&"));
  }

  void aLinkTakesItsTextOrItsUrl() {
    CHyperLink textOnly(QStringLiteral("https://example.com/a"));
    textOnly.setUrl(QString());
    QCOMPARE(textOnly.url(), QStringLiteral("https://example.com/a"));
    QCOMPARE(textOnly.toolTip(), QStringLiteral("https://example.com/a"));
    CHyperLink urlOnly{QString()};
    urlOnly.setUrl(QStringLiteral("mailto:someone@example.com"));
    QCOMPARE(urlOnly.text(), QStringLiteral("mailto:someone@example.com"));
  }

  void aLinkChangesColourWhenHoveredAndVisited() {
    FakePrompts prompts;
    QWidget host;
    auto* link = new CHyperLink(QStringLiteral("site"), &host);
    link->setUrl(QStringLiteral("https://example.com/"));
    link->setColors(QColor(0, 0, 255), QColor(128, 0, 128), QColor(255, 0, 0));
    link->setUnderlineMode(CHyperLink::UnderlineHover);
    host.show();
    QCOMPARE(textColour(link), QColor(0, 0, 255));
    QVERIFY(!link->font().underline());
    enter(link);
    QCOMPARE(textColour(link), QColor(255, 0, 0));
    QVERIFY(link->font().underline());
    leave(link);
    QVERIFY(!link->font().underline());
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(prompts.opened, QList<QUrl>({QUrl(QStringLiteral("https://example.com/"))}));
    QVERIFY(link->isVisited());
    QCOMPARE(textColour(link), QColor(128, 0, 128));
    QVERIFY(prompts.messages.isEmpty());
    link->setUnderlineMode(CHyperLink::UnderlineAlways);
    QVERIFY(link->font().underline());
    link->setUnderlineMode(CHyperLink::UnderlineNever);
    enter(link);
    QVERIFY(!link->font().underline());
  }

  void aLinkThatCannotOpenSaysWhy_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing file") << QStringLiteral("/no/such/file/Manual.html")
                                  << QStringLiteral("The specified file was not found.");
    QTest::newRow("no program") << QStringLiteral("gopher://example.com/")
                                << QStringLiteral("There is no application associated\nwith the given filename extension.");
  }
  void aLinkThatCannotOpenSaysWhy() {
    QFETCH(QString, url);
    QFETCH(QString, reason);
    FakePrompts prompts;
    prompts.openSucceeds = false;
    CHyperLink link(QStringLiteral("x"));
    link.setUrl(url);
    link.open();
    QVERIFY(!link.isVisited());
    QCOMPARE(prompts.messages, QStringList({QStringLiteral("warning Numbrix: Unable to open hyperlink:\n\n") + reason}));
  }

  void theAboutBoxLinksTheDefaults() {
    ProgramFolder folder;
    CAboutDlg about;
    QCOMPARE(about.windowTitle(), QStringLiteral("About Numbrix"));
    QCOMPARE(about.webLink()->url(), QStringLiteral("https://www.example.org/numbrix"));
    QCOMPARE(about.contactLink()->url(), QStringLiteral("mailto:numbrix@example.org"));
    QCOMPARE(about.contactLink()->text(), QStringLiteral("numbrix@example.org"));
    QVERIFY(about.webLink()->isClickable() && about.contactLink()->isClickable());
    QCOMPARE(textColour(about.webLink()), QColor(0, 0, 255));
    QStringList labels;
    for (QLabel* label : about.findChildren<QLabel*>()) labels << label->text();
    QVERIFY(labels.contains(QStringLiteral("Numbrix (Version " NUMBRIX_VERSION ")")));
    QCOMPARE(about.findChild<QPushButton*>()->text(), QStringLiteral("&Close"));
    QTest::mouseClick(about.findChild<QPushButton*>(), Qt::LeftButton);
    QCOMPARE(about.result(), int(QDialog::Accepted));
  }

  // The settings file may name anything; only web pages and plain mail
  // addresses become links, the rest is shown as plain text that opens nothing.
  void theAboutBoxLinksOnlyWebAndMail_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("clickable");
    const auto row = [](const char* name, const char* key, const char* value, bool clickable) {
      QTest::newRow(name) << QString::fromLatin1(key) << QString::fromLatin1(value) << clickable;
    };
    row("https", "site", "https://numbers.example.net/", true);
    row("http", "site", "http://numbers.example.net/a?b=c", true);
    row("upper case", "site", "HTTP://NUMBERS.EXAMPLE.NET/", true);
    row("mail", "site", "mailto:help@example.net", true);
    row("file", "site", "file:///etc/passwd", false);
    row("plain path", "site", "/etc/passwd", false);
    row("share", "site", "smb://server/share", false);
    row("script", "site", "javascript:alert(1)", false);
    row("ftp", "site", "ftp://example.net/", false);
    row("mail with a query", "site", "mailto:help@example.net?attach=/etc/passwd", false);
    row("address", "email", "help@example.net", true);
    row("address with a query", "email", "x@y?attach=/etc/passwd", false);
    row("escaped query", "email", "x@y%3Fattach=/etc/passwd", false);
    row("line break", "email", "x@y\nattach=/etc/passwd", false);
  }
  void theAboutBoxLinksOnlyWebAndMail() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, clickable);
    ProgramFolder folder;
    FakePrompts prompts;
    IConfig* store = IConfig::instance(0);
    store->create("Config");
    store->add("/", key.toStdString(), value.toStdString());
    CAboutDlg about;
    about.show();
    CHyperLink* link = key == QLatin1String("site") ? about.webLink() : about.contactLink();
    QCOMPARE(link->text(), value);
    QCOMPARE(link->isClickable(), clickable);
    QCOMPARE(link->cursor().shape(), clickable ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QCOMPARE(textColour(link), clickable ? QColor(0, 0, 255) : about.palette().color(QPalette::WindowText));
    enter(link);
    QCOMPARE(link->font().underline(), clickable);
    QTest::mouseClick(link, Qt::LeftButton);
    const QUrl target(key == QLatin1String("site") ? value : QStringLiteral("mailto:") + value);
    QCOMPARE(prompts.opened, clickable ? QList<QUrl>({target}) : QList<QUrl>());
    QVERIFY(prompts.messages.isEmpty());
  }
};

QTEST_MAIN(ControlsTest)
#include "controls_test.moc"
