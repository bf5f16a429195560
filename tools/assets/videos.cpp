// The two demonstration videos: drawn screens of the program with a caption bar, one scene per
// step. 1.wmv shows installing and starting, 3.wmv the everyday use.
#include "art.h"
#include "media.h"

#include <QPainterPath>

using namespace Qt::StringLiterals;

namespace {

constexpr int kW = 640;
constexpr int kH = 400;
constexpr int kCaptionTop = 350;
constexpr int kSceneFrames = 75; // 3 s at 25 frames per second

using Draw = void (*)(QPainter &, qreal);

struct Scene
{
    QString caption;
    Draw draw;
};

qreal ease(qreal t)
{
    return t * t * (3 - 2 * t);
}

// A share of the scene's time mapped onto 0..1 between from and to.
qreal phase(qreal t, qreal from, qreal to)
{
    return qBound<qreal>(0, (t - from) / (to - from), 1);
}

QRectF mockWindow(QPainter &p, const QRectF &r, const QString &title)
{
    art::softShadow(p, r, 6, 6, 30);
    art::roundedPanel(p, r, 6, Qt::white, QColor(0xF8, 0xFB, 0xFF), art::colour::line);
    QPainterPath bar;
    bar.setFillRule(Qt::WindingFill);
    bar.addRoundedRect(QRectF(r.left(), r.top(), r.width(), 22), 6, 6);
    bar.addRect(QRectF(r.left(), r.top() + 12, r.width(), 10));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x62, 0xC8));
    p.drawPath(bar.simplified());
    p.restore();
    art::drawText(p, QRectF(r.left() + 10, r.top(), r.width() - 20, 22), Qt::AlignVCenter | Qt::AlignLeft, title,
                  art::font(12, QFont::Medium), Qt::white);
    return r.adjusted(0, 22, 0, 0);
}

void pointer(QPainter &p, const QPointF &at)
{
    QPainterPath arrow;
    arrow.moveTo(at);
    arrow.lineTo(at + QPointF(0, 17));
    arrow.lineTo(at + QPointF(4.5, 13));
    arrow.lineTo(at + QPointF(8, 20));
    arrow.lineTo(at + QPointF(10.5, 19));
    arrow.lineTo(at + QPointF(7, 12));
    arrow.lineTo(at + QPointF(12.5, 12));
    arrow.closeSubpath();
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(QColor(0x1F, 0x2D, 0x3D));
    p.drawPath(arrow);
    p.restore();
}

QPointF travel(const QPointF &from, const QPointF &to, qreal t)
{
    const qreal e = ease(t);
    return from + (to - from) * e;
}

void check(QPainter &p, const QPointF &at, qreal size, const QColor &c)
{
    p.save();
    p.setPen(art::stroke(c, size / 5));
    p.drawPolyline(QPolygonF{at + QPointF(0, size * 0.5), at + QPointF(size * 0.35, size * 0.85), at + QPointF(size, 0)});
    p.restore();
}

// The main window in miniature: title bar, nine navigation tiles, content area.
QRectF mainWindow(QPainter &p, int highlighted)
{
    const QRectF content = mockWindow(p, QRectF(40, 24, 560, 310), u"Quillmark  Ver: 2.0.1.31"_s);
    p.fillRect(QRectF(content.left() + 1, content.top(), content.width() - 2, 44), QColor(0xF1, 0xF6, 0xFD));
    static const QString names[] = {u"登陆设置"_s, u"操作演示"_s, u"章节练习"_s, u"模拟考场"_s, u"考试指南"_s,
                                    u"课程讲义"_s, u"答疑板"_s,  u"学习进阶"_s, u"帮助中心"_s};
    for (int i = 0; i < 9; ++i) {
        const QRectF tile(content.left() + 10 + i * 46, content.top() + 5, 22, 22);
        const QColor c = i == highlighted ? art::colour::orange : art::colour::accent;
        art::roundedPanel(p, tile, 5, c.lighter(115), c);
        art::drawText(p, QRectF(tile.center().x() - 23, tile.bottom(), 46, 14), Qt::AlignCenter, names[i],
                      art::font(9), art::colour::ink);
    }
    return content.adjusted(8, 52, -8, -8);
}

