#include "helpviewer/HelpDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <utility>
#include <vector>

namespace helpview {

namespace {

HelpText Failed(HelpText::Status status, const QString& path)
{
    HelpText text;
    text.status = status;
    text.path = path;
    return text;
}

bool IsBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QChar(0x3000);
}

// True when the line, from pos on, starts like a list item.
bool StartsListItem(QStringView line)
{
    qsizetype i = 0;
    const qsizetype n = line.size();
    // Indentation and block quote markers may come before the item's marker.
    while (i < n && (IsBlank(line[i]) || line[i] == QLatin1Char('>')))
        ++i;
    if (i >= n)
        return false;
    const QChar c = line[i];
    qsizetype after = -1;
    if (c == QLatin1Char('-') || c == QLatin1Char('+') || c == QLatin1Char('*')) {
        after = i + 1;
    } else if (c.isDigit() && c.unicode() < 128) {
        qsizetype j = i;
        while (j < n && j - i < 10 && line[j].unicode() < 128 && line[j].isDigit())
            ++j;
        if (j < n && (line[j] == QLatin1Char('.') || line[j] == QLatin1Char(')')))
            after = j + 1;
    }
    return after >= 0 && (after == n || IsBlank(line[after]));
}

void NameHeadings(QTextDocument& doc)
{
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() <= 0 || block.length() <= 1)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorNames({AnchorFor(block.text())});
        cursor.mergeCharFormat(anchor);
    }
}

void ReplacePictures(QTextDocument& doc)
{
    std::vector<std::pair<int, int>> pictures;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.charFormat().isImageFormat())
                pictures.emplace_back(fragment.position(), fragment.length());
        }
    }
    // From the end, so earlier positions stay valid.
    std::reverse(pictures.begin(), pictures.end());
    for (const auto& [position, length] : pictures) {
        QTextCursor cursor(&doc);
        cursor.setPosition(position);
        cursor.setPosition(position + length, QTextCursor::KeepAnchor);
        cursor.insertText(QStringLiteral("［画像］"), QTextCharFormat());
    }
}

}  // namespace

HelpText ReadHelpFile(const QString& path)
{
    if (path.isEmpty())
        return Failed(HelpText::Status::NoFile, path);
    const QFileInfo info(path);
    if (!info.exists())
        return Failed(HelpText::Status::Missing, path);
    if (!info.isFile())
        return Failed(HelpText::Status::Unreadable, path);
    if (info.size() > MaxHelpBytes)
        return Failed(HelpText::Status::TooLarge, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failed(HelpText::Status::Unreadable, path);
    // The file may have grown since it was measured: never read past the limit.
    const QByteArray bytes = file.read(MaxHelpBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return Failed(HelpText::Status::Unreadable, path);
    if (bytes.size() > MaxHelpBytes)
        return Failed(HelpText::Status::TooLarge, path);
    return JudgeHelpBytes(path, bytes);
}

HelpText JudgeHelpBytes(const QString& path, const QByteArray& bytes)
{
    if (bytes.size() > MaxHelpBytes)
        return Failed(HelpText::Status::TooLarge, path);
    if (bytes.contains('\0'))
        return Failed(HelpText::Status::NotText, path);
    // Stateless, so that a sequence cut off at the end counts as an error too.
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString markdown = decode(bytes);
    if (decode.hasError())
        return Failed(HelpText::Status::NotText, path);
    if (markdown.trimmed().isEmpty())
        return Failed(HelpText::Status::Empty, path);
    if (CountListItemLines(markdown) > MaxListItems)
        return Failed(HelpText::Status::TooComplex, path);
    HelpText text;
    text.status = HelpText::Status::Ok;
    text.path = path;
    text.value = std::move(markdown);
    return text;
}

int CountListItemLines(QStringView text)
{
    int count = 0;
    qsizetype start = 0;
    while (start <= text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (StartsListItem(text.mid(start, end - start)))
            ++count;
        start = end + 1;
    }
    return count;
}

QString AnchorFor(const QString& heading)
{
    QString anchor;
    bool inBlank = false;
    for (QChar c : heading.trimmed()) {
        if (IsBlank(c) || c.isSpace()) {
            inBlank = true;
            continue;
        }
        if (inBlank)
            anchor += QLatin1Char('-');
        inBlank = false;
        anchor += c;
    }
    return anchor;
}

QString FailureHeadline(const HelpText& text)
{
    switch (text.status) {
    case HelpText::Status::Ok:
        return {};
    case HelpText::Status::NoFile:
        return QStringLiteral("表示するヘルプファイルが指定されていません。");
    case HelpText::Status::Missing:
        return QStringLiteral("ヘルプファイルが見つかりません。");
    case HelpText::Status::Unreadable:
        return QStringLiteral("ヘルプファイルを読み込めません。");
    case HelpText::Status::TooLarge:
        return QStringLiteral("ヘルプファイルが大きすぎるため表示できません。");
    case HelpText::Status::NotText:
        return QStringLiteral("ヘルプファイルの形式が正しくありません。");
    case HelpText::Status::Empty:
        return QStringLiteral("ヘルプファイルに内容がありません。");
    case HelpText::Status::TooComplex:
        return QStringLiteral("ヘルプファイルが複雑すぎるため表示できません。");
    }
    return {};
}

QString FailureDetail(const HelpText& text)
{
    if (text.status == HelpText::Status::TooLarge)
        return QStringLiteral("%1\n（表示できるのは %2 KB までです）").arg(text.path).arg(MaxHelpBytes / 1024);
    return text.path;
}

void RenderHelp(QTextDocument& doc, const HelpText& text)
{
    doc.setUndoRedoEnabled(false);
    if (text.status != HelpText::Status::Ok) {
        doc.setHtml(QStringLiteral("<h2>%1</h2><p>%2</p>")
                        .arg(FailureHeadline(text).toHtmlEscaped(),
                             FailureDetail(text).toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"))));
        return;
    }
    // One edit for the whole import: edit by edit, Qt would redo work for the
    // whole paragraph on every span of text.
    QTextCursor edit(&doc);
    edit.beginEditBlock();
    doc.setMarkdown(text.value, QTextDocument::MarkdownFeatures(QTextDocument::MarkdownDialectGitHub
                                                                | QTextDocument::MarkdownNoHTML));
    NameHeadings(doc);
    ReplacePictures(doc);
    edit.endEditBlock();
}

}  // namespace helpview
