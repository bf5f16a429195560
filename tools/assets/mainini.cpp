#include "mainini.h"

#include "shell/appconfig.h"
#include "shell/inifile.h"
#include "text/gbk.h"

using namespace Qt::StringLiterals;

namespace mainini {

QString text()
{
    QStringList lines = {u"; Quillmark 配置文件"_s};
    QString section;
    for (const ConfigKey &k : configKeys()) {
        const QString name = QString::fromUtf16(k.section);
        if (name != section) {
            if (!section.isEmpty())
                lines << QString();
            lines << u"["_s + name + u"]"_s;
            section = name;
        }
        const QString key = QString::fromUtf16(k.key);
        if (!k.fallback) {
            lines << u"; %1: 上次题库更新的日期 (yyyy-mm-dd), 由升级程序写入; 没有时按当天计"_s.arg(key);
            continue;
        }
        const QString value = QString::fromUtf16(k.fallback);
        lines << key + u'=' + (k.encoded ? text::hexXorEncode(value) : value);
    }
    return lines.join(u'\n') + u'\n';
}

bool write(const QString &path, QString *error)
{
    IniFile ini(path);
    ini.setText(text());
    return ini.save(error);
}

} // namespace mainini
