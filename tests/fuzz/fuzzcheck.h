#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: a property that does not hold aborts the run with the reason, so
// that libFuzzer keeps the input as a finding.
#define FUZZ_CHECK(condition, ...)                                                                                     \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);                     \
            fuzz::explain(__VA_ARGS__);                                                                                \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

namespace fuzz {

inline void explain() {}

template <typename... Texts> void explain(const QString &first, const Texts &...rest)
{
    std::fprintf(stderr, "  %s\n", qPrintable(first));
    explain(rest...);
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The input's bytes read as UTF-16 code units: every QString, lone surrogates included.
inline QString utf16Of(const QByteArray &bytes)
{
    return QString(reinterpret_cast<const QChar *>(bytes.constData()), bytes.size() / 2);
}

// Qt's plugins (the SQLite driver) are found through the application object.
inline void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

} // namespace fuzz
