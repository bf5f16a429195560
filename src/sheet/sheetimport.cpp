#include "sheet/sheetimport.h"

#include "db/questiontypes.h"
#include "sheet/calcanswer.h"
#include "sheet/sheetcolumns.h"

#include <QHash>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace sheet {

namespace {

const QString kUnused = u"-"_s;
constexpr int kMaxSubs = 6;
constexpr std::array<double, 7> kDefaultMarks = {0, 1, 2, 1, 10, 0, 4};
constexpr double kDefaultSubMarks = 2;

QString quoted(const QString &text)
{
    return u" \""_s + text + u'"';
}

} // namespace

// One question or sub-question row of the sheet.
struct SheetImport::Item
{
    int row = 0;
    bool sub = false;
    std::array<QString, ColumnCount> cell;
    int type = 0;
    QString kind;
    QStringList options; // six option cells, "-" when not offered
    QString answer;      // in the bank's encoding
    bool amounts = false;
    double marks = 0;
    QString key;
    int caseItem = -1; // of a sub-question: the index of its case question
    QList<int> subs;   // of a case question: its sub-questions
    int chapterIndex = -1;

    const QString &at(Column c) const { return cell[size_t(c)]; }
};

// Courses and chapters in order of first appearance, with the row that introduced each value.
struct SheetImport::Places
{
    struct Course
    {
        QString name;
        int row = 0;
        QString key, speaker, package;
        int keyRow = 0, speakerRow = 0, packageRow = 0;
    };
    struct Chapter
    {
        int course = 0;
        QString name;
        QString kind;
        int row = 0;
        QString key;
        int keyRow = 0;
    };
    QList<Course> courses;
    QHash<QString, int> courseByName;
    QList<Chapter> chapters;
    QHash<QString, int> chapterByName; // course name + 0x1F + chapter name
    QHash<QString, int> itemByKey;     // the 题号 written on the sheet
};

SheetImport::SheetImport(KnownBank known)
    : m_known(std::move(known))
    , m_places(std::make_unique<Places>())
{
}

SheetImport::~SheetImport() = default;

void SheetImport::problem(int row, int column, const QString &text)
{
    m_problems.append({row, column, text});
}

QStringList SheetImport::problems() const
{
    QList<Problem> sorted = m_problems;
    std::stable_sort(sorted.begin(), sorted.end(), [](const Problem &a, const Problem &b) { return a.row < b.row; });
    QStringList out;
    for (const Problem &p : sorted) {
        if (out.size() == kProblemLimit) {
            out << u"……共有%1处问题, 只列出了前%2处."_s.arg(sorted.size()).arg(kProblemLimit);
            break;
        }
        if (p.row <= 0) {
            out << p.text;
            continue;
        }
        const QString where =
            p.column < 0 ? u"第%1行"_s.arg(p.row) : u"第%1行 %2"_s.arg(p.row).arg(columnTitle(p.column));
        out << where + u": "_s + p.text;
    }
    return out;
}

bool SheetImport::read(const QByteArray &bytes)
{
    m_problems.clear();
    m_items.clear();
    m_rows = {};
    *m_places = {};
    CsvTable table;
    QString error;
    if (!parseCsv(bytes, &table, &error)) {
        problem(0, -1, error); // already worded with its row
        return false;
    }
    m_encoding = table.encoding;
    m_separator = table.separator;
    if (table.records.isEmpty()) {
        problem(1, -1, u"表格是空的, 第一行应是列标题"_s);
        return false;
    }
    if (!readHeader(table.records.first(), table.rows.first()))
        return false;
    m_items.reserve(table.records.size());
    for (qsizetype k = 1; k < table.records.size(); ++k)
        readRecord(table.records.at(k), table.rows.at(k));
    if (m_items.isEmpty() && m_problems.isEmpty())
        problem(table.rows.first(), -1, u"表格中没有题目"_s);
    linkCases();
    makeKeys();
    if (!m_problems.isEmpty())
        return false;
    build();
    return true;
}

