// The study history on 20,000 sessions: the history query with the curve data, the course of a
// session, and the history grid's first paint.
#include "bench.h"

#include "db/sql.h"
#include "records/historymodel.h"
#include "records/studyhistory.h"
#include "records/ui/historyview.h"

#include <QElapsedTimer>
#include <QTableView>

#include <algorithm>

using namespace Qt::StringLiterals;

QM_BENCH_CASE("history: query, curve and grid")
{
    const int sessions = records::sessionCount(ctx.db);
    bench::note(u"%1 sessions"_s.arg(sessions));

    HistoryModel model;
    bench::measure(u"history query and curve data"_s, 15, [&] {
        model.reload(ctx.db);
        const QList<records::CurvePoint> points = records::curvePoints(ctx.db);
        if (points.size() != sessions)
            qFatal("curve of %lld points", qlonglong(points.size()));
    });

    const QString newest = model.pageId(0).toString();
    bench::measure(u"course and chapter of the newest session"_s, 15, [&] {
        if (!records::courseOf(ctx.db, newest))
            qFatal("no course for %s", qPrintable(newest));
    });
    const QString oldest = model.pageId(sessions - 1).toString();
    bench::measure(u"course and chapter of the oldest session"_s, 15, [&] {
        if (!records::courseOf(ctx.db, oldest))
            qFatal("no course for %s", qPrintable(oldest));
    });

    // The grid as the panel shows it, at the size it has in a 981 x 727 main window.
    HistoryView view;
    view.resize(780, 560);
    view.show();
    QTableView *grid = view.grid();
    bench::measure(u"history grid: query (reload)"_s, 15, [&] { view.reload(); });
    QList<double> paints;
    bench::measure(u"history grid: query and first paint"_s, 15, [&] {
        view.reload();
        QElapsedTimer t;
        t.start();
        grid->viewport()->grab();
        paints << t.nsecsElapsed() / 1e6;
    });
    std::sort(paints.begin(), paints.end());
    bench::note(u"first paint after the query: median %1 ms (%2 .. %3); %4 of %5 rows read"_s
                    .arg(paints.at(paints.size() / 2), 0, 'f', 3)
                    .arg(paints.first(), 0, 'f', 3)
                    .arg(paints.last(), 0, 'f', 3)
                    .arg(view.model()->blocksRead() * HistoryModel::kBlockRows)
                    .arg(sessions));
    bench::measure(u"history grid: scroll to the middle and paint"_s, 15, [&] {
        view.reload();
        grid->scrollTo(view.model()->index(sessions / 2, 0), QAbstractItemView::PositionAtTop);
        grid->viewport()->grab();
    });
    bench::measure(u"history grid: scroll to the oldest session and paint"_s, 15, [&] {
        view.reload();
        grid->scrollToBottom();
        grid->viewport()->grab();
    });
}