void sceneCopyFolder(QPainter &p, qreal t)
{
    const QRectF body = mockWindow(p, QRectF(120, 40, 400, 280), u"Quillmark 程序文件夹"_s);
    static const QString files[] = {u"exambank"_s, u"update"_s, u"main.ini"_s, u"mafy.a"_s,
                                    u"data/"_s,    u"skin/"_s,  u"updates/"_s};
    const int shown = qMin(7, int(t * 9));
    for (int i = 0; i < shown; ++i) {
        const QRectF row(body.left() + 30, body.top() + 14 + i * 33, 320, 26);
        const bool folder = files[i].endsWith(u'/');
        art::roundedPanel(p, QRectF(row.left(), row.top() + 4, 20, 17), 3, folder ? art::colour::orange : art::colour::accent,
                          folder ? art::colour::orange.darker(115) : art::colour::accentDark);
        art::drawText(p, row.adjusted(32, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, files[i], art::font(15),
                      art::colour::ink);
    }
}

void sceneComponents(QPainter &p, qreal t)
{
    const QRectF body = mockWindow(p, QRectF(120, 50, 400, 250), u"检查运行环境"_s);
    static const QString items[] = {u"Qt 6 运行库"_s, u"中文字体 (Noto CJK)"_s, u"视频解码组件"_s, u"题库文件 data/sys.htm"_s};
    for (int i = 0; i < 4; ++i) {
        const QRectF row(body.left() + 40, body.top() + 24 + i * 46, 320, 30);
        art::drawText(p, row.adjusted(40, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, items[i], art::font(16),
                      art::colour::ink);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(art::colour::line, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(row.left(), row.top() + 3, 24, 24));
        p.restore();
        if (t > 0.15 + i * 0.18)
            check(p, QPointF(row.left() + 5, row.top() + 9), 14, art::colour::green);
    }
}

void sceneSplash(QPainter &p, qreal t)
{
    const QRectF r(93, 58, 454, 245);
    art::softShadow(p, r, 4, 8, 40);
    art::roundedPanel(p, r, 4, Qt::white, QColor(0xE8, 0xF1, 0xFC), art::colour::line);
    art::drawText(p, r.adjusted(0, 50, 0, 0), Qt::AlignHCenter | Qt::AlignTop, u"Quillmark"_s, art::font(27, QFont::Bold),
                  art::colour::accentDark);
    art::drawText(p, r.adjusted(0, 95, -30, 0), Qt::AlignRight | Qt::AlignTop, u"V 1.0"_s, art::font(14),
                  art::colour::muted);
    const QString status = t < 0.5 ? u"请稍等,程序正在构建环境需求...."_s : u"请稍等,正在初始化数据及调整屏幕尺寸...."_s;
    p.fillRect(QRectF(r.left(), r.bottom() - 40, r.width(), 40), QColor(0x1E, 0x6F, 0xD9, 22));
    art::drawText(p, QRectF(r.left() + 16, r.bottom() - 40, r.width(), 40), Qt::AlignVCenter | Qt::AlignLeft, status,
                  art::font(13), art::colour::ink);
    art::roundedPanel(p, QRectF(r.left() + 60, r.top() + 150, (r.width() - 120) * ease(t), 8), 4,
                      QColor(0x4F, 0xA3, 0xF0), art::colour::accent);
}

void sceneMainWindow(QPainter &p, qreal t)
{
    const QRectF area = mainWindow(p, -1);
    p.save();
    p.setOpacity(phase(t, 0.1, 0.5));
    art::drawText(p, area.adjusted(0, 20, 0, 0), Qt::AlignHCenter | Qt::AlignTop, u"Quillmark"_s, art::font(30, QFont::Bold),
                  art::colour::accentDark);
    art::drawText(p, area.adjusted(0, 66, 0, 0), Qt::AlignHCenter | Qt::AlignTop, u"Examination  System"_s, art::font(15),
                  art::colour::muted);
    p.restore();
    p.setOpacity(phase(t, 0.4, 0.8));
    art::roundedPanel(p, QRectF(area.left() + 60, area.top() + 110, area.width() - 120, 80), 8, Qt::white, Qt::white,
                      art::colour::line);
    art::drawText(p, QRectF(area.left() + 80, area.top() + 118, area.width() - 160, 64), Qt::AlignLeft | Qt::AlignVCenter,
                  u"会计基础 · 财经法规与会计职业道德 · 初级会计电算化\n章节练习、模拟考场、学习进阶"_s, art::font(13),
                  art::colour::ink);
    p.setOpacity(1);
}

void sceneChooseChapter(QPainter &p, qreal t)
{
    const QRectF area = mainWindow(p, t > 0.35 ? 2 : -1);
    if (t > 0.4) {
        art::drawText(p, QRectF(area.left() + 10, area.top(), 200, 24), Qt::AlignVCenter | Qt::AlignLeft,
                      u"课程: 会计基础"_s, art::font(13, QFont::Medium), art::colour::ink);
        static const QString chapters[] = {u"第一章 总论"_s, u"第二章 会计科目与借贷记账法"_s, u"第三章 会计凭证与账簿"_s};
        for (int i = 0; i < 3; ++i) {
            const QRectF row(area.left() + 10, area.top() + 30 + i * 30, 250, 25);
            const bool chosen = t > 0.8 && i == 1;
            art::roundedPanel(p, row, 4, chosen ? art::colour::accentSoft : Qt::white, chosen ? art::colour::accentSoft : Qt::white,
                              art::colour::line);
            art::drawText(p, row.adjusted(10, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, chapters[i], art::font(12),
                          art::colour::ink);
        }
    }
    const QPointF tile(40 + 10 + 2 * 46 + 11, 24 + 22 + 16);
    const QPointF chapter(48 + 10 + 120, 24 + 22 + 52 + 30 + 30 + 12);
    pointer(p, t < 0.5 ? travel(QPointF(420, 250), tile, phase(t, 0, 0.35)) : travel(tile, chapter, phase(t, 0.5, 0.8)));
}

void sceneSettings(QPainter &p, qreal t)
{
    const QRectF area = mainWindow(p, 2);
    static const QString rows[] = {u"单选题  12 题"_s, u"多选题   8 题"_s, u"判断题  10 题"_s, u"计算分析题  2 大题"_s};
    for (int i = 0; i < 4; ++i) {
        const QRectF row(area.left() + 20, area.top() + 8 + i * 32, 260, 26);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(art::colour::accent, 1.5));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(row.left(), row.top() + 5, 16, 16), 3, 3);
        p.restore();
        check(p, QPointF(row.left() + 3, row.top() + 9), 10, art::colour::accent);
        art::drawText(p, row.adjusted(26, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, rows[i], art::font(13),
                      art::colour::ink);
    }
    const QRectF start(area.right() - 150, area.bottom() - 50, 120, 34);
    art::button(p, start, u"开始练习"_s, t > 0.75 ? art::colour::accentDark : art::colour::accent, 15);
    pointer(p, travel(QPointF(300, 120), start.center(), phase(t, 0.1, 0.7)));
}

void sceneAnswer(QPainter &p, qreal t)
{
    const QRectF body = mockWindow(p, QRectF(40, 24, 560, 310), u"章节练习"_s);
    art::drawText(p, QRectF(body.left() + 20, body.top() + 10, 520, 50), Qt::AlignLeft | Qt::TextWordWrap,
                  u"第1题 【单选题】\n企业从银行提取现金，应编制的记账凭证是（ ）。"_s, art::font(14), art::colour::ink);
    static const QString options[] = {u"A、现金收款凭证"_s, u"B、银行存款付款凭证"_s, u"C、现金付款凭证"_s, u"D、转账凭证"_s};
    for (int i = 0; i < 4; ++i) {
        const QRectF row(body.left() + 30, body.top() + 72 + i * 34, 300, 26);
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(art::colour::muted, 1.2));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(row.left(), row.top() + 6, 14, 14));
        p.restore();
        if (i == 1 && t > 0.4)
            check(p, QPointF(row.left() + 2, row.top() + 9), 10, art::colour::accent);
        art::drawText(p, row.adjusted(24, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, options[i], art::font(13),
                      art::colour::ink);
    }
    if (t > 0.7) {
        const QRectF verdict(body.right() - 200, body.top() + 90, 160, 40);
        art::roundedPanel(p, verdict, 20, art::colour::green.lighter(115), art::colour::green);
        art::drawText(p, verdict, Qt::AlignCenter, u"回答正确"_s, art::font(16, QFont::DemiBold), Qt::white);
    }
    pointer(p, travel(QPointF(420, 300), QPointF(body.left() + 37, body.top() + 72 + 34 + 13), phase(t, 0.05, 0.38)));
}

void sceneExam(QPainter &p, qreal t)
{
    const QRectF body = mockWindow(p, QRectF(40, 24, 560, 310), u"模拟考试"_s);
    const QRectF card(body.left() + 8, body.top() + 8, 150, body.height() - 16);
    art::roundedPanel(p, card, 4, QColor(0xF6, 0xF9, 0xFE), QColor(0xF6, 0xF9, 0xFE), art::colour::line);
    static const QString heads[] = {u"单选题"_s, u"多选题"_s, u"判断题"_s};
    qreal y = card.top() + 6;
    const int answered = int(t * 11);
    for (int h = 0; h < 3; ++h) {
        art::drawText(p, QRectF(card.left() + 8, y, 140, 18), Qt::AlignVCenter | Qt::AlignLeft, heads[h],
                      art::font(12, QFont::Medium), art::colour::ink);
        y += 20;
        for (int i = 0; i < 4; ++i) {
            const bool done = h * 4 + i < answered;
            art::drawText(p, QRectF(card.left() + 22, y, 120, 16), Qt::AlignVCenter | Qt::AlignLeft,
                          u"%1  %2"_s.arg(i + 1).arg(done ? u"已答"_s : u"未答"_s), art::font(11),
                          done ? art::colour::accent : art::colour::red);
            y += 16;
        }
    }
    const int left = 7200 - 2 - int(t * 3);
    art::drawText(p, QRectF(body.left() + 180, body.top() + 14, 360, 24), Qt::AlignVCenter | Qt::AlignLeft,
                  u"剩余时间: %1分%2秒"_s.arg(left / 60).arg(left % 60, 2, 10, QChar(u'0')), art::font(15, QFont::Medium),
                  art::colour::red);
    art::drawText(p, QRectF(body.left() + 180, body.top() + 50, 360, 80), Qt::AlignLeft | Qt::TextWordWrap,
                  u"第5题 【多选题】\n下列各项中，属于会计要素的有（ ）。"_s, art::font(14), art::colour::ink);
    art::button(p, QRectF(body.right() - 110, body.bottom() - 44, 90, 30), u"交 卷"_s, art::colour::accent, 14);
}

const QList<QList<Scene>> &videos()
{
    static const QList<QList<Scene>> all = {
        {
            {u"第1步：将 Quillmark 程序文件夹复制到本机"_s, sceneCopyFolder},
            {u"第2步：确认运行所需的组件和题库文件"_s, sceneComponents},
            {u"第3步：运行 exambank，启动画面显示准备进度"_s, sceneSplash},
            {u"第4步：进入主界面，开始学习"_s, sceneMainWindow},
        },
        {
            {u"点击“章节练习”，选择课程和章节"_s, sceneChooseChapter},
            {u"设置题型和题量，点击“开始练习”"_s, sceneSettings},
            {u"逐题作答，离开本题时系统自动判分"_s, sceneAnswer},
            {u"在“模拟考场”中限时完成整套试卷，交卷后自动评分"_s, sceneExam},
        },
    };
    return all;
}

} // namespace

