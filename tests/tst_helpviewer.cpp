// The help viewer: reading and judging a help file, rendering it with its
// contents links, and the window that shows it.
#include "data/artwork.h"
#include "helpviewer/HelpDocument.h"
#include "helpviewer/HelpWindow.h"
#include "platform/Fonts.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUuid>

using helpview::HelpText;
using Status = helpview::HelpText::Status;

Q_DECLARE_METATYPE(Status)

namespace {

const QString RealHelpFile = QStringLiteral(AELORIN_BUILD_DIR "/help/Aelor.hlp");

struct Links {
    QStringList hrefs;    // every link in the text
    QSet<QString> names;  // every anchor a link can lead to
};

Links LinksOf(const QTextDocument& doc)
{
    Links links;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (!format.isAnchor())
                continue;
            if (!format.anchorHref().isEmpty())
                links.hrefs.append(format.anchorHref());
            for (const QString& name : format.anchorNames())
                links.names.insert(name);
        }
    }
    return links;
}

QStringList HeadingsOf(const QTextDocument& doc)
{
    QStringList headings;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0)
            headings.append(block.text());
    }
    return headings;
}

// The anchor names each heading carries, heading by heading.
QList<QSet<QString>> HeadingAnchorsOf(const QTextDocument& doc)
{
    QList<QSet<QString>> anchors;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() <= 0)
            continue;
        QSet<QString> names;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            for (const QString& name : it.fragment().charFormat().anchorNames())
                names.insert(name);
        }
        anchors.append(names);
    }
    return anchors;
}

HelpText Rendered(const QByteArray& bytes, QTextDocument& doc)
{
    const HelpText text = helpview::JudgeHelpBytes(QStringLiteral("test.hlp"), bytes);
    helpview::RenderHelp(doc, text);
    return text;
}

// A socket path no other test uses.
QString UniqueKey()
{
    return QDir::tempPath() + QStringLiteral("/aelorin-help-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

}  // namespace

class TestHelpViewer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();

    void readingJudgesTheFile_data();
    void readingJudgesTheFile();
    void listItemLinesAreCountedGenerously_data();
    void listItemLinesAreCountedGenerously();
    void headingAnchorsJoinWordsWithDashes_data();
    void headingAnchorsJoinWordsWithDashes();

    void realHelpFileLinksEveryContentsEntryToItsSection();
    void realHelpFileDescribesMenusShortcutsLimitsAndKeys();
    void picturesAndMarkupNeverReachForOtherFiles();
    void failuresAreReportedInTheTextItself_data();
    void failuresAreReportedInTheTextItself();
    void manySpansInOneParagraphStillRender();

    void windowCarriesCaptionAndIcon();
    void windowOpensAtTheContentsAndFollowsItsLinks();
    void windowReportsAMissingFileItself();
    void windowFollowsNoLinkOutOfTheHelp();
    void laterViewerHandsItsFileToTheOpenWindow();
    void handOverKeepsAnyFileName();
    void noHandOverWithoutAnOpenWindow();
};

void TestHelpViewer::initTestCase()
{
    platform::InstallFonts();
}

// clang-format off
void TestHelpViewer::readingJudgesTheFile_data()
{
    QTest::addColumn<QString>("kind");  // "file": bytes written to a file; otherwise what the path names
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Status>("status");

    QTest::newRow("a short help text") << "file" << QByteArray("# 題\n\n本文\n") << Status::Ok;
    QTest::newRow("UTF-8 with a byte order mark") << "file" << QByteArray("\xEF\xBB\xBF# 題\n") << Status::Ok;
    QTest::newRow("exactly at the size limit") << "file" << QByteArray(helpview::MaxHelpBytes, 'a') << Status::Ok;
    QTest::newRow("one byte over the size limit") << "file" << QByteArray(helpview::MaxHelpBytes + 1, 'a')
                                                  << Status::TooLarge;
    QTest::newRow("a few megabytes") << "file" << QByteArray(4 * 1024 * 1024, '#') << Status::TooLarge;
    QTest::newRow("empty") << "file" << QByteArray() << Status::Empty;
    QTest::newRow("blank lines only") << "file" << QByteArray(" \n\t\r\n\n") << Status::Empty;
    QTest::newRow("NUL bytes") << "file" << QByteArray("# a\0b\n", 6) << Status::NotText;
    QTest::newRow("Shift-JIS, not UTF-8") << "file" << QByteArray("\x83\x77\x83\x8B\x83\x76") << Status::NotText;
    QTest::newRow("Latin-1, not UTF-8") << "file" << QByteArray("caf\xE9") << Status::NotText;
    QByteArray garbage(64 * 1024, '\0');
    quint32 seed = 12345;
    for (char& c : garbage) {
        seed = seed * 1664525u + 1013904223u;
        c = static_cast<char>(seed >> 24);
    }
    QTest::newRow("random bytes") << "file" << garbage << Status::NotText;
    QTest::newRow("as many list items as allowed")
        << "file" << QByteArray("- a\n").repeated(helpview::MaxListItems) << Status::Ok;
    QTest::newRow("one list item too many")
        << "file" << QByteArray("- a\n").repeated(helpview::MaxListItems + 1) << Status::TooComplex;
    QTest::newRow("no such file") << "missing" << QByteArray() << Status::Missing;
    QTest::newRow("a directory") << "directory" << QByteArray() << Status::Unreadable;
    QTest::newRow("an endless device") << "/dev/zero" << QByteArray() << Status::Unreadable;
    QTest::newRow("no file named") << "none" << QByteArray() << Status::NoFile;
}
// clang-format on

