#pragma once

#include "shell/apppaths.h"

#include <optional>

#include <QDate>
#include <QString>
#include <QStringList>

class IniFile;

// One key of main.ini: where it lives, its default and whether it is stored hex-XOR encoded.
struct ConfigKey
{
    const char16_t *section;
    const char16_t *key;
    const char16_t *fallback; // nullptr: computed (today's date)
    bool encoded;
};

// Every key of main.ini, in the order the main program reads them.
const QList<ConfigKey> &configKeys();
const ConfigKey &configKey(const QString &key);

// The values of main.ini as both programs use them, encoded keys decoded (user_pid stays encoded:
// it is decoded only where the connection is opened). Defaults come from configKeys().
struct AppConfig
{
    QString newsUrl;
    QString anwserUrl;
    QString ftpUrl;
    QString autoTime;
    QString eTimeTotal;
    QString beep;
    QString userLogon;
    QString userPidEncoded;
    QString updateBeforeTime;
    QString poUrl1;
    QString programFrameText;
    QString staticBarColorText;
    QString updateDays;

    // 0xRRGGBB
    quint32 programFrame = 0x0000FF;
    quint32 staticBarColor = 0x0000FF;

    bool beepEnabled() const { return beep == u"1"; }
    bool loginRequired() const { return userLogon == u"T"; }

    // Reads every key; a malformed value is reported in errors (once per key) and its default used.
    static AppConfig read(const IniFile &ini, const QDate &today, QStringList *errors = nullptr);
    static AppConfig load(const AppPaths &paths, const QDate &today, QStringList *errors = nullptr);
};

// "$" followed by hexadecimal digits in blue-green-red order (a Windows colour number); plain
// decimal numbers are accepted too. Gives 0xRRGGBB, or nothing when the text is not a colour.
std::optional<quint32> parseWindowsColour(const QString &text);

// How both programs report a malformed value of main.ini.
QString malformedValueMessage(const QString &key, const QString &value);

// The decoded user_pid; false when it is not valid hexadecimal.
bool decodeUserPid(const AppConfig &config, QString *password);

QString mainIniPath(const AppPaths &paths);