bool SheetImport::readHeader(const QStringList &titles, int row)
{
    m_columns = QList<int>(ColumnCount, -1);
    m_fieldCount = int(titles.size());
    for (qsizetype k = 0; k < titles.size(); ++k) {
        const QString title = titles.at(k).trimmed();
        if (title.isEmpty())
            continue;
        const int column = columnOf(title);
        if (column < 0)
            problem(row, -1, u"未知的列标题"_s + quoted(title));
        else if (m_columns[column] >= 0)
            problem(row, -1, u"列标题重复"_s + quoted(title));
        else
            m_columns[column] = int(k);
    }
    for (int c = 0; c < ColumnCount; ++c) {
        if (isRequired(c) && m_columns[c] < 0)
            problem(row, -1, u"缺少列"_s + quoted(columnTitle(c)));
    }
    return m_problems.isEmpty();
}

void SheetImport::readRecord(const QStringList &fields, int row)
{
    Item item;
    item.row = row;
    bool blank = true;
    for (int c = 0; c < ColumnCount; ++c) {
        if (m_columns[c] >= 0 && m_columns[c] < fields.size())
            item.cell[size_t(c)] = fields.at(m_columns[c]).trimmed();
        blank = blank && item.cell[size_t(c)].isEmpty();
    }
    for (qsizetype k = 0; k < fields.size(); ++k) {
        const bool titled = k < m_fieldCount && m_columns.contains(int(k));
        if (!titled && !fields.at(k).trimmed().isEmpty()) {
            problem(row, -1,
                    u"第%1列没有列标题, 其中的内容无法归入任何一列"_s.arg(k + 1) + quoted(fields.at(k).trimmed()));
            blank = false;
        }
    }
    if (blank)
        return;
    item.sub = !item.at(CaseKey).isEmpty();

    const QString typeText = item.at(Type);
    item.type = typeCode(typeText);
    if (item.sub && typeText.isEmpty()) {
        const QString a = item.at(Answer);
        item.type = a == u"对" || a == u"错" ? 3 : (a.size() > 1 ? 2 : 1);
    }
    if (item.type == 0)
        problem(row, Type, (typeText.isEmpty() ? u"不能为空"_s : u"不是已知的题型"_s + quoted(typeText)));
    else if (item.sub && item.type > 3)
        problem(row, Type, u"案例的子题只能是单选题、多选题或判断题"_s + quoted(typeText));
    if (item.at(Stem).isEmpty())
        problem(row, Stem, u"不能为空"_s);

    if (!item.sub) {
        if (item.at(Course).isEmpty())
            problem(row, Course, u"不能为空"_s);
        if (item.at(Chapter).isEmpty())
            problem(row, Chapter, u"不能为空"_s);
        for (const Column c : {Course, Chapter}) {
            if (item.at(c).size() > kMaxNameLength)
                problem(row, c, u"名称最长%1个字"_s.arg(kMaxNameLength));
        }
        item.kind = kindCode(item.at(Kind));
        if (item.kind.isEmpty())
            problem(row, Kind, u"应为\"章节练习\"或\"模拟试卷\""_s + quoted(item.at(Kind)));
        const int fourth = fourthType(item.at(Course));
        if (item.type >= 4 && item.type != fourth && !item.at(Course).isEmpty())
            problem(row, Type, u"课程\"%1\"不使用%2"_s.arg(item.at(Course), db::typeName(item.type)));
        for (const Column c : {QuestionKey, CourseKey, ChapterKey}) {
            if (!item.at(c).isEmpty() && !isKey(item.at(c)))
                problem(row, c, u"只能由字母、数字和下划线组成, 最长14个字符"_s + quoted(item.at(c)));
        }
        if (!item.at(QuestionKey).isEmpty()) {
            const auto known = m_places->itemByKey.constFind(item.at(QuestionKey));
            if (known != m_places->itemByKey.cend())
                problem(row, QuestionKey,
                        u"与第%1行的题号重复"_s.arg(m_items.at(*known).row) + quoted(item.at(QuestionKey)));
            else
                m_places->itemByKey.insert(item.at(QuestionKey), int(m_items.size()));
        }
    } else {
        for (const Column c : {QuestionKey, ShownAnswer, CourseKey, ChapterKey, Speaker, Package}) {
            if (!item.at(c).isEmpty())
                problem(row, c, u"子题行不填这一列"_s);
        }
    }
    if (!item.at(ShownAnswer).isEmpty() && item.type != 4 && item.type != 5)
        problem(row, ShownAnswer, u"只用于计算分析题和案例分析题"_s);
    if (item.at(ShownAnswer).size() > kMaxAnswerLength)
        problem(row, ShownAnswer, u"最长%1个字"_s.arg(kMaxAnswerLength));

    const QString marks = item.at(Marks);
    if (marks.isEmpty()) {
        item.marks = item.sub ? kDefaultSubMarks : kDefaultMarks[size_t(std::clamp(item.type, 0, 6))];
    } else {
        bool ok = false;
        item.marks = marks.toDouble(&ok);
        if (!ok || !std::isfinite(item.marks) || item.marks < 0)
            problem(row, Marks, u"不是有效的分值"_s + quoted(marks));
    }
    if (item.type != 0) {
        checkOptions(item);
        checkAnswer(item);
    }
    if (!item.sub)
        registerPlace(item);
    m_items.append(std::move(item));
}

