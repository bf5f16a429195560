#include "content/contentlink.h"
#include "content/guidehelp.h"
#include "content/handouts.h"
#include "support/testbank.h"
#include "text/gbk.h"

#include <QDir>
#include <QTest>

using namespace Qt::StringLiterals;

using content::Destination;

class ContentEntries : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void handoutCaption_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        // 30 single-byte characters: the first 26 and 4 blanks.
        QTest::newRow("30 ASCII") << u"abcdefghijklmnopqrstuvwxyz1234"_s << u"abcdefghijklmnopqrstuvwxyz    "_s;
        // 25 bytes of ASCII, then a Chinese character starting at byte 26: kept whole, 3 blanks.
        QTest::newRow("two-byte character at byte 26")
            << u"abcdefghijklmnopqrstuvwxy章节名称"_s << u"abcdefghijklmnopqrstuvwxy章   "_s;
        // 13 Chinese characters fill bytes 1..26 exactly; the 14th starts at byte 27 and goes.
        QTest::newRow("thirteen characters fill 26 bytes")
            << u"第一章会计基础与会计要素核算方法"_s << u"第一章会计基础与会计要素核    "_s;
        QTest::newRow("short name padded, blanks trimmed")
            << u"  第一章 总论  "_s << u"第一章 总论"_s + QString(19, u' ');
        QTest::newRow("exactly 26 bytes stays whole") << QString(26, u'x') << QString(26, u'x') + u"    "_s;
        QTest::newRow("empty") << QString() << QString(30, u' ');
    }
    void handoutCaption()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(content::handoutButtonCaption(name), caption);
        QCOMPARE(text::gbkWidth(content::handoutButtonCaption(name)), 30);
    }

    void guideCaption_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::newRow("short, padded to 25 bytes") << u" 考试简介 "_s << u"考试简介"_s + QString(17, u' ');
        // 26 bytes: cut to the first 25.
        QTest::newRow("ASCII cut") << u"abcdefghijklmnopqrstuvwxyz"_s << u"abcdefghijklmnopqrstuvwxy"_s;
        // 14 Chinese characters are 28 bytes: 12 fit in 24, the 13th would be cut, a blank takes byte 25.
        QTest::newRow("never half a character") << u"全国会计从业资格无纸化考试指"_s << u"全国会计从业资格无纸化考 "_s;
    }
    void guideCaption()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QCOMPARE(content::guideButtonCaption(name), caption);
        QCOMPARE(text::gbkWidth(caption), 25);
    }

    void buttonPlaces()
    {
        // Chapter buttons at 10, then 32 × i + 12; guide rows 45 apart from 35; help rows 45 apart
        // from 33 and the manual update button one row further down.
        QCOMPARE(content::handoutButtonTop(0), 10);
        QCOMPARE(content::handoutButtonTop(1), 44);
        QCOMPARE(content::handoutButtonTop(2), 76);
        QCOMPARE(content::guideButtonTop(0), 35);
        QCOMPARE(content::guideButtonTop(2), 125);
        QCOMPARE(content::helpButtonTop(2), 123);
        QCOMPARE(content::manualUpdateTop(3), 213);
        QCOMPARE(content::manualUpdateTop(0), 78);
        QCOMPARE(content::helpButtonCaption(u"快速入门"_s), u"   快速入门"_s);
    }

    void entryFoundByCaption_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected"); // the entry's target, empty: none
        QTest::newRow("padded guide caption") << content::guideButtonCaption(u"考试简介"_s) << u"intro.htm"_s;
        QTest::newRow("cut caption of a long name")
            << content::guideButtonCaption(u"全国会计从业资格无纸化考试指南全文"_s) << u"long.htm"_s;
        QTest::newRow("help caption") << content::helpButtonCaption(u"常见问题"_s) << u"faq.htm"_s;
        QTest::newRow("quote in the name") << u"   O'Neil's FAQ"_s << u"quote.htm"_s;
        QTest::newRow("exact name beats a longer one") << u"考试"_s << u"exam.htm"_s;
        QTest::newRow("unknown") << u"没有这一项"_s << QString();
        QTest::newRow("blank caption") << u"   "_s << QString();
    }
    void entryFoundByCaption()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        const QList<content::Entry> entries = {
            {u"考试简介 "_s, {u"intro.htm"_s, true}},
            {u"考试简介以及其它更长的说明文字"_s, {u"other.htm"_s, true}},
            {u"全国会计从业资格无纸化考试指南全文"_s, {u"long.htm"_s, true}},
            {u"常见问题"_s, {u"faq.htm"_s, true}},
            {u"O'Neil's FAQ"_s, {u"quote.htm"_s, true}},
            {u"考试大纲"_s, {u"outline.htm"_s, true}},
            {u"考试"_s, {u"exam.htm"_s, true}},
        };
        const std::optional<content::Entry> e = content::entryByCaption(entries, caption);
        QCOMPARE(e ? e->link.target : QString(), expected);
    }

    void resolve_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("local");
        QTest::addColumn<bool>("online");
        QTest::addColumn<bool>("onlineRequired");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("location"); // "@" stands for the program folder
        const int file = int(Destination::Kind::LocalFile);
        const int web = int(Destination::Kind::WebAddress);
        const int missing = int(Destination::Kind::Missing);
        const int offline = int(Destination::Kind::Offline);
        QTest::newRow("local page, offline") << u"jy1.htm"_s << true << false << true << file << u"@/data/jy1.htm"_s;
        QTest::newRow("local page in a subfolder, backslash")
            << u"sub\\p.htm"_s << true << true << true << file << u"@/data/sub/p.htm"_s;
        QTest::newRow("local page missing") << u"gone.htm"_s << true << true << true << missing << u"data/gone.htm"_s;
        QTest::newRow("local page leaving data/")
            << u"../main.ini"_s << true << true << true << missing << u"data/../main.ini"_s;
        QTest::newRow("absolute local path")
            << u"/etc/hostname"_s << true << true << true << missing << u"data//etc/hostname"_s;
        QTest::newRow("a folder is no page") << u"sub"_s << true << true << true << missing << u"data/sub"_s;
        QTest::newRow("web address online")
            << u"http://example.org/a"_s << false << true << true << web << u"http://example.org/a"_s;
        QTest::newRow("web address offline")
            << u"http://example.org/a"_s << false << false << true << offline << u"http://example.org/a"_s;
        QTest::newRow("web address offline, no test asked")
            << u"http://example.org/a"_s << false << false << false << web << u"http://example.org/a"_s;
    }
    void resolve()
    {
        QFETCH(QString, target);
        QFETCH(bool, local);
        QFETCH(bool, online);
        QFETCH(bool, onlineRequired);
        QFETCH(int, kind);
        QFETCH(QString, location);
        TestBank bank{u"resolve"_s};
        bank.writeFile(u"data/jy1.htm"_s, "<p>1</p>");
        bank.writeFile(u"data/sub/p.htm"_s, "<p>2</p>");
        const QString dir = QDir::cleanPath(bank.dir());
        const Destination d = content::resolve({target, local}, dir, online, onlineRequired);
        QCOMPARE(int(d.kind), kind);
        QCOMPARE(d.location, QString(location).replace(u"@"_s, dir));
    }

    void handoutQueries()
    {
        TestBank bank{u"handouts"_s};
        bank.insert(u"ma_id"_s, {u"M1"_s, u"会计基础"_s, u"讲师"_s, u"pack.htm"_s});
        bank.insert(u"ma_id"_s, {u"M2"_s, u"财经法规"_s, u"讲师"_s, u"0"_s});
        bank.insert(u"ma_id"_s, {u"M3"_s, u"电算化"_s, u"讲师"_s, u"p3.zip"_s});
        bank.addChapter(u"C1"_s, u"第一章"_s, u"M1"_s);
        bank.addChapter(u"C2"_s, u"第二章 O'Brien"_s, u"M1"_s);
        bank.addChapter(u"C3"_s, u"第三章"_s, u"M1"_s);
        bank.addChapter(u"P1"_s, u"试卷一"_s, u"M3"_s, u"2"_s); // M3 has papers only
        bank.addChapter(u"D1"_s, u"第一章"_s, u"M2"_s);
        bank.insert(u"ks_jy"_s, {u"C1"_s, u"http://example.org/jy1"_s, 0});
        bank.insert(u"ks_jy"_s, {u"C2"_s, u"jy2.htm"_s, 1});
        bank.insert(u"ks_jy"_s, {u"D1"_s, u"d1.htm"_s, 1});

        const QList<content::HandoutChapter> chapters = content::handoutChapters(bank.db(), u"M1"_s);
        QCOMPARE(chapters.size(), 2);
        QCOMPARE(chapters.at(0).chapterId, u"C1"_s);
        QCOMPARE(chapters.at(1).chapterId, u"C2"_s);
        QCOMPARE(chapters.at(1).name, u"第二章 O'Brien"_s);
        QVERIFY(content::handoutChapters(bank.db(), u"M3"_s).isEmpty());
        QVERIFY(content::handoutChapters(bank.db(), u"x' or '1'='1"_s).isEmpty());

        const auto local = content::handout(bank.db(), u"C2"_s);
        QVERIFY(local && local->local);
        QCOMPARE(local->target, u"jy2.htm"_s);
        const auto web = content::handout(bank.db(), u"C1"_s);
        QVERIFY(web && !web->local);
        QCOMPARE(web->target, u"http://example.org/jy1"_s);
        QVERIFY(!content::handout(bank.db(), u"C3"_s));

        QCOMPARE(content::coursePackage(bank.db(), u"M1"_s), u"pack.htm"_s);
        QCOMPARE(content::coursePackage(bank.db(), u"M2"_s), u"0"_s);
        // No practice chapter: no m_down is read, and that is no package.
        QCOMPARE(content::coursePackage(bank.db(), u"M3"_s), QString());
        QVERIFY(content::hasPackage(u"pack.htm"_s));
        QVERIFY(!content::hasPackage(u"0"_s));
        QVERIFY(!content::hasPackage(QString()));
        QCOMPARE(content::packageToolTip(u"会计基础"_s, u"pack.htm"_s),
                 u"下载所有会计基础讲义打包文件下载\r\n目标文件:pack.htm"_s);
    }

    void packageUrl()
    {
        TestBank bank{u"package"_s};
        bank.writeFile(u"data/pack.htm"_s, "<p>all</p>");
        bank.writeFile(u"root.zip"_s, "PK");
        const QString dir = QDir::cleanPath(bank.dir());
        QCOMPARE(content::packageUrl(dir, u"pack.htm"_s), QUrl::fromLocalFile(dir + u"/data/pack.htm"_s));
        QCOMPARE(content::packageUrl(dir, u"root.zip"_s), QUrl::fromLocalFile(dir + u"/root.zip"_s));
        QCOMPARE(content::packageUrl(dir, u"https://example.org/all.zip"_s), QUrl(u"https://example.org/all.zip"_s));
        QVERIFY(content::packageUrl(dir, u"missing.zip"_s).isEmpty());
        QVERIFY(content::packageUrl(dir, u"../root.zip"_s).isEmpty());
        QVERIFY(content::packageUrl(dir, dir + u"/root.zip"_s).isEmpty());
    }

    void guideAndHelpRows()
    {
        TestBank bank{u"entries"_s};
        bank.insert(u"ks_dg"_s, {u"考试简介"_s, u"dg1.htm"_s, 1});
        bank.insert(u"ks_dg"_s, {u"评价网"_s, u"https://example.org/"_s, 0});
        bank.insert(u"ks_ad"_s, {u"快速入门"_s, u"help1.htm"_s, 1});
        const QList<content::Entry> guide = content::guideEntries(bank.db());
        QCOMPARE(guide.size(), 2);
        QCOMPARE(guide.at(1).name, u"评价网"_s);
        QCOMPARE(guide.at(1).link.target, u"https://example.org/"_s);
        QVERIFY(guide.at(0).link.local);
        QVERIFY(!guide.at(1).link.local);
        const QList<content::Entry> help = content::helpEntries(bank.db());
        QCOMPARE(help.size(), 1);
        QCOMPARE(help.at(0).name, u"快速入门"_s);
        QVERIFY(help.at(0).link.local);
    }
};

QTEST_GUILESS_MAIN(ContentEntries)
#include "content_entries.moc"
