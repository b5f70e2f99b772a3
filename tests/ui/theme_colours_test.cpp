// Colours that follow the theme: the contrast measure, the readable colour
// search, and the keypad captions, message line, splitter bar and about-box
// links of the real windows in a light and a dark palette.
#include <QApplication>
#include <QLabel>
#include <QRegularExpression>
#include <QStyle>
#include <QtTest>

#include "UiTestSupport.h"
#include "ui/CAboutDlg.h"
#include "ui/CGuiButton.h"
#include "ui/CNumbrixMiniDlg.h"
#include "ui/ThemeColours.h"

namespace {

// The light and the dark palette, each made the application's in turn as a
// theme change would, with `check` run after each.
void inBothPalettes(const std::function<void(const QPalette&)>& check) {
  // The dark one: white text, the other roles derived from the button and window colours.
  for (const QPalette& palette :
       {QApplication::style()->standardPalette(), QPalette(QColor(0x353535), QColor(0x2d2d2d))}) {
    QApplication::setPalette(palette);
    QCoreApplication::processEvents();  // the widgets hear of it through the event loop
    check(palette);
  }
}

// What is wrong with `button`'s caption as painted now: a pixel of the face
// under the caption's box standing out less than 4.5:1 from the caption
// colour, or no pixel painted in that colour (one thin glyph may have none).
QString captionProblem(CGuiButton* button) {
  const QColor shown = button->shownCaptionColor();
  const QString caption = button->text();
  const QImage painted = button->grab().toImage();
  button->setCaption(QString());
  const QImage face = button->grab().toImage();
  button->setCaption(caption);
  QFont bold = button->font();
  bold.setBold(true);
  QRect under = QFontMetrics(bold).boundingRect(caption);
  under.moveCenter(button->rect().center());
  double worst = 21;
  bool inked = caption.size() == 1;
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x) {
      if (under.contains(x, y)) worst = std::min(worst, contrastRatio(shown, face.pixelColor(x, y)));
      inked = inked || painted.pixelColor(x, y).rgb() == shown.rgb();
    }
  }
  if (worst >= 4.5 && inked) return {};
  return QStringLiteral("%1 %2 %3%4").arg(caption, shown.name()).arg(worst, 0, 'f', 2).arg(inked ? "" : " unpainted");
}

// The caption problems of every keypad button of `window` in both palettes,
// plain, hovered and pressed.
QStringList captionProblems(QWidget* window) {
  window->show();
  QStringList problems;
  inBothPalettes([&](const QPalette&) {
    for (CGuiButton* button : window->findChildren<CGuiButton*>()) {
      for (const char* look : {"hovered", "pressed", "plain"}) {
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(button, qstrcmp(look, "hovered") == 0 ? static_cast<QEvent*>(&enter) : &leave);
        button->setDown(qstrcmp(look, "pressed") == 0);
        const QString problem = captionProblem(button);
        if (!problem.isEmpty()) problems << problem + ' ' + look;
      }
    }
  });
  return problems;
}

}  // namespace

class ThemeColoursTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QApplication::setPalette(QApplication::style()->standardPalette()); }

  void contrastRatioMatchesKnownValues() {
    const struct {
      QColor a, b;
      double ratio;
    } cases[] = {{Qt::black, Qt::white, 21},
                 {QColor(0x123456), QColor(0x123456), 1},
                 {QColor(0xff0000), Qt::white, 3.9985},
                 {Qt::white, QColor(0x0000ff), 8.5925},
                 {QColor(0x777777), Qt::white, 4.4781},
                 {QColor(0x767676), Qt::white, 4.5422}};
    for (const auto& c : cases) QVERIFY2(qAbs(contrastRatio(c.a, c.b) - c.ratio) < 5e-4, qPrintable(c.a.name()));
  }

  // The nominal colour when it qualifies; else its hue at the nearest
  // qualifying lightness on the right side: one step back falls short.
  void readableOnMovesJustFarEnough() {
    const struct {
      QColor nominal, background;
      double minimum;
      bool darker;
    } cases[] = {{QColor(0xff0000), Qt::white, 4.5, true},         {QColor(0xff6060), QColor(0xefefef), 4.5, true},
                 {QColor(0x0000ff), QColor(0x353535), 4.5, false}, {QColor(0x606060), QColor(0x2d2d2d), 3, false},
                 {QColor(0x808080), QColor(0x808080), 4.5, true},  {QColor(0x0000ff), Qt::white, 4.5, true}};
    for (const auto& c : cases) {
      const QColor shown = readableOn(c.nominal, c.background, c.minimum);
      QVERIFY2(contrastRatio(shown, c.background) >= c.minimum, qPrintable(shown.name()));
      if (contrastRatio(c.nominal, c.background) >= c.minimum) {
        QCOMPARE(shown, c.nominal);
        continue;
      }
      QCOMPARE(shown.lightness() < c.nominal.lightness(), c.darker);
      QCOMPARE(shown.hslHue(), c.nominal.hslHue());
      const int back = shown.lightness() + (c.darker ? 2 : -2);
      QVERIFY(contrastRatio(QColor::fromHsl(shown.hslHue(), shown.hslSaturation(), back), c.background) < c.minimum);
    }
  }

  // The same windows switched from the light palette to the dark one.
  void captionsReadableAfterEveryPaletteChange() {
    ProgramFolder folder;
    AppState state;
    state.directory = folder.path().toStdString();
    QStringList problems;
    {
      CNumbrixDlg main(state);
      problems << captionProblems(&main);
    }
    CNumbrixMiniDlg mini(state);
    problems << captionProblems(&mini);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
  }

  void messageSplitterAndLinksReadableInBothPalettes() {
    ProgramFolder folder;
    CAboutDlg about;
    about.show();
    inBothPalettes([&](const QPalette& palette) {
      const QColor window = palette.color(QPalette::Window);
      QVERIFY(contrastRatio(messageColour(palette), window) >= 4.5);
      QCOMPARE(messageColour(palette).hslHue(), 0);
      QVERIFY(contrastRatio(splitterBarColour(palette), window) >= 3);
      for (QLabel* link : {about.contactLink(), about.webLink()}) {
        const QString colour =
            QRegularExpression(QStringLiteral("color:(#[0-9a-f]{6})")).match(link->text()).captured(1);
        QVERIFY2(contrastRatio(QColor(colour), link->palette().color(QPalette::Window)) >= 4.5, qPrintable(colour));
      }
    });
  }
};

QTEST_MAIN(ThemeColoursTest)
#include "theme_colours_test.moc"
