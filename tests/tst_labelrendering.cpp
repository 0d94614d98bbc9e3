// What the styled labels look like on screen: the four face names draw through
// four different installed Japanese fonts, and bold, italic and underline show.
#include "LoadedWindow.h"
#include "Probe.h"
#include "dialogsupport.h"
#include "fakes.h"

#include "app/frmMain.h"
#include "dialogs/frmPropExpla.h"
#include "dialogs/frmPropTitle.h"
#include "labels/StyledLabel.h"
#include "platform/Fonts.h"

#include <QFontInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>

namespace {

const QString Sample = QStringLiteral("凧が空を舞います Aelorin 1");

// The sample drawn by a label of the given style, on an opaque ground.
QImage Render(const LabelStyle& style)
{
    StyledLabel label;
    label.setAutoFillBackground(true);
    label.setStyle(style);
    label.setCaption(Sample);
    label.resize(420, 60);
    return label.grab().toImage();
}

bool HasInk(const QImage& image)
{
    const QRgb ground = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != ground)
                return true;
        }
    }
    return false;
}

// Pairs of images that are alike, named by their index.
QStringList AlikePairs(const QList<QImage>& shots, const QStringList& names)
{
    QStringList alike;
    for (qsizetype i = 0; i < shots.size(); ++i) {
        for (qsizetype j = i + 1; j < shots.size(); ++j) {
            if (shots[i] == shots[j])
                alike.append(names[i] + QStringLiteral(" = ") + names[j]);
        }
    }
    return alike;
}

}  // namespace

class TestLabelRendering : public LoadedWindowTest {
    Q_OBJECT
private slots:
    void initTestCase();
    void faceNameDrawsThroughItsJapaneseFont_data();
    void faceNameDrawsThroughItsJapaneseFont();
    void theFourFacesLookDifferent();
    void eachAttributeShows_data();
    void eachAttributeShows();
    void textColourShows();
    void titleLabelChangesFaceOnScreenAtEachClick();
    void explanationLabelChangesFaceOnScreenOnApply();
};

void TestLabelRendering::initTestCase()
{
    platform::InstallFonts();
}

void TestLabelRendering::faceNameDrawsThroughItsJapaneseFont_data()
{
    QTest::addColumn<QString>("face");
    QTest::addColumn<QString>("family");
    QTest::newRow("ＭＳ Ｐゴシック") << QStringLiteral("ＭＳ Ｐゴシック") << QStringLiteral("IPAPGothic");
    QTest::newRow("ＭＳ Ｐ明朝") << QStringLiteral("ＭＳ Ｐ明朝") << QStringLiteral("IPAPMincho");
    QTest::newRow("ＭＳ ゴシック") << QStringLiteral("ＭＳ ゴシック") << QStringLiteral("IPAGothic");
    QTest::newRow("ＭＳ 明朝") << QStringLiteral("ＭＳ 明朝") << QStringLiteral("IPAMincho");
}

// The label keeps the face name it was given, and the glyphs come from the
// IPA font that name stands for, which has the kanji and kana.
void TestLabelRendering::faceNameDrawsThroughItsJapaneseFont()
{
    QFETCH(QString, face);
    QFETCH(QString, family);
    StyledLabel label;
    label.setStyle(MakeStyle(0x00000000, 20.0, face));
    QCOMPARE(label.FontName(), face);
    QCOMPARE(label.font().family(), face);
    QCOMPARE(QFontInfo(label.font()).family(), family);
    const QRawFont raw = QRawFont::fromFont(label.font());
    QVERIFY(raw.isValid());
    QCOMPARE(raw.familyName().toLower(), family.toLower());
    for (QChar c : QStringLiteral("凧空舞がア"))
        QVERIFY2(raw.supportsCharacter(c), qPrintable(QString(c)));
    QVERIFY(HasInk(Render(label.style())));
}

void TestLabelRendering::theFourFacesLookDifferent()
{
    QList<QImage> shots;
    QStringList names;
    for (const QString& face :
         {platform::FacePGothic, platform::FacePMincho, platform::FaceGothic, platform::FaceMincho}) {
        shots.append(Render(MakeStyle(0x00000000, 20.0, face)));
        QVERIFY(HasInk(shots.last()));
        names.append(face);
    }
    QCOMPARE(AlikePairs(shots, names), QStringList());
}

