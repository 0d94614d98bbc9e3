#pragma once
#include "platform/Loaded.h"

#include <QString>
#include <QStringView>

class QByteArray;
class QTextDocument;

// Reading and rendering of the program's help file: Markdown text in UTF-8 whose
// first section is the contents, a list of links to the other sections.
namespace helpview {

// A help text larger than this is not ours. Qt lays out some texts (a very long
// word, for one) in time that grows with the square of their length, so the
// limit keeps even a hostile file down to a few seconds.
inline constexpr qint64 MaxHelpBytes = 256 * 1024;
// Qt's Markdown import slows down with the square of the items of one list;
// our help has a few dozen.
inline constexpr int MaxListItems = 2000;

// The heading of the contents section, which links lead back to.
inline const QString ContentsHeading = QStringLiteral("目次");

enum class HelpStatus { NoFile, Ok, Missing, Unreadable, TooLarge, NotText, Empty, TooComplex };
// The help file's text, Markdown, in `value`.
using HelpText = platform::Loaded<HelpStatus, QString>;

// Reads at most MaxHelpBytes + 1 bytes of a regular file; anything else (a
// directory, a device, a pipe) is unreadable.
HelpText ReadHelpFile(const QString& path);

// Judges bytes read from path: UTF-8 text without NUL characters, not empty,
// with no more list items than MaxListItems.
HelpText JudgeHelpBytes(const QString& path, const QByteArray& bytes);

// Lines that may start a list item, counted generously: after indentation and
// quote markers, a bullet or a number with "." or ")" followed by a blank.
int CountListItemLines(QStringView text);

// The anchor a heading is found by: its text with each run of blanks (the
// ideographic space included) turned into one "-". Links in the contents name
// the sections this way: [動きの調節](#動きの調節).
QString AnchorFor(const QString& heading);

// What the window says when the text cannot be shown: a headline and a detail.
QString FailureHeadline(const HelpText& text);
QString FailureDetail(const HelpText& text);

// Fills doc with the help text, or with the failure message. Headings carry
// their anchors; pictures are replaced by a marker, so the file can make the
// viewer read no other file.
void RenderHelp(QTextDocument& doc, const HelpText& text);

}  // namespace helpview
