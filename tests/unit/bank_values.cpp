// Values travel unchanged through db::run on either engine: on the server they are written into
// the statement as literals, so quotes, backslashes and question marks inside them, and question
// marks inside the statement's own quotes, must all come out as they went in.
#include "db/sql.h"
#include "support/testbank.h"

#include <QTest>

using namespace Qt::StringLiterals;

class BankValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("column");
        QTest::newRow("plain") << QVariant(u"20300101090000"_s) << u"page_id"_s;
        QTest::newRow("quotes") << QVariant(u"it's \"so\" ''"_s) << u"page_id"_s;
        QTest::newRow("backslashes") << QVariant(u"a\\b\\\\c\\'"_s) << u"page_id"_s;
        QTest::newRow("question marks") << QVariant(u"?1?'?'"_s) << u"p_time"_s;
        QTest::newRow("chinese") << QVariant(u"章节练习 第一章"_s) << u"p_type"_s;
        QTest::newRow("empty") << QVariant(u""_s) << u"p_time"_s;
        QTest::newRow("null") << QVariant(QMetaType::fromType<QString>()) << u"p_time"_s;
        QTest::newRow("number into text") << QVariant(42) << u"p_true"_s;
        QTest::newRow("double") << QVariant(0.1 + 0.2) << u"p_score"_s;
        QTest::newRow("negative double") << QVariant(-1.5e-7) << u"p_score"_s;
    }
    void roundTrip()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, column);
        TestBank bank;
        db::run(bank.db(), u"insert into page_total (page_id,%1) values (?,?)"_s.arg(column == u"page_id" ? u"p_time"_s : column),
                {column == u"page_id" ? value : QVariant(u"k"_s), column == u"page_id" ? QVariant(u"x"_s) : value});
        const QVariant back = db::scalar(bank.db(), u"select %1 from page_total"_s.arg(column));
        QCOMPARE(back.isNull(), value.isNull());
        if (value.typeId() == QMetaType::Double)
            QCOMPARE(back.toDouble(), value.toDouble());
        else
            QCOMPARE(back.toString(), value.toString());
        // The same value finds its row again through a bound comparison.
        QCOMPARE(db::scalar(bank.db(), u"select count(*) from page_total where %1=?"_s.arg(column), {value}).toInt(),
                 value.isNull() ? 0 : 1);
    }

    // A question mark inside the statement's own quotes is text, not a place for a value.
    void quotedQuestionMarkIsText()
    {
        TestBank bank;
        db::run(bank.db(), u"insert into page_total (page_id,p_time) values ('?',?)"_s, {u"a?b"_s});
        QCOMPARE(db::scalar(bank.db(), u"select p_time from page_total where page_id='?' and p_time=?"_s, {u"a?b"_s})
                     .toString(),
                 u"a?b"_s);
        QVERIFY_THROWS_EXCEPTION(db::Error, db::run(bank.db(), u"select count(*) from page_total where page_id=?"_s));
        QVERIFY_THROWS_EXCEPTION(db::Error, db::run(bank.db(), u"select count(*) from page_total"_s, {1}));
    }
};

QTEST_GUILESS_MAIN(BankValues)
#include "bank_values.moc"
