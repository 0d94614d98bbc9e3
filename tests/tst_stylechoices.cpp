// The rules by which the format dialogs find the option that shows a label's
// colour, size and typeface. No window is needed.
#include "labels/LabelStyle.h"
#include "labels/StyleChoices.h"
#include "platform/Fonts.h"

#include <QPalette>
#include <QTest>

using namespace StyleChoices;

class TestStyleChoices : public QObject {
    Q_OBJECT
private slots:
    void sizesAreHeldInTenThousandthsOfAPoint_data();
    void sizesAreHeldInTenThousandthsOfAPoint();
    void titleSizeWindowsIncludeBothEnds_data();
    void titleSizeWindowsIncludeBothEnds();
    void explanationSizeWindowsDoNotOverlap_data();
    void explanationSizeWindowsDoNotOverlap();
    void coloursMatchOnlyExactly_data();
    void coloursMatchOnlyExactly();
    void faceNamesMatchCharacterForCharacter_data();
    void faceNamesMatchCharacterForCharacter();
    void systemColourDrawsFromThePalette();
};

void TestStyleChoices::sizesAreHeldInTenThousandthsOfAPoint_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<qint64>("units");
    QTest::newRow("whole") << 26.0 << qint64(260000);
    QTest::newRow("quarter") << 26.25 << qint64(262500);
    QTest::newRow("four places") << 8.495 << qint64(84950);
    QTest::newRow("just below a window's end") << 8.4901 << qint64(84901);
    QTest::newRow("fifth place rounds to the nearest unit") << 9.49004 << qint64(94900);
}

void TestStyleChoices::sizesAreHeldInTenThousandthsOfAPoint()
{
    QFETCH(double, points);
    QFETCH(qint64, units);
    LabelStyle style;
    style.setSize(points);
    QCOMPARE(style.SizeUnits, units);
}

void TestStyleChoices::titleSizeWindowsIncludeBothEnds_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("option");
    QTest::newRow("23.4999 below the first window") << 23.4999 << NoOption;
    QTest::newRow("23.5 lower end of 24") << 23.5 << 0;
    QTest::newRow("24 itself") << 24.0 << 0;
    QTest::newRow("24.5 upper end of 24") << 24.5 << 0;
    QTest::newRow("24.75 between windows") << 24.75 << NoOption;
    QTest::newRow("25.0 between windows") << 25.0 << NoOption;
    QTest::newRow("25.4999 just below 26") << 25.4999 << NoOption;
    QTest::newRow("25.5 lower end of 26") << 25.5 << 1;
    QTest::newRow("26.25 inside 26") << 26.25 << 1;
    QTest::newRow("26.5 upper end of 26") << 26.5 << 1;
    QTest::newRow("26.5001 just above 26") << 26.5001 << NoOption;
    QTest::newRow("27.75 inside 28") << 27.75 << 2;
    QTest::newRow("28.5 upper end of 28") << 28.5 << 2;
    QTest::newRow("28.5001 above the last window") << 28.5001 << NoOption;
    QTest::newRow("9 far below") << 9.0 << NoOption;
}

void TestStyleChoices::titleSizeWindowsIncludeBothEnds()
{
    QFETCH(double, points);
    QFETCH(int, option);
    QCOMPARE(MatchSize(LabelStyle::UnitsFromPoints(points), TitleSizeWindows), option);
}

void TestStyleChoices::explanationSizeWindowsDoNotOverlap_data()
{
    QTest::addColumn<double>("points");
    QTest::addColumn<int>("option");
    QTest::newRow("7.0 below the first window") << 7.0 << NoOption;
    QTest::newRow("7.4999 just below 8") << 7.4999 << NoOption;
    QTest::newRow("7.5 lower end of 8") << 7.5 << 0;
    QTest::newRow("8.25 inside 8") << 8.25 << 0;
    QTest::newRow("8.49 upper end of 8") << 8.49 << 0;
    QTest::newRow("8.4901 in the gap after 8") << 8.4901 << NoOption;
    QTest::newRow("8.495 in the gap after 8") << 8.495 << NoOption;
    QTest::newRow("8.5 lower end of 9") << 8.5 << 1;
    QTest::newRow("9 itself") << 9.0 << 1;
    QTest::newRow("9.49 upper end of 9") << 9.49 << 1;
    QTest::newRow("9.495 in the gap after 9") << 9.495 << NoOption;
    QTest::newRow("9.5 lower end of 10") << 9.5 << 2;
    QTest::newRow("9.75 inside 10") << 9.75 << 2;
    QTest::newRow("10.49 upper end of 10") << 10.49 << 2;
    QTest::newRow("10.4901 just above 10") << 10.4901 << NoOption;
    QTest::newRow("10.5 above the last window") << 10.5 << NoOption;
}

