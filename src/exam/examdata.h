#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

// The rows the exam window works on: a question of ex_page_id, a case sub-question of ex_sub and a
// session's answer record in test_page. Loaders throw db::Error.
namespace exam {

struct Question
{
    QString pId;
    QString cId;
    int type = 0;
    QString subject;
    std::array<QString, 6> options; // p_a..p_f: option texts, or the sub-items' correct answers (type 4)
    QString answer;                 // p_anwser
    QString memo;                   // p_anwser_memo
    bool amountsMode = false;       // p_mask
    double score = 0;
};

struct SubQuestion
{
    QString pId;
    QString mId;
    QString subject;
    std::array<QString, 6> options; // ma..mf
    QString answer;                 // m_anwser
    QString des;                    // m_des
    double score = 0;
};

struct AnswerRow
{
    QString pageId;
    QString pId;
    std::array<bool, 6> flags{}; // p_a..p_f
    QString answer;              // p_answer
    bool done = false;           // p_do_yn
    bool right = false;          // p_real_yn
    bool mask = false;           // p_mask
    QVariant score;              // p_score, null when no value is stored
    int type = 0;
};

std::optional<Question> loadQuestion(const QSqlDatabase &db, const QString &pId);
std::optional<SubQuestion> loadSubQuestion(const QSqlDatabase &db, const QString &pId, const QString &mId);
std::optional<AnswerRow> loadAnswerRow(const QSqlDatabase &db, const QString &pageId, const QString &pId);

// An option or sub-item that is offered: neither empty nor "-".
inline bool offered(const QString &text)
{
    return !text.isEmpty() && text != u"-";
}

// A true/false answer as shown: "A" is "对", anything else "错".
inline QString judgeText(const QString &answer)
{
    return answer == u"A" ? QStringLiteral("对") : QStringLiteral("错");
}

} // namespace exam