void TestHelpViewer::readingJudgesTheFile()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(Status, status);

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Aelor.hlp"));
    if (kind == QLatin1String("file")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    } else if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("none")) {
        path.clear();
    } else if (kind != QLatin1String("missing")) {
        path = kind;
    }

    const HelpText text = helpview::ReadHelpFile(path);
    QCOMPARE(text.status, status);
    QCOMPARE(text.path, path);
    if (status == Status::Ok) {
        QVERIFY(!text.value.isEmpty());
        QVERIFY(!text.value.startsWith(QChar(0xFEFF)));
    } else {
        QVERIFY(text.value.isEmpty());
        QVERIFY(!helpview::FailureHeadline(text).isEmpty());
    }
}

void TestHelpViewer::listItemLinesAreCountedGenerously_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("dash") << "- a" << 1;
    QTest::newRow("star and plus") << "* a\n+ b" << 2;
    QTest::newRow("numbered with a full stop") << "1. a\n2. b\n10. c" << 3;
    QTest::newRow("numbered with a parenthesis") << "3) a" << 1;
    QTest::newRow("indented") << "  - a\n\t- b" << 2;
    QTest::newRow("inside a quote") << "> - a\n>> 1. b" << 2;
    QTest::newRow("a bare marker") << "-\n*" << 2;
    QTest::newRow("no blank after the marker") << "-a\n1.5 kg\n---" << 0;
    QTest::newRow("marker inside the line") << "a - b\nx 1. y" << 0;
    QTest::newRow("full-width digits are no numbers") << "１. a" << 0;
    QTest::newRow("CR LF lines") << "- a\r\n- b\r\n" << 2;
    QTest::newRow("empty") << "" << 0;
}

void TestHelpViewer::listItemLinesAreCountedGenerously()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    QCOMPARE(helpview::CountListItemLines(text), count);
}

// clang-format off
void TestHelpViewer::headingAnchorsJoinWordsWithDashes_data()
{
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("anchor");
    QTest::newRow("one word") << "目次" << "目次";
    QTest::newRow("surrounding blanks dropped") << "  動きの調節 \t" << "動きの調節";
    QTest::newRow("a blank between words") << "Aelorin ヘルプ" << "Aelorin-ヘルプ";
    QTest::newRow("an ideographic space") << "凧の　動き" << "凧の-動き";
    QTest::newRow("a run of blanks is one dash") << "a \t　b" << "a-b";
    QTest::newRow("full-width letters kept as they are") << "ＢＧＭメニュー" << "ＢＧＭメニュー";
}
// clang-format on

void TestHelpViewer::headingAnchorsJoinWordsWithDashes()
{
    QFETCH(QString, heading);
    QFETCH(QString, anchor);
    QCOMPARE(helpview::AnchorFor(heading), anchor);
}

void TestHelpViewer::realHelpFileLinksEveryContentsEntryToItsSection()
{
    const HelpText text = helpview::ReadHelpFile(RealHelpFile);
    QCOMPARE(text.status, Status::Ok);
    QTextDocument doc;
    helpview::RenderHelp(doc, text);

    const QStringList headings = HeadingsOf(doc);
    QVERIFY(headings.size() >= 10);
    QCOMPARE(headings.value(0), QStringLiteral("Aelorin ヘルプ"));
    // The contents come first, right after the title.
    QCOMPARE(headings.value(1), QStringLiteral("目次"));

    const Links links = LinksOf(doc);
    // Every section but the title and the contents has its entry.
    QVERIFY2(links.hrefs.size() >= headings.size() - 2, qPrintable(links.hrefs.join(QLatin1Char(' '))));
    QSet<QString> targets;
    for (const QString& href : links.hrefs) {
        QVERIFY2(href.startsWith(QLatin1Char('#')), qPrintable(href));
        const QString target = QUrl(href).fragment(QUrl::FullyDecoded);
        QVERIFY2(links.names.contains(target), qPrintable(href));
        targets.insert(target);
    }
    // A link leads to each section, and back to the contents.
    const QList<QSet<QString>> anchors = HeadingAnchorsOf(doc);
    for (int i = 1; i < headings.size(); ++i)
        QVERIFY2(anchors.value(i).intersects(targets), qPrintable(headings[i]));
}

