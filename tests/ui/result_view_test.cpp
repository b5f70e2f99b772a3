// The result view: its radix texts against GMP, its degrees text against
// MPFR, its two radio groups and its width box driven by clicks, and its
// scrolling field.
#include <gmp.h>
#include <mpfr.h>

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QtTest>

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

  // Random integers of either sign, 0 first, half up to 110 bits and half up
  // to 10000 (about 3000 digits): the digits are GMP's, for a negative value
  // those of 2^W + value in the smallest whole bytes W that hold it with its
  // sign bit, and the separators follow the grouping.
  void radixTextsAgreeWithGmp() {
    gmp_randstate_t random;
    gmp_randinit_mt(random);
    gmp_randseed_ui(random, 20261206);
    mpz_t z, pattern;
    mpz_inits(z, pattern, nullptr);
    for (unsigned long i = 0; i < 300; ++i) {
      mpz_urandomb(z, random, i == 0 ? 0 : 1 + gmp_urandomm_ui(random, i < 150 ? 110 : 10000));
      if (i % 2 == 1) mpz_neg(z, z);
      char* text = mpz_get_str(nullptr, 10, z);
      const bigfloat value(text, bignum::INFINITE);
      free(text);
      mpz_set(pattern, z);
      if (mpz_sgn(z) < 0) {
        mpz_com(pattern, z);  // -z - 1
        const mp_bitcnt_t width = (mpz_sizeinbase(pattern, 2) + 8) / 8 * 8;
        mpz_set_ui(pattern, 0);
        mpz_setbit(pattern, width);
        mpz_add(pattern, pattern, z);
      }
      for (int base : {2, 8, 16}) {
        const QString ours = QString::fromStdString(integerRadixText(value, base, 0).value());
        QVERIFY2(groupingPattern(base).match(ours).hasMatch(), qPrintable(ours));
        QString digits = ours;
        digits.remove(QLatin1Char(' ')).remove(QLatin1Char(','));
        QCOMPARE(digits, gmpDigits(pattern, base));
      }
    }
    mpz_clears(z, pattern, nullptr);
    gmp_randclear(random);
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
  // have radix texts; the other radix buttons are off. The width box is on
  // for negative integers only.
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
    row("negative", QStringLiteral("-1"), {ids::RadioHex}, "FF", 3, 0);
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
    const bool whole = value != QLatin1String("0.5");  // the whole values of the rows
    for (int id = ids::RadioDec; id <= ids::RadioHex; ++id) QCOMPARE(radio(view, id)->isEnabled(), whole);
    QCOMPARE(findControl(&view, ids::ViewWidth)->isEnabled(), value.startsWith(QLatin1Char('-')));
    for (int id : clicks) QTest::mouseClick(radio(view, id), Qt::LeftButton);
    QCOMPARE(view.shownText(), shown == "deg" ? QString::fromStdString(degreesText(number)) : shown);
    QVERIFY(radio(view, ids::RadioDec + radix)->isChecked() && radio(view, ids::RadioRad + angle)->isChecked());
  }

  // A negative integer's two's complement in the width chosen after Hex was
  // clicked (0: the default, the smallest that fits), then in Bin and Oct;
  // empty texts are not checked.
  void twosComplementTexts_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("texts");  // hex, bin, oct
    // `count` bytes, `high` ones and then `last`, `per` to a group joined by blanks, the groups by ", ".
    const auto bytes = [](int count, const char* high, const char* last, int per) {
      QStringList all = QStringList(count - 1, QString::fromLatin1(high)) << QString::fromLatin1(last), groups;
      for (qsizetype i = 0; i < all.size(); i += per) groups << all.mid(i, per).join(QLatin1Char(' '));
      return groups.join(QStringLiteral(", "));
    };
    const auto row = [](const char* tag, const char* value, int width, const QStringList& texts) {
      QTest::addRow(tag, value, width) << QString::fromLatin1(value) << width << texts;
    };
    for (const auto& [value, smallest, hex, bin, oct] : {std::tuple{"-1", 8, "FF", "1111 1111", "377"},
                                                         {"-128", 8, "80", "1000 0000", "200"},
                                                         {"-129", 16, "7F", "0111 1111", "177 577"}}) {
      for (int width : {8, 16, 32, 64, 128, 0}) {
        const int bits = width == 0 ? smallest : width;
        const QString note = QStringLiteral("%1 does not fit in %2 bits").arg(QLatin1String(value)).arg(bits);
        row("%s in %d", value, width,
            bits < smallest ? QStringList(3, note)
                            : QStringList{bytes(bits / 8, "FF", hex, 4), bytes(bits / 8, "1111 1111", bin, 1),
                                          bits == smallest ? QString::fromLatin1(oct) : QString()});
      }
    }
    row("%s in %d, octal", "-1", 128, {{}, {}, "3 777 777, 777 777 777 777, 777 777 777 777, 777 777 777 777"});
    // -2^127 and one below it.
    row("%s in %d", "-170141183460469231731687303715884105728", 128,
        {"80 00 00 00, 00 00 00 00, 00 00 00 00, 00 00 00 00"});
    row("%s in %d", "-170141183460469231731687303715884105729", 128,
        {"-170141183460469231731687303715884105729 does not fit in 128 bits"});
  }
  void twosComplementTexts() {
    QFETCH(QString, value);
    QFETCH(int, width);
    QFETCH(QStringList, texts);
    CResultViewDlg view(QStringLiteral("v"), bigfloat(value.toLatin1().constData(), 81));
    view.show();
    QTest::mouseClick(radio(view, ids::RadioHex), Qt::LeftButton);
    auto* box = qobject_cast<QComboBox*>(findControl(&view, ids::ViewWidth));
    QCOMPARE(box->currentText(), QStringLiteral("Smallest that fits"));
    if (width != 0) box->setCurrentIndex(box->findData(width));
    for (qsizetype i = 0; i < texts.size(); ++i) {
      if (i > 0) QTest::mouseClick(radio(view, i == 1 ? ids::RadioBin : ids::RadioOct), Qt::LeftButton);
      if (!texts[i].isEmpty()) QCOMPARE(view.shownText(), texts[i]);
    }
  }

  // A 2000-digit integer in binary: the whole text in the field, which wraps,
  // scrolls, and copies; the view can be resized.
  void longTextScrolls() {
    const bigfloat value(QByteArray("1234567890").repeated(200).constData(), bignum::INFINITE);
    CResultViewDlg view(QStringLiteral("v"), value);
    view.resize(500, 200);
    view.show();
    QTest::mouseClick(radio(view, ids::RadioBin), Qt::LeftButton);
    auto* edit = qobject_cast<QPlainTextEdit*>(findControl(&view, ids::ViewText));
    const QString text = QString::fromStdString(radixText(value, 2));
    QCOMPARE(edit->toPlainText(), text);
    QVERIFY(edit->isReadOnly() && edit->wordWrapMode() == QTextOption::WrapAnywhere);
    QCoreApplication::processEvents();
    QVERIFY(edit->verticalScrollBar()->maximum() > 0);
    edit->selectAll();
    edit->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), text);
    QVERIFY(view.maximumHeight() > view.minimumHeight());
  }

 private:
  static QRadioButton* radio(CResultViewDlg& view, int id) {
    return qobject_cast<QRadioButton*>(findControl(&view, id));
  }
};

QTEST_MAIN(ResultViewTest)
#include "result_view_test.moc"
