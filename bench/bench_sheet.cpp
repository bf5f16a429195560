// Importing a question sheet of 100,000 questions into an empty bank, split into its steps:
// reading and checking the sheet, writing it as a bank file, and the merge.
#include "bench.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/sql.h"
#include "sheet/csvfile.h"
#include "sheet/sheetbank.h"
#include "sheet/sheetimport.h"
#include "update/bankmerge.h"
#include "update/incomingbank.h"
#include "update/updatejob.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr int kRuns = 5;
constexpr int kQuestions = 100000;
constexpr int kPerChapter = 1000;

// Three courses, each with the fourth type its name selects; every tenth question is of that
// type; keys are left to the importer except on case questions, which their sub-questions name.
QByteArray generateSheet()
{
    const QStringList courses = {u"会计基础"_s, u"财经法规与会计职业道德"_s, u"初级会计电算化"_s};
    QByteArray out = sheet::csvRecord({u"课程"_s, u"章节"_s, u"类别"_s, u"题型"_s, u"题干"_s, u"A"_s, u"B"_s, u"C"_s,
                                       u"D"_s, u"答案"_s, u"解析"_s, u"分值"_s, u"题号"_s, u"所属案例"_s});
    for (int n = 0; n < kQuestions; ++n) {
        const int chapter = n / kPerChapter;
        const int c = chapter % 3;
        const QString course = courses.at(c);
        const QString place = chapter % 5 == 4 ? u"模拟试卷%1"_s.arg(chapter + 1) : u"第%1章"_s.arg(chapter + 1);
        const QString kind = chapter % 5 == 4 ? u"模拟试卷"_s : u"章节练习"_s;
        const QString stem = u"第%1题 关于会计要素与会计等式的表述，下列说法中正确的是（ ）。"_s.arg(n + 1);
        const QString memo = u"解析：依据会计准则，\"资产 = 负债 + 所有者权益\"。"_s;
        const int r = n % 10;
        if (r < 9) {
            const int type = r < 4 ? 1 : r < 7 ? 2 : 3;
            const bool choice = type != 3;
            out += sheet::csvRecord({course, place, kind, QString::number(type), stem, choice ? u"选项甲"_s : QString(),
                                     choice ? u"选项乙"_s : QString(), choice ? u"选项丙"_s : QString(),
                                     choice ? u"选项丁"_s : QString(),
                                     type == 1   ? u"C"_s
                                     : type == 2 ? u"ABD"_s
                                                 : u"对"_s,
                                     memo, QString(), QString(), QString()});
            continue;
        }
        if (c == 0) {
            out += sheet::csvRecord({course,
                                     place,
                                     kind,
                                     u"计算分析题"_s,
                                     stem,
                                     {},
                                     {},
                                     {},
                                     {},
                                     u"借:银行存款=%1;贷:实收资本=%1/借:原材料=%1;贷:应付账款=%1"_s.arg(n),
                                     memo,
                                     {},
                                     {},
                                     {}});
        } else if (c == 1) {
            const QString key = u"AL%1"_s.arg(n);
            out +=
                sheet::csvRecord({course, place, kind, u"案例分析题"_s, stem, {}, {}, {}, {}, {}, memo, {}, key, {}});
            for (int s = 1; s <= 4; ++s)
                out += sheet::csvRecord({{},
                                         {},
                                         {},
                                         u"单选题"_s,
                                         u"案例小题%1"_s.arg(s),
                                         u"甲"_s,
                                         u"乙"_s,
                                         u"丙"_s,
                                         u"丁"_s,
                                         u"B"_s,
                                         u"小题解析"_s,
                                         u"2.5"_s,
                                         {},
                                         key});
        } else {
            out += sheet::csvRecord({course,
                                     place,
                                     kind,
                                     u"实务操作题"_s,
                                     stem,
                                     {},
                                     {},
                                     {},
                                     {},
                                     u"总账 → 凭证 → 填制凭证 → 保存"_s,
                                     memo,
                                     {},
                                     {},
                                     {}});
        }
    }
    return out;
}

// An empty bank: the content tables and the schema, no rows.
void emptyBank(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    for (const QString &suffix : {u""_s, u"-wal"_s, u"-shm"_s})
        QFile::remove(path + suffix);
    const QString name = u"bench-sheet-create"_s;
    {
        QSqlDatabase raw = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        raw.setDatabaseName(path);
        if (!raw.open())
            qFatal("cannot create %s", qPrintable(path));
        for (const QString &table : db::contentTables())
            db::run(raw, db::createStatement(table));
        db::ensureSchema(raw);
        raw.close();
    }
    QSqlDatabase::removeDatabase(name);
}

} // namespace

