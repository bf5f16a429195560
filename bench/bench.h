#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

// The benchmark: each file registers cases with QM_BENCH_CASE; a case times its steps with
// bench::measure, which prints the median (and min/max) of several runs.
namespace bench {

struct Context
{
    QString workDir;      // scratch folder of this run
    QString largeBank;    // path of the synthetic large bank (read it, or copy it before writing)
    QSqlDatabase db;      // the large bank, opened as the main program opens it
};

using CaseFn = std::function<void(Context &)>;

bool registerCase(const char *name, CaseFn fn);

// Runs body `runs` times (after one warm-up unless warmUp is false) and prints
// "name  median ms  (min .. max, n runs)". Returns the median in milliseconds.
double measure(const QString &name, int runs, const std::function<void()> &body, bool warmUp = true);

// Runs body `runs` times after one warm-up and prints the median wall-clock time and the median
// CPU time of this thread ("name  wall W ms, cpu C ms"); on a machine shared with other work the
// CPU time is the steadier figure. Returns the CPU-time median.
double measureBoth(const QString &name, int runs, const std::function<void()> &body);

// Prints a free line of results (ratios, targets).
void note(const QString &line);

} // namespace bench

#define QM_BENCH_CONCAT2(a, b) a##b
#define QM_BENCH_CONCAT(a, b) QM_BENCH_CONCAT2(a, b)
#define QM_BENCH_CASE(name)                                                                                            \
    static void QM_BENCH_CONCAT(benchCase_, __LINE__)(bench::Context &);                                               \
    static const bool QM_BENCH_CONCAT(benchReg_, __LINE__) =                                                           \
        bench::registerCase(name, QM_BENCH_CONCAT(benchCase_, __LINE__));                                              \
    static void QM_BENCH_CONCAT(benchCase_, __LINE__)(bench::Context & ctx)
