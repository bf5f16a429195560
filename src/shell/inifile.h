#pragma once

#include "text/textlines.h"

#include <QString>
#include <QStringList>

#include <optional>

// An INI file read and written the way Windows profile routines do: section and key names compare
// without regard to case, a missing key yields the caller's default, and writing a value keeps
// every other line (comments, unknown keys, blank lines) as it was, byte for byte, in the encoding
// the file came in.
class IniFile final
{
public:
    IniFile() = default;
    explicit IniFile(const QString &path);

    // Reads the file; a missing file reads as empty. UTF-8 or UTF-16 with a byte order mark, else UTF-8,
    // or GBK when the bytes are not UTF-8.
    bool load(QString *error = nullptr);
    // Writes atomically (the old file stays intact when writing fails).
    bool save(QString *error = nullptr) const;

    QString value(const QString &section, const QString &key, const QString &fallback = {}) const;
    bool contains(const QString &section, const QString &key) const;
    void setValue(const QString &section, const QString &key, const QString &value);

    QString path() const { return m_path; }
    // The content of a file as read from disk (what load() does after reading it).
    void setBytes(const QByteArray &bytes);
    void setText(const QString &text);
    QString text() const;
    // What save() writes: the lines read unchanged, changed lines in the file's encoding, each ended
    // by "\r\n"; a GBK file that would not read back the same is written as UTF-8.
    QByteArray bytes() const;

private:
    // Line index of the key inside the section, or -1; sectionEnd gets the line after the
    // section's last non-blank line (-1 when the section is missing).
    int find(const QString &section, const QString &key, int *sectionEnd = nullptr) const;
    QByteArray encoded(text::FileEncoding encoding, bool keepRaw) const;

    QString m_path;
    QStringList m_lines;
    // Each line's bytes as read; nothing for a line set or changed since.
    QList<std::optional<QByteArray>> m_raw;
    text::FileEncoding m_encoding = text::FileEncoding::Utf8;
    bool m_byteOrderMark = false;
};
