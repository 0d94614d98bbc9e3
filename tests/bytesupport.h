#pragma once
// The little-endian fields of the file headers (RIFF, BMP) that tests write by hand.
#include <QByteArray>

#include <utility>

// Two writers appending to `b`: a 32-bit and a 16-bit field, low byte first.
inline auto LittleEndianWriters(QByteArray& b)
{
    auto u32 = [&b](quint32 v) {
        for (int i = 0; i < 4; ++i)
            b.append(char((v >> (8 * i)) & 0xFF));
    };
    auto u16 = [&b](quint16 v) {
        b.append(char(v & 0xFF));
        b.append(char(v >> 8));
    };
    return std::pair{u32, u16};
}
