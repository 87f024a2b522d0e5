#include "explorer/ui/MessageListView.h"
#include "explorer/ui/QuickViewController.h"
#include "support/HostileFiles.h"
#include "support/PmlWriter.h"
#include "support/RecordingDesktop.h"
#include "support/SlowReads.h"
#include "support/Wait.h"
#include "view/ui/TarvinFrame.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QImage>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tarvin;
using tarvin::testing::Settle;
using tarvin::testing::TSlowReads;
using tarvin::testing::WaitFor;

namespace {

class MessageListViewTest : public ::testing::Test {
protected:
    // An empty message file (the list never opens it) with the given last-write time.
    QString writeFile(const QString &name, qint64 seconds, const QByteArray &content = {}) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        EXPECT_TRUE(file.setFileTime(QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC),
                                     QFileDevice::FileModificationTime));
        return path;
    }

    QStringList rowNames(const TMessageListView &view) const {
        QStringList names;
        for (int row = 0; row < view.Model()->rowCount(); ++row)
            names.append(view.Model()->FileName(row));
        return names;
    }

    bool list(TMessageListView &view) {
        QSignalSpy finished(&view, &TMessageListView::ListingFinished);
        view.SetFolder(m_dir.path(), TFolderDateMode::ConvertedUtc);
        return WaitFor([&] { return finished.count() > 0; });
    }

    tarvin::testing::TRecordingDesktop m_desktop;
    QTemporaryDir m_dir;
};

// A folder change selects the first row without focusing it and reports the count; a file
// copied into the folder later appears in its sorted place and the count follows.
TEST_F(MessageListViewTest, ListsSortsAndFollowsChangesToTheFolder) {
    writeFile(QStringLiteral("Old [2001].pml"), 1000000);
    writeFile(QStringLiteral("New [2001].pml"), 3000000);
    writeFile(QStringLiteral("notes.txt"), 2000000);
    TMessageListView view;
    view.SetSort(mlcDate, true);
    QSignalSpy counts(&view, &TMessageListView::CountChanged);
    ASSERT_TRUE(list(view));
    EXPECT_EQ(rowNames(view), QStringList({"Old [2001].pml", "New [2001].pml"}));
    ASSERT_GE(counts.count(), 1);
    EXPECT_EQ(counts.last().at(0).toString(), QStringLiteral("2 messages"));
    EXPECT_FALSE(view.currentIndex().isValid());
    EXPECT_EQ(view.SelectedFiles(), QStringList({m_dir.filePath("Old [2001].pml")}));
    EXPECT_EQ(view.header()->sortIndicatorSection(), int(mlcDate));

    writeFile(QStringLiteral("Middle [0001].pml"), 2000000);
    const qsizetype countsBefore = counts.count();
    ASSERT_TRUE(
        WaitFor([&] { return view.Model()->rowCount() == 3 && counts.count() > countsBefore; }));
    ASSERT_TRUE(WaitFor([&] { return !view.Model()->ResortNeeded(); }));
    EXPECT_EQ(rowNames(view),
              QStringList({"Old [2001].pml", "Middle [0001].pml", "New [2001].pml"}));
    EXPECT_EQ(counts.last().at(0).toString(), QStringLiteral("3 messages"));

    QFile::remove(m_dir.filePath("Old [2001].pml"));
    ASSERT_TRUE(WaitFor([&] { return view.Model()->rowCount() == 2; }));
    ASSERT_TRUE(WaitFor([&] { return counts.last().at(0).toString() == "2 messages"; }));

    // A click on the Subject header sorts by name; a second click flips the direction.
    view.header()->sectionClicked(mlcSubject);
    EXPECT_EQ(rowNames(view), QStringList({"Middle [0001].pml", "New [2001].pml"}));
    view.header()->sectionClicked(mlcSubject);
    EXPECT_EQ(rowNames(view), QStringList({"New [2001].pml", "Middle [0001].pml"}));
    EXPECT_EQ(view.header()->sortIndicatorOrder(), Qt::DescendingOrder);
    EXPECT_TRUE(m_desktop.Messages.empty());
}

// A quick run over several rows reports only the row it stops on, 400 ms after it stopped.
TEST_F(MessageListViewTest, ReportsTheSelectionOnlyAfterItSettled) {
    for (int i = 0; i < 4; ++i)
        writeFile(QStringLiteral("Row %1 [2001].pml").arg(i), 1000000 + i);
    TMessageListView view;
    view.SetSort(mlcDate, true);
    QSignalSpy settled(&view, &TMessageListView::SelectionSettled);
    ASSERT_TRUE(list(view));
    ASSERT_TRUE(WaitFor([&] { return settled.count() == 1; }));
    EXPECT_EQ(settled.at(0).at(0).toString(), m_dir.filePath("Row 0 [2001].pml"));

    QElapsedTimer timer;
    timer.start();
    for (int row = 1; row < 4; ++row)
        view.setCurrentIndex(view.Model()->index(row, 0));
    ASSERT_TRUE(WaitFor([&] { return settled.count() == 2; }));
    EXPECT_GE(timer.elapsed(), TMessageListView::kSelectionDelayMs - 20);
    EXPECT_EQ(settled.at(1).at(0).toString(), m_dir.filePath("Row 3 [2001].pml"));
    Settle();
    EXPECT_EQ(settled.count(), 2);
}

