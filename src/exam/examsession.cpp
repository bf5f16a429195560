#include "exam/examsession.h"

#include "db/sql.h"
#include "practice/judging.h"

using namespace Qt::StringLiterals;
using namespace exam;

ExamSession::ExamSession(const QSqlDatabase &db, const ExamInputs &inputs, QObject *parent)
    : QObject(parent), m_db(db), m_inputs(inputs), m_clock(inputs.examSeconds)
{
    if (m_inputs.fontSize == 0)
        m_inputs.fontSize = 12;
    connect(&m_cursor, &SessionCursor::moved, this, &ExamSession::onMoved);
}

void ExamSession::start()
{
    m_dispatchError.reset();
    m_cursor.select(m_db, m_inputs.pageId, m_inputs.filter);
    throwDispatchError();
}

const CardNode *ExamSession::selectedNode() const
{
    return m_selected >= 0 && m_selected < m_card.size() ? &m_card.at(m_selected) : nullptr;
}

void ExamSession::reloadRow()
{
    m_row = loadAnswerRow(m_db, m_inputs.pageId, m_cursor.currentId());
}

// Question display: a new current row. Everything the row needs is read before anything is shown,
// so a failed read leaves the previous question, card and selection as they were.
void ExamSession::onMoved()
{
    if (m_restoring)
        return;
    try {
        const QString id = m_cursor.currentId();
        std::optional<Question> question = loadQuestion(m_db, id);
        std::optional<AnswerRow> row = loadAnswerRow(m_db, m_inputs.pageId, id);
        AnswerCard card = AnswerCard::build(m_db, m_inputs.pageId, m_inputs.filter);
        m_question = std::move(question);
        m_row = std::move(row);
        m_sub.reset();
        m_redSubItem = 0;
        Q_EMIT questionChanged();
        if (type() == 5 && m_remembered && m_remembered->sub > 0) {
            try {
                selectSubQuestion(m_remembered->sub);
            } catch (const db::Error &e) {
                // The question stands with an empty sub-question box.
                m_dispatchError = e.message();
            }
        }
        applyCard(std::move(card));
    } catch (const db::Error &e) {
        m_dispatchError = e.message();
        m_moveFailed = true;
    }
}

// Moves the cursor and reports what the move's handler met. After a failed read the cursor goes
// back to the row the window still shows.
bool ExamSession::moveCursor(int row)
{
    const int from = m_cursor.row();
    m_dispatchError.reset();
    m_moveFailed = false;
    bool moved = m_cursor.moveTo(row);
    if (m_moveFailed) {
        m_restoring = true;
        m_cursor.moveTo(from);
        m_restoring = false;
        moved = false;
    }
    throwDispatchError();
    return moved;
}

void ExamSession::throwDispatchError()
{
    m_moveFailed = false;
    if (m_dispatchError)
        throw db::Error(*std::exchange(m_dispatchError, std::nullopt));
}

void ExamSession::rebuildCard()
{
    applyCard(AnswerCard::build(m_db, m_inputs.pageId, m_inputs.filter));
}

void ExamSession::applyCard(AnswerCard card)
{
    m_card = std::move(card);
    m_selected = m_card.reselect(m_cursor.currentId(), m_remembered);
    m_redSubItem = 0;
    if (const CardNode *node = selectedNode()) {
        showSubAnswer();
        m_markCaption = node->marked ? u"取消待查"_s : u"待查"_s;
    } else {
        m_subRow = false;
    }
    Q_EMIT cardChanged();
}

// show_sub_answer: the answer row of the selected calculation or case sub-item.
void ExamSession::showSubAnswer()
{
    const CardNode *node = selectedNode();
    m_subRow = node && (type() == 4 || type() == 5);
    if (!m_subRow)
        return;
    m_remembered = node->key;
    const QString answer = m_row ? m_row->answer : QString();
    if (node->key.sub == 0)
        m_subAnswer = noSubAnswer();
    else if (type() == 4)
        m_subAnswer = calcSubAnswer(answer, node->key.sub);
    else
        m_subAnswer = caseSubAnswer(answer, m_sub ? m_sub->answer : QString(), node->key.sub);
}

void ExamSession::selectSubQuestion(int sub)
{
    try {
        m_sub = loadSubQuestion(m_db, m_cursor.currentId(), QString::number(sub));
    } catch (const db::Error &) {
        m_sub.reset();
        Q_EMIT subQuestionChanged();
        throw db::Error(u"点击题例过快...[error2]"_s);
    }
    if (m_sub && m_row)
        m_subAnswer = caseSubAnswer(m_row->answer, m_sub->answer, sub);
    Q_EMIT subQuestionChanged();
}

// set_case_static
void ExamSession::restoreInputs()
{
    m_restore = {};
    if (m_row && m_question) {
        if (type() == 4) {
            bool notDone = false;
            m_restore.calc = true;
            m_restore.editor = practice::editorContentFor(m_question->amountsMode, m_row->done, m_row->answer, &notDone);
            if (notDone) {
                // An entries-mode answer without any line: unanswered again, shown empty.
                markUndone(m_db, m_inputs.pageId, m_row->pId);
                reloadRow();
            }
        } else {
            m_restore.boxes = restoredBoxes(*m_row, m_sub ? m_sub->mId.toInt() : 0);
        }
    }
    Q_EMIT inputsRestored();
}

Boxes ExamSession::subQuestionBoxes() const
{
    return m_row && m_sub ? restoredBoxes(*m_row, m_sub->mId.toInt()) : Boxes{};
}

