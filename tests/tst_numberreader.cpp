// Reading a typed number and the range and rounding rule of the three settings
// entries, without any window.
#include "rules/NumberReader.h"

#include <QTest>

#include <cmath>
#include <limits>

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

QString Repeat(const char* piece, int times)
{
    return QString::fromLatin1(piece).repeated(times);
}

}  // namespace

class TestNumberReader : public QObject {
    Q_OBJECT
private slots:
    void readsTheLongestLeadingNumber_data();
    void readsTheLongestLeadingNumber();
    void hugeAndTinyNumbersNeverOverflow_data();
    void hugeAndTinyNumbersNeverOverflow();
    void stepsAreRangeTestedBeforeRounding_data();
    void stepsAreRangeTestedBeforeRounding();
    void intervalsAreRangeTestedBeforeRounding_data();
    void intervalsAreRangeTestedBeforeRounding();
};

void TestNumberReader::readsTheLongestLeadingNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    // The program's own examples and the start-up texts.
    QTest::newRow("abc gives 0") << QStringLiteral("abc") << 0.0;
    QTest::newRow("empty text gives 0") << QString() << 0.0;
    QTest::newRow("12abc gives 12") << QStringLiteral("12abc") << 12.0;
    QTest::newRow("1 0 gives 10") << QStringLiteral("1 0") << 10.0;
    QTest::newRow("start text ' 1'") << QStringLiteral(" 1") << 1.0;
    QTest::newRow("start text ' 100'") << QStringLiteral(" 100") << 100.0;

    // Blanks, tabs and line feeds anywhere; a carriage return is no blank.
    QTest::newRow("tab and line feed between digits") << QStringLiteral("1\t2\n3") << 123.0;
    QTest::newRow("blanks inside the exponent") << QStringLiteral("1 e 2") << 100.0;
    QTest::newRow("blank between sign and digits") << QStringLiteral("- 3") << -3.0;
    QTest::newRow("carriage return ends the number") << QStringLiteral("1\r2") << 1.0;
    QTest::newRow("only blanks give 0") << QStringLiteral(" \t\n ") << 0.0;

    // Decimal point.
    QTest::newRow("1.5") << QStringLiteral("1.5") << 1.5;
    QTest::newRow("leading point .5") << QStringLiteral(".5") << 0.5;
    QTest::newRow("trailing point 5.") << QStringLiteral("5.") << 5.0;
    QTest::newRow("a second point ends the number") << QStringLiteral("1.2.3") << 1.2;
    QTest::newRow("a lone point gives 0") << QStringLiteral(".") << 0.0;
    QTest::newRow("a comma is no decimal point") << QStringLiteral("1,5") << 1.0;

    // Signs.
    QTest::newRow("minus") << QStringLiteral("-3") << -3.0;
    QTest::newRow("plus") << QStringLiteral("+7") << 7.0;
    QTest::newRow("two signs give 0") << QStringLiteral("--1") << 0.0;
    QTest::newRow("plus then minus gives 0") << QStringLiteral("+-1") << 0.0;
    QTest::newRow("a lone sign gives 0") << QStringLiteral("-") << 0.0;
    QTest::newRow("minus zero reads as zero") << QStringLiteral("-0") << 0.0;

    // Exponents with E or D, either case.
    QTest::newRow("1e2") << QStringLiteral("1e2") << 100.0;
    QTest::newRow("1E2") << QStringLiteral("1E2") << 100.0;
    QTest::newRow("1d2") << QStringLiteral("1d2") << 100.0;
    QTest::newRow("1D-1") << QStringLiteral("1D-1") << 0.1;
    QTest::newRow("2.5e+1") << QStringLiteral("2.5e+1") << 25.0;
    QTest::newRow("exponent without digits is ignored") << QStringLiteral("1e") << 1.0;
    QTest::newRow("exponent with a sign alone is ignored") << QStringLiteral("1e+") << 1.0;
    QTest::newRow("a point ends the exponent") << QStringLiteral("3e1.5") << 30.0;
    QTest::newRow("other letters are no exponent") << QStringLiteral("2x3") << 2.0;
    QTest::newRow("an exponent alone gives 0") << QStringLiteral("e5") << 0.0;

    // Hexadecimal and octal.
    QTest::newRow("&H10 is 16") << QStringLiteral("&H10") << 16.0;
    QTest::newRow("&h1f is 31") << QStringLiteral("&h1f") << 31.0;
    QTest::newRow("&HFFFF is 65535") << QStringLiteral("&HFFFF") << 65535.0;
    QTest::newRow("&O17 is 15") << QStringLiteral("&O17") << 15.0;
    QTest::newRow("&o78 stops at 8") << QStringLiteral("&o78") << 7.0;
    QTest::newRow("&H1G stops at G") << QStringLiteral("&H1G") << 1.0;
    QTest::newRow("blanks inside &H") << QStringLiteral(" & H 1 0") << 16.0;
    QTest::newRow("&H without digits gives 0") << QStringLiteral("&H") << 0.0;
    QTest::newRow("&X1 gives 0") << QStringLiteral("&X1") << 0.0;
    QTest::newRow("& followed by digits gives 0") << QStringLiteral("&12") << 0.0;
    QTest::newRow("a sign before &H gives 0") << QStringLiteral("-&H10") << 0.0;
    QTest::newRow("hexadecimal has no point") << QStringLiteral("&H1.8") << 1.0;

    // Full-width forms as an input method types them.
    QTest::newRow("full-width digits") << QStringLiteral("１２") << 12.0;
    QTest::newRow("full-width minus") << QStringLiteral("－５") << -5.0;
    QTest::newRow("full-width plus") << QStringLiteral("＋３") << 3.0;
    QTest::newRow("full-width point") << QStringLiteral("１．５") << 1.5;
    QTest::newRow("full-width E") << QStringLiteral("１Ｅ２") << 100.0;
    QTest::newRow("full-width e") << QStringLiteral("１ｅ２") << 100.0;
    QTest::newRow("full-width D") << QStringLiteral("１Ｄ１") << 10.0;
    QTest::newRow("full-width &H") << QStringLiteral("＆Ｈ１Ｆ") << 31.0;
    QTest::newRow("full-width &h and f") << QStringLiteral("＆ｈｆ") << 15.0;
    QTest::newRow("full-width &O") << QStringLiteral("＆Ｏ１７") << 15.0;
    QTest::newRow("ideographic space is a blank") << QStringLiteral("１　０") << 10.0;
    QTest::newRow("mixed widths") << QStringLiteral("1２.５") << 12.5;
    QTest::newRow("full-width text after the number") << QStringLiteral("３０ピクセル") << 30.0;
    QTest::newRow("other scripts' digits are no digits") << QStringLiteral("٣") << 0.0;
    QTest::newRow("a character outside the basic plane ends it") << QStringLiteral("7😀8") << 7.0;
}

