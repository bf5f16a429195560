#include "content/contentlink.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace content {

QString dataFile(const AppPaths &paths, const QString &relative)
{
    // Entries written on Windows may use backslashes.
    QString name = relative.trimmed();
    name.replace(u'\\', u'/');
    if (name.isEmpty() || QDir::isAbsolutePath(name))
        return {};
    // The first data/ that holds the file (a downloaded page before the shipped one), else the first.
    QString first;
    for (const QString &root : paths.roots()) {
        const QString data = QDir::cleanPath(QDir(root).filePath(u"data"_s));
        const QString path = QDir::cleanPath(data + u'/' + name);
        if (!path.startsWith(data + u'/'))
            return {};
        if (QFileInfo::exists(path))
            return path;
        if (first.isEmpty())
            first = path;
    }
    return first;
}

Destination resolve(const Link &link, const AppPaths &paths, bool online, bool onlineRequired)
{
    if (link.local) {
        const QString path = dataFile(paths, link.target);
        if (path.isEmpty() || !QFileInfo(path).isFile())
            return {Destination::Kind::Missing, u"data/"_s + link.target.trimmed()};
        return {Destination::Kind::LocalFile, path};
    }
    if (onlineRequired && !online)
        return {Destination::Kind::Offline, link.target};
    return {Destination::Kind::WebAddress, link.target.trimmed()};
}

} // namespace content
