#include "update/mergeplan.h"

using namespace Qt::StringLiterals;

namespace update {

const QList<MergeTable> &mergePlan()
{
    static const QList<MergeTable> plan = {
        {u"ma_id"_s, u"课程内容增加:"_s, {{u"m_id"_s, 0}}},
        {u"cap_id"_s, u"章节记录增加:"_s, {{u"c_id"_s, 0}}},
        // Column 0 of a question is its chapter; the question is found by p_id.
        {u"ex_page_id"_s, u"题目增加:"_s, {{u"p_id"_s, 1}}},
        // Sub-questions are found by name: one row per case question and sub-question number.
        {u"ex_sub"_s, u"案例子项题目增加:"_s, {{u"p_id"_s, -1}, {u"m_id"_s, -1}}},
        {u"ks_net"_s, u"网络课程记录增加:"_s, {{u"c_id"_s, 0}, {u"n_id"_s, 1}, {u"n_name"_s, 2}}},
        {u"ks_jy"_s, u"课程讲义记录增加:"_s, {{u"c_id"_s, 0}, {u"ks_url"_s, 1}}},
        {u"ks_dg"_s, u"考试指南记录增加:"_s, {{u"ks_name"_s, 0}, {u"ks_url"_s, 1}}},
        {u"soft_text"_s, u"注册面板文字记录增加:"_s, {{u"name"_s, 0}}},
        {u"ks_ad"_s, u"帮助中心记录增加:"_s, {{u"ks_way"_s, 0}, {u"ks_url"_s, 1}}},
    };
    return plan;
}

} // namespace update
