#pragma once

#include <QByteArray>
#include <QtEndian>

// Little-endian fields of the binary formats written here (BMP, WAV).
namespace bytes {

inline void putLe16(QByteArray &b, quint16 v)
{
    char raw[2];
    qToLittleEndian(v, raw);
    b.append(raw, 2);
}

inline void putLe32(QByteArray &b, quint32 v)
{
    char raw[4];
    qToLittleEndian(v, raw);
    b.append(raw, 4);
}

} // namespace bytes