void TestHelpViewer::realHelpFileDescribesMenusShortcutsLimitsAndKeys()
{
    QTextDocument doc;
    helpview::RenderHelp(doc, helpview::ReadHelpFile(RealHelpFile));
    const QString shown = doc.toPlainText();
    const QStringList facts = {
        // The menus and their items with their shortcuts.
        QStringLiteral("文字(N)"),
        QStringLiteral("タイトル(T)"),
        QStringLiteral("説明文(S)"),
        QStringLiteral("ＢＧＭ(B)"),
        QStringLiteral("演奏中(P)"),
        QStringLiteral("停止中(N)"),
        QStringLiteral("情報(I)"),
        QStringLiteral("ヘルプ(H)"),
        QStringLiteral("バージョン(V)"),
        QStringLiteral("Ctrl+T"),
        QStringLiteral("Ctrl+S"),
        QStringLiteral("Ctrl+P"),
        QStringLiteral("Ctrl+N"),
        QStringLiteral("Ctrl+H"),
        QStringLiteral("Ctrl+V"),
        // The settings panel and its limits.
        QStringLiteral("左右方向"),
        QStringLiteral("1～30"),
        QStringLiteral("上下方向"),
        QStringLiteral("1～60"),
        QStringLiteral("間隔"),
        QStringLiteral("1～3000"),
        QStringLiteral("ミリ秒"),
        // Dragging and the keys.
        QStringLiteral("マウス"),
        QStringLiteral("5 ドット"),
        QStringLiteral("Shift"),
        QStringLiteral("15 ドット"),
    };
    for (const QString& fact : facts)
        QVERIFY2(shown.contains(fact), qPrintable(fact));
    // The tables came through as tables, not as rows of bars.
    QVERIFY(!shown.contains(QStringLiteral("|---|")));
}

void TestHelpViewer::picturesAndMarkupNeverReachForOtherFiles()
{
    QTextDocument doc;
    const HelpText text = Rendered("# 題\n\n![endless](/dev/zero) and ![secret](file:///etc/shadow)\n\n"
                                   "<img src=\"/dev/zero\"> <b>raw</b>\n",
                                   doc);
    QCOMPARE(text.status, Status::Ok);
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            QVERIFY(!it.fragment().charFormat().isImageFormat());
    }
    const QString shown = doc.toPlainText();
    QCOMPARE(shown.count(QStringLiteral("［画像］")), 2);
    // Markup is not ours: it stays text.
    QVERIFY2(shown.contains(QStringLiteral("<b>raw</b>")), qPrintable(shown));
}

void TestHelpViewer::failuresAreReportedInTheTextItself_data()
{
    QTest::addColumn<Status>("status");
    QTest::addColumn<QString>("headline");
    QTest::newRow("missing") << Status::Missing << "ヘルプファイルが見つかりません。";
    QTest::newRow("unreadable") << Status::Unreadable << "ヘルプファイルを読み込めません。";
    QTest::newRow("too large") << Status::TooLarge << "ヘルプファイルが大きすぎるため表示できません。";
    QTest::newRow("not text") << Status::NotText << "ヘルプファイルの形式が正しくありません。";
    QTest::newRow("empty") << Status::Empty << "ヘルプファイルに内容がありません。";
    QTest::newRow("too complex") << Status::TooComplex << "ヘルプファイルが複雑すぎるため表示できません。";
    QTest::newRow("none named") << Status::NoFile << "表示するヘルプファイルが指定されていません。";
}

void TestHelpViewer::failuresAreReportedInTheTextItself()
{
    QFETCH(Status, status);
    QFETCH(QString, headline);
    HelpText text;
    text.status = status;
    text.path = QStringLiteral("/opt/凧 <b>&</b>/help/Aelor.hlp");
    QTextDocument doc;
    helpview::RenderHelp(doc, text);
    const QString shown = doc.toPlainText();
    QVERIFY2(shown.startsWith(headline), qPrintable(shown));
    // The path is shown as it is, never read as markup.
    if (status != Status::NoFile)
        QVERIFY2(shown.contains(text.path), qPrintable(shown));
}

