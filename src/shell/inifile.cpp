#include "shell/inifile.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {

// "[name]" -> name, or a null string for a line that is not a section header.
QString sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.size() >= 2 && t.startsWith(u'[') && t.endsWith(u']'))
        return t.mid(1, t.size() - 2).trimmed();
    return {};
}

bool isComment(const QString &trimmed)
{
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

} // namespace

IniFile::IniFile(const QString &path)
    : m_path(path)
{
}

bool IniFile::load(QString *error)
{
    setText({});
    m_encoding = text::FileEncoding::Utf8;
    m_byteOrderMark = false;
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    setBytes(file.readAll());
    return true;
}

void IniFile::setBytes(const QByteArray &bytes)
{
    text::TextLines file = text::splitTextFile(bytes);
    m_lines = file.lines;
    m_raw.clear();
    for (const QByteArray &raw : std::as_const(file.raw))
        m_raw << raw;
    m_encoding = file.encoding;
    m_byteOrderMark = file.byteOrderMark;
}

void IniFile::setText(const QString &text)
{
    QString normalised = text;
    normalised.replace(u"\r\n"_s, u"\n"_s);
    m_lines = normalised.split(u'\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
    m_raw = QList<std::optional<QByteArray>>(m_lines.size());
}

QString IniFile::text() const
{
    QString out;
    for (const QString &line : m_lines)
        out += line + u"\r\n"_s;
    return out;
}

QByteArray IniFile::bytes() const
{
    const auto readsBack = [this](const QByteArray &bytes) { return text::splitTextFile(bytes).lines == m_lines; };
    const QByteArray kept = encoded(m_encoding, true);
    if (readsBack(kept))
        return kept;
    // A UTF-16 file cut in the middle of a character: its lines written anew.
    if (m_encoding == text::FileEncoding::Utf16Le || m_encoding == text::FileEncoding::Utf16Be) {
        const QByteArray rewritten = encoded(m_encoding, false);
        if (readsBack(rewritten))
            return rewritten;
    }
    // GBK is told from UTF-8 only by its bytes: a GBK file that would read back otherwise (a changed
    // line GBK cannot hold, or no byte left that is not UTF-8) is written as UTF-8.
    return encoded(text::FileEncoding::Utf8, false);
}

QByteArray IniFile::encoded(text::FileEncoding encoding, bool keepRaw) const
{
    QByteArray out = m_byteOrderMark ? text::byteOrderMark(encoding) : QByteArray();
    const QByteArray lineBreak = text::lineBreak(encoding);
    for (qsizetype k = 0; k < m_lines.size(); ++k) {
        out += keepRaw && m_raw.at(k) ? *m_raw.at(k) : text::encodeLine(m_lines.at(k), encoding);
        out += lineBreak;
    }
    return out;
}

bool IniFile::save(QString *error) const
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.write(bytes());
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

int IniFile::find(const QString &section, const QString &key, int *sectionEnd) const
{
    bool inSection = false;
    if (sectionEnd)
        *sectionEnd = -1;
    for (int k = 0; k < m_lines.size(); ++k) {
        const QString &line = m_lines.at(k);
        const QString name = sectionName(line);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection && sectionEnd)
                *sectionEnd = k + 1;
            continue;
        }
        if (!inSection)
            continue;
        const QString t = line.trimmed();
        if (t.isEmpty())
            continue;
        if (sectionEnd)
            *sectionEnd = k + 1;
        if (isComment(t))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return -1;
}

QString IniFile::value(const QString &section, const QString &key, const QString &fallback) const
{
    const int k = find(section, key);
    if (k < 0)
        return fallback;
    const QString &line = m_lines.at(k);
    QString v = line.mid(line.indexOf(u'=') + 1).trimmed();
    // Profile routines strip one pair of surrounding quotes.
    if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
        v = v.mid(1, v.size() - 2);
    return v;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return find(section, key) >= 0;
}

void IniFile::setValue(const QString &section, const QString &key, const QString &value)
{
    int sectionEnd = -1;
    const int k = find(section, key, &sectionEnd);
    const QString line = key + u'=' + value;
    if (k >= 0) {
        m_lines[k] = m_lines.at(k).left(m_lines.at(k).indexOf(u'=')).trimmed() + u'=' + value;
        m_raw[k].reset();
    } else if (sectionEnd >= 0) {
        m_lines.insert(sectionEnd, line);
        m_raw.insert(sectionEnd, std::nullopt);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty()) {
            m_lines.append(QString());
            m_raw.append(std::nullopt);
        }
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
        m_raw.append(std::nullopt);
        m_raw.append(std::nullopt);
    }
}
