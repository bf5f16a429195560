// The whole demo bank written as a question sheet and imported into an empty bank through the
// updater's import: the question tables come back row for row, and the sheet itself reads back
// in every encoding and separator a spreadsheet program may save it in.
#include "db/sql.h"
#include "sheet/csvfile.h"
#include "sheet/sheetexport.h"
#include "sheet/sheetimport.h"
#include "support/tablerows.h"
#include "support/testbank.h"
#include "update/updatejob.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kDemo = "demo_sheet";
const QStringList kSheetTables = {u"ma_id"_s, u"cap_id"_s, u"ex_page_id"_s, u"ex_sub"_s};

} // namespace

class DemoSheetRoundTrip : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QByteArray m_sheet;
    int m_questions = 0;

    QSqlDatabase demo() const { return QSqlDatabase::database(QString::fromLatin1(kDemo)); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString bank = m_dir.filePath(u"sys.htm"_s);
        QProcess tool;
        tool.start(QStringLiteral(QM_ASSETS_TOOL),
                   {u"bank"_s, QDir(QStringLiteral(QM_SOURCE_DIR)).filePath(u"data/bank"_s), bank});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitCode() == 0, tool.readAllStandardError().constData());
        QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, QString::fromLatin1(kDemo));
        d.setDatabaseName(bank);
        QVERIFY(d.open());
        sheet::SheetExport out;
        QString error;
        QVERIFY2(sheet::exportSheet(d, {}, &out, &error), qPrintable(error));
        m_sheet = out.bytes;
        m_questions = out.questions;
    }

    void cleanupTestCase()
    {
        demo().close();
        QSqlDatabase::removeDatabase(QString::fromLatin1(kDemo));
    }

    void sheetHoldsEveryQuestion()
    {
        QVERIFY(
            m_sheet.startsWith("\xEF\xBB\xBF课程,章节,类别,题型,题干,A,B,C,D,E,F,答案,解析,分值,题号,所属案例,参考答案,"
                               "课程编号,章节编号,主讲,讲义包\r\n"));
        QCOMPARE(m_questions, db::scalar(demo(), u"SELECT COUNT(*) FROM ex_page_id"_s).toInt());
        sheet::CsvTable table;
        QString error;
        QVERIFY(sheet::parseCsv(m_sheet, &table, &error));
        const int subs = db::scalar(demo(), u"SELECT COUNT(*) FROM ex_sub"_s).toInt();
        QCOMPARE(table.records.size(), 1 + m_questions + subs);
    }

    void importedIntoEmptyBankRowForRow()
    {
        TestBank empty;
        const QString file = QDir(empty.dir()).filePath(u"demo.csv"_s);
        empty.writeFile(u"demo.csv"_s, m_sheet);
        UpdateJob job(empty.dir());
        const UpdateJob::Outcome outcome = job.runImport(file);
        QVERIFY2(outcome.result == UpdateJob::Result::Merged, qPrintable(outcome.message + outcome.report.join(u'\n')));
        for (const QString &table : kSheetTables) {
            QStringList expected = tableRows(demo(), table);
            QVERIFY(!expected.isEmpty());
            QStringList imported = tableRows(empty.db(), table);
            // The server keeps no order of insertion: a row goes to whichever page has room.
            if (empty.isOnServer()) {
                expected.sort();
                imported.sort();
            }
            QCOMPARE(imported, expected);
        }
    }

    // Saved again by a spreadsheet program: GBK or GB18030, semicolons or tabs, or "Unicode text"
    // (UTF-16 with its mark, tabs). The rows are the same.
    void resavedSheetReadsTheSame_data()
    {
        QTest::addColumn<QByteArray>("encoding");
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<char>("separator");
        QTest::newRow("gb18030, semicolons") << "GB18030"_ba << QByteArray() << ';';
        QTest::newRow("gbk, tabs") << "GBK"_ba << QByteArray() << '\t';
        QTest::newRow("utf-8 without mark, commas") << "UTF-8"_ba << QByteArray() << ',';
        QTest::newRow("utf-16 little-endian, tabs") << "UTF-16LE"_ba << "\xFF\xFE"_ba << '\t';
        QTest::newRow("utf-16 big-endian, commas") << "UTF-16BE"_ba << "\xFE\xFF"_ba << ',';
    }

    void resavedSheetReadsTheSame()
    {
        QFETCH(QByteArray, encoding);
        QFETCH(QByteArray, mark);
        QFETCH(char, separator);
        sheet::CsvTable table;
        QString error;
        QVERIFY(sheet::parseCsv(m_sheet, &table, &error));
        QByteArray utf8;
        for (const QStringList &record : std::as_const(table.records))
            utf8 += sheet::csvRecord(record, separator);
        QStringEncoder encoder(encoding.constData());
        QVERIFY(encoder.isValid());
        const QByteArray resaved = mark + encoder.encode(QString::fromUtf8(utf8));
        QVERIFY(!encoder.hasError());

        sheet::SheetImport original;
        QVERIFY(original.read(m_sheet));
        sheet::SheetImport again;
        QVERIFY2(again.read(resaved), qPrintable(again.problems().join(u'\n')));
        QCOMPARE(again.separator(), separator);
        QCOMPARE(again.rows().courses, original.rows().courses);
        QCOMPARE(again.rows().chapters, original.rows().chapters);
        QCOMPARE(again.rows().questions, original.rows().questions);
        QCOMPARE(again.rows().subs, original.rows().subs);
    }

    // One course by its name or its key; a course the bank lacks is refused.
    void oneCourse()
    {
        sheet::SheetExport byName;
        sheet::SheetExport byKey;
        QString error;
        QVERIFY(sheet::exportSheet(demo(), u"财经法规与会计职业道德"_s, &byName, &error));
        QVERIFY(sheet::exportSheet(demo(), u"CJFG"_s, &byKey, &error));
        QCOMPARE(byName.bytes, byKey.bytes);
        QCOMPARE(byName.questions,
                 db::scalar(demo(), u"SELECT COUNT(*) FROM ex_page_id q JOIN cap_id c ON c.c_id = q.c_id "
                                    u"WHERE c.m_id = 'CJFG'"_s)
                     .toInt());
        sheet::SheetImport import;
        QVERIFY(import.read(byName.bytes));
        QCOMPARE(import.rows().courses.size(), 1);
        sheet::SheetExport none;
        QVERIFY(!sheet::exportSheet(demo(), u"没有的课程"_s, &none, &error));
        QCOMPARE(error, u"题库中没有课程 \"没有的课程\"."_s);
    }
};

QTEST_GUILESS_MAIN(DemoSheetRoundTrip)
#include "demo_sheet_roundtrip.moc"
