#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A small text file (main.ini, alter.ini) as lines, with the encoding it came in and each line's
// bytes as read, so that writing it back can keep every line nobody changed byte for byte.
namespace text {

enum class FileEncoding { Utf8, Gbk, Utf16Le, Utf16Be };

struct TextLines
{
    FileEncoding encoding = FileEncoding::Utf8;
    bool byteOrderMark = false;
    QStringList lines;
    QList<QByteArray> raw; // each line's bytes without its line break
};

// Lines end at "\n" or "\r\n". The encoding is told by a byte order mark (UTF-8, UTF-16 either way
// round); without one, UTF-8 when the bytes are valid UTF-8, else GBK.
TextLines splitTextFile(const QByteArray &bytes);

QByteArray encodeLine(const QString &line, FileEncoding encoding);
QByteArray lineBreak(FileEncoding encoding);
QByteArray byteOrderMark(FileEncoding encoding);

} // namespace text
