// Foreign banks that are malformed in the ways a damaged or hand-made file can be, fed to the real
// `update --merge`: each is refused or merged with a report, and the learner's bank stays sound with
// every answer record and session total it had.
#include "db/schema.h"
#include "db/sql.h"
#include "support/tablerows.h"
#include "support/testbank.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

enum class Malformed {
    WrongTypes,
    HugeTexts,
    NullKeys,
    DuplicateKeys,
    WithoutRowid,
    RowidColumn,
    ViewForTable,
    FewerColumns,
    Truncated,
};

// Statements that make the foreign bank: the content tables, changed as the case asks, and rows.
QStringList bankStatements(Malformed kind)
{
    QStringList sql;
    for (const QString &table : db::contentTables()) {
        if (kind == Malformed::WithoutRowid && table == u"ma_id")
            sql << u"CREATE TABLE ma_id (m_id VARCHAR(14) PRIMARY KEY, m_name VARCHAR(50), m_speaker VARCHAR(255),"
                   " m_down VARCHAR(255)) WITHOUT ROWID"_s;
        else if (kind == Malformed::RowidColumn && table == u"ex_page_id")
            sql << db::createStatement(table).replace(u"p_score DOUBLE PRECISION"_s,
                                                      u"p_score DOUBLE PRECISION, rowid INTEGER"_s);
        else if (kind == Malformed::ViewForTable && table == u"ks_ad")
            sql << u"CREATE VIEW ks_ad AS SELECT 'w' AS ks_way, 'u' AS ks_url, 'T' AS ks_type"_s;
        else if (kind == Malformed::FewerColumns && table == u"cap_id")
            sql << u"CREATE TABLE cap_id (c_id VARCHAR(14), c_name VARCHAR(50))"_s;
        else
            sql << db::createStatement(table);
    }
    const QString question =
        u"INSERT INTO ex_page_id (c_id, p_id, p_type, p_subject_name, p_anwser, p_score) VALUES "_s;
    switch (kind) {
    case Malformed::WrongTypes:
        // Numbers, blobs and texts where the other kind belongs; SQLite keeps them as given.
        sql << question + u"(11, 2.5, x'00FF', 42, x'DEADBEEF', 'many')"_s
            << u"INSERT INTO soft_text (name, s_left, s_top) VALUES (x'41', 'left', 1e308)"_s
            << u"INSERT INTO ma_id (m_id, m_name) VALUES (-7, 3.25)"_s;
        break;
    case Malformed::HugeTexts:
        sql << question + u"('C1', 'P900001', '1', printf('%.*c', 4000000, 'x'), 'A', 1)"_s
            << question + u"('C1', printf('%.*c', 200000, 'k'), '1', 'long key', 'A', 1)"_s;
        break;
    case Malformed::NullKeys:
        sql << question + u"(NULL, NULL, '1', 'no key', 'A', 1)"_s
            << question + u"(NULL, NULL, '2', 'no key again', 'B', 1)"_s
            << u"INSERT INTO ex_sub (p_id, m_id) VALUES (NULL, NULL)"_s
            << u"INSERT INTO ma_id (m_id, m_name) VALUES (NULL, 'nameless')"_s;
        break;
    case Malformed::DuplicateKeys:
        sql << question + u"('C1', 'P000001', '1', 'first', 'A', 1)"_s
            << question + u"('C1', 'P000001', '1', 'second', 'B', 1)"_s
            << question + u"('C1', 'P777777', '2', 'new once', 'C', 1)"_s
            << question + u"('C1', 'P777777', '2', 'new twice', 'D', 1)"_s;
        break;
    case Malformed::RowidColumn:
        // The column named rowid hides the row numbers: by its empty values the new rows would be
        // passed over and the merge reported as done.
        sql << question + u"('C1', 'P000001', '1', 'changed', 'C', 1)"_s
            << question + u"('C1', 'P800001', '1', 'new', 'A', 1)"_s;
        break;
    case Malformed::WithoutRowid:
    case Malformed::ViewForTable:
    case Malformed::FewerColumns:
    case Malformed::Truncated:
        sql << u"INSERT INTO ma_id (m_id, m_name) VALUES ('M9', 'new course')"_s
            << question + u"('C1', 'P800001', '1', 'new', 'A', 1)"_s;
        break;
    }
    return sql;
}

