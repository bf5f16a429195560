#pragma once

#include <QByteArray>
#include <QString>

// Byte widths of texts as the GBK code page counts them, and the hex-XOR codec of configuration values.
namespace text {

// An ASCII character counts 1 byte, any other character 2.
int gbkWidth(const QString &text);

// The longest prefix of at most maxBytes GBK bytes; never cuts a character in half.
QString gbkLeft(const QString &text, int maxBytes);

QByteArray toGbk(const QString &text);
QString fromGbk(const QByteArray &bytes);

// Decodes UTF-8, falling back to GBK when the bytes are not valid UTF-8.
QString decodeUtf8OrGbk(const QByteArray &bytes);

// Each GBK byte XOR the mask, as two upper-case hexadecimal digits.
QString hexXorEncode(const QString &text);

// Reverse of hexXorEncode; an odd last digit is ignored. Returns false (and leaves out untouched)
// when a pair is not hexadecimal.
bool hexXorDecode(const QString &hex, QString *out);

inline constexpr unsigned char kXorMask = 0x5A;

} // namespace text