// Imported span by span, a paragraph like this took Qt minutes; the test would
// run into its time limit.
void TestHelpViewer::manySpansInOneParagraphStillRender()
{
    QTextDocument doc;
    QByteArray lines = QByteArray("*a* [b](#c)\n").repeated(helpview::MaxHelpBytes / 16);
    QCOMPARE(Rendered(lines, doc).status, Status::Ok);
    QVERIFY(doc.toPlainText().count(QLatin1Char('b')) >= int(helpview::MaxHelpBytes / 16));
}

void TestHelpViewer::windowCarriesCaptionAndIcon()
{
    HelpWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Aelorin ヘルプ"));
    QCOMPARE(window.windowIcon().pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32),
             Artwork::makeAppIcon(32).convertToFormat(QImage::Format_ARGB32));
}

void TestHelpViewer::windowOpensAtTheContentsAndFollowsItsLinks()
{
    HelpWindow window;
    window.openFile(RealHelpFile);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.current().status, Status::Ok);
    QScrollBar* scroll = window.browser()->verticalScrollBar();
    QVERIFY(scroll->maximum() > 0);
    QCOMPARE(scroll->value(), 0);
    QVERIFY(window.browser()->toPlainText().startsWith(QStringLiteral("Aelorin ヘルプ\n目次")));

    // A contents entry leads down to its section; the contents button back up.
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("#困ったときは")));
    QTRY_VERIFY(scroll->value() > 0);
    const auto contents = window.findChild<QAction*>(QStringLiteral("showContents"));
    QVERIFY(contents);
    contents->trigger();
    QCOMPARE(scroll->value(), 0);
    emit window.browser()->anchorClicked(QUrl(QStringLiteral("#%E7%9B%AE%E6%AC%A1")));  // "#目次", encoded
    QVERIFY(scroll->value() > 0);
}

void TestHelpViewer::windowReportsAMissingFileItself()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("help/Aelor.hlp"));
    HelpWindow window;
    window.openFile(path);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.current().status, Status::Missing);
    const QString shown = window.browser()->toPlainText();
    QVERIFY2(shown.contains(QStringLiteral("ヘルプファイルが見つかりません")), qPrintable(shown));
    QVERIFY(shown.contains(path));
    QVERIFY(window.isVisible());
}

void TestHelpViewer::windowFollowsNoLinkOutOfTheHelp()
{
    HelpWindow window;
    window.openFile(RealHelpFile);
    const QString before = window.browser()->toPlainText();
    for (const char* link : {"file:///etc/passwd", "Aelor.hlp", "http://example.com/#目次"})
        emit window.browser()->anchorClicked(QUrl(QString::fromUtf8(link)));
    QCOMPARE(window.browser()->toPlainText(), before);
    QVERIFY(window.browser()->source().isEmpty());
}

void TestHelpViewer::laterViewerHandsItsFileToTheOpenWindow()
{
    const QString key = UniqueKey();
    HelpWindow first;
    QVERIFY(first.listen(key));
    first.openFile(QStringLiteral("/nowhere/first.hlp"));
    // While the first answers, no other window takes the key over.
    HelpWindow second;
    QVERIFY(!second.listen(key));

    QVERIFY(HelpWindow::forwardTo(key, RealHelpFile));
    QTRY_COMPARE(first.current().path, RealHelpFile);
    QCOMPARE(first.current().status, Status::Ok);
    QVERIFY(first.isVisible());
    QCOMPARE(first.browser()->verticalScrollBar()->value(), 0);

    // A relative name is made absolute for the window, whose directory may differ.
    QVERIFY(HelpWindow::forwardTo(key, QStringLiteral("help/x.hlp")));
    QTRY_COMPARE(first.current().path, QDir::current().absoluteFilePath(QStringLiteral("help/x.hlp")));
}

void TestHelpViewer::handOverKeepsAnyFileName()
{
    const QString key = UniqueKey();
    HelpWindow window;
    QVERIFY(window.listen(key));
    const QString odd = QStringLiteral("/tmp/凧\nline %41 two/ヘルプ 1.hlp");
    QVERIFY(HelpWindow::forwardTo(key, odd));
    QTRY_COMPARE(window.current().path, odd);
    QCOMPARE(window.current().status, Status::Missing);
}

void TestHelpViewer::noHandOverWithoutAnOpenWindow()
{
    const QString key = UniqueKey();
    QVERIFY(!HelpWindow::forwardTo(key, RealHelpFile));
    {
        HelpWindow gone;
        QVERIFY(gone.listen(key));
    }
    QVERIFY(!HelpWindow::forwardTo(key, RealHelpFile));
    // The key is free again for the next window.
    HelpWindow next;
    QVERIFY(next.listen(key));
}

QTEST_MAIN(TestHelpViewer)
#include "tst_helpviewer.moc"
