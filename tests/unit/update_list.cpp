#include "text/gbk.h"
#include "update/updatelist.h"

#include <QTest>

using namespace Qt::StringLiterals;

class UpdateList : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void listDates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: not a date
        const QDateTime june1(QDate(2009, 6, 1), QTime(0, 0));
        QTest::newRow("iso") << u"2009-06-01"_s << june1;
        QTest::newRow("slashes, no zeros") << u"2009/6/1"_s << june1;
        QTest::newRow("dashes, no zeros") << u"2009-6-1"_s << june1;
        QTest::newRow("dots") << u"2009.06.01"_s << june1;
        QTest::newRow("blanks around") << u"  2009-06-01 \t"_s << june1;
        QTest::newRow("with time") << u"2009-6-1 13:05"_s << QDateTime(QDate(2009, 6, 1), QTime(13, 5));
        QTest::newRow("with seconds") << u"2009/06/01 8:05:09"_s << QDateTime(QDate(2009, 6, 1), QTime(8, 5, 9));
        QTest::newRow("mixed separators") << u"2009-06/01"_s << QDateTime();
        QTest::newRow("no such day") << u"2009-02-30"_s << QDateTime();
        QTest::newRow("no such hour") << u"2009-02-03 25:00"_s << QDateTime();
        QTest::newRow("day first") << u"01-06-2009"_s << QDateTime();
        QTest::newRow("words") << u"<html>"_s << QDateTime();
        QTest::newRow("empty") << QString() << QDateTime();
    }
    void listDates()
    {
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        const auto parsed = update::parseListDate(text);
        QCOMPARE(parsed.has_value(), expected.isValid());
        if (parsed)
            QCOMPARE(*parsed, expected);
    }

    void listLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("windows line ends") << QByteArray("2009-06-01\r\nnotes\r\nsys.htm\r\n\r\nmpg/a.wmv\r\n")
                                           << u"2009-06-01"_s << QStringList{u"sys.htm"_s, QString(), u"mpg/a.wmv"_s};
        QTest::newRow("no final line end")
            << QByteArray("2009-6-1\nx\nsys.htm") << u"2009-6-1"_s << QStringList{u"sys.htm"_s};
        QTest::newRow("only the header") << QByteArray("2009-06-01\n说明\n") << u"2009-06-01"_s << QStringList{};
        QTest::newRow("an empty third line")
            << QByteArray("2009-06-01\n\n\n") << u"2009-06-01"_s << QStringList{QString()};
        QTest::newRow("byte order mark") << QByteArray("\xEF\xBB\xBF"
                                                       "2009-06-01\n\nsys.htm\n")
                                         << u"2009-06-01"_s << QStringList{u"sys.htm"_s};
        QTest::newRow("GBK file name") << QByteArray("2009-06-01\n\n") + text::toGbk(u"讲义/第一章.htm"_s)
                                       << u"2009-06-01"_s << QStringList{u"讲义/第一章.htm"_s};
        QTest::newRow("empty file") << QByteArray() << QString() << QStringList{};
    }
    void listLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, date);
        QFETCH(QStringList, entries);
        const update::UpdateList list = update::parseUpdateList(bytes);
        QCOMPARE(list.dateText, date);
        QCOMPARE(list.entries, entries);
    }

    void entries_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("relative");
        const int skip = int(update::EntryKind::Skip), bank = int(update::EntryKind::Bank),
                  file = int(update::EntryKind::File), refused = int(update::EntryKind::Refused);
        QTest::newRow("empty") << QString() << skip << QString();
        QTest::newRow("blanks") << u"   "_s << skip << QString();
        QTest::newRow("the bank") << u"sys.htm"_s << bank << QString();
        QTest::newRow("the bank with blanks") << u" sys.htm  "_s << bank << QString();
        QTest::newRow("the bank by another path") << u"./sys.htm"_s << bank << QString();
        QTest::newRow("the bank by a backslash path") << u".\\sys.htm"_s << bank << QString();
        QTest::newRow("the bank's journal") << u"sys.htm-wal"_s << refused << QString();
        QTest::newRow("the bank's shared memory") << u"./sys.htm-shm"_s << refused << QString();
        QTest::newRow("other case is a file") << u"SYS.HTM"_s << file << u"SYS.HTM"_s;
        QTest::newRow("file") << u"help.htm"_s << file << u"help.htm"_s;
        QTest::newRow("sub-folder") << u"mpg/demo1.wmv"_s << file << u"mpg/demo1.wmv"_s;
        QTest::newRow("backslashes") << u"mpg\\demo1.wmv"_s << file << u"mpg/demo1.wmv"_s;
        QTest::newRow("dot folder") << u"./jy/./a.htm"_s << file << u"jy/a.htm"_s;
        QTest::newRow("trailing blank") << u"a.htm "_s << file << u"a.htm"_s;
        QTest::newRow("parent") << u"../main.ini"_s << refused << QString();
        QTest::newRow("parent inside") << u"mpg/../../update.exe"_s << refused << QString();
        QTest::newRow("parent, backslashes") << u"..\\..\\x.dll"_s << refused << QString();
        QTest::newRow("absolute") << u"/etc/passwd"_s << refused << QString();
        QTest::newRow("absolute, backslash") << u"\\windows\\x.dll"_s << refused << QString();
        QTest::newRow("drive") << u"c:\\x.dll"_s << refused << QString();
        QTest::newRow("drive relative") << u"c:x.dll"_s << refused << QString();
        QTest::newRow("scheme") << u"http://elsewhere.test/x"_s << refused << QString();
        QTest::newRow("folder only") << u"mpg/"_s << refused << QString();
    }
    void entries()
    {
        QFETCH(QString, entry);
        QFETCH(int, kind);
        QFETCH(QString, relative);
        const update::Entry e = update::classifyEntry(entry);
        QCOMPARE(int(e.kind), kind);
        QCOMPARE(e.relative, relative);
    }
};

QTEST_GUILESS_MAIN(UpdateList)
#include "update_list.moc"