void SheetImport::checkOptions(Item &item)
{
    item.options = QStringList(kOptionCount, kUnused);
    if (item.type != 1 && item.type != 2) {
        for (int k = 0; k < kOptionCount; ++k) {
            if (!item.cell[size_t(OptionA + k)].isEmpty()) {
                problem(item.row, OptionA + k, db::typeName(item.type) + u"不用选项"_s);
                break;
            }
        }
        if (item.type == 3) {
            item.options[0] = u"对"_s;
            item.options[1] = u"错"_s;
        }
        return;
    }
    int offered = 0;
    for (int k = 0; k < kOptionCount; ++k) {
        const QString &text = item.cell[size_t(OptionA + k)];
        if (text.isEmpty())
            continue;
        if (offered != k) {
            problem(item.row, OptionA + k, u"选项须从A起连续填写, 选项%1是空的"_s.arg(QChar(u'A' + offered)));
            return;
        }
        item.options[k] = text;
        ++offered;
    }
    if (offered < 2)
        problem(item.row, OptionA + offered, u"至少要有两个选项"_s);
}

void SheetImport::checkAnswer(Item &item)
{
    const QString &text = item.at(Answer);
    switch (item.type) {
    case 1:
    case 2: {
        if (text.isEmpty()) {
            problem(item.row, Answer, u"不能为空"_s);
            return;
        }
        const int offered = int(item.options.size() - item.options.count(kUnused));
        QString letters;
        for (const QChar ch : text.toUpper()) {
            if (ch.isSpace() || ch == u',' || ch == u'，' || ch == u'、')
                continue;
            if (ch < u'A' || ch >= QChar(u'A' + offered)) {
                problem(item.row, Answer, u"\"%1\" 不是本题的选项"_s.arg(ch) + quoted(text));
                return;
            }
            if (!letters.contains(ch))
                letters += ch;
        }
        std::sort(letters.begin(), letters.end());
        if (item.type == 1 && letters.size() != 1)
            problem(item.row, Answer, u"单选题只能有一个答案"_s + quoted(text));
        else if (item.type == 2 && letters.size() < 2)
            problem(item.row, Answer, u"多选题至少要有两个答案"_s + quoted(text));
        item.answer = letters;
        return;
    }
    case 3:
        if (text == u"对" || text.compare(u"A"_s, Qt::CaseInsensitive) == 0)
            item.answer = u"A"_s;
        else if (text == u"错" || text.compare(u"B"_s, Qt::CaseInsensitive) == 0)
            item.answer = u"B"_s;
        else
            problem(item.row, Answer, u"判断题的答案应为\"对\"或\"错\""_s + quoted(text));
        return;
    case 4: {
        CalcAnswer calc;
        QStringList found;
        if (!parseCalcAnswer(text, &calc, &found)) {
            for (const QString &p : found)
                problem(item.row, Answer, p);
            return;
        }
        item.amounts = calc.amounts;
        for (qsizetype k = 0; k < calc.items.size(); ++k)
            item.options[k] = calc.items.at(k);
        item.answer =
            item.at(ShownAnswer).isEmpty() ? calcReferenceAnswer(item.options, item.amounts) : item.at(ShownAnswer);
        return;
    }
    case 5:
        if (!text.isEmpty())
            problem(item.row, Answer, u"案例分析题的答案写在它的子题行"_s);
        return;
    case 6:
        if (text.isEmpty())
            problem(item.row, Answer, u"实务操作题须写参考答案"_s);
        else if (text.size() > kMaxAnswerLength)
            problem(item.row, Answer, u"最长%1个字"_s.arg(kMaxAnswerLength));
        item.answer = text;
        return;
    default:
        return;
    }
}