bool ExamSession::check(const AnswerInput &input)
{
    if (!m_question || !m_row)
        return false;
    bool wrote = false;
    switch (m_question->type) {
    case 1:
    case 2:
    case 3:
        wrote = recordChoice(m_db, m_inputs.pageId, *m_question, input.boxes);
        break;
    case 4:
        wrote = recordCalculation(m_db, m_inputs.pageId, *m_question, input.editor);
        break;
    case 5:
        if (m_sub)
            wrote = recordCaseSub(m_db, m_inputs.pageId, *m_question, m_sub->mId.toInt(),
                                  practice::choiceAnswer(5, input.boxes));
        break;
    default:
        break;
    }
    if (wrote)
        reloadRow();
    return wrote;
}

void ExamSession::choose(int index, const AnswerInput &input)
{
    if (index < 0 || index >= m_card.size() || m_card.at(index).heading)
        return;
    const CardNode node = m_card.at(index);
    const std::optional<NodeKey> before = m_remembered;
    const int from = m_cursor.row();
    m_remembered = node.key;
    bool moved = false;
    try {
        check(input);
        moved = moveCursor(m_cursor.rowOf(node.pId));
    } catch (const db::Error &) {
        if (m_cursor.row() == from) // the card still selects the node of that key
            m_remembered = before;
        throw;
    }
    if (!moved) {
        // Same question: show what was just recorded on the card.
        reloadRow();
        rebuildCard();
    }
    restoreInputs();
    m_markCaption = node.marked ? u"取消待查"_s : u"待查"_s;
    if (node.type == 5 && node.key.sub > 0)
        selectSubQuestion(node.key.sub);
    if (node.type == 4) {
        m_redSubItem = node.key.sub;
        showSubAnswer();
    }
    Q_EMIT cardChanged();
}

void ExamSession::next(const AnswerInput &input)
{
    const int index = m_card.nextNode(m_selected);
    if (index < 0) {
        if (check(input))
            rebuildCard();
        return;
    }
    choose(index, input);
}

void ExamSession::previous(const AnswerInput &input)
{
    const int index = m_card.previousNode(m_selected < 0 ? m_card.size() : m_selected);
    if (index < 0) {
        if (check(input))
            rebuildCard();
        return;
    }
    choose(index, input);
}

void ExamSession::first(const AnswerInput &input)
{
    jump(1, input);
}

void ExamSession::last(const AnswerInput &input)
{
    jump(m_cursor.rowCount(), input);
}

// First and last jump by question and forget the remembered key.
void ExamSession::jump(int row, const AnswerInput &input)
{
    check(input);
    const std::optional<NodeKey> before = std::exchange(m_remembered, std::nullopt);
    const int from = m_cursor.row();
    bool moved = false;
    try {
        moved = moveCursor(row);
    } catch (const db::Error &) {
        if (m_cursor.row() == from)
            m_remembered = before;
        throw;
    }
    if (!moved) {
        reloadRow();
        rebuildCard();
    }
    restoreInputs();
}

void ExamSession::toggleMark()
{
    m_markedEver = true;
    const CardNode *node = selectedNode();
    setCheckLater(m_db, m_cursor.currentId(), type(), node ? node->key.sub : 0, m_markCaption == u"待查");
    rebuildCard();
}

int ExamSession::calcNumber() const
{
    if (m_remembered)
        return m_remembered->number;
    if (const CardNode *node = selectedNode())
        return node->key.number;
    return 1;
}

AnswerPanelTexts ExamSession::answerPanel() const
{
    AnswerPanelTexts out;
    if (!m_question)
        return out;
    out.analysis = type() == 5 && m_sub ? m_sub->des : m_question->memo;
    if (type() == 4 && !m_question->amountsMode && m_row && m_row->done)
        out.entryChecks = practice::checkEntries(m_row->answer, m_question->options);
    if (m_subRow) {
        out.subRow = true;
        out.correct = m_subAnswer.correct;
        out.yours = m_subAnswer.yours;
        return out;
    }
    out.correct = m_question->answer;
    out.yours = m_row ? m_row->answer : QString();
    if (type() == 3) {
        out.correct = judgeText(out.correct);
        out.yours = out.yours.isEmpty() ? QString() : judgeText(out.yours);
    }
    return out;
}

QString ExamSession::counterText() const
{
    return u"第%1题               共%2题"_s.arg(m_cursor.row()).arg(m_cursor.rowCount());
}

QStringList ExamSession::navigationPictures() const
{
    if (m_cursor.isFirst())
        return {u"skin/off_first.bmp"_s, u"skin/off_pir.bmp"_s, u"skin/next.bmp"_s, u"skin/last.bmp"_s};
    if (m_cursor.isLast())
        return {u"skin/first.bmp"_s, u"skin/pirr.bmp"_s, u"skin/off_next.bmp"_s, u"skin/off_last.bmp"_s};
    return {u"skin/first.bmp"_s, u"skin/pirr.bmp"_s, u"skin/next.bmp"_s, u"skin/last.bmp"_s};
}

Totals ExamSession::totals() const
{
    return computeTotals(m_db, m_inputs.pageId);
}

ExamResult ExamSession::finish(const Totals &totals)
{
    const QString time = m_clock.elapsedText();
    // A review shows part of the session, but the totals cover all of it; so do the full marks.
    const double fullMarks =
        m_inputs.filter == SessionCursor::Filter::All ? m_inputs.fullMarks : sessionMarks(m_db, m_inputs.pageId);
    writePageTotal(m_db, m_inputs.pageId, totals, time, m_inputs.sessionKind);
    return resultOf(totals, {m_inputs.sessionKind, m_inputs.courseName, m_inputs.paperName, m_inputs.questionTotal,
                             time, m_inputs.startText, fullMarks});
}
