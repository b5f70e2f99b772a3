// The result view: its radix texts against GMP, its degrees text against
// MPFR, and its two radio groups driven by clicks.
#include <gmp.h>
#include <mpfr.h>

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include <random>

#include "UiTestSupport.h"
#include "expr/Constants.h"
#include "ui/CResultViewDlg.h"
#include "ui/ControlIds.h"
#include "ui/ResultTexts.h"

using bignum::bigfloat;

namespace {

// The grouping of each base as a pattern over the whole text.
const QRegularExpression& groupingPattern(int base) {
  static const QRegularExpression bin(QStringLiteral("^([01]{1,4}|[01]{1,4} [01]{4})(, [01]{4} [01]{4})*$"));
  static const QRegularExpression oct(
      QStringLiteral("^[0-7]{1,3}( [0-7]{3}){0,3}(, [0-7]{3} [0-7]{3} [0-7]{3} [0-7]{3})*$"));
  static const QRegularExpression hex(
      QStringLiteral("^[0-9A-F]{1,2}( [0-9A-F]{2}){0,3}(, [0-9A-F]{2} [0-9A-F]{2} [0-9A-F]{2} [0-9A-F]{2})*$"));
  return base == 2 ? bin : base == 8 ? oct : hex;
}

QString gmpDigits(const mpz_t z, int base) {
  std::string s(mpz_sizeinbase(z, base) + 2, '\0');
  mpz_get_str(s.data(), -base, z);  // upper-case letters
  return QString::fromLatin1(s.c_str());
}

// |text - expected| as an MPFR number, both read at 400 bits.
double distance(const QString& text, const mpfr_t expected) {
  mpfr_t x;
  mpfr_init2(x, 400);
  const int bad = mpfr_set_str(x, text.toLatin1().constData(), 10, MPFR_RNDN);
  mpfr_sub(x, x, expected, MPFR_RNDN);
  const double d = bad ? 1e300 : std::fabs(mpfr_get_d(x, MPFR_RNDN));
  mpfr_clear(x);
  return d;
}

// Values reach the view from the evaluator with 81 digits, and so they are made here.

// The degrees text of `v` as computed by MPFR: "[-]turns * 360 + rest" or "rest".
struct DegreesReference {
  explicit DegreesReference(const char* v) {
    mpfr_inits2(400, value, pi, rest, turns, nullptr);
    mpfr_set_str(value, v, 10, MPFR_RNDN);
    mpfr_const_pi(pi, MPFR_RNDN);
    mpfr_mul_ui(rest, value, 180, MPFR_RNDN);
    mpfr_div(rest, rest, pi, MPFR_RNDN);
    mpfr_fmod_ui(rest, rest, 360, MPFR_RNDN);
    mpfr_abs(turns, value, MPFR_RNDN);
    mpfr_div(turns, turns, pi, MPFR_RNDN);
    mpfr_div_2ui(turns, turns, 1, MPFR_RNDN);
    mpfr_floor(turns, turns);
  }
  ~DegreesReference() { mpfr_clears(value, pi, rest, turns, nullptr); }
  mpfr_t value, pi, rest, turns;
};

}  // namespace

class ResultViewTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { IExprParser::resetInstance(); }

  void radixTextsOfTheExamples_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("base");
    QTest::addColumn<QString>("text");
    QTest::newRow("255 hex") << "255" << 16 << "FF";
    QTest::newRow("256 hex") << "256" << 16 << "1 00";
    QTest::newRow("2^32 hex") << "4294967296" << 16 << "1, 00 00 00 00";
    QTest::newRow("9 bin") << "9" << 2 << "1001";
    QTest::newRow("256 bin") << "256" << 2 << "1, 0000 0000";
    QTest::newRow("4095 oct") << "4095" << 8 << "7 777";
    QTest::newRow("0 hex") << "0" << 16 << "0";
    QTest::newRow("0 bin") << "0" << 2 << "0";
    QTest::newRow("16 bin") << "16" << 2 << "1 0000";
    QTest::newRow("8^4 oct") << "4096" << 8 << "10 000";
    QTest::newRow("8^12 oct") << "68719476736" << 8 << "1, 000 000 000 000";
    QTest::newRow("2^32-1 hex") << "4294967295" << 16 << "FF FF FF FF";
  }
  void radixTextsOfTheExamples() {
    QFETCH(QString, value);
    QFETCH(int, base);
    QFETCH(QString, text);
    QCOMPARE(QString::fromStdString(radixText(bigfloat(value.toLatin1().constData()), base)), text);
  }

  // Random integers up to 110 bits (the evaluator's values stay below 1e33):
  // the digits are GMP's and the separators follow the grouping.
  void radixTextsAgreeWithGmp() {
    std::mt19937_64 random(20261206);
    mpz_t z;
    mpz_init(z);
    for (int i = 0; i < 300; ++i) {
      const int bits = 1 + static_cast<int>(random() % 110);
      mpz_set_ui(z, random());
      mpz_mul_2exp(z, z, 64);
      mpz_add_ui(z, z, random());
      mpz_fdiv_r_2exp(z, z, static_cast<mp_bitcnt_t>(bits));
      char* text = mpz_get_str(nullptr, 10, z);
      const bigfloat value(text);
      free(text);
      for (int base : {2, 8, 16}) {
        const QString ours = QString::fromStdString(radixText(value, base));
        QVERIFY2(groupingPattern(base).match(ours).hasMatch(), qPrintable(ours));
        QString digits = ours;
        digits.remove(QLatin1Char(' ')).remove(QLatin1Char(','));
        QCOMPARE(digits, gmpDigits(z, base));
      }
    }
    mpz_clear(z);
  }

  void degreesTextsAgreeWithMpfr_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("7") << "7";
    QTest::newRow("-7") << "-7";
    QTest::newRow("-1") << "-1";
    QTest::newRow("0.5") << "0.5";
    QTest::newRow("just below a turn") << "6.28318";
    QTest::newRow("many turns") << "123456.789";
    QTest::newRow("negative many turns") << "-98765.4321";
    QTest::newRow("tiny") << "1e-30";
  }
  void degreesTextsAgreeWithMpfr() {
    QFETCH(QString, value);
    const DegreesReference ref(value.toLatin1().constData());
    const QString text = QString::fromStdString(degreesText(bigfloat(value.toLatin1().constData(), 81)));
    const int plus = static_cast<int>(text.indexOf(QStringLiteral(" * 360 + ")));
    if (mpfr_zero_p(ref.turns)) {
      QCOMPARE(plus, -1);
      QVERIFY2(distance(text, ref.rest) < 1e-38, qPrintable(text));
      return;
    }
    QVERIFY2(plus > 0, qPrintable(text));
    QString turns = text.left(plus);
    QCOMPARE(turns.startsWith(QLatin1Char('-')), value.startsWith(QLatin1Char('-')));
    if (turns.startsWith(QLatin1Char('-'))) turns.remove(0, 1);
    QCOMPARE(distance(turns, ref.turns), 0.0);
    QVERIFY2(distance(text.mid(plus + 9), ref.rest) < 1e-38, qPrintable(text));
  }

  void theExamplesOfTheDegreesText() {
    QVERIFY(QString::fromStdString(degreesText(bigfloat(7))).startsWith(QStringLiteral("1 * 360 + 41.07")));
    QVERIFY(QString::fromStdString(degreesText(bigfloat(-7))).startsWith(QStringLiteral("-1 * 360 + -41.07")));
    QVERIFY(QString::fromStdString(degreesText(bigfloat(-1))).startsWith(QStringLiteral("-57.29577951308232")));
    QCOMPARE(QString::fromStdString(degreesText(bigfloat(0))), QStringLiteral("0"));
  }

  void theViewOfAnIntegerOffersEveryText() {
    CResultViewDlg view(QStringLiteral("x"), bigfloat(256));
    view.show();
    QCOMPARE(qobject_cast<QLabel*>(findControl(&view, ids::ViewLabel))->text(), QStringLiteral("x ="));
    auto* edit = qobject_cast<QLineEdit*>(findControl(&view, ids::ViewText));
    QVERIFY(edit->isReadOnly());
    QCOMPARE(view.texts()[0], QStringLiteral("256"));
    QCOMPARE(view.texts()[1], QStringLiteral("1, 0000 0000"));
    QCOMPARE(view.texts()[2], QStringLiteral("400"));
    QCOMPARE(view.texts()[3], QStringLiteral("1 00"));
    QCOMPARE(view.texts()[4], QString::fromStdString(degreesText(bigfloat(256))));
    QCOMPARE(edit->text(), QStringLiteral("256"));
    for (int id = ids::RadioDec; id <= ids::RadioDeg; ++id) QVERIFY(findControl(&view, id)->isEnabled());
    QVERIFY(radio(view, ids::RadioDec)->isChecked());
    QVERIFY(radio(view, ids::RadioRad)->isChecked());
  }

  // Each click: the text shown, then both groups' values on the buttons.
  void radioButtonsFollowTheirRules_data() {
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("radix");
    QTest::addColumn<int>("angle");
    const QString deg = QString::fromStdString(degreesText(bigfloat(255)));
    QTest::newRow("hex") << QList<int>{ids::RadioHex} << "FF" << 3 << 0;
    QTest::newRow("bin then oct") << QList<int>{ids::RadioBin, ids::RadioOct} << "377" << 2 << 0;
    QTest::newRow("deg") << QList<int>{ids::RadioDeg} << deg << 0 << 1;
    QTest::newRow("hex then deg") << QList<int>{ids::RadioHex, ids::RadioDeg} << deg << 0 << 1;
    QTest::newRow("deg then hex") << QList<int>{ids::RadioDeg, ids::RadioHex} << "FF" << 3 << 0;
    QTest::newRow("deg then rad") << QList<int>{ids::RadioDeg, ids::RadioRad} << "255" << 0 << 0;
    QTest::newRow("hex then dec") << QList<int>{ids::RadioHex, ids::RadioDec} << "255" << 0 << 0;
    // Dec while degrees show: its group's value is already Dec, so nothing changes.
    QTest::newRow("deg then dec") << QList<int>{ids::RadioDeg, ids::RadioDec} << deg << 0 << 1;
    // Rad while a radix shows: the angle is already Rad, so nothing changes.
    QTest::newRow("oct then rad") << QList<int>{ids::RadioOct, ids::RadioRad} << "377" << 2 << 0;
    QTest::newRow("hex twice") << QList<int>{ids::RadioHex, ids::RadioHex} << "FF" << 3 << 0;
  }
  void radioButtonsFollowTheirRules() {
    QFETCH(QList<int>, clicks);
    QFETCH(QString, shown);
    QFETCH(int, radix);
    QFETCH(int, angle);
    CResultViewDlg view(QStringLiteral("v"), bigfloat(255));
    view.show();
    for (int id : clicks) QTest::mouseClick(radio(view, id), Qt::LeftButton);
    QCOMPARE(view.shownText(), shown);
    QCOMPARE(view.radix(), radix);
    QCOMPARE(view.angle(), angle);
    QVERIFY(radio(view, ids::RadioDec + radix)->isChecked());
    QVERIFY(radio(view, ids::RadioRad + angle)->isChecked());
  }

  void negativeAndFractionalValuesHaveNoRadixTexts_data() {
    QTest::addColumn<QString>("value");
    QTest::newRow("-1") << "-1";
    QTest::newRow("0.5") << "0.5";
    QTest::newRow("-2.25") << "-2.25";
  }
  void negativeAndFractionalValuesHaveNoRadixTexts() {
    QFETCH(QString, value);
    CResultViewDlg view(QStringLiteral("y"), bigfloat(value.toLatin1().constData(), 81));
    view.show();
    for (int id : {ids::RadioDec, ids::RadioBin, ids::RadioOct, ids::RadioHex})
      QVERIFY(!findControl(&view, id)->isEnabled());
    QVERIFY(view.texts()[1].isEmpty() && view.texts()[3].isEmpty());
    QTest::mouseClick(radio(view, ids::RadioHex), Qt::LeftButton);  // disabled: nothing happens
    QCOMPARE(view.shownText(), value);
    QTest::mouseClick(radio(view, ids::RadioDeg), Qt::LeftButton);
    QCOMPARE(view.shownText(), QString::fromStdString(degreesText(bigfloat(value.toLatin1().constData(), 81))));
  }

  // A value within a hair of an integer (1/3*3 at 81 digits) is viewed as that integer.
  void aNearIntegerIsViewedAsTheInteger() {
    const std::string nines = "0." + std::string(80, '9');
    CResultViewDlg view(QStringLiteral("z"), bigfloat(nines.c_str(), 81));
    QVERIFY(findControl(&view, ids::RadioHex)->isEnabled());
    QCOMPARE(view.texts()[0], QStringLiteral("1"));
    QCOMPARE(view.texts()[3], QStringLiteral("1"));
    QCOMPARE(view.texts()[4], QString::fromStdString(degreesText(bigfloat(1, 81))));
  }

 private:
  static QRadioButton* radio(CResultViewDlg& view, int id) {
    return qobject_cast<QRadioButton*>(findControl(&view, id));
  }
};

QTEST_MAIN(ResultViewTest)
#include "result_view_test.moc"