void SheetImport::registerPlace(const Item &item)
{
    Places &p = *m_places;
    const QString course = item.at(Course);
    const QString chapter = item.at(Chapter);
    if (course.isEmpty() || chapter.isEmpty())
        return;
    auto c = p.courseByName.constFind(course);
    if (c == p.courseByName.cend()) {
        c = p.courseByName.insert(course, int(p.courses.size()));
        p.courses.append({course, item.row, {}, {}, {}, 0, 0, 0});
    }
    Places::Course &info = p.courses[*c];
    const auto once = [&](Column column, QString &value, int &valueRow, const QString &what) {
        const QString &given = item.at(column);
        if (given.isEmpty())
            return;
        if (value.isEmpty()) {
            value = given;
            valueRow = item.row;
        } else if (value != given) {
            problem(item.row, column, u"与第%1行同一%2的\"%3\"不同"_s.arg(valueRow).arg(what, value) + quoted(given));
        }
    };
    once(CourseKey, info.key, info.keyRow, u"课程"_s);
    once(Speaker, info.speaker, info.speakerRow, u"课程"_s);
    once(Package, info.package, info.packageRow, u"课程"_s);

    const QString lookup = course + QChar(0x1F) + chapter;
    auto h = p.chapterByName.constFind(lookup);
    if (h == p.chapterByName.cend()) {
        h = p.chapterByName.insert(lookup, int(p.chapters.size()));
        p.chapters.append({int(*c), chapter, item.kind, item.row, {}, 0});
    }
    Places::Chapter &ch = p.chapters[*h];
    if (!item.kind.isEmpty() && ch.kind != item.kind)
        problem(item.row, Kind, u"与第%1行同一章节的类别不同"_s.arg(ch.row) + quoted(item.at(Kind)));
    once(ChapterKey, ch.key, ch.keyRow, u"章节"_s);
}

void SheetImport::linkCases()
{
    for (qsizetype k = 0; k < m_items.size(); ++k) {
        Item &item = m_items[k];
        if (!item.sub) {
            item.chapterIndex = m_places->chapterByName.value(item.at(Course) + QChar(0x1F) + item.at(Chapter), -1);
            continue;
        }
        const int target = m_places->itemByKey.value(item.at(CaseKey), -1);
        if (target < 0) {
            problem(item.row, CaseKey, u"找不到这个题号的题目"_s + quoted(item.at(CaseKey)));
            continue;
        }
        Item &owner = m_items[target];
        if (owner.type != 5) {
            problem(item.row, CaseKey, u"第%1行的题目不是案例分析题"_s.arg(owner.row) + quoted(item.at(CaseKey)));
            continue;
        }
        if (owner.subs.size() == kMaxSubs) {
            problem(item.row, CaseKey, u"一道案例分析题最多%1个子题"_s.arg(kMaxSubs));
            continue;
        }
        for (const Column c : {Course, Chapter}) {
            if (!item.at(c).isEmpty() && item.at(c) != owner.at(c))
                problem(item.row, c, u"与所属案例(第%1行)不同"_s.arg(owner.row) + quoted(item.at(c)));
        }
        if (!item.at(Kind).isEmpty() && kindCode(item.at(Kind)) != owner.kind)
            problem(item.row, Kind, u"与所属案例(第%1行)不同"_s.arg(owner.row) + quoted(item.at(Kind)));
        item.caseItem = target;
        owner.subs.append(int(k));
    }
    for (const Item &item : std::as_const(m_items)) {
        if (!item.sub && item.type == 5 && item.subs.isEmpty())
            problem(item.row, Type, u"案例分析题没有子题: 子题行的\"所属案例\"填这道题的题号"_s);
    }
}

