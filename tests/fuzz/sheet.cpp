// Question sheets as update --import reads them: the CSV reading (any encoding, separator and
// quoting) and the checks. Records written back read back the same; a sheet reads the same twice;
// a refused sheet builds nothing and says where each problem is; an accepted sheet builds rows
// whose keys are sound and linked, and its bank exported and imported again gives the same rows.
#include "fuzzcheck.h"

#include "db/sql.h"
#include "sheet/calcanswer.h"
#include "sheet/csvfile.h"
#include "sheet/sheetbank.h"
#include "sheet/sheetcolumns.h"
#include "sheet/sheetexport.h"
#include "sheet/sheetimport.h"

#include <QFile>
#include <QSet>
#include <QSqlError>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString show(const QList<QStringList> &records)
{
    QStringList out;
    for (const QStringList &r : records)
        out << u"["_s + r.join(u"|"_s) + u"]"_s;
    return out.join(u' ');
}

QString show(const QList<QVariantList> &rows)
{
    QStringList out;
    for (const QVariantList &r : rows) {
        QStringList values;
        for (const QVariant &v : r)
            values << v.toString();
        out << u"["_s + values.join(u"|"_s) + u"]"_s;
    }
    return out.join(u'\n');
}

void checkCsv(const QByteArray &bytes)
{
    sheet::CsvTable table;
    QString error;
    if (!sheet::parseCsv(bytes, &table, &error)) {
        FUZZ_CHECK(error.startsWith(u"第"_s), error);
        return;
    }
    FUZZ_CHECK(table.records.size() == table.rows.size());
    for (qsizetype k = 0; k < table.rows.size(); ++k) {
        FUZZ_CHECK(table.rows.at(k) >= 1 && (k == 0 || table.rows.at(k) > table.rows.at(k - 1)));
        FUZZ_CHECK(!table.records.at(k).isEmpty());
    }
    // Written back with the separator found, the records read back the same. A record of one
    // empty cell is a blank line once written, which reading skips like any blank line. The mark
    // keeps a first cell that begins with U+FEFF from being taken for one.
    QList<QStringList> kept;
    QByteArray written = "\xEF\xBB\xBF";
    for (const QStringList &r : std::as_const(table.records)) {
        if (r == QStringList{QString()})
            continue;
        kept << r;
        written += sheet::csvRecord(r, table.separator);
    }
    if (kept.isEmpty() || sheet::sniffSeparator(written) != table.separator)
        return;
    sheet::CsvTable again;
    FUZZ_CHECK(sheet::parseCsv(written, &again, &error), error, QString::fromUtf8(written));
    FUZZ_CHECK(again.records == kept, show(kept), show(again.records));
}

void checkRefused(const sheet::SheetImport &import)
{
    const QStringList problems = import.problems();
    FUZZ_CHECK(!problems.isEmpty() && problems.size() <= sheet::SheetImport::kProblemLimit + 1);
    FUZZ_CHECK(import.problemCount() >= problems.size() - 1);
    for (qsizetype k = 0; k < problems.size(); ++k) {
        const bool last = k == sheet::SheetImport::kProblemLimit;
        FUZZ_CHECK(problems.at(k).startsWith(last ? u"……"_s : u"第"_s), problems.at(k));
    }
    const sheet::SheetRows &rows = import.rows();
    FUZZ_CHECK(rows.courses.isEmpty() && rows.chapters.isEmpty() && rows.questions.isEmpty() && rows.subs.isEmpty());
}

