// main.ini and alter.ini in any encoding: every key reads without harm, and writing a key the
// programs write keeps every other line and every other key's value.
#include "fuzzcheck.h"

#include "shell/appconfig.h"
#include "shell/inifile.h"
#include "text/gbk.h"
#include "text/textlines.h"

#include <QDate>

using namespace Qt::StringLiterals;

namespace {

struct Key
{
    QString section;
    QString key;
};

QList<Key> allKeys()
{
    QList<Key> keys;
    for (const ConfigKey &k : configKeys())
        keys.append({QString::fromUtf16(k.section), QString::fromUtf16(k.key)});
    keys.append({u"config"_s, u"next_update_time"_s});
    keys.append({u"main"_s, u"alter_con"_s});
    keys.append({u"main"_s, u"alter_url"_s});
    return keys;
}

QStringList linesOf(const IniFile &ini)
{
    QStringList lines = ini.text().split(u"\r\n"_s);
    lines.removeLast(); // every line ends with a line break
    return lines;
}

// Lines of bytes: split at "\n", a "\r" before it dropped; a byte order mark is not part of line 1.
QList<QByteArray> byteLines(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> lines = bytes.split('\n');
    for (qsizetype k = 0; k + 1 < lines.size(); ++k) {
        if (lines[k].endsWith('\r'))
            lines[k].chop(1);
    }
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    static const QList<Key> keys = allKeys();
    const Key &written = keys.at(data[0] % keys.size());
    const QByteArray bytes = fuzz::bytesOf(data + 1, size - 1);

    IniFile ini;
    ini.setBytes(bytes);
    QStringList errors;
    const AppConfig config = AppConfig::read(ini, QDate(2026, 12, 10), &errors);
    FUZZ_CHECK(config.programFrame <= 0xFFFFFF && config.staticBarColor <= 0xFFFFFF, config.programFrameText);
    FUZZ_CHECK(errors.size() <= configKeys().size(), errors.join(u'\n'));

    QList<QString> before;
    for (const Key &k : keys)
        before << (ini.contains(k.section, k.key) ? ini.value(k.section, k.key) : u"<none>"_s);
    const QStringList oldLines = linesOf(ini);
    const bool existed = ini.contains(written.section, written.key);

    // What the programs write: dates and encoded addresses.
    const QString value = data[0] & 0x80   ? u"2026-12-10"_s
                          : data[0] & 0x40 ? u"T"_s
                                           : text::hexXorEncode(u"http://127.0.0.1:8080/"_s);
    ini.setValue(written.section, written.key, value);
    FUZZ_CHECK(ini.value(written.section, written.key) == value, written.key);

    // Every old line is still there, in order: only the key's own line changed, or the key's line
    // (and, for a new section, its header and a blank line) came in.
    const QStringList newLines = linesOf(ini);
    if (existed) {
        FUZZ_CHECK(newLines.size() == oldLines.size(), ini.text());
        int changed = 0;
        for (qsizetype k = 0; k < oldLines.size(); ++k)
            changed += newLines.at(k) == oldLines.at(k) ? 0 : 1;
        FUZZ_CHECK(changed <= 1, ini.text());
    } else {
        qsizetype kept = 0;
        for (const QString &line : newLines) {
            if (kept < oldLines.size() && line == oldLines.at(kept))
                ++kept;
        }
        FUZZ_CHECK(kept == oldLines.size(), ini.text());
        FUZZ_CHECK(newLines.size() - oldLines.size() <= 3, ini.text());
    }

    // Read back from what is saved: the written key and every other key as before.
    const QByteArray savedBytes = ini.bytes();
    IniFile saved;
    saved.setBytes(savedBytes);
    FUZZ_CHECK(saved.text() == ini.text(), ini.text(), saved.text());
    FUZZ_CHECK(saved.bytes() == savedBytes, ini.text());
    for (qsizetype n = 0; n < keys.size(); ++n) {
        const Key &other = keys.at(n);
        const QString now =
            saved.contains(other.section, other.key) ? saved.value(other.section, other.key) : u"<none>"_s;
        if (other.section == written.section && other.key == written.key)
            FUZZ_CHECK(now == value, other.key, now);
        else
            FUZZ_CHECK(now == before.at(n), other.key, before.at(n), now, ini.text());
    }

    // A file of single bytes that stays in its encoding keeps the bytes of every line it had.
    const text::FileEncoding encoding = text::splitTextFile(bytes).encoding;
    if ((encoding == text::FileEncoding::Utf8 || encoding == text::FileEncoding::Gbk) &&
        text::splitTextFile(savedBytes).encoding == encoding) {
        const QList<QByteArray> oldRaw = byteLines(bytes);
        const QList<QByteArray> newRaw = byteLines(savedBytes);
        if (existed) {
            FUZZ_CHECK(newRaw.size() == oldRaw.size(), ini.text());
            int changed = 0;
            for (qsizetype k = 0; k < oldRaw.size(); ++k)
                changed += newRaw.at(k) == oldRaw.at(k) ? 0 : 1;
            FUZZ_CHECK(changed <= 1, ini.text());
        } else {
            qsizetype kept = 0;
            for (const QByteArray &line : newRaw) {
                if (kept < oldRaw.size() && line == oldRaw.at(kept))
                    ++kept;
            }
            FUZZ_CHECK(kept == oldRaw.size(), ini.text());
        }
    }
    return 0;
}
