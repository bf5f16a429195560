#include "text/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace text {

namespace {

int charWidth(QChar c)
{
    return c.unicode() < 0x80 ? 1 : 2;
}

// Code units of the character at k: a surrogate pair is one character, a lone surrogate another.
qsizetype unitsAt(const QString &text, qsizetype k)
{
    return text.at(k).isHighSurrogate() && k + 1 < text.size() && text.at(k + 1).isLowSurrogate() ? 2 : 1;
}

} // namespace

int gbkWidth(const QString &text)
{
    int width = 0;
    for (qsizetype k = 0; k < text.size(); k += unitsAt(text, k))
        width += charWidth(text.at(k));
    return width;
}

QString gbkLeft(const QString &text, int maxBytes)
{
    int width = 0;
    qsizetype k = 0;
    while (k < text.size()) {
        const QChar c = text.at(k);
        const int w = charWidth(c);
        const qsizetype units = unitsAt(text, k);
        if (width + w > maxBytes)
            break;
        width += w;
        k += units;
    }
    return text.left(k);
}

QByteArray toGbk(const QString &text)
{
    QStringEncoder encoder("GBK");
    if (!encoder.isValid())
        return text.toUtf8();
    return encoder.encode(text);
}

QString fromGbk(const QByteArray &bytes)
{
    QStringDecoder decoder("GBK");
    if (!decoder.isValid())
        return QString::fromUtf8(bytes);
    return decoder.decode(bytes);
}

QString decodeUtf8OrGbk(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(bytes);
    if (!utf8.hasError())
        return decoded;
    return fromGbk(bytes);
}

QString hexXorEncode(const QString &text)
{
    const QByteArray bytes = toGbk(text);
    QString out;
    out.reserve(bytes.size() * 2);
    static constexpr char digits[] = "0123456789ABCDEF";
    for (const char b : bytes) {
        const unsigned char x = static_cast<unsigned char>(b) ^ kXorMask;
        out += QLatin1Char(digits[x >> 4]);
        out += QLatin1Char(digits[x & 0x0F]);
    }
    return out;
}

bool hexXorDecode(const QString &hex, QString *out)
{
    const auto digit = [](QChar c) -> int {
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            return u - u'0';
        if (u >= u'a' && u <= u'f')
            return u - u'a' + 10;
        if (u >= u'A' && u <= u'F')
            return u - u'A' + 10;
        return -1;
    };
    QByteArray bytes;
    bytes.reserve(hex.size() / 2);
    for (qsizetype k = 0; k + 1 < hex.size(); k += 2) {
        const int hi = digit(hex.at(k));
        const int lo = digit(hex.at(k + 1));
        if (hi < 0 || lo < 0)
            return false;
        bytes += char(((hi << 4) | lo) ^ kXorMask);
    }
    *out = fromGbk(bytes);
    return true;
}

} // namespace text