void TestNumberReader::readsTheLongestLeadingNumber()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double read = ReadNumber(text);
    QCOMPARE(read, value);
    QVERIFY(!std::signbit(read) || read != 0);
}

// clang-format off
void TestNumberReader::hugeAndTinyNumbersNeverOverflow_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("1e400 is infinite") << QStringLiteral("1e400") << Inf;
    QTest::newRow("-1e400 is minus infinite") << QStringLiteral("-1e400") << -Inf;
    QTest::newRow("1D400 likewise") << QStringLiteral("1D400") << Inf;
    QTest::newRow("400 digits") << Repeat("9", 400) << Inf;
    QTest::newRow("5000 digits") << Repeat("7", 5000) << Inf;
    QTest::newRow("exponent beyond any integer") << QStringLiteral("1e99999999999999999999999999") << Inf;
    QTest::newRow("1e308 still a number") << QStringLiteral("1e308") << 1e308;
    QTest::newRow("1e-400 is 0") << QStringLiteral("1e-400") << 0.0;
    QTest::newRow("negative exponent beyond any integer") << QStringLiteral("5e-99999999999999999999999") << 0.0;
    QTest::newRow("0e99999 is 0") << QStringLiteral("0e99999") << 0.0;
    QTest::newRow("400 leading zeros") << Repeat("0", 400) + QStringLiteral("12") << 12.0;
    QTest::newRow("500 zeros after the point") << QStringLiteral("0.") + Repeat("0", 500) + QStringLiteral("1") << 0.0;
    QTest::newRow("many digits scaled back down") << QStringLiteral("1") + Repeat("0", 600) + QStringLiteral("e-599")
                                                  << 10.0;
    QTest::newRow("400 hexadecimal digits") << QStringLiteral("&H") + Repeat("F", 400) << Inf;
    QTest::newRow("1000 octal digits") << QStringLiteral("&O") + Repeat("7", 1000) << Inf;
    QTest::newRow("&H with 20 digits, past 64 bits") << QStringLiteral("&H") + Repeat("1", 20)
                                                     << 8.059505464097528e22;
}
// clang-format on

void TestNumberReader::hugeAndTinyNumbersNeverOverflow()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const double read = ReadNumber(text);
    QVERIFY(!std::isnan(read));
    QCOMPARE(read, value);
}