// Writes the foreign bank to path; false when SQLite would not build it.
bool writeBank(const QString &path, Malformed kind)
{
    const QString name = u"malformed"_s;
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString &statement : bankStatements(kind)) {
            if (ok && !q.exec(statement)) {
                qWarning("%s: %s", qPrintable(statement.left(120)), qPrintable(q.lastError().text()));
                ok = false;
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (ok && kind == Malformed::Truncated) {
        QFile file(path);
        ok = file.resize(file.size() / 2);
    }
    return ok;
}

QStringList contentRows(const QSqlDatabase &db)
{
    QStringList rows;
    for (const QString &table : db::contentTables())
        rows << table << tableRows(db, table);
    return rows;
}

} // namespace

Q_DECLARE_METATYPE(Malformed)

class UpdateMalformed : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void refusedOrMergedWithARecordKept_data()
    {
        QTest::addColumn<Malformed>("kind");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said"); // on standard output when merged, standard error when refused
        QTest::newRow("wrong column types") << Malformed::WrongTypes << 0 << u"题目增加:1  条"_s;
        QTest::newRow("huge texts") << Malformed::HugeTexts << 0 << u"题目增加:2  条"_s;
        QTest::newRow("NULL keys") << Malformed::NullKeys << 0 << u"题目增加:1  条"_s;
        QTest::newRow("duplicate keys") << Malformed::DuplicateKeys << 0 << u"题目增加:1  条"_s;
        QTest::newRow("a table without rowid") << Malformed::WithoutRowid << 1 << u"ma_id 没有行号"_s;
        QTest::newRow("a column named rowid") << Malformed::RowidColumn << 1 << u"ex_page_id 没有行号"_s;
        QTest::newRow("a view for a table") << Malformed::ViewForTable << 1 << u"缺少数据表 ks_ad"_s;
        QTest::newRow("fewer columns") << Malformed::FewerColumns << 1 << u"cap_id 只有 2 列"_s;
        QTest::newRow("truncated file") << Malformed::Truncated << 1 << u"不完整或已损坏"_s;
    }
    void refusedOrMergedWithARecordKept()
    {
        QFETCH(Malformed, kind);
        QFETCH(int, exitCode);
        QFETCH(QString, said);

        TestBank local;
        for (const QString &program : {u"update"_s}) {
            QFile::remove(local.path(program));
            QVERIFY(QFile::copy(QDir(QStringLiteral(QM_APP_DIR)).filePath(program), local.path(program)));
        }
        local.writeFile(u"main.ini"_s, "[main]\r\n[config]\r\nupdate_before_time=2009-05-01\r\n");
        local.addCourse(u"M1"_s, u"会计基础"_s);
        local.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        local.addQuestion(u"C1"_s, u"P000001"_s, 1, u"A"_s);
        local.addQuestion(u"C1"_s, u"P000002"_s, 2, u"AB"_s);
        local.insert(u"test_page"_s,
                     {u"20261210080000"_s, u"P000001"_s, 1, 0, 0, 0, 0, 0, u"A"_s, 1, 1, 0, 0, u"A"_s, 1.0, 1});
        local.insert(u"test_page"_s,
                     {u"20261210080000"_s, u"P000002"_s, 1, 1, 0, 0, 0, 0, u"AB"_s, 1, 0, 1, 0, u"A"_s, 0.0, 2});
        local.insert(u"page_total"_s,
                     {u"20261210080000"_s, u"1"_s, u"1"_s, u"0"_s, u"2"_s, u"1分5秒"_s, u"练习"_s, 1.0});
        const QStringList tests = tableRows(local.db(), u"test_page"_s);
        const QStringList totals = tableRows(local.db(), u"page_total"_s);
        const QStringList content = contentRows(local.db());

        QTemporaryDir elsewhere;
        const QString foreign = elsewhere.filePath(u"foreign.htm"_s);
        QVERIFY(writeBank(foreign, kind));

        QProcess update;
        update.setWorkingDirectory(local.dir());
        update.start(local.path(u"update"_s), {u"--merge"_s, foreign});
        QVERIFY2(update.waitForFinished(120000), "update did not finish");
        const QString out = QString::fromUtf8(update.readAllStandardOutput());
        const QString err = QString::fromUtf8(update.readAllStandardError());
        QCOMPARE(update.exitStatus(), QProcess::NormalExit);
        QVERIFY2(update.exitCode() == exitCode, qPrintable(out + err));
        QVERIFY2((exitCode == 0 ? out : err).contains(said), qPrintable(out + err));

        QCOMPARE(db::scalar(local.db(), u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
        QCOMPARE(tableRows(local.db(), u"test_page"_s), tests);
        QCOMPARE(tableRows(local.db(), u"page_total"_s), totals);
        if (exitCode != 0)
            QCOMPARE(contentRows(local.db()), content);
        else
            QVERIFY(contentRows(local.db()) != content);
    }
};

QTEST_GUILESS_MAIN(UpdateMalformed)
#include "update_malformed.moc"