void checkAccepted(const sheet::SheetRows &rows)
{
    QSet<QString> courses, chapters, questions, cases;
    for (const QVariantList &c : rows.courses) {
        FUZZ_CHECK(c.size() == 4 && sheet::isKey(c.at(0).toString()), show({c}));
        FUZZ_CHECK(!courses.contains(c.at(0).toString()), show({c}));
        courses.insert(c.at(0).toString());
    }
    for (const QVariantList &ch : rows.chapters) {
        FUZZ_CHECK(ch.size() == 4 && sheet::isKey(ch.at(0).toString()), show({ch}));
        FUZZ_CHECK(!chapters.contains(ch.at(0).toString()) && courses.contains(ch.at(2).toString()), show({ch}));
        FUZZ_CHECK(ch.at(3) == u"1"_s || ch.at(3) == u"2"_s, show({ch}));
        chapters.insert(ch.at(0).toString());
    }
    for (const QVariantList &q : rows.questions) {
        FUZZ_CHECK(q.size() == 15 && sheet::isKey(q.at(1).toString()), show({q}));
        FUZZ_CHECK(!questions.contains(q.at(1).toString()) && chapters.contains(q.at(0).toString()), show({q}));
        questions.insert(q.at(1).toString());
        const int type = q.at(2).toInt();
        FUZZ_CHECK(type >= 1 && type <= 6, show({q}));
        FUZZ_CHECK(std::isfinite(q.at(14).toDouble()) && q.at(14).toDouble() >= 0, show({q}));
        if (type == 5)
            cases.insert(q.at(1).toString());
        if (type == 4) {
            // The answer cell the export writes for these rows reads back as the same sub-items.
            QStringList cells;
            for (int k = 4; k <= 9; ++k)
                cells << q.at(k).toString();
            sheet::CalcAnswer calc;
            QStringList problems;
            FUZZ_CHECK(sheet::parseCalcAnswer(sheet::calcAnswerCell(cells), &calc, &problems), show({q}),
                       problems.join(u'\n'));
            FUZZ_CHECK(calc.amounts == (q.at(12).toInt() == 1), show({q}));
            for (int k = 0; k < 6; ++k)
                FUZZ_CHECK(calc.items.value(k, u"-"_s) == cells.at(k), show({q}), calc.items.join(u'/'));
        }
    }
    for (const QVariantList &s : rows.subs)
        FUZZ_CHECK(s.size() == 13 && cases.contains(s.at(0).toString()), show({s}));
}

// The rows as a bank file, exported as a sheet and imported again with that bank as the local one.
void checkExportImport(const sheet::SheetRows &rows)
{
    static QTemporaryDir dir;
    static int serial = 0;
    const QString path = dir.filePath(u"bank%1.htm"_s.arg(++serial));
    QString error;
    FUZZ_CHECK(sheet::writeSheetBank(rows, path, &error), error);
    sheet::SheetExport exported;
    sheet::KnownBank known;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"fuzz-sheet"_s);
        db.setDatabaseName(path);
        FUZZ_CHECK(db.open(), db.lastError().text());
        FUZZ_CHECK(sheet::exportSheet(db, QString(), &exported, &error), error);
        known = sheet::KnownBank::read(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"fuzz-sheet"_s);
    QFile::remove(path);
    sheet::SheetImport again(known);
    FUZZ_CHECK(again.read(exported.bytes), again.problems().join(u'\n'), QString::fromUtf8(exported.bytes));
    const sheet::SheetRows &back = again.rows();
    FUZZ_CHECK(back.courses == rows.courses, show(rows.courses), show(back.courses));
    FUZZ_CHECK(back.chapters == rows.chapters, show(rows.chapters), show(back.chapters));
    FUZZ_CHECK(back.questions.size() == rows.questions.size());
    for (qsizetype k = 0; k < rows.questions.size(); ++k) {
        // Numbers compare as numbers: the bank gives back 2.0 where the sheet said 2.
        const QVariantList &a = rows.questions.at(k);
        const QVariantList &b = back.questions.at(k);
        for (qsizetype c = 0; c < a.size(); ++c) {
            const bool same = c == 14 ? a.at(c).toDouble() == b.at(c).toDouble() : a.at(c).toString() == b.at(c).toString();
            FUZZ_CHECK(same, show({a}), show({b}));
        }
    }
    FUZZ_CHECK(show(back.subs) == show(rows.subs), show(rows.subs), show(back.subs));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::startApplication();
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkCsv(bytes);

    sheet::SheetImport import;
    const bool accepted = import.read(bytes);
    sheet::SheetImport again;
    FUZZ_CHECK(again.read(bytes) == accepted);
    FUZZ_CHECK(again.problems() == import.problems(), import.problems().join(u'\n'), again.problems().join(u'\n'));
    FUZZ_CHECK(show(again.rows().questions) == show(import.rows().questions));
    if (!accepted) {
        checkRefused(import);
        return 0;
    }
    FUZZ_CHECK(import.problemCount() == 0);
    checkAccepted(import.rows());
    checkExportImport(import.rows());
    return 0;
}