QM_BENCH_CASE("sheet import")
{
    const QByteArray bytes = generateSheet();
    bench::note(u"question sheet: %1 questions, %2 MB"_s.arg(kQuestions).arg(bytes.size() / 1048576.0, 0, 'f', 1));

    bench::measure(u"sheet: parse only (decoding and CSV)"_s, kRuns, [&] {
        sheet::CsvTable table;
        QString error;
        if (!sheet::parseCsv(bytes, &table, &error))
            qFatal("%s", qPrintable(error));
    });
    sheet::SheetRows rows;
    const double parse = bench::measure(u"sheet: read and check 100,000 questions"_s, kRuns, [&] {
        sheet::SheetImport import;
        if (!import.read(bytes))
            qFatal("generated sheet refused: %s", qPrintable(import.problems().value(0)));
        rows = import.rows();
    });

    const QString bankFile = QDir(ctx.workDir).filePath(u"sheet/sheet.htm"_s);
    QDir().mkpath(QFileInfo(bankFile).absolutePath());
    const double write = bench::measure(u"sheet: write the rows as a bank file"_s, kRuns, [&] {
        QFile::remove(bankFile);
        QString error;
        if (!sheet::writeSheetBank(rows, bankFile, &error))
            qFatal("%s", qPrintable(error));
    });

    const QString local = QDir(ctx.workDir).filePath(u"sheet/local.htm"_s);
    double merge = 0;
    {
        QList<double> times;
        for (int k = 0; k <= kRuns; ++k) {
            emptyBank(local);
            QString error;
            if (!db::openBank(local, u"bench-sheet-local"_s, &error) ||
                !update::openIncomingBank(bankFile, u"bench-sheet-new"_s, &error))
                qFatal("%s", qPrintable(error));
            {
                BankMerge m(db::bank(u"bench-sheet-local"_s), db::bank(u"bench-sheet-new"_s));
                QElapsedTimer t;
                t.start();
                if (!m.run())
                    qFatal("%s", qPrintable(m.error()));
                if (k > 0) // the first is the warm-up
                    times << t.nsecsElapsed() / 1e6;
            }
            db::closeBank(u"bench-sheet-new"_s);
            db::closeBank(u"bench-sheet-local"_s);
        }
        std::sort(times.begin(), times.end());
        merge = times.at(times.size() / 2);
        bench::note(u"%1 %2 ms   (%3 .. %4, %5 runs)"_s.arg(u"sheet: merge into an empty bank"_s, -58)
                        .arg(merge, 10, 'f', 3)
                        .arg(times.first(), 0, 'f', 3)
                        .arg(times.last(), 0, 'f', 3)
                        .arg(kRuns));
    }

    // The whole of update --import, from the file to the merged bank, in a program folder.
    const QString app = QDir(ctx.workDir).filePath(u"sheetapp"_s);
    QDir().mkpath(app + u"/data"_s);
    const QString sheetFile = app + u"/questions.csv"_s;
    QFile f(sheetFile);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(sheetFile));
    f.close();
    QFile ini(app + u"/main.ini"_s);
    if (!ini.open(QIODevice::WriteOnly) || ini.write("[main]\r\n[config]\r\n") < 0)
        qFatal("cannot write main.ini");
    ini.close();
    const double whole = bench::measure(u"sheet: update --import into an empty bank (whole)"_s, kRuns, [&] {
        emptyBank(db::bankPath(app));
        UpdateJob job(app);
        const UpdateJob::Outcome outcome = job.runImport(sheetFile);
        if (outcome.result != UpdateJob::Result::Merged)
            qFatal("%s", qPrintable(outcome.message));
    });
    const double parts = parse + write + merge;
    bench::note(u"sheet import split: read and check %1 ms (%2%), bank file %3 ms (%4%), merge %5 ms (%6%); "
                u"whole %7 ms, target 5000 ms"_s.arg(parse, 0, 'f', 0)
                    .arg(100 * parse / parts, 0, 'f', 0)
                    .arg(write, 0, 'f', 0)
                    .arg(100 * write / parts, 0, 'f', 0)
                    .arg(merge, 0, 'f', 0)
                    .arg(100 * merge / parts, 0, 'f', 0)
                    .arg(whole, 0, 'f', 0));
}
