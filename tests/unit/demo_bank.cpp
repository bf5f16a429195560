// Guards the demo question bank built from data/bank by the asset tool: every course offers what
// the setup panels and the random paper need, and every reference answer can be reached through
// the program's own answer formats.
#include "db/sql.h"
#include "text/gbk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr auto kConnection = "demo_bank";

// The fixed chart of accounts of the entry editor: the only account names an entry can carry.
const QStringList &chartOfAccounts()
{
    static const QStringList names = QStringList{
        // 资产类
        u"库存现金"_s, u"银行存款"_s, u"其他货币资金"_s, u"交易性金融资产"_s, u"应收票据"_s, u"应收账款"_s,
        u"应收股利"_s, u"应收利息"_s, u"其他应收款"_s, u"坏账准备"_s, u"材料采购"_s, u"在途物资"_s, u"原材料"_s,
        u"材料成本差异"_s, u"库存商品"_s, u"发出商品"_s, u"委托加工物资"_s, u"融资租赁资产"_s, u"持有至到期投资"_s,
        u"长期股权投资"_s, u"投资性房地产"_s, u"长期应收款"_s, u"固定资产"_s, u"累计折旧"_s, u"固定资产减值准备"_s,
        u"在建工程"_s, u"工程物资"_s, u"无形资产"_s, u"累计摊销"_s, u"无形资产减值准备"_s, u"商誉"_s,
        u"长期待摊费用"_s, u"待处理财产损益"_s,
        // 负债类
        u"短期借款"_s, u"交易性金融负债"_s, u"应付票据"_s, u"应付账款"_s, u"应付职工薪酬"_s, u"应交税费"_s,
        u"应付股利"_s, u"应付利息"_s, u"其他应付款"_s, u"预计负债"_s, u"长期借款"_s, u"应付债券"_s, u"长期应付款"_s,
        u"未确认融资费用"_s,
        // 所有者权益类
        u"实收资本"_s, u"资本公积"_s, u"盈余公积"_s, u"本年利润"_s, u"利润分配"_s,
        // 成本类
        u"生产成本"_s, u"制造费用"_s, u"劳务成本"_s,
        // 损益类
        u"主营业务收入"_s, u"其他业务收入"_s, u"公允价值变动损益"_s, u"投资收益"_s, u"营业外收入"_s,
        u"主营业务成本"_s, u"营业税金及附加"_s, u"销售费用"_s, u"管理费用"_s, u"财务费用"_s, u"资产减值损失"_s,
        u"营业外支出"_s, u"所得税费用"_s, u"以前年度损益调整"_s};
    return names;
}

// Amounts as a learner types them: digits, at most two decimals, no trailing zeros.
const QRegularExpression kAmount(u"^(0|[1-9][0-9]*)(\\.[0-9]?[1-9])?$"_s);
const QRegularExpression kId(u"^[A-Za-z0-9_]{1,14}$"_s);
const QRegularExpression kEntryLine(u"^(借|贷):(.+)=(.+)$"_s);
const QString kAbsent = u"-"_s;

qint64 cents(const QString &amount)
{
    return qRound64(amount.toDouble() * 100);
}

// The pages that the build copies into the program folder's data/.
QString pageFile(const QString &name)
{
    return QDir(QStringLiteral(QM_SOURCE_DIR)).filePath(u"data/pages/"_s + name);
}

} // namespace

class DemoBankTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QSqlDatabase db() const { return QSqlDatabase::database(QString::fromLatin1(kConnection)); }

    QList<QSqlRecord> rows(const QString &sql, const QVariantList &values = {}) const
    {
        QSqlQuery q = db::run(db(), sql, values);
        QList<QSqlRecord> out;
        while (q.next())
            out << q.record();
        return out;
    }

    int count(const QString &sql, const QVariantList &values = {}) const
    {
        return db::scalar(db(), sql, values, 0).toInt();
    }

    // Options A..F of a row starting at column `first`; offered ones must come first.
    static QStringList offeredOptions(const QSqlRecord &r, int first)
    {
        QStringList offered;
        bool gap = false;
        for (int i = first; i < first + 6; ++i) {
            const QString text = r.value(i).toString();
            if (text == kAbsent) {
                gap = true;
                continue;
            }
            if (gap || text.trimmed().isEmpty())
                return {}; // an offered option after a missing one, or an empty text
            offered << text;
        }
        return offered;
    }

    // The answer letters are offered options, in order, one for single choice.
    static bool validLetters(const QString &answer, int offered, bool single)
    {
        if (answer.isEmpty() || (single && answer.size() != 1) || (!single && answer.size() < 2))
            return false;
        for (qsizetype i = 0; i < answer.size(); ++i) {
            const int index = answer[i].unicode() - u'A';
            if (index < 0 || index >= offered || (i > 0 && answer[i] <= answer[i - 1]))
                return false;
        }
        return true;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // A fresh bank: the program folder's copy gathers session rows once the program is used.
        QVERIFY(m_dir.isValid());
        const QString bank = m_dir.filePath(u"sys.htm"_s);
        QProcess tool;
        tool.start(QStringLiteral(QM_ASSETS_TOOL),
                   {u"bank"_s, QDir(QStringLiteral(QM_SOURCE_DIR)).filePath(u"data/bank"_s), bank});
        QVERIFY(tool.waitForFinished(60000));
        QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0, tool.readAllStandardError().constData());
        QSqlDatabase d = QSqlDatabase::addDatabase(u"QSQLITE"_s, QString::fromLatin1(kConnection));
        d.setDatabaseName(bank);
        QVERIFY(d.open());
    }

    void cleanupTestCase()
    {
        QSqlDatabase::database(QString::fromLatin1(kConnection)).close();
        QSqlDatabase::removeDatabase(QString::fromLatin1(kConnection));
    }

    void coursesSelectTheThreeFourthTypes()
    {
        QList<int> fourth;
        for (const QSqlRecord &r : rows(u"SELECT m_name FROM ma_id"_s)) {
            const QString name = r.value(0).toString();
            QList<int> matches;
            if (name.contains(u"基础"))
                matches << 4;
            if (name.contains(u"财经"))
                matches << 5;
            if (name.contains(u"电算"))
                matches << 6;
            QVERIFY2(matches.size() == 1, qPrintable(name));
            fourth << matches.first();
        }
        std::sort(fourth.begin(), fourth.end());
        QCOMPARE(fourth, (QList<int>{4, 5, 6}));
    }

    void courseOffersPracticeAndPapers_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("fourthType");
        QTest::addColumn<int>("quota");
        QTest::newRow("基础: calculation") << u"基础"_s << 4 << 2;
        QTest::newRow("财经: case analysis") << u"财经"_s << 5 << 2;
        QTest::newRow("电算: practical operation") << u"电算"_s << 6 << 15;
    }

    void courseOffersPracticeAndPapers()
    {
        QFETCH(QString, key);
        QFETCH(int, fourthType);
        QFETCH(int, quota);
        const QString mId = db::scalar(db(), u"SELECT m_id FROM ma_id WHERE m_name LIKE ?"_s, {u"%"_s + key + u"%"_s})
                                .toString();
        QVERIFY(!mId.isEmpty());

        const auto perKind = [&](const QString &kind, const QString &type) {
            return count(u"SELECT COUNT(*) FROM ex_page_id q JOIN cap_id c ON q.c_id = c.c_id "
                         "WHERE c.m_id = ? AND c.m_type = ? AND q.p_type = ?"_s,
                         {mId, kind, type});
        };
        // The random paper draws 20/20/20 and the fourth type's quota from all papers.
        QVERIFY(count(u"SELECT COUNT(*) FROM cap_id WHERE m_id = ? AND m_type = '2'"_s, {mId}) >= 2);
        for (const QString &type : {u"1"_s, u"2"_s, u"3"_s})
            QVERIFY2(perKind(u"2"_s, type) >= 20, qPrintable(u"type "_s + type));
        QVERIFY(perKind(u"2"_s, QString::number(fourthType)) >= quota);

        // Every practice chapter has questions, and chapter practice meets the fourth type too.
        const QList<QSqlRecord> chapters = rows(u"SELECT c_id FROM cap_id WHERE m_id = ? AND m_type = '1'"_s, {mId});
        QVERIFY(chapters.size() >= 3);
        for (const QSqlRecord &c : chapters)
            QVERIFY(count(u"SELECT COUNT(*) FROM ex_page_id WHERE c_id = ?"_s, {c.value(0)}) > 0);
        QVERIFY(perKind(u"1"_s, QString::number(fourthType)) > 0);

        // A course holds only its own fourth type.
        const int others = count(u"SELECT COUNT(*) FROM ex_page_id q JOIN cap_id c ON q.c_id = c.c_id "
                                 "WHERE c.m_id = ? AND q.p_type IN ('4','5','6') AND q.p_type <> ?"_s,
                                 {mId, QString::number(fourthType)});
        QCOMPARE(others, 0);
    }

    void idsAreValidAndUnique()
    {
        for (const QString &sql : {u"SELECT m_id FROM ma_id"_s, u"SELECT c_id FROM cap_id"_s,
                                   u"SELECT p_id FROM ex_page_id"_s, u"SELECT n_id FROM ks_net"_s}) {
            QSet<QString> seen;
            for (const QSqlRecord &r : rows(sql)) {
                const QString id = r.value(0).toString();
                QVERIFY2(kId.match(id).hasMatch(), qPrintable(id));
                QVERIFY2(!seen.contains(id), qPrintable(u"duplicate "_s + id));
                seen.insert(id);
            }
        }
        QCOMPARE(count(u"SELECT COUNT(*) FROM cap_id WHERE m_id NOT IN (SELECT m_id FROM ma_id) "
                       "OR m_type NOT IN ('1','2')"_s),
                 0);
        QCOMPARE(count(u"SELECT COUNT(*) FROM ex_page_id WHERE c_id NOT IN (SELECT c_id FROM cap_id)"_s), 0);
        QCOMPARE(count(u"SELECT COUNT(*) FROM ex_sub WHERE p_id NOT IN "
                       "(SELECT p_id FROM ex_page_id WHERE p_type = '5')"_s),
                 0);
        QCOMPARE(count(u"SELECT COUNT(*) FROM ks_net WHERE c_id NOT IN (SELECT c_id FROM cap_id) "
                       "OR n_speaker = '' OR n_url = ''"_s),
                 0);
    }

    void everyQuestionIsComplete()
    {
        static const QMap<QString, double> scores = {{u"1"_s, 1}, {u"2"_s, 2}, {u"3"_s, 1},
                                                     {u"4"_s, 10}, {u"5"_s, 10}, {u"6"_s, 4}};
        for (const QSqlRecord &r : rows(u"SELECT * FROM ex_page_id"_s)) {
            const QString id = r.value(u"p_id"_s).toString();
            const QString type = r.value(u"p_type"_s).toString();
            QVERIFY2(scores.contains(type), qPrintable(id));
            QVERIFY2(!r.value(u"p_subject_name"_s).toString().isEmpty(), qPrintable(id));
            QVERIFY2(!r.value(u"p_anwser_memo"_s).toString().isEmpty(), qPrintable(id));
            QVERIFY2(!r.value(u"p_anwser"_s).toString().isEmpty(), qPrintable(id));
            QVERIFY2(r.value(u"p_anwser"_s).toString().size() <= 255, qPrintable(id));
            QVERIFY2(qFuzzyCompare(r.value(u"p_score"_s).toDouble(), scores.value(type)), qPrintable(id));
            QVERIFY2(type == u"4" || r.value(u"p_mask"_s).toInt() == 0, qPrintable(id));
        }
    }

    void choiceAnswersUseOfferedOptions()
    {
        for (const QSqlRecord &r : rows(u"SELECT * FROM ex_page_id WHERE p_type IN ('1','2','3')"_s)) {
            const QString id = r.value(u"p_id"_s).toString();
            const QString type = r.value(u"p_type"_s).toString();
            const QString answer = r.value(u"p_anwser"_s).toString();
            const QStringList offered = offeredOptions(r, 4);
            if (type == u"3") {
                QVERIFY2(offered == (QStringList{u"对"_s, u"错"_s}), qPrintable(id));
                QVERIFY2(answer == u"A" || answer == u"B", qPrintable(id));
                continue;
            }
            QVERIFY2(offered.size() >= 2 && QSet<QString>(offered.begin(), offered.end()).size() == offered.size(),
                     qPrintable(id));
            QVERIFY2(validLetters(answer, int(offered.size()), type == u"1"), qPrintable(id + u": "_s + answer));
        }
    }

    void calculationAnswersUseTheProgramsFormats()
    {
        int amountsMode = 0;
        int entriesMode = 0;
        for (const QSqlRecord &r : rows(u"SELECT * FROM ex_page_id WHERE p_type = '4'"_s)) {
            const QString id = r.value(u"p_id"_s).toString();
            const bool amounts = r.value(u"p_mask"_s).toInt() == 1;
            (amounts ? amountsMode : entriesMode)++;
            int used = 0;
            for (int k = 0; k < 6; ++k) {
                const QString item = r.value(4 + k).toString();
                if (item == kAbsent)
                    continue;
                QVERIFY2(k == used, qPrintable(id + u": sub-items must be 1..n"_s));
                ++used;
                const QString where = u"%1 sub-item %2: %3"_s.arg(id).arg(k + 1).arg(item);
                if (amounts) {
                    QVERIFY2(kAmount.match(item).hasMatch(), qPrintable(where));
                    continue;
                }
                const QStringList lines = item.split(u';');
                QVERIFY2(lines.size() >= 2 && lines.size() <= 6, qPrintable(where));
                QVERIFY2(QSet<QString>(lines.begin(), lines.end()).size() == lines.size(), qPrintable(where));
                qint64 debit = 0;
                qint64 credit = 0;
                for (const QString &line : lines) {
                    const QRegularExpressionMatch m = kEntryLine.match(line);
                    QVERIFY2(m.hasMatch(), qPrintable(where));
                    QVERIFY2(chartOfAccounts().contains(m.captured(2)), qPrintable(where + u" / "_s + m.captured(2)));
                    QVERIFY2(kAmount.match(m.captured(3)).hasMatch() && cents(m.captured(3)) > 0, qPrintable(where));
                    (m.captured(1) == u"借" ? debit : credit) += cents(m.captured(3));
                }
                QVERIFY2(debit > 0 && debit == credit, qPrintable(where + u": debits and credits differ"_s));
            }
            QVERIFY2(used > 0, qPrintable(id));
        }
        QVERIFY(amountsMode > 0);
        QVERIFY(entriesMode > 0);
    }

    void caseQuestionsHaveNumberedSubQuestions()
    {
        const QList<QSqlRecord> cases = rows(u"SELECT p_id, p_score FROM ex_page_id WHERE p_type = '5'"_s);
        QVERIFY(!cases.isEmpty());
        for (const QSqlRecord &c : cases) {
            const QString id = c.value(0).toString();
            const QList<QSqlRecord> subs = rows(u"SELECT * FROM ex_sub WHERE p_id = ?"_s, {id});
            QVERIFY2(subs.size() >= 2 && subs.size() <= 6, qPrintable(id));
            QStringList numbers;
            double total = 0;
            for (const QSqlRecord &s : subs) {
                const QString where = id + u" / "_s + s.value(u"m_id"_s).toString();
                numbers << s.value(u"m_id"_s).toString();
                const QStringList offered = offeredOptions(s, 3);
                const QString answer = s.value(u"m_anwser"_s).toString();
                const bool single = s.value(u"m_type"_s).toString() == u"1";
                QVERIFY2(offered.size() >= 2, qPrintable(where));
                QVERIFY2(validLetters(answer, int(offered.size()), single), qPrintable(where + u": "_s + answer));
                QVERIFY2(!s.value(u"m_subject"_s).toString().isEmpty(), qPrintable(where));
                QVERIFY2(!s.value(u"m_des"_s).toString().isEmpty(), qPrintable(where));
                QVERIFY2(s.value(u"m_score"_s).toDouble() > 0, qPrintable(where));
                total += s.value(u"m_score"_s).toDouble();
            }
            QStringList expected;
            for (int i = 1; i <= subs.size(); ++i)
                expected << QString::number(i);
            numbers.sort();
            QCOMPARE(numbers, expected);
            QVERIFY2(qFuzzyCompare(total, c.value(1).toDouble()), qPrintable(id));
        }
    }

    void practicalQuestionsOfferNoOptions()
    {
        const int withOptions = count(u"SELECT COUNT(*) FROM ex_page_id WHERE p_type = '6' AND "
                                      "(p_a <> '-' OR p_b <> '-' OR p_c <> '-' OR p_d <> '-' OR p_e <> '-' OR p_f <> '-')"_s);
        QCOMPARE(withOptions, 0);
    }

    void learningMaterialPointsToPages()
    {
        const auto check = [](const QString &table, const QString &target, bool local) {
            const QString where = table + u": "_s + target;
            if (local)
                QVERIFY2(QFile::exists(pageFile(target)), qPrintable(where));
            else
                QVERIFY2(target.startsWith(u"http://") || target.startsWith(u"https://"), qPrintable(where));
        };
        for (const QString &table : {u"ks_jy"_s, u"ks_dg"_s, u"ks_ad"_s}) {
            const QList<QSqlRecord> entries = rows(u"SELECT * FROM "_s + table);
            QSet<bool> kinds;
            for (const QSqlRecord &r : entries) {
                const bool local = r.value(2).toInt() == 1;
                kinds.insert(local);
                check(table, r.value(1).toString(), local);
            }
            QVERIFY2(kinds.size() == 2, qPrintable(table + u" needs local and remote entries"_s));
        }
        // Handouts belong to practice chapters; guide names fit their 25-byte captions, help names their buttons.
        QCOMPARE(count(u"SELECT COUNT(*) FROM ks_jy WHERE c_id NOT IN (SELECT c_id FROM cap_id WHERE m_type = '1')"_s), 0);
        for (const QSqlRecord &r : rows(u"SELECT ks_name FROM ks_dg"_s))
            QVERIFY2(text::gbkWidth(r.value(0).toString()) <= 25, qPrintable(r.value(0).toString()));
        for (const QSqlRecord &r : rows(u"SELECT ks_way FROM ks_ad"_s))
            QVERIFY2(text::gbkWidth(r.value(0).toString()) <= 12, qPrintable(r.value(0).toString()));
        for (const QSqlRecord &r : rows(u"SELECT m_down FROM ma_id"_s)) {
            const QString down = r.value(0).toString();
            QVERIFY2(down == u"0" || QFile::exists(pageFile(down)), qPrintable(down));
        }
    }

    void localPagesAreUtf8WithTheirLinks()
    {
        const QDir data(pageFile({}));
        for (const QString &start : {u"ks_jy.htm"_s, u"ks_dg.htm"_s, u"help.htm"_s})
            QVERIFY2(data.exists(start), qPrintable(start));
        static const QRegularExpression link(u"(?:href|src)=\"([^\"#:]+)\""_s);
        for (const QString &name : data.entryList({u"*.htm"_s}, QDir::Files)) {
            QFile file(data.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            QVERIFY2(bytes.contains("<meta charset=\"utf-8\">"), qPrintable(name));
            QVERIFY2(QString::fromUtf8(bytes).toUtf8() == bytes, qPrintable(name));
            for (const QRegularExpressionMatch &m : link.globalMatch(QString::fromUtf8(bytes)))
                QVERIFY2(data.exists(m.captured(1)), qPrintable(name + u" -> "_s + m.captured(1)));
        }
    }

    void homeTextsFitThePanel()
    {
        // The home panel is 977x587; the headline and the sub-headline take its top 190 pixels.
        const QList<QSqlRecord> texts = rows(u"SELECT name, s_left, s_top FROM soft_text"_s);
        QVERIFY(!texts.isEmpty());
        QList<int> tops;
        for (const QSqlRecord &r : texts) {
            const QString t = r.value(0).toString();
            const int left = r.value(1).toInt();
            const int top = r.value(2).toInt();
            QVERIFY2(left >= 0 && left + text::gbkWidth(t) * 13 / 2 <= 977, qPrintable(t));
            QVERIFY2(top >= 190 && top + 16 <= 587, qPrintable(t));
            tops << top;
        }
        std::sort(tops.begin(), tops.end());
        for (qsizetype i = 1; i < tops.size(); ++i)
            QVERIFY2(tops[i] - tops[i - 1] >= 16, "home texts overlap");
    }

    void sessionTablesStartEmpty()
    {
        for (const QString &table : {u"test_page"_s, u"page_total"_s, u"tmp"_s, u"tmp_id"_s, u"user_logon"_s})
            QCOMPARE(count(u"SELECT COUNT(*) FROM "_s + table), 0);
        QVERIFY(count(u"SELECT MAX(version) FROM qm_version"_s) >= 1);
    }
};

QTEST_GUILESS_MAIN(DemoBankTest)
#include "demo_bank.moc"