// clang-format off
void TestLabelRendering::eachAttributeShows_data()
{
    QTest::addColumn<QString>("face");
    for (const QString& face : {platform::FacePGothic, platform::FacePMincho, platform::FaceGothic,
                                platform::FaceMincho})
        QTest::newRow(face.toUtf8().constData()) << face;
}
// clang-format on

// The IPA fonts have no bold or italic of their own; each attribute must still
// change what is drawn, and differently from the others.
void TestLabelRendering::eachAttributeShows()
{
    QFETCH(QString, face);
    const QList<QImage> shots = {
        Render(MakeStyle(0x00000000, 20.0, face)),
        Render(MakeStyle(0x00000000, 20.0, face, true, false, false)),
        Render(MakeStyle(0x00000000, 20.0, face, false, true, false)),
        Render(MakeStyle(0x00000000, 20.0, face, false, false, true)),
    };
    QCOMPARE(AlikePairs(shots, {"regular", "bold", "italic", "underline"}), QStringList());
}

void TestLabelRendering::textColourShows()
{
    auto inkOf = [](const QImage& image) {
        int red = 0, blue = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 60 && c.blue() < 60;
                blue += c.blue() > 200 && c.red() < 60 && c.green() < 60;
            }
        }
        return std::pair{red, blue};
    };
    const auto [redOnRed, blueOnRed] = inkOf(Render(MakeStyle(0x000000FF, 20.0, platform::FacePGothic)));
    QVERIFY(redOnRed > 0);
    QCOMPARE(blueOnRed, 0);
    const auto [redOnBlue, blueOnBlue] = inkOf(Render(MakeStyle(0x00FF0000, 20.0, platform::FacePGothic)));
    QCOMPARE(redOnBlue, 0);
    QVERIFY(blueOnBlue > 0);
}

// Through the title dialog on the main window: each face option redraws the
// title differently at once.
void TestLabelRendering::titleLabelChangesFaceOnScreenAtEachClick()
{
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Child<QAction>(w, "mnuNameItem", 0)->trigger();
    frmPropTitle* dialog = Probe::propTitle(w);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    QList<QImage> shots;
    QStringList names;
    for (QRadioButton* option : {Child<QRadioButton>(*dialog, "optPM"), Child<QRadioButton>(*dialog, "optG"),
                                 Child<QRadioButton>(*dialog, "optM"), Child<QRadioButton>(*dialog, "optPG")}) {
        ClickOn(option);
        shots.append(Child<StyledLabel>(w, "lblTitle")->grab().toImage());
        names.append(option->objectName());
    }
    QCOMPARE(AlikePairs(shots, names), QStringList());
}

void TestLabelRendering::explanationLabelChangesFaceOnScreenOnApply()
{
    frmMain& w = m_loaded->w;
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Child<QAction>(w, "mnuNameItem", 1)->trigger();
    frmPropExpla* dialog = Probe::propExpla(w);
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    QList<QImage> shots;
    QStringList names;
    for (QRadioButton* option : {Child<QRadioButton>(*dialog, "optPM"), Child<QRadioButton>(*dialog, "optG"),
                                 Child<QRadioButton>(*dialog, "optM"), Child<QRadioButton>(*dialog, "optPG")}) {
        ClickOn(option);
        const QImage before = Child<StyledLabel>(w, "lblExpla")->grab().toImage();
        ClickOn(Child<QPushButton>(*dialog, "cmdSet"));
        shots.append(Child<StyledLabel>(w, "lblExpla")->grab().toImage());
        names.append(option->objectName());
        if (option != Child<QRadioButton>(*dialog, "optPG"))
            QVERIFY2(shots.last() != before, qPrintable(names.last()));
    }
    QCOMPARE(AlikePairs(shots, names), QStringList());
}

QTEST_MAIN(TestLabelRendering)
#include "tst_labelrendering.moc"