void TestNumberReader::stepsAreRangeTestedBeforeRounding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("upper");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("stored");

    QTest::newRow("10 accepted") << QStringLiteral("10") << MaxStepX << true << 10;
    QTest::newRow("1.5 gives 2") << QStringLiteral("1.5") << MaxStepX << true << 2;
    QTest::newRow("2.5 gives 2") << QStringLiteral("2.5") << MaxStepX << true << 2;
    QTest::newRow("3.5 gives 4") << QStringLiteral("3.5") << MaxStepX << true << 4;
    QTest::newRow("0.5 accepted, gives 0") << QStringLiteral("0.5") << MaxStepX << true << 0;
    QTest::newRow("0.3 accepted, gives 0") << QStringLiteral("0.3") << MaxStepX << true << 0;
    QTest::newRow("29.6 gives 30") << QStringLiteral("29.6") << MaxStepX << true << 30;
    QTest::newRow("30 is the horizontal limit") << QStringLiteral("30") << MaxStepX << true << 30;
    QTest::newRow("30.4 rejected though it rounds to 30") << QStringLiteral("30.4") << MaxStepX << false << 0;
    QTest::newRow("60 is the vertical limit") << QStringLiteral("60") << MaxStepY << true << 60;
    QTest::newRow("59.5 gives 60") << QStringLiteral("59.5") << MaxStepY << true << 60;
    QTest::newRow("60.0001 rejected") << QStringLiteral("60.0001") << MaxStepY << false << 0;
    QTest::newRow("31 fits the vertical only") << QStringLiteral("31") << MaxStepY << true << 31;
    QTest::newRow("0 rejected") << QStringLiteral("0") << MaxStepX << false << 0;
    QTest::newRow("abc rejected") << QStringLiteral("abc") << MaxStepX << false << 0;
    QTest::newRow("negative rejected") << QStringLiteral("-5") << MaxStepX << false << 0;
    QTest::newRow("&H10 gives 16") << QStringLiteral("&H10") << MaxStepX << true << 16;
    QTest::newRow("&HFFFF rejected") << QStringLiteral("&HFFFF") << MaxStepY << false << 0;
    QTest::newRow("1e400 rejected") << QStringLiteral("1e400") << MaxStepY << false << 0;
    QTest::newRow("-1e400 rejected") << QStringLiteral("-1e400") << MaxStepY << false << 0;
    QTest::newRow("1e-400 reads 0, rejected") << QStringLiteral("1e-400") << MaxStepX << false << 0;
    QTest::newRow("full-width 20") << QStringLiteral("２０") << MaxStepY << true << 20;
}

void TestNumberReader::stepsAreRangeTestedBeforeRounding()
{
    QFETCH(QString, text);
    QFETCH(int, upper);
    QFETCH(bool, accepted);
    QFETCH(int, stored);
    const std::optional<std::int16_t> step = AcceptStep(ReadNumber(text), upper);
    QCOMPARE(step.has_value(), accepted);
    if (accepted)
        QCOMPARE(int(*step), stored);
}

void TestNumberReader::intervalsAreRangeTestedBeforeRounding_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("stored");

    QTest::newRow("500") << QStringLiteral("500") << true << 500;
    QTest::newRow("2999.5 gives 3000") << QStringLiteral("2999.5") << true << 3000;
    QTest::newRow("3000 is the limit") << QStringLiteral("3000") << true << 3000;
    QTest::newRow("3000.4 rejected") << QStringLiteral("3000.4") << false << 0;
    QTest::newRow("5000 rejected") << QStringLiteral("5000") << false << 0;
    QTest::newRow("1.5 gives 2") << QStringLiteral("1.5") << true << 2;
    QTest::newRow("0.6 gives 1") << QStringLiteral("0.6") << true << 1;
    // A timer with interval 0 never ticks: refused instead of stored.
    QTest::newRow("0.5 would stop the clock, rejected") << QStringLiteral("0.5") << false << 0;
    QTest::newRow("0.3 would stop the clock, rejected") << QStringLiteral("0.3") << false << 0;
    QTest::newRow("0 rejected") << QStringLiteral("0") << false << 0;
    QTest::newRow("negative rejected") << QStringLiteral("-100") << false << 0;
    QTest::newRow("huge rejected") << Repeat("9", 400) << false << 0;
    QTest::newRow("&HFFFF rejected") << QStringLiteral("&HFFFF") << false << 0;
    QTest::newRow("&O1750 is 1000") << QStringLiteral("&O1750") << true << 1000;
    QTest::newRow("full-width 2000") << QStringLiteral("２０００") << true << 2000;
}

void TestNumberReader::intervalsAreRangeTestedBeforeRounding()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, stored);
    const std::optional<std::int32_t> interval = AcceptInterval(ReadNumber(text));
    QCOMPARE(interval.has_value(), accepted);
    if (accepted)
        QCOMPARE(int(*interval), stored);
}

QTEST_APPLESS_MAIN(TestNumberReader)
#include "tst_numberreader.moc"
