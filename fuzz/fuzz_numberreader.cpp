// The settings entries' number reader on any text a user could type or paste:
// the bytes are read both as UTF-8 and as UTF-16. Whatever the text, the reader
// gives a number (never NaN), the accepted steps and intervals lie in their
// ranges, and the reading rule's own promises hold: blanks anywhere change
// nothing, what follows the number is ignored, and full-width forms read as
// their plain forms.
#include "rules/NumberReader.h"

#include <QString>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void Fail(const char* what, const QString& text)
{
    std::fprintf(stderr, "fuzz_numberreader: %s for the text \"%s\"\n", what, qUtf8Printable(text));
    std::abort();
}

bool SameNumber(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

// Full-width forms of the printable ASCII characters, the ideographic space for
// the blank; everything else as it is.
QString FullWidth(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        const char16_t u = c.unicode();
        if (u == u' ')
            c = QChar(u'\u3000');
        else if (u >= 0x21 && u <= 0x7E)
            c = QChar(static_cast<char16_t>(u + 0xFEE0));
    }
    return out;
}

void Check(const QString& text, std::size_t salt)
{
    const double v = ReadNumber(text);
    if (std::isnan(v))
        Fail("NaN read", text);

    if (const auto step = AcceptStep(v, MaxStepX)) {
        if (!(v > 0 && v <= MaxStepX) || *step < 0 || *step > MaxStepX)
            Fail("horizontal step accepted out of range", text);
    } else if (v > 0 && v <= MaxStepX) {
        Fail("horizontal step in range refused", text);
    }
    if (const auto step = AcceptStep(v, MaxStepY)) {
        if (!(v > 0 && v <= MaxStepY) || *step < 0 || *step > MaxStepY)
            Fail("vertical step accepted out of range", text);
    }
    if (const auto interval = AcceptInterval(v)) {
        if (!(v > 0 && v <= MaxInterval) || *interval < 1 || *interval > MaxInterval)
            Fail("interval accepted out of range", text);
    } else if (v >= 0.5 + 1e-9 && v <= MaxInterval) {
        Fail("interval in range refused", text);
    }

    // A blank at any place is ignored.
    QString blank = text;
    blank.insert(static_cast<qsizetype>(salt % (static_cast<std::size_t>(text.size()) + 1)), QChar(u' '));
    if (!SameNumber(ReadNumber(blank), v))
        Fail("an inserted blank changed the number", text);

    // A character that cannot continue any number ends it.
    if (!SameNumber(ReadNumber(text + QStringLiteral("#x")), v))
        Fail("text after the number changed it", text);

    if (!SameNumber(ReadNumber(FullWidth(text)), v))
        Fail("full-width forms read differently", text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto* bytes = reinterpret_cast<const char*>(data);
    Check(QString::fromUtf8(bytes, static_cast<qsizetype>(size)), size);
    Check(QString::fromUtf16(reinterpret_cast<const char16_t*>(data), static_cast<qsizetype>(size / 2)), size + 7);
    return 0;
}
