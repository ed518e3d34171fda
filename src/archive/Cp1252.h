#pragma once

#include <QByteArray>
#include <QString>

namespace zol {

// Windows code page 1252: the character set of every text the office stores, prints and
// transmits. Qt has no codec for it, so this is the one conversion the whole program uses.
namespace Cp1252 {

// The byte of one character in code page 1252, or -1 when the code page has none.
int byteOf(QChar c);

// True when every character of text has a byte in code page 1252.
bool canEncode(const QString& text);

// The first character of text that code page 1252 cannot hold, or a null QChar.
// A character outside the Basic Multilingual Plane (an emoji) is reported by its high surrogate.
QString firstUnencodable(const QString& text);

// One byte per character; a character without a byte becomes '?' and clears *ok.
QByteArray encode(const QString& text, bool* ok = nullptr);

QString decode(const QByteArray& bytes);

} // namespace Cp1252
} // namespace zol