namespace media {

int videoFrames(int which)
{
    return int(videos().at(which).size()) * kSceneFrames;
}

QImage videoFrame(int which, int frame)
{
    const QList<Scene> &scenes = videos().at(which);
    const int index = qMin(int(scenes.size()) - 1, frame / kSceneFrames);
    const qreal t = (frame % kSceneFrames) / qreal(kSceneFrames - 1);
    QImage image = art::canvas(kW, kH, Qt::white);
    art::Painter p(&image);
    art::verticalGradient(p, QRectF(0, 0, kW, kCaptionTop), QColor(0xF4, 0xF8, 0xFE), QColor(0xE2, 0xEC, 0xF9));
    scenes[index].draw(p, t);
    p.fillRect(QRectF(0, kCaptionTop, kW, kH - kCaptionTop), QColor(0x12, 0x2B, 0x4F));
    art::drawText(p, QRectF(0, kCaptionTop, kW, kH - kCaptionTop), Qt::AlignCenter, scenes[index].caption,
                  art::font(19, QFont::Medium), Qt::white);
    art::drawText(p, QRectF(10, 4, 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
                  u"%1  %2/%3"_s.arg(which == 0 ? u"安装演示"_s : u"使用演示"_s).arg(index + 1).arg(scenes.size()),
                  art::font(11), art::colour::muted);
    return image;
}

} // namespace media
