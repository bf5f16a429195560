// A foreign bank for the merge: whatever the file holds, it is refused or merged, and the local bank
// stays sound with every learner record kept; a refused or failed merge changes nothing.
//
// An input that starts like an SQLite file is the foreign bank itself; any other input is an SQL
// script run on an empty bank of the usual layout, so that mutations reach odd tables and values
// and not only damaged pages.
#include "fuzzcheck.h"

#include "db/connection.h"
#include "db/schema.h"
#include "db/sql.h"
#include "update/bankmerge.h"
#include "update/incomingbank.h"
#include "support/tablerows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

const QString kLocal = u"fuzz_local"_s;
const QString kIncoming = u"fuzz_incoming"_s;

// Banks are written and synced for every input: in memory when the machine offers it.
QString folderTemplate()
{
    const QString shm = u"/dev/shm"_s;
    return QFileInfo(shm).isDir() && QFileInfo(shm).isWritable() ? shm + u"/qm-fuzz-XXXXXX"_s
                                                                 : QDir::temp().filePath(u"qm-fuzz-XXXXXX"_s);
}

struct Folder
{
    QTemporaryDir dir{folderTemplate()};
    QString templateBank;
    QString emptyBank;
    QString local;
    QString incoming;
};

// A local bank with a little content and learner records, made once and copied for each input.
Folder &folder()
{
    static Folder f = [] {
        Folder made;
        made.templateBank = made.dir.filePath(u"template.htm"_s);
        made.local = made.dir.filePath(u"sys.htm"_s);
        made.incoming = made.dir.filePath(u"new.htm"_s);
        made.emptyBank = made.dir.filePath(u"empty.htm"_s);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"fuzz_empty"_s);
            db.setDatabaseName(made.emptyBank);
            db.open();
            for (const QString &table : db::contentTables())
                db::run(db, db::createStatement(table));
            db.close();
        }
        QSqlDatabase::removeDatabase(u"fuzz_empty"_s);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"fuzz_template"_s);
            db.setDatabaseName(made.templateBank);
            db.open();
            db::ensureSchema(db);
            db::run(db, u"INSERT INTO ma_id (m_id, m_name) VALUES ('1', '基础会计')"_s);
            db::run(db, u"INSERT INTO cap_id (c_id, c_name, m_id) VALUES ('11', '第一章', '1')"_s);
            for (int k = 1; k <= 3; ++k) {
                db::run(db,
                        u"INSERT INTO ex_page_id (c_id, p_id, p_type, p_subject_name, p_anwser, p_score)"
                        " VALUES ('11', ?, '1', '题目', 'A', 1)"_s,
                        {QString::number(100 + k)});
                db::run(db,
                        u"INSERT INTO test_page (page_id, p_id, p_answer, p_do_yn, p_score, p_type)"
                        " VALUES ('20261210080000', ?, 'A', 'T', 1, 1)"_s,
                        {QString::number(100 + k)});
            }
            db::run(db, u"INSERT INTO page_total (page_id, p_true, p_false, p_nothing, p_doing, p_time, p_type,"
                        " p_score) VALUES ('20261210080000', '3', '0', '0', '3', '1分2秒', '练习', 3)"_s);
            db.close();
        }
        QSqlDatabase::removeDatabase(u"fuzz_template"_s);
        return made;
    }();
    return f;
}

// Writes the foreign bank the input describes; false for a script that is not tried.
bool writeIncoming(const Folder &f, const QByteArray &bytes)
{
    if (bytes.startsWith("SQLite format 3")) {
        QFile incoming(f.incoming);
        return incoming.open(QIODevice::WriteOnly) && incoming.write(bytes) == bytes.size();
    }
    const QString script = QString::fromUtf8(bytes);
    // Nothing a bank file could hold: other files, endless or giant results.
    for (const QString &word : {u"attach"_s, u"detach"_s, u"extension"_s, u"recursive"_s, u"blob"_s, u"printf"_s,
                                u"format"_s, u"replace"_s, u"vacuum"_s}) {
        if (script.contains(word, Qt::CaseInsensitive))
            return false;
    }
    if (!QFile::copy(f.emptyBank, f.incoming))
        return false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"fuzz_script"_s);
        db.setDatabaseName(f.incoming);
        db.open();
        QSqlQuery q(db);
        for (const QString &statement : script.split(u';'))
            q.exec(statement);
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(u"fuzz_script"_s);
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Folder &f = folder();
    for (const QString &suffix : {u""_s, u"-wal"_s, u"-shm"_s, u"-journal"_s}) {
        QFile::remove(f.local + suffix);
        QFile::remove(f.incoming + suffix);
    }
    if (!writeIncoming(f, fuzz::bytesOf(data, size)))
        return 0;
    FUZZ_CHECK(QFile::copy(f.templateBank, f.local));

    QString error;
    FUZZ_CHECK(db::openBank(f.local, kLocal, &error), error);
    {
        const QSqlDatabase local = db::bank(kLocal);
        const QStringList tests = tableRows(local, u"test_page"_s);
        const QStringList totals = tableRows(local, u"page_total"_s);
        QStringList content;
        for (const QString &table : db::contentTables())
            content << tableRows(local, table);

        bool merged = false;
        if (update::openIncomingBank(f.incoming, kIncoming, &error)) {
            {
                BankMerge merge(local, QSqlDatabase::database(kIncoming, false));
                merged = merge.run();
                // A line and a rule per table, then the changed keys, how many were answered, a rule.
                if (merged)
                    FUZZ_CHECK(merge.report().size() == 21, merge.report().join(u'\n'));
                else
                    FUZZ_CHECK(!merge.error().isEmpty());
            }
            QSqlDatabase::removeDatabase(kIncoming);
        } else {
            FUZZ_CHECK(!error.isEmpty());
        }

        FUZZ_CHECK(db::scalar(local, u"PRAGMA integrity_check"_s).toString() == u"ok"_s);
        FUZZ_CHECK(tableRows(local, u"test_page"_s) == tests);
        FUZZ_CHECK(tableRows(local, u"page_total"_s) == totals);
        if (!merged) {
            QStringList now;
            for (const QString &table : db::contentTables())
                now << tableRows(local, table);
            FUZZ_CHECK(now == content, error);
        }
    }
    db::closeBank(kLocal);
    return 0;
}
