#include "content/handouts.h"

#include "db/sql.h"
#include "text/gbk.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace content {

QList<HandoutChapter> handoutChapters(const QSqlDatabase &db, const QString &courseId)
{
    QList<HandoutChapter> out;
    QSqlQuery q =
        db::run(db, u"select a.c_id,b.c_name from ks_jy a,cap_id b where a.c_id=b.c_id and b.m_id=?"_s, {courseId});
    while (q.next())
        out.append({q.value(0).toString(), q.value(1).toString()});
    return out;
}

std::optional<Link> handout(const QSqlDatabase &db, const QString &chapterId)
{
    QSqlQuery q = db::run(db, u"select ks_url,ks_local from ks_jy where c_id=?"_s, {chapterId});
    if (!q.next())
        return std::nullopt;
    return Link{q.value(0).toString(), q.value(1).toBool()};
}

QString coursePackage(const QSqlDatabase &db, const QString &courseId)
{
    return db::scalar(db, u"select b.m_down from cap_id a,ma_id b where a.m_id=b.m_id and a.m_type=? and b.m_id=?"_s,
                      {u"1"_s, courseId})
        .toString();
}

bool hasPackage(const QString &package)
{
    const QString p = package.trimmed();
    return !p.isEmpty() && p != u"0";
}

QUrl packageUrl(const AppPaths &paths, const QString &package)
{
    const QString name = package.trimmed();
    const QUrl address(name);
    const QString scheme = address.scheme().toLower();
    if (scheme == u"http" || scheme == u"https" || scheme == u"ftp")
        return address;
    const QString path = dataFile(paths, name);
    if (!path.isEmpty() && QFileInfo(path).isFile())
        return QUrl::fromLocalFile(path);
    if (QDir::isAbsolutePath(name))
        return {};
    // Same rule as data/: nothing outside the program's own folders.
    for (const QString &folder : paths.roots()) {
        const QString root = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
        const QString candidate = QDir::cleanPath(root + u'/' + QString(name).replace(u'\\', u'/'));
        if (candidate.startsWith(root + u'/') && QFileInfo(candidate).isFile())
            return QUrl::fromLocalFile(candidate);
    }
    return {};
}

QString packageToolTip(const QString &courseName, const QString &package)
{
    return u"下载所有"_s + courseName + u"讲义打包文件下载"_s + u"\r\n"_s + u"目标文件:"_s + package;
}

QString handoutButtonCaption(const QString &name)
{
    const QString trimmed = name.trimmed();
    QString caption;
    int width = 0;
    qsizetype k = 0;
    while (k < trimmed.size() && width < 26) {
        const qsizetype units = trimmed.at(k).isHighSurrogate() && k + 1 < trimmed.size() ? 2 : 1;
        const QString c = trimmed.mid(k, units);
        caption += c;
        width += text::gbkWidth(c);
        k += units;
    }
    return caption + QString(30 - width, u' ');
}

int handoutButtonTop(int i)
{
    return i == 0 ? 10 : 32 * i + 12;
}

} // namespace content
