// Message-list window benchmark (offscreen): how soon the list shows its first rows after a
// folder change, and how long painting one screen of rows takes. See run_list_view_bench.sh.
//
//   list_view_bench FOLDER [RUNS]
//
// first rows: time from SetFolder() to the end of the first paint of the list's viewport that
//   shows rows (the rows of the first batch the worker thread delivered), median of RUNS folder
//   changes (each from an empty folder to FOLDER), and the same from FOLDER itself (its rows
//   dropped first); also the time until the listing has ended and the rows are sorted.
// screen paint: the viewport (800x600, about 34 rows, one of them selected) rendered into an
//   image 500 times, each row painted from its file name; median and 90th percentile per
//   screen, in wall-clock time and in the thread's processor time (which a busy machine
//   disturbs less).

#include "explorer/ui/MessageListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace tarvin;

namespace {

// Processor time of the calling thread: what a paint costs without the waits of a busy machine.
double threadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(double(values.size()) * share))];
}

// Notes the end of the first paint of the viewport that shows rows.
class TFirstPaintWatch : public QObject {
public:
    TFirstPaintWatch(TMessageListView *view) : m_view(view) {
        view->viewport()->installEventFilter(this);
    }
    void Start() {
        m_timer.start();
        m_firstPaintMs = -1;
        m_firstRowsMs = -1;
        m_armed = true;
    }
    void RowsArrived() {
        if (m_firstRowsMs < 0)
            m_firstRowsMs = m_timer.nsecsElapsed() / 1e6;
    }
    double FirstPaintMs() const { return m_firstPaintMs; }
    double FirstRowsMs() const { return m_firstRowsMs; }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        if (m_armed && event->type() == QEvent::Paint && m_view->Model()->rowCount() > 0) {
            m_armed = false;
            // Runs right after this paint event has been handled.
            QTimer::singleShot(0, this, [this] { m_firstPaintMs = m_timer.nsecsElapsed() / 1e6; });
        }
        return false;
    }

private:
    TMessageListView *m_view;
    QElapsedTimer m_timer;
    double m_firstPaintMs = -1;
    double m_firstRowsMs = -1;
    bool m_armed = false;
};

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        fprintf(stderr, "usage: list_view_bench FOLDER [RUNS]\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    QTemporaryDir empty;

    TMessageListView view;
    view.SetSort(mlcDate, true);
    view.resize(800, 600);
    view.show();
    TFirstPaintWatch watch(&view);
    QObject::connect(view.Model(), &QAbstractItemModel::rowsInserted,
                     [&watch] { watch.RowsArrived(); });
    bool finished = false;
    QObject::connect(&view, &TMessageListView::ListingFinished, [&finished] { finished = true; });
    auto listAndWait = [&](const QString &path) {
        finished = false;
        view.SetFolder(path, FolderDateMode(path, false));
        while (!finished)
            app.processEvents(QEventLoop::WaitForMoreEvents);
    };

    std::vector<double> firstRows, firstInserts, complete;
    listAndWait(folder); // warms the caches
    for (int run = 0; run < runs; ++run) {
        listAndWait(empty.path());
        app.processEvents();
        QElapsedTimer timer;
        timer.start();
        watch.Start();
        listAndWait(folder);
        complete.push_back(timer.nsecsElapsed() / 1e6);
        while (watch.FirstPaintMs() < 0)
            app.processEvents(QEventLoop::WaitForMoreEvents);
        firstRows.push_back(watch.FirstPaintMs());
        firstInserts.push_back(watch.FirstRowsMs());
    }
    // The same folder change from a folder of as many rows, which are dropped first.
    std::vector<double> switched;
    for (int run = 0; run < runs; ++run) {
        watch.Start();
        listAndWait(folder);
        while (watch.FirstPaintMs() < 0)
            app.processEvents(QEventLoop::WaitForMoreEvents);
        switched.push_back(watch.FirstPaintMs());
    }
    const int rows = view.Model()->rowCount();
    printf("rows: %d\n", rows);
    printf("first rows painted after SetFolder: median %.1f ms (runs:", median(firstRows));
    for (double ms : firstRows)
        printf(" %.1f", ms);
    printf(")\n");
    printf("first rows painted after SetFolder from a listed folder as large: median %.1f ms\n",
           median(switched));
    printf("first rows inserted into the model: median %.1f ms\n", median(firstInserts));
    printf("listing complete and sorted: median %.1f ms\n", median(complete));

    // One screen of rows from the middle of the list, one row selected.
    view.scrollTo(view.Model()->index(rows / 2, 0), QAbstractItemView::PositionAtTop);
    view.setCurrentIndex(view.Model()->index(rows / 2 + 3, 0));
    app.processEvents();
    QWidget *viewport = view.viewport();
    QImage image(viewport->size(), QImage::Format_ARGB32_Premultiplied);
    const int screens = 500;
    std::vector<double> paints, paintsCpu;
    paints.reserve(screens);
    paintsCpu.reserve(screens);
    for (int i = 0; i < screens + 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        const double cpu = threadCpuMs();
        viewport->render(&image);
        if (i >= 20) { // the first renders warm the font and picture caches
            paints.push_back(timer.nsecsElapsed() / 1e6);
            paintsCpu.push_back(threadCpuMs() - cpu);
        }
    }
    printf("screen paint (%dx%d, %d rows): median %.3f ms, 90th percentile %.3f ms\n",
           viewport->width(), viewport->height(),
           viewport->height() / TMessageListView::kRowHeight + 1, median(paints),
           percentile(paints, 0.9));
    printf("screen paint, processor time of the thread: median %.3f ms, 90th percentile %.3f ms\n",
           median(paintsCpu), percentile(paintsCpu, 0.9));
    if (argc > 3)
        image.save(QFile::decodeName(argv[3]));
    return 0;
}