void TestStyleChoices::explanationSizeWindowsDoNotOverlap()
{
    QFETCH(double, points);
    QFETCH(int, option);
    QCOMPARE(MatchSize(LabelStyle::UnitsFromPoints(points), ExplaSizeWindows), option);
}

void TestStyleChoices::coloursMatchOnlyExactly_data()
{
    QTest::addColumn<quint32>("color");
    QTest::addColumn<int>("titleOption");
    QTest::addColumn<int>("explaOption");
    QTest::newRow("red") << quint32(0x000000FF) << 0 << NoOption;
    QTest::newRow("red less one") << quint32(0x000000FE) << NoOption << NoOption;
    QTest::newRow("green") << quint32(0x0000FF00) << 1 << 1;
    QTest::newRow("blue") << quint32(0x00FF0000) << 2 << 2;
    QTest::newRow("black") << quint32(0x00000000) << NoOption << 0;
    QTest::newRow("system text colour is not black") << quint32(0x80000012) << NoOption << NoOption;
    QTest::newRow("red with the top byte set") << quint32(0x010000FF) << NoOption << NoOption;
    QTest::newRow("white") << quint32(0x00FFFFFF) << NoOption << NoOption;
}

void TestStyleChoices::coloursMatchOnlyExactly()
{
    QFETCH(quint32, color);
    QFETCH(int, titleOption);
    QFETCH(int, explaOption);
    QCOMPARE(MatchColor(color, TitleColors), titleOption);
    QCOMPARE(MatchColor(color, ExplaColors), explaOption);
}

void TestStyleChoices::faceNamesMatchCharacterForCharacter_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("option");
    QTest::newRow("proportional Gothic") << QStringLiteral("ＭＳ Ｐゴシック") << 0;
    QTest::newRow("proportional Mincho") << QStringLiteral("ＭＳ Ｐ明朝") << 1;
    QTest::newRow("fixed Gothic") << QStringLiteral("ＭＳ ゴシック") << 2;
    QTest::newRow("fixed Mincho") << QStringLiteral("ＭＳ 明朝") << 3;
    QTest::newRow("ideographic space") << QStringLiteral("ＭＳ　Ｐゴシック") << NoOption;
    QTest::newRow("ideographic space, fixed Mincho") << QStringLiteral("ＭＳ　明朝") << NoOption;
    QTest::newRow("half-width MS") << QStringLiteral("MS Ｐゴシック") << NoOption;
    QTest::newRow("half-width P") << QStringLiteral("ＭＳ Pゴシック") << NoOption;
    QTest::newRow("half-width katakana") << QStringLiteral("ＭＳ Ｐｺﾞｼｯｸ") << NoOption;
    QTest::newRow("the Mincho option's caption") << QStringLiteral("MS　Ｐ明朝") << NoOption;
    QTest::newRow("full-width lower case") << QStringLiteral("ｍｓ 明朝") << NoOption;
    QTest::newRow("trailing space") << QStringLiteral("ＭＳ 明朝 ") << NoOption;
    QTest::newRow("the font it renders through") << QStringLiteral("IPAPGothic") << NoOption;
    QTest::newRow("empty") << QString() << NoOption;
}

void TestStyleChoices::faceNamesMatchCharacterForCharacter()
{
    QFETCH(QString, name);
    QFETCH(int, option);
    QCOMPARE(MatchFace(name, Faces()), option);
}

// The default colour of a label is a system colour: it draws as the palette's
// button text, while a plain value draws as its own red, green and blue.
void TestStyleChoices::systemColourDrawsFromThePalette()
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::ButtonText, QColor(12, 34, 56));
    QCOMPARE(DrawingColor(LabelStyle::SystemButtonText, palette), QColor(12, 34, 56));
    QCOMPARE(DrawingColor(0x000000FF, palette), QColor(255, 0, 0));
    QCOMPARE(DrawingColor(0x00FF0000, palette), QColor(0, 0, 255));
    QCOMPARE(DrawingColor(0x00000000, palette), QColor(0, 0, 0));
}

QTEST_APPLESS_MAIN(TestStyleChoices)
#include "tst_stylechoices.moc"