// Open before the pane has caught up with the selection waits for it; a file the pane cannot
// load is reported once, not again when the same row is selected again.
TEST_F(MessageListViewTest, OpenWaitsForThePaneAndLoadErrorsAreReportedOnce) {
    const QString first = m_dir.filePath("First [2001].pml");
    const QString second = m_dir.filePath("Second [2001].pml");
    ASSERT_TRUE(PmlWriter().SetPlainText("one").WriteFile(first));
    ASSERT_TRUE(PmlWriter().SetPlainText("two").WriteFile(second));
    writeFile(QStringLiteral("Broken [2001].pml"), 4000000000LL, "<message>");
    TMessageListView view;
    TTarvinFrame frame;
    TQuickViewController controller(&frame, &view);
    QSignalSpy opened(&controller, &TQuickViewController::OpenViewerRequested);
    view.SetSort(mlcSubject, true); // Broken, First, Second
    ASSERT_TRUE(list(view));
    ASSERT_TRUE(WaitFor([&] { return controller.QuickViewFile() == view.Model()->FilePath(0); }));
    ASSERT_TRUE(WaitFor([&] { return !m_desktop.Messages.empty(); }));
    ASSERT_EQ(m_desktop.Messages.size(), 1u);
    EXPECT_EQ(m_desktop.Messages[0].Kind, TMessageKind::Error);

    // Without a focused row Open does nothing.
    controller.Open();
    EXPECT_FALSE(controller.OpenPending());

    view.setCurrentIndex(view.Model()->index(2, 0));
    emit view.OpenRequested(view.FocusedFile());
    EXPECT_TRUE(controller.OpenPending());
    EXPECT_EQ(opened.count(), 0);
    ASSERT_TRUE(WaitFor([&] { return opened.count() == 1; }));
    EXPECT_EQ(opened.at(0).at(0).toString(), second);
    EXPECT_EQ(frame.FileName(), second);
    EXPECT_FALSE(controller.OpenPending());

    // Once the pane shows the focused row, Open is immediate.
    controller.Open();
    EXPECT_EQ(opened.count(), 2);

    // Coming back to the broken file reports it again; settling on it twice does not.
    view.setCurrentIndex(view.Model()->index(0, 0));
    ASSERT_TRUE(WaitFor([&] { return m_desktop.Messages.size() == 2; }));
    emit view.SelectionSettled(view.Model()->FilePath(0));
    Settle();
    EXPECT_EQ(m_desktop.Messages.size(), 2u);
}

// A reason from deep inside a message ("data error" of a custom field) reaches the user with
// the name of the file it came from.
TEST_F(MessageListViewTest, PaneLoadErrorsNameTheFile) {
    writeFile(QStringLiteral("Corrupt [2001].pml"), 1000000, tarvin::hostile::CorruptField());
    TMessageListView view;
    TTarvinFrame frame;
    TQuickViewController controller(&frame, &view);
    ASSERT_TRUE(list(view));
    ASSERT_TRUE(WaitFor([&] { return !m_desktop.Messages.empty(); }));
    EXPECT_TRUE(m_desktop.Messages[0].Text.contains("Corrupt [2001].pml"))
        << m_desktop.Messages[0].Text.toStdString();
}

