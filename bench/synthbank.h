#pragma once

#include <QString>

// A large synthetic question bank for the benchmark: 100,000 questions in 4 courses (chapters and
// papers, every type, case sub-questions), 20,000 sessions with 1,000,000 answer records and
// their totals. Deterministic for a given seed.
namespace bench {

struct SynthSize
{
    int questions = 100000;
    int sessions = 20000;
    int recordsPerSession = 50;
};

// Writes the bank to path (replacing it); returns false with a reason on failure.
bool generateBank(const QString &path, const SynthSize &size, QString *error);

} // namespace bench
