// The exam instructions slides (982x627). The instructions window lays transparent hot spots over
// them; each slide draws its buttons exactly under those spots.
#include "art.h"
#include "skin.h"

#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kW = 982;
constexpr int kH = 627;
constexpr int kFooterTop = 566;

// Hot spots of the instructions window.
const QRect kNextOnSecond(632, 396, 68, 21);
const QRect kNextOnThird(630, 404, 71, 23);
const QRect kRestart(733, 405, 69, 21);
const QRect kStartExam(776, 576, 129, 41);
const QRect kInfoPanel(128, 168, 689, 217);

const QColor kSecondary(0x6B, 0x7C, 0x93);

QImage slideFrame()
{
    QImage image = art::gradientCanvas(kW, kH, QColor(0xF7, 0xFA, 0xFE), QColor(0xE7, 0xEF, 0xFA));
    art::Painter p(&image);
    art::verticalGradient(p, QRectF(0, 0, kW, 78), QColor(0x2C, 0x73, 0xDB), QColor(0x16, 0x55, 0xB5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(QPointF(kW - 60, 10), 130, 90);
    art::drawText(p, QRectF(32, 8, 600, 40), Qt::AlignLeft | Qt::AlignVCenter, u"会计从业资格无纸化考试"_s,
                  art::font(24, QFont::DemiBold), Qt::white);
    art::drawText(p, QRectF(34, 42, 600, 26), Qt::AlignLeft | Qt::AlignVCenter, u"模拟考试系统  ·  Quillmark"_s,
                  art::font(14), QColor(255, 255, 255, 200));
    p.fillRect(QRectF(0, kFooterTop, kW, kH - kFooterTop), QColor(0xE9, 0xF0, 0xF9));
    p.fillRect(QRectF(0, kFooterTop, kW, 1), art::colour::line);
    art::drawText(p, QRectF(28, kFooterTop, 600, kH - kFooterTop), Qt::AlignLeft | Qt::AlignVCenter,
                  u"Quillmark 会计从业资格无纸化考试训练系统"_s, art::font(13), art::colour::muted);
    return image;
}

QRectF card(QPainter &p, const QRectF &r, const QString &title)
{
    art::softShadow(p, r, 10, 8, 28);
    art::roundedPanel(p, r, 10, Qt::white, QColor(0xFC, 0xFD, 0xFF), art::colour::line);
    art::drawText(p, QRectF(r.left(), r.top() + 14, r.width(), 36), Qt::AlignCenter, title,
                  art::font(22, QFont::DemiBold), art::colour::accentDark);
    art::horizontalGradient(p, QRectF(r.center().x() - 40, r.top() + 54, 80, 2), art::colour::accent,
                            QColor(0x4F, 0xA3, 0xF0));
    return r.adjusted(36, 72, -36, -20);
}

void progressTrack(QPainter &p, const QRectF &r, qreal share)
{
    art::roundedPanel(p, r, r.height() / 2, QColor(0xDC, 0xE6, 0xF3), QColor(0xDC, 0xE6, 0xF3));
    QRectF done = r;
    done.setWidth(r.width() * share);
    art::roundedPanel(p, done, r.height() / 2, QColor(0x4F, 0xA3, 0xF0), art::colour::accent);
}

QImage welcome()
{
    QImage image = slideFrame();
    art::Painter p(&image);
    const QRectF r(241, 170, 500, 290);
    art::softShadow(p, r, 12, 8, 28);
    art::roundedPanel(p, r, 12, Qt::white, QColor(0xFC, 0xFD, 0xFF), art::colour::line);
    art::drawText(p, QRectF(r.left(), r.top() + 48, r.width(), 50), Qt::AlignCenter, u"欢迎参加模拟考试"_s,
                  art::font(34, QFont::DemiBold), art::colour::accentDark);
    art::drawText(p, QRectF(r.left(), r.top() + 112, r.width(), 30), Qt::AlignCenter,
                  u"系统正在准备考试环境，请稍候……"_s, art::font(17), art::colour::ink);
    progressTrack(p, QRectF(r.left() + 70, r.top() + 170, r.width() - 140, 10), 0.62);
    art::drawText(p, QRectF(r.left(), r.top() + 205, r.width(), 30), Qt::AlignCenter, u"请勿关闭本窗口"_s,
                  art::font(14), art::colour::muted);
    return image;
}

QImage candidateNotice()
{
    QImage image = slideFrame();
    art::Painter p(&image);
    const QRectF body = card(p, QRectF(150, 104, 682, 336), u"考 生 须 知"_s);
    const QStringList rules = {
        u"1. 考生应在规定时间内独立完成全部试题，考试期间不得查阅资料。"_s,
        u"2. 选择题和判断题勾选选项作答；计算分析题、案例分析题按屏幕提示逐题作答。"_s,
        u"3. 用答题卡或“上一题”“下一题”切换试题，“待查”可标记需要复查的题目。"_s,
        u"4. 考试设有倒计时，时间用完系统将自动交卷；提前完成可点击“交卷”。"_s,
        u"5. 交卷后系统自动评分，可在“考试成绩”中查看结果并复习错题。"_s,
    };
    qreal y = body.top();
    for (const QString &rule : rules) {
        art::drawText(p, QRectF(body.left(), y, body.width(), 26), Qt::AlignLeft | Qt::AlignVCenter, rule,
                      art::font(15), art::colour::ink);
        y += 38;
    }
    art::drawText(p, QRectF(body.left(), kNextOnSecond.top(), 400, kNextOnSecond.height()),
                  Qt::AlignLeft | Qt::AlignVCenter, u"阅读完毕后，请点击“下一步”。"_s, art::font(14), art::colour::muted);
    art::button(p, kNextOnSecond, u"下一步"_s, art::colour::accent, 13);
    return image;
}

// The answering rules; the fourth row explains the course's fourth question type, if any.
QImage answeringRules(const QString &fourthName, const QString &fourthRule)
{
    QImage image = slideFrame();
    art::Painter p(&image);
    const QRectF body = card(p, QRectF(150, 104, 702, 344), u"答 题 说 明"_s);
    QList<std::pair<QString, QString>> rows = {
        {u"单选题"_s, u"备选答案中只有一个符合题意，勾选一个选项。"_s},
        {u"多选题"_s, u"备选答案中有两个或两个以上符合题意，全部选对才得分。"_s},
        {u"判断题"_s, u"判断题目表述是否正确，勾选“对”或“错”。"_s},
    };
    if (!fourthName.isEmpty())
        rows.append({fourthName, fourthRule});
    qreal y = body.top();
    for (const auto &[name, rule] : rows) {
        const QRectF tag(body.left(), y + 3, 88, 26);
        art::roundedPanel(p, tag, 13, art::colour::accentSoft, art::colour::accentSoft);
        art::drawText(p, tag, Qt::AlignCenter, name, art::font(14, QFont::Medium), art::colour::accentDark);
        art::drawText(p, QRectF(tag.right() + 16, y, body.right() - tag.right() - 16, 58),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, rule, art::font(15), art::colour::ink);
        y += 56;
    }
    art::button(p, kNextOnThird, u"下一步"_s, art::colour::accent, 13);
    art::button(p, kRestart, u"重新浏览"_s, kSecondary, 13);
    return image;
}

QImage preparingPaper()
{
    QImage image = slideFrame();
    art::Painter p(&image);
    // A small stack of papers.
    for (int i = 2; i >= 0; --i) {
        const QRectF sheet(421 + i * 10, 170 - i * 8, 120, 150);
        art::softShadow(p, sheet, 6, 4, 20);
        art::roundedPanel(p, sheet, 6, Qt::white, QColor(0xF8, 0xFB, 0xFF), art::colour::line);
    }
    p.setPen(art::stroke(art::colour::line, 4));
    for (int k = 0; k < 5; ++k)
        p.drawLine(QPointF(441, 200 + k * 22), QPointF(441 + (k == 4 ? 50 : 80), 200 + k * 22));
    p.setPen(art::stroke(art::colour::green, 4));
    p.drawPolyline(QPolygonF{{512, 290}, {520, 298}, {534, 282}});
    art::drawText(p, QRectF(0, 360, kW, 44), Qt::AlignCenter, u"正在生成试卷，请稍候……"_s,
                  art::font(26, QFont::DemiBold), art::colour::accentDark);
    progressTrack(p, QRectF(341, 420, 300, 10), 0.85);
    return image;
}

QImage examInformation()
{
    QImage image = slideFrame();
    art::Painter p(&image);
    art::drawText(p, QRectF(0, 96, kW, 44), Qt::AlignCenter, u"考 试 信 息"_s, art::font(26, QFont::DemiBold),
                  art::colour::accentDark);
    art::horizontalGradient(p, QRectF(kW / 2.0 - 45, 142, 90, 2), art::colour::accent, QColor(0x4F, 0xA3, 0xF0));
    const QRectF frame = QRectF(kInfoPanel).adjusted(-8, -8, 8, 8);
    art::softShadow(p, frame, 10, 8, 28);
    art::roundedPanel(p, frame, 10, Qt::white, Qt::white, art::colour::accent);
    const QRectF notes(kInfoPanel.left(), 428, 570, 120);
    art::drawText(p, notes, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                  u"· 请核对上方的考试时间、考试科目和考试内容。\n· 点击“开始考试”后开始答题，考试计时同时开始。\n"
                  u"· 考试期间请勿关闭程序窗口。"_s,
                  art::font(15), art::colour::ink);
    art::button(p, kRestart, u"重新浏览"_s, kSecondary, 13);
    art::button(p, kStartExam, u"开始考试"_s, art::colour::accent, 18);
    return image;
}

SkinPicture slide(const QString &name, std::function<QImage()> draw)
{
    return {name, std::move(draw)};
}

} // namespace

namespace skin {

QList<SkinPicture> slidePictures()
{
    return {
        slide(u"logon-1.jpg"_s, welcome),
        slide(u"logon-2.jpg"_s, candidateNotice),
        slide(u"logon-3.jpg"_s, [] { return answeringRules({}, {}); }),
        slide(u"logon-3-1.jpg"_s,
              [] {
                  return answeringRules(u"计算分析题"_s,
                                        u"按小题作答：计算金额题在“计算金额”框中填写数字；会计分录题选择借贷方向、"
                                        u"会计科目并填写金额。"_s);
              }),
        slide(u"logon-3-2.jpg"_s,
              [] {
                  return answeringRules(u"案例分析题"_s,
                                        u"阅读案例资料后逐个小题选择答案，每个小题按所选答案是否正确计分。"_s);
              }),
        slide(u"logon-3-3.jpg"_s,
              [] {
                  return answeringRules(u"实务操作题"_s,
                                        u"按题目要求在会计软件中完成操作，本系统只显示题目和参考步骤，不计分。"_s);
              }),
        slide(u"logon-4.jpg"_s, preparingPaper),
        slide(u"logon-5.jpg"_s, examInformation),
    };
}

} // namespace skin