// The pane reads its file on a worker thread: a named pipe is refused at once (it would block
// the read), naming the file; a read that takes long shows "Loading..." and is abandoned by a
// newer selection, whose message the pane then shows, whatever the older read brings later.
TEST_F(MessageListViewTest, PaneReadsOffTheWindowAndANewerSelectionWins) {
    TSlowReads reads(QStringLiteral("Slow"));
    const QString slow = m_dir.filePath("Slow [2001].pml");
    const QString fast = m_dir.filePath("Fast [2001].pml");
    ASSERT_TRUE(PmlWriter().SetPlainText("slow body").WriteFile(slow));
    ASSERT_TRUE(PmlWriter().SetPlainText("fast body").WriteFile(fast));
    const QString fifo = m_dir.filePath("Pipe [2001].pml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    TMessageListView view;
    TTarvinFrame frame;
    TQuickViewController controller(&frame, &view);
    QSignalSpy loaded(&controller, &TQuickViewController::Loaded);

    QElapsedTimer timer;
    timer.start();
    controller.ShowInQuickViewer(fifo);
    ASSERT_TRUE(WaitFor([&] { return loaded.count() == 1; }, 5000));
    EXPECT_LT(timer.elapsed(), 2000);
    ASSERT_EQ(m_desktop.Messages.size(), 1u);
    EXPECT_EQ(m_desktop.Messages[0].Text,
              "Cannot load file:\r\n\r\n" + fifo +
                  "\r\n\r\nThe file is a named pipe, not a regular file.");
    EXPECT_EQ(frame.Message(), nullptr);

    controller.ShowInQuickViewer(slow);
    EXPECT_TRUE(controller.IsLoading());
    EXPECT_TRUE(frame.IsShowingLoading());
    ASSERT_TRUE(WaitFor([&] { return reads.Started() == 1; }));
    controller.ShowInQuickViewer(fast);
    ASSERT_TRUE(WaitFor([&] { return loaded.count() == 2; }));
    EXPECT_EQ(loaded.at(1).at(0).toString(), fast);
    EXPECT_FALSE(frame.IsShowingLoading());
    EXPECT_EQ(frame.PlainTextView()->toPlainText(), "fast body");

    reads.Release();
    EXPECT_FALSE(WaitFor([&] { return loaded.count() > 2; }, 300));
    EXPECT_EQ(frame.FileName(), fast);
    EXPECT_EQ(frame.PlainTextView()->toPlainText(), "fast body");
    EXPECT_EQ(m_desktop.Messages.size(), 1u);
}

// Refresh (F5) reads the folder again and keeps the top row at the top, also when a row now
// sorts above it; a double-click on the Subject column's divider fits the column to the
// subjects it shows, in the type they are painted in.
TEST_F(MessageListViewTest, RefreshKeepsTheTopRowAndTheDividerFitsTheColumn) {
    for (int i = 0; i < 40; ++i)
        writeFile(QStringLiteral("Row %1 [2001].pml").arg(i, 2, 10, QLatin1Char('0')), 2000000 + i);
    const QString longSubject(90, QLatin1Char('W'));
    writeFile(longSubject + " [0001].pml", 3000000); // unread: painted bold
    TMessageListView view;
    view.SetSort(mlcDate, true);
    view.resize(600, 12 * TMessageListView::kRowHeight);
    view.show();
    ASSERT_TRUE(list(view));
    view.scrollTo(view.Model()->index(20, 0), QAbstractItemView::PositionAtTop);
    auto topName = [&] {
        return view.Model()->FileName(view.indexAt(QPoint(1, 1)).row()).toStdString();
    };
    ASSERT_EQ(topName(), "Row 20 [2001].pml");

    writeFile(QStringLiteral("Early [2001].pml"), 1000000); // sorts first
    QSignalSpy finished(&view, &TMessageListView::ListingFinished);
    view.Refresh();
    ASSERT_TRUE(WaitFor([&] { return finished.count() > 0 && view.Model()->rowCount() == 42; }));
    Settle();
    EXPECT_EQ(view.Model()->FileName(0), "Early [2001].pml");
    EXPECT_EQ(topName(), "Row 20 [2001].pml");

    // The long subject's row is on screen once scrolled to the end.
    view.scrollToBottom();
    QHeaderView *head = view.header();
    const int divider = head->sectionViewportPosition(mlcSubject) + head->sectionSize(mlcSubject);
    QTest::mouseDClick(head->viewport(), Qt::LeftButton, {},
                       QPoint(divider - 1, head->height() / 2));
    QFont bold = view.font();
    bold.setBold(true);
    // The subject keeps the blank before the code.
    const int wanted = QFontMetrics(bold).horizontalAdvance(longSubject + " ") + 14;
    EXPECT_GT(wanted, TMessageListView::kSubjectColumnWidth);
    EXPECT_EQ(head->sectionSize(mlcSubject), wanted);
}

// Rows are painted from their names: the item icon is drawn, and an unread row's subject is
// bold where a read row's is not.
TEST_F(MessageListViewTest, PaintsIconAndBoldOrNormalSubject) {
    writeFile(QStringLiteral("Budget review [0001].pml"), 1000000);
    writeFile(QStringLiteral("Budget review [2001].pml"), 2000000);
    TMessageListView view;
    view.SetSort(mlcDate, true);
    view.resize(600, 120);
    ASSERT_TRUE(list(view));
    view.selectionModel()->clearSelection();
    const QImage image = view.viewport()->grab().toImage();
    const QColor base = view.palette().color(QPalette::Base);
    const int h = TMessageListView::kRowHeight;
    auto inkIn = [&](int row, int left, int right) {
        int ink = 0;
        for (int y = row * h; y < (row + 1) * h; ++y)
            for (int x = left; x < right; ++x)
                if (QColor(image.pixel(x, y)) != base)
                    ++ink;
        return ink;
    };
    EXPECT_GT(inkIn(0, 8, 24), 40); // the closed envelope
    EXPECT_GT(inkIn(1, 8, 24), 40); // the open one
    const int subjectLeft = TMessageListView::kIconColumnWidth;
    const int subjectRight = subjectLeft + TMessageListView::kSubjectColumnWidth;
    const int bold = inkIn(0, subjectLeft, subjectRight);
    const int normal = inkIn(1, subjectLeft, subjectRight);
    EXPECT_GT(normal, 20);
    EXPECT_GT(bold, normal * 11 / 10);
}

} // namespace
