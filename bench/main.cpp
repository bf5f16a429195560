// The benchmark of both programs' logic on a large synthetic bank. Prints the median of several
// runs for every registered case. Usage: qm_bench [case-name-filter]
#include "bench.h"
#include "synthbank.h"

#include "db/connection.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <map>

using namespace Qt::StringLiterals;

namespace bench {

namespace {
std::map<std::string, CaseFn> &cases()
{
    static std::map<std::string, CaseFn> all;
    return all;
}

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}
} // namespace

bool registerCase(const char *name, CaseFn fn)
{
    cases().emplace(name, std::move(fn));
    return true;
}

double measure(const QString &name, int runs, const std::function<void()> &body, bool warmUp)
{
    if (warmUp)
        body();
    QList<double> times;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer t;
        t.start();
        body();
        times << t.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    const double median = times.isEmpty() ? 0 : times.at(times.size() / 2);
    std::printf("  %-58s %10.3f ms   (%.3f .. %.3f, %d runs)\n", qPrintable(name), median,
                times.isEmpty() ? 0 : times.first(), times.isEmpty() ? 0 : times.last(), runs);
    std::fflush(stdout);
    return median;
}

double measureBoth(const QString &name, int runs, const std::function<void()> &body)
{
    body(); // warm-up
    QList<double> wall;
    QList<double> cpu;
    for (int k = 0; k < runs; ++k) {
        QElapsedTimer t;
        const double c0 = threadCpuMs();
        t.start();
        body();
        wall << t.nsecsElapsed() / 1e6;
        cpu << threadCpuMs() - c0;
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    bench::note(u"%1  wall %2 ms, cpu %3 ms  (median of %4 runs)"_s.arg(name.leftJustified(56))
                    .arg(wall.at(runs / 2), 0, 'f', 3)
                    .arg(cpu.at(runs / 2), 0, 'f', 3)
                    .arg(runs));
    return cpu.at(runs / 2);
}

void note(const QString &line)
{
    std::printf("  %s\n", qPrintable(line));
    std::fflush(stdout);
}

} // namespace bench

int main(int argc, char **argv)
{
    // Some cases paint widgets; they need no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString filter = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    // The large bank is kept beside the benchmark binary between runs; it takes a while to make.
    const QString cacheDir = QCoreApplication::applicationDirPath();
    const QString large = QDir(cacheDir).filePath(u"synthetic-bank-v1.sqlite"_s);
    if (!QFileInfo::exists(large)) {
        std::printf("generating the synthetic bank (100,000 questions, 1,000,000 answer records)...\n");
        QElapsedTimer t;
        t.start();
        QString error;
        if (!bench::generateBank(large + u".part"_s, {}, &error)) {
            std::fprintf(stderr, "cannot generate the synthetic bank: %s\n", qPrintable(error));
            return 1;
        }
        QFile::remove(large + u".part-wal"_s);
        QFile::remove(large + u".part-shm"_s);
        QFile::rename(large + u".part"_s, large);
        std::printf("generated in %.1f s\n", t.elapsed() / 1000.0);
    }

    QTemporaryDir work;
    bench::Context ctx;
    ctx.workDir = work.path();
    ctx.largeBank = large;
    QString error;
    if (!db::openBank(large, QString::fromLatin1(db::kMainConnection), &error)) {
        std::fprintf(stderr, "cannot open the synthetic bank: %s\n", qPrintable(error));
        return 1;
    }
    ctx.db = db::bank();

    for (auto &[name, fn] : bench::cases()) {
        if (!filter.isEmpty() && !QString::fromStdString(name).contains(filter))
            continue;
        std::printf("%s\n", name.c_str());
        fn(ctx);
    }
    return 0;
}
