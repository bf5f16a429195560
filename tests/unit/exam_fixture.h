#pragma once

// Small mock-exam banks shared by the exam and paper tests.
#include "support/testbank.h"

#include <QStringList>

namespace examfixture {

using namespace Qt::StringLiterals;

// A calculation question; answers holds the six sub-items ("-" = not used).
inline void addCalc(const TestBank &bank, const QString &cId, const QString &pId, const QStringList &answers,
                    bool amountsMode, double score = 10)
{
    QVariantList v{cId, pId, u"4"_s, u"计算 "_s + pId};
    for (int k = 0; k < 6; ++k)
        v << (k < answers.size() ? answers.at(k) : u"-"_s);
    v << QString() << u"计算解析 "_s + pId << (amountsMode ? 1 : 0) << 0 << score;
    bank.insert(u"ex_page_id"_s, v);
}

inline void addPractical(const TestBank &bank, const QString &cId, const QString &pId)
{
    bank.insert(u"ex_page_id"_s, {cId, pId, u"6"_s, u"实务 "_s + pId, u"-"_s, u"-"_s, u"-"_s, u"-"_s, u"-"_s,
                                  u"-"_s, QString(), u"实务解析"_s, 0, 0, 4.0});
}

// Course M1 "会计基础": paper T1 with two questions of each of types 1..3 (S1, S2 answer A; M1, M2
// answer ACD; J1 answer A, J2 answer B), calculation K1 in amounts mode (1200 / 300 / 500) and K2
// in entries mode; a practice chapter C1 that papers never draw from; empty paper T9.
// Course M2 "财经法规": paper T2 with two single-choice questions and case X1 (three sub-questions
// of 2 marks: A, BC, A) and case X0 without sub-questions.
// Course M3 "初级会计电算化": paper T3 with a single-choice question and two practical questions.
inline void smallBank(const TestBank &bank)
{
    bank.addCourse(u"M1"_s, u"会计基础"_s);
    bank.addChapter(u"T1"_s, u"2024年会计基础模拟试卷(一)"_s, u"M1"_s, u"2"_s);
    bank.addChapter(u"T9"_s, u"空白试卷"_s, u"M1"_s, u"2"_s);
    bank.addChapter(u"C1"_s, u"第一章 总论"_s, u"M1"_s, u"1"_s);
    bank.addQuestion(u"T1"_s, u"S1"_s, 1, u"A"_s, 1);
    bank.addQuestion(u"T1"_s, u"S2"_s, 1, u"A"_s, 1);
    bank.addQuestion(u"T1"_s, u"M1"_s, 2, u"ACD"_s, 2);
    bank.addQuestion(u"T1"_s, u"M2"_s, 2, u"ACD"_s, 2);
    bank.addQuestion(u"T1"_s, u"J1"_s, 3, u"A"_s, 1);
    bank.addQuestion(u"T1"_s, u"J2"_s, 3, u"B"_s, 1);
    addCalc(bank, u"T1"_s, u"K1"_s, {u"1200"_s, u"300"_s, u"500"_s}, true, 10);
    addCalc(bank, u"T1"_s, u"K2"_s,
            {u"借:原材料=500;贷:银行存款=500"_s, u"借:管理费用=200;贷:库存现金=200"_s}, false, 10);
    bank.addQuestion(u"C1"_s, u"Q1"_s, 1, u"B"_s, 1);

    bank.addCourse(u"M2"_s, u"财经法规"_s);
    bank.addChapter(u"T2"_s, u"财经法规模拟试卷"_s, u"M2"_s, u"2"_s);
    bank.addQuestion(u"T2"_s, u"F1"_s, 1, u"A"_s, 1);
    bank.addQuestion(u"T2"_s, u"F2"_s, 1, u"B"_s, 1);
    bank.addCase(u"T2"_s, u"X1"_s, 3, 2);
    bank.addCase(u"T2"_s, u"X0"_s, 0, 2);

    bank.addCourse(u"M3"_s, u"初级会计电算化"_s);
    bank.addChapter(u"T3"_s, u"电算化模拟试卷"_s, u"M3"_s, u"2"_s);
    bank.addQuestion(u"T3"_s, u"D1"_s, 1, u"C"_s, 1);
    addPractical(bank, u"T3"_s, u"D2"_s);
    addPractical(bank, u"T3"_s, u"D3"_s);
}

} // namespace examfixture
