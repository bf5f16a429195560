#include "practice/ui/practicesidepanel.h"

#include "practice/ui/skinbackground.h"
#include "shell/ui/skin.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

void setStateText(QLabel *label, const QString &text, bool red)
{
    label->setText(text);
    label->setStyleSheet(red ? u"color:#FF0000"_s : u"color:#000000"_s);
}

} // namespace

PracticeSidePanel::PracticeSidePanel(QWidget *parent)
    : QGroupBox(u"功能区"_s, parent)
{
    setObjectName(u"sidePanel"_s);
    skin::setBackground(this, skin::picture(u"skin/bg16.bmp"_s));
    setFixedWidth(250);
    auto *grid = new QGridLayout(this);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1);
    int row = 0;
    auto named = [this](const QString &name, const QString &initial = {}) {
        auto *l = new QLabel(initial, this);
        l->setObjectName(name);
        return l;
    };
    auto value = [&](const QString &caption, const QString &name, const QString &initial = {}) {
        QLabel *l = named(name, initial);
        l->setWordWrap(true);
        grid->addWidget(new QLabel(caption, this), row, 0, Qt::AlignTop);
        grid->addWidget(l, row++, 1);
        return l;
    };
    course = value(u"练习课程:"_s, u"courseValue"_s);
    chapter = value(u"练习章节:"_s, u"chapterValue"_s);

    // A caption followed by several pieces on one line.
    auto compound = [&](const QString &caption, const QList<QWidget *> &pieces) {
        auto *line = new QHBoxLayout;
        for (QWidget *piece : pieces)
            line->addWidget(piece);
        line->addStretch();
        grid->addWidget(new QLabel(caption, this), row, 0);
        grid->addLayout(line, row++, 1);
    };
    total = named(u"Label27"_s);
    compound(u"本次题量共:"_s, {total, new QLabel(u"题 "_s, this)});

    single = value(u"单选题量为:"_s, u"singleCount"_s);
    multiple = value(u"多选题量为:"_s, u"multipleCount"_s);
    judge = value(u"判断题量为:"_s, u"judgeCount"_s);
    fourthName = named(u"Label67"_s);
    fourth = named(u"fourthCount"_s);
    grid->addWidget(fourthName, row, 0);
    grid->addWidget(fourth, row++, 1);

    typeName = named(u"currentTypeName"_s);
    number = named(u"Label28"_s, u"1"_s);
    compound(u"本题为:"_s, {typeName, new QLabel(u"第"_s, this), number, new QLabel(u"题"_s, this)});

    startTime = value(u"开始时间:"_s, u"Label33"_s);
    elapsed = value(u"本次用时:"_s, u"elapsedValue"_s, u"0"_s);
    markState = value(u"是否标记:"_s, u"markState"_s);
    essenceState = value(u"是否精华:"_s, u"essenceState"_s);

    grid->addWidget(new QLabel(u"本题强制切换剩余:"_s, this), row++, 0, 1, 2);
    countdown = new QLabel(this);
    countdown->setObjectName(u"Label24"_s);
    countdown->setAlignment(Qt::AlignCenter);
    QFont digits = countdown->font();
    digits.setPointSize(28);
    digits.setBold(true);
    countdown->setFont(digits);
    countdown->setStyleSheet(u"color:#FF0000"_s);
    grid->addWidget(countdown, row++, 0, 1, 2);
    grid->setRowStretch(row++, 1);

    showAll = new QPushButton(u"显示全部答案和解析"_s, this);
    showAll->setObjectName(u"showAllButton"_s);
    finish = new QPushButton(u"退出练习"_s, this);
    finish->setObjectName(u"finishButton"_s);
    grid->addWidget(showAll, row++, 0, 1, 2);
    grid->addWidget(finish, row++, 0, 1, 2);
    setMarks(false, false);
}

void PracticeSidePanel::setMarks(bool marked, bool essence)
{
    setStateText(markState, marked ? u"已标记"_s : u"未标记"_s, marked);
    setStateText(essenceState, essence ? u"精华类"_s : u"普通类"_s, essence);
}
