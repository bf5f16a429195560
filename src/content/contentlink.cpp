#include "content/contentlink.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace content {

QString dataFile(const QString &programDir, const QString &relative)
{
    // Entries written on Windows may use backslashes.
    QString name = relative.trimmed();
    name.replace(u'\\', u'/');
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return {};
    const QString data = QDir::cleanPath(QDir(programDir).filePath(u"data"_s));
    const QString path = QDir::cleanPath(data + u'/' + name);
    if (!path.startsWith(data + u'/'))
        return {};
    return path;
}

Destination resolve(const Link &link, const QString &programDir, bool online, bool onlineRequired)
{
    if (link.local) {
        const QString path = dataFile(programDir, link.target);
        if (path.isEmpty() || !QFileInfo(path).isFile())
            return {Destination::Kind::Missing, u"data/"_s + link.target.trimmed()};
        return {Destination::Kind::LocalFile, path};
    }
    if (onlineRequired && !online)
        return {Destination::Kind::Offline, link.target};
    return {Destination::Kind::WebAddress, link.target.trimmed()};
}

} // namespace content
