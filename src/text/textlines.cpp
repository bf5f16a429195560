#include "text/textlines.h"

#include "text/gbk.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace text {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr char kUtf16LeBom[] = "\xFF\xFE";
constexpr char kUtf16BeBom[] = "\xFE\xFF";

bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = utf8.decode(bytes);
    return !utf8.hasError();
}

QStringConverter::Encoding utf16(FileEncoding encoding)
{
    return encoding == FileEncoding::Utf16Le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

QString decodeLine(const QByteArray &raw, FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8:
        return QString::fromUtf8(raw);
    case FileEncoding::Gbk:
        return fromGbk(raw);
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be:
        break;
    }
    QStringDecoder decoder(utf16(encoding), QStringDecoder::Flag::Stateless);
    return decoder.decode(raw);
}

// The lines of bytes made of units of unitSize bytes; a line break is the unit "\n", a "\r" unit
// right before it belongs to the break.
QList<QByteArray> rawLines(const QByteArray &bytes, FileEncoding encoding)
{
    const qsizetype unit = encoding == FileEncoding::Utf16Le || encoding == FileEncoding::Utf16Be ? 2 : 1;
    const auto unitAt = [&](qsizetype k) -> char16_t {
        if (unit == 1)
            return uchar(bytes.at(k));
        const auto first = uchar(bytes.at(k)), second = uchar(bytes.at(k + 1));
        return encoding == FileEncoding::Utf16Le ? char16_t(first | second << 8) : char16_t(first << 8 | second);
    };
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype k = 0; k + unit <= bytes.size(); k += unit) {
        if (unitAt(k) != u'\n')
            continue;
        qsizetype end = k;
        if (end - start >= unit && unitAt(end - unit) == u'\r')
            end -= unit;
        lines << bytes.mid(start, end - start);
        start = k + unit;
    }
    // A final line break ends the last line; it does not start an empty one.
    if (start < bytes.size())
        lines << bytes.mid(start);
    return lines;
}

} // namespace

TextLines splitTextFile(const QByteArray &bytes)
{
    TextLines file;
    QByteArray body = bytes;
    if (bytes.startsWith(kUtf8Bom)) {
        file.byteOrderMark = true;
        body = bytes.mid(3);
    } else if (bytes.startsWith(kUtf16LeBom) || bytes.startsWith(kUtf16BeBom)) {
        file.byteOrderMark = true;
        file.encoding = bytes.startsWith(kUtf16LeBom) ? FileEncoding::Utf16Le : FileEncoding::Utf16Be;
        body = bytes.mid(2);
    }
    if (!file.byteOrderMark && !isUtf8(body))
        file.encoding = FileEncoding::Gbk;
    file.raw = rawLines(body, file.encoding);
    for (const QByteArray &raw : std::as_const(file.raw))
        file.lines << decodeLine(raw, file.encoding);
    return file;
}

QByteArray encodeLine(const QString &line, FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8:
        return line.toUtf8();
    case FileEncoding::Gbk:
        return toGbk(line);
    case FileEncoding::Utf16Le:
    case FileEncoding::Utf16Be:
        break;
    }
    QStringEncoder encoder(utf16(encoding), QStringEncoder::Flag::Stateless);
    return encoder.encode(line);
}

QByteArray lineBreak(FileEncoding encoding)
{
    return encodeLine(QStringLiteral("\r\n"), encoding);
}

QByteArray byteOrderMark(FileEncoding encoding)
{
    switch (encoding) {
    case FileEncoding::Utf8:
        return kUtf8Bom;
    case FileEncoding::Gbk:
        return {};
    case FileEncoding::Utf16Le:
        return kUtf16LeBom;
    case FileEncoding::Utf16Be:
        return kUtf16BeBom;
    }
    return {};
}

} // namespace text
