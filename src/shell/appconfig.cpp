#include "shell/appconfig.h"

#include "shell/inifile.h"
#include "text/gbk.h"

#include <QDir>

using namespace Qt::StringLiterals;

const QList<ConfigKey> &configKeys()
{
    static const QList<ConfigKey> keys = {
        {u"main", u"news_url", u"no", true},
        {u"main", u"anwser_url", u"no", true},
        {u"main", u"ftp_url", u"no", true},
        {u"config", u"auto_time", u"30", false},
        {u"config", u"e_time_total", u"120", false},
        {u"config", u"beep", u"0", false},
        {u"config", u"user_logon", u"F", false},
        {u"config", u"user_pid", u"", true},
        {u"config", u"update_before_time", nullptr, false},
        {u"config", u"po_url1", u"", true},
        {u"config", u"program_frame", u"$ff0000", false},
        {u"config", u"static_bar_color", u"$ff0000", false},
        {u"config", u"update_days", u"30", false},
    };
    return keys;
}

const ConfigKey &configKey(const QString &key)
{
    for (const ConfigKey &k : configKeys()) {
        if (key == QString::fromUtf16(k.key))
            return k;
    }
    Q_UNREACHABLE();
}

std::optional<quint32> parseWindowsColour(const QString &text)
{
    const QString t = text.trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (t.startsWith(u'$'))
        value = t.mid(1).toLongLong(&ok, 16);
    else if (t.startsWith(u"0x", Qt::CaseInsensitive))
        value = t.mid(2).toLongLong(&ok, 16);
    else
        value = t.toLongLong(&ok, 10);
    if (!ok || value < 0 || value > 0xFFFFFF)
        return std::nullopt;
    const auto bgr = quint32(value);
    return ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
}

AppConfig AppConfig::read(const IniFile &ini, const QDate &today, QStringList *errors)
{
    const auto report = [errors](const QString &key, const QString &value) {
        if (errors)
            errors->append(malformedValueMessage(key, value));
    };

    QHash<QString, QString> v;
    for (const ConfigKey &k : configKeys()) {
        const QString section = QString::fromUtf16(k.section);
        const QString key = QString::fromUtf16(k.key);
        const QString fallback = k.fallback ? QString::fromUtf16(k.fallback) : today.toString(u"yyyy-MM-dd"_s);
        if (!ini.contains(section, key)) {
            v.insert(key, fallback);
            continue;
        }
        const QString raw = ini.value(section, key);
        QString decoded;
        if (!k.encoded) {
            v.insert(key, raw);
        } else if (!text::hexXorDecode(raw, &decoded)) {
            report(key, raw);
            v.insert(key, fallback);
        } else {
            // The database password is decoded only when the connection is built.
            v.insert(key, key == u"user_pid" ? raw : decoded);
        }
    }

    AppConfig c;
    c.newsUrl = v.value(u"news_url"_s);
    c.anwserUrl = v.value(u"anwser_url"_s);
    c.ftpUrl = v.value(u"ftp_url"_s);
    c.autoTime = v.value(u"auto_time"_s);
    c.eTimeTotal = v.value(u"e_time_total"_s);
    c.beep = v.value(u"beep"_s);
    c.userLogon = v.value(u"user_logon"_s);
    c.userPidEncoded = v.value(u"user_pid"_s);
    c.updateBeforeTime = v.value(u"update_before_time"_s);
    c.poUrl1 = v.value(u"po_url1"_s);
    c.programFrameText = v.value(u"program_frame"_s);
    c.staticBarColorText = v.value(u"static_bar_color"_s);
    c.updateDays = v.value(u"update_days"_s);

    const auto colour = [&](const char16_t *key, QString *textValue, quint32 *out) {
        const QString name = QString::fromUtf16(key);
        if (const auto parsed = parseWindowsColour(*textValue)) {
            *out = *parsed;
            return;
        }
        report(name, *textValue);
        *textValue = QString::fromUtf16(configKey(name).fallback);
        *out = *parseWindowsColour(*textValue);
    };
    colour(u"program_frame", &c.programFrameText, &c.programFrame);
    colour(u"static_bar_color", &c.staticBarColorText, &c.staticBarColor);
    return c;
}

AppConfig AppConfig::load(const AppPaths &paths, const QDate &today, QStringList *errors)
{
    IniFile ini(mainIniPath(paths));
    QString error;
    if (!ini.load(&error) && errors)
        errors->append(u"main.ini: "_s + error);
    return read(ini, today, errors);
}

QString malformedValueMessage(const QString &key, const QString &value)
{
    return u"main.ini: %1 = \"%2\" 不是有效的值,已使用默认值."_s.arg(key, value);
}

bool decodeUserPid(const AppConfig &config, QString *password)
{
    return text::hexXorDecode(config.userPidEncoded, password);
}

QString mainIniPath(const AppPaths &paths)
{
    return paths.mainIni();
}
