#pragma once

#include <QString>

// Turns the readable sources of the demo question bank (data/bank/*.json) into the SQLite file
// data/sys.htm with the program's schema.
//
// A course file holds {"course": {...}, "units": [...]}: the course row, then its practice chapters
// ("kind": "chapter") and mock papers ("kind": "paper") with their questions in order. Question ids
// are derived from the unit id, the type and the position of the question among those of its type
// in the unit (KJJC_C1_103 = third true/false question of KJJC_C1). content.json holds the home-panel
// texts, the exam guide and the help entries.
namespace demobank {

bool build(const QString &sourceDir, const QString &outFile, QString *error);

} // namespace demobank
