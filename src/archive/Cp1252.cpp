#include "archive/Cp1252.h"

namespace zol::Cp1252 {
namespace {

// Bytes 0x80-0x9F; 0 marks the five bytes that code page 1252 leaves unassigned.
constexpr char16_t kHighBlock[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

} // namespace

int byteOf(QChar ch)
{
    const char16_t c = ch.unicode();
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kHighBlock[i] != 0 && kHighBlock[i] == c)
            return 0x80 + i;
    return -1;
}

bool canEncode(const QString& text)
{
    return firstUnencodable(text).isEmpty();
}

QString firstUnencodable(const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (byteOf(c) < 0) {
            if (c.isHighSurrogate() && i + 1 < text.size())
                return text.mid(i, 2);
            return QString(c);
        }
    }
    return {};
}

QByteArray encode(const QString& text, bool* ok)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* p = out.data();
    bool allOk = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const int b = byteOf(c);
        if (b < 0) {
            allOk = false;
            *p++ = '?';
            if (c.isHighSurrogate() && i + 1 < text.size())
                ++i; // one mark for the whole emoji
        } else {
            *p++ = char(b);
        }
    }
    out.truncate(p - out.data());
    if (ok)
        *ok = allOk;
    return out;
}

QString decode(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80 && b < 0xA0 && kHighBlock[b - 0x80] != 0)
            out.append(QChar(kHighBlock[b - 0x80]));
        else
            out.append(QChar(b));
    }
    return out;
}

} // namespace zol::Cp1252
