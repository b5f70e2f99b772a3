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
#include "ui/CResultViewDlg.h"
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
    mpfr_setsign(turns, turns, mpfr_signbit(value), MPFR_RNDN);  // the text's turns carry the value's sign
  }
  ~DegreesReference() { mpfr_clears(value, pi, rest, turns, nullptr); }
  mpfr_t value, pi, rest, turns;
};

}  // namespace

class ResultViewTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { IExprParser::resetInstance(); }

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
      mpz_fdiv_r_2exp(z, z, static_cast<mp_bitcnt_t>(i == 0 ? 0 : bits));  // 0 first
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
    for (const char* value : {"0", "7", "-7", "-1", "0.5", "6.28318", "123456.789", "-98765.4321", "1e-30"})
      QTest::newRow(value) << QString::fromLatin1(value);
  }
  void degreesTextsAgreeWithMpfr() {
    QFETCH(QString, value);
    const DegreesReference ref(value.toLatin1().constData());
    const QString text = QString::fromStdString(degreesText(bigfloat(value.toLatin1().constData(), 81)));
    const int plus = static_cast<int>(text.indexOf(QStringLiteral(" * 360 + ")));
    const bool turns = !mpfr_zero_p(ref.turns);  // whole turns are written only when there are some
    QVERIFY2(turns ? plus > 0 : plus == -1, qPrintable(text));
    if (turns) QCOMPARE(distance(text.left(plus), ref.turns), 0.0);
    QVERIFY2(distance(turns ? text.mid(plus + 9) : text, ref.rest) < 1e-38, qPrintable(text));
  }

  // After the clicks on the view of `value`: the text shown ("deg" for its
  // degrees text) and both groups' values on the buttons. Only whole values
  // that are not negative have radix texts; the other radix buttons are off.
  void radioButtonsFollowTheirRules_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QList<int>>("clicks");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("radix");
    QTest::addColumn<int>("angle");
    const auto row = [](const char* name, const QString& value, const QList<int>& clicks, const char* shown, int radix,
                        int angle) {
      QTest::newRow(name) << value << clicks << QString::fromLatin1(shown) << radix << angle;
    };
    const QString v = QStringLiteral("255");
    row("bin then oct", v, {ids::RadioBin, ids::RadioOct}, "377", 2, 0);
    row("hex then deg", v, {ids::RadioHex, ids::RadioDeg}, "deg", 0, 1);
    row("deg then hex", v, {ids::RadioDeg, ids::RadioHex}, "FF", 3, 0);
    row("deg then rad", v, {ids::RadioDeg, ids::RadioRad}, "255", 0, 0);
    row("hex then dec", v, {ids::RadioHex, ids::RadioDec}, "255", 0, 0);
    // Dec while degrees show: its group's value is already Dec, so nothing changes.
    row("deg then dec", v, {ids::RadioDeg, ids::RadioDec}, "deg", 0, 1);
    // Rad while a radix shows: the angle is already Rad, so nothing changes.
    row("oct then rad", v, {ids::RadioOct, ids::RadioRad}, "377", 2, 0);
    row("negative", QStringLiteral("-1"), {ids::RadioHex}, "-1", 0, 0);
    row("fraction", QStringLiteral("0.5"), {ids::RadioBin, ids::RadioDeg}, "deg", 0, 1);
    // A value within a hair of an integer (1/3*3 at 81 digits) is viewed as that integer.
    row("near an integer", "0." + QString(80, QLatin1Char('9')), {}, "1", 0, 0);
  }
  void radioButtonsFollowTheirRules() {
    QFETCH(QString, value);
    QFETCH(QList<int>, clicks);
    QFETCH(QString, shown);
    QFETCH(int, radix);
    QFETCH(int, angle);
    const bigfloat number(value.toLatin1().constData(), 81);
    CResultViewDlg view(QStringLiteral("v"), number);
    view.show();
    QCOMPARE(qobject_cast<QLabel*>(findControl(&view, ids::ViewLabel))->text(), QStringLiteral("v ="));
    const bool whole = value == QLatin1String("255") || value.size() > 80;  // the whole values of the rows
    for (int id = ids::RadioDec; id <= ids::RadioHex; ++id) QCOMPARE(radio(view, id)->isEnabled(), whole);
    for (int id : clicks) QTest::mouseClick(radio(view, id), Qt::LeftButton);
    auto* edit = qobject_cast<QLineEdit*>(findControl(&view, ids::ViewText));
    QVERIFY(edit->isReadOnly());
    QCOMPARE(edit->text(), shown == "deg" ? QString::fromStdString(degreesText(number)) : shown);
    QVERIFY(radio(view, ids::RadioDec + radix)->isChecked() && radio(view, ids::RadioRad + angle)->isChecked());
  }

 private:
  static QRadioButton* radio(CResultViewDlg& view, int id) {
    return qobject_cast<QRadioButton*>(findControl(&view, id));
  }
};

QTEST_MAIN(ResultViewTest)
#include "result_view_test.moc"
