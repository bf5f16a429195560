#include "shell/inifile.h"

#include "text/gbk.h"

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
    m_lines.clear();
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
    setText(text::decodeUtf8OrGbk(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes));
}

void IniFile::setText(const QString &text)
{
    QString normalised = text;
    normalised.replace(u"\r\n"_s, u"\n"_s);
    m_lines = normalised.split(u'\n');
    if (!m_lines.isEmpty() && m_lines.last().isEmpty())
        m_lines.removeLast();
}

QString IniFile::text() const
{
    QString out;
    for (const QString &line : m_lines)
        out += line + u"\r\n"_s;
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
    file.write(text().toUtf8());
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
    } else if (sectionEnd >= 0) {
        m_lines.insert(sectionEnd, line);
    } else {
        if (!m_lines.isEmpty() && !m_lines.last().trimmed().isEmpty())
            m_lines.append(QString());
        m_lines.append(u'[' + section + u']');
        m_lines.append(line);
    }
}