void SheetImport::makeKeys()
{
    Places &p = *m_places;
    QHash<QString, int> courseOwner;
    for (qsizetype k = 0; k < p.courses.size(); ++k) {
        Places::Course &c = p.courses[k];
        if (c.key.isEmpty()) {
            const auto known = m_known.courses.constFind(c.name);
            c.key = known != m_known.courses.cend() ? known->key : hashKey(u'K', {c.name});
        }
        const auto owner = courseOwner.constFind(c.key);
        if (owner != courseOwner.cend())
            problem(c.keyRow ? c.keyRow : c.row, CourseKey,
                    u"编号\"%1\"已用于课程\"%2\""_s.arg(c.key, p.courses.at(*owner).name));
        else
            courseOwner.insert(c.key, int(k));
    }
    QHash<QString, int> chapterOwner;
    for (qsizetype k = 0; k < p.chapters.size(); ++k) {
        Places::Chapter &ch = p.chapters[k];
        const QString courseKey = p.courses.at(ch.course).key;
        if (ch.key.isEmpty()) {
            const QString known = m_known.chapters.value(KnownBank::chapterLookup(courseKey, ch.name));
            ch.key = !known.isEmpty() ? known : hashKey(u'Z', {courseKey, ch.name});
        }
        const auto owner = chapterOwner.constFind(ch.key);
        if (owner != chapterOwner.cend())
            problem(ch.keyRow ? ch.keyRow : ch.row, ChapterKey,
                    u"编号\"%1\"已用于章节\"%2\""_s.arg(ch.key, p.chapters.at(*owner).name));
        else
            chapterOwner.insert(ch.key, int(k));
    }
    QHash<QString, int> occurrences;
    for (qsizetype k = 0; k < m_items.size(); ++k) {
        Item &item = m_items[k];
        if (item.sub || item.chapterIndex < 0)
            continue;
        if (!item.at(QuestionKey).isEmpty()) {
            item.key = item.at(QuestionKey);
            continue;
        }
        const QStringList parts = {p.chapters.at(item.chapterIndex).key, QString::number(item.type), item.at(Stem)};
        const int n = occurrences[parts.join(QChar(0x1F))]++;
        item.key = hashKey(u'T', parts + QStringList{QString::number(n)});
        const auto owner = p.itemByKey.constFind(item.key);
        if (owner != p.itemByKey.cend() && *owner != k)
            problem(item.row, QuestionKey,
                    u"自动生成的题号\"%1\"与第%2行的题号相同"_s.arg(item.key).arg(m_items.at(*owner).row));
    }
}

void SheetImport::build()
{
    const Places &p = *m_places;
    for (const Places::Course &c : p.courses) {
        const auto known = m_known.courses.constFind(c.name);
        const bool local = known != m_known.courses.cend() && known->key == c.key;
        const QString speaker = !c.speaker.isEmpty() ? c.speaker : (local ? known->speaker : QString());
        const QString package = !c.package.isEmpty() ? c.package : (local ? known->package : u"0"_s);
        m_rows.courses.append({c.key, c.name, speaker, package});
    }
    for (const Places::Chapter &ch : p.chapters)
        m_rows.chapters.append({ch.key, ch.name, p.courses.at(ch.course).key, ch.kind});
    for (const Item &item : std::as_const(m_items)) {
        if (item.sub)
            continue;
        double marks = item.marks;
        QString answer = item.answer;
        if (item.type == 5) {
            QStringList letters;
            double sum = 0;
            int number = 0;
            for (const int s : item.subs) {
                const Item &sub = m_items.at(s);
                letters << sub.answer;
                sum += sub.marks;
                m_rows.subs.append({item.key, QString::number(++number), sub.at(Stem), sub.options[0], sub.options[1],
                                    sub.options[2], sub.options[3], sub.options[4], sub.options[5], sub.answer,
                                    sub.at(Memo), sub.marks, QString::number(sub.type)});
            }
            if (item.at(Marks).isEmpty())
                marks = sum;
            answer = item.at(ShownAnswer).isEmpty() ? caseReferenceAnswer(letters) : item.at(ShownAnswer);
        }
        const QStringList &o = item.options;
        m_rows.questions.append({p.chapters.at(item.chapterIndex).key, item.key, QString::number(item.type),
                                 item.at(Stem), o[0], o[1], o[2], o[3], o[4], o[5], answer, item.at(Memo),
                                 item.type == 4 && item.amounts ? 1 : 0, 0, marks});
    }
}

} // namespace sheet
