#include "update/updatelist.h"

#include "text/gbk.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace update {

UpdateList parseUpdateList(const QByteArray &bytes)
{
    QStringList lines = text::decodeUtf8OrGbk(bytes).split(QRegularExpression(u"\r\n|\n|\r"_s));
    // A final line break ends the last line; it does not start an empty one.
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (!lines.isEmpty() && lines.first().startsWith(QChar(0xFEFF)))
        lines.first().remove(0, 1);
    UpdateList list;
    list.dateText = lines.value(0).trimmed();
    list.entries = lines.mid(2);
    return list;
}

std::optional<QDateTime> parseListDate(const QString &text)
{
    static const QRegularExpression pattern(
        u"^\\s*(\\d{4})([-/.])(\\d{1,2})\\2(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"_s);
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QDate date(m.captured(1).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    if (!date.isValid())
        return std::nullopt;
    QTime time(0, 0);
    if (m.hasCaptured(5)) {
        time = QTime(m.captured(5).toInt(), m.captured(6).toInt(), m.hasCaptured(7) ? m.captured(7).toInt() : 0);
        if (!time.isValid())
            return std::nullopt;
    }
    return QDateTime(date, time);
}

Entry classifyEntry(const QString &entry)
{
    const QString e = entry.trimmed();
    if (e.isEmpty())
        return {};
    QString path = e;
    path.replace(u'\\', u'/');
    // A colon names a drive or a scheme; a leading separator an absolute path.
    if (path.contains(u':') || path.startsWith(u'/'))
        return {EntryKind::Refused, {}};
    QStringList parts;
    for (const QString &part : path.split(u'/', Qt::SkipEmptyParts)) {
        if (part == u"..")
            return {EntryKind::Refused, {}};
        if (part != u".")
            parts << part;
    }
    if (parts.isEmpty() || path.endsWith(u'/'))
        return {EntryKind::Refused, {}};
    const QString relative = parts.join(u'/');
    // The live bank and its journal files are only ever changed by the merge: "./sys.htm" names the
    // new bank like "sys.htm" does, and its journals are never downloaded over.
    if (relative == QLatin1StringView(kBankEntry))
        return {EntryKind::Bank, {}};
    if (relative.startsWith(QLatin1StringView(kBankEntry) + u'-'))
        return {EntryKind::Refused, {}};
    return {EntryKind::File, relative};
}

} // namespace update
