#include "view/MessageLoader.h"
#include "view/ui/LoadWaitWindow.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/ViewerWindows.h"

#include "ViewTestMessages.h"
#include "ViewTestSupport.h"
#include "support/RecordingDesktop.h"
#include "support/SlowReads.h"
#include "support/ViewerOpen.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tarvin;
using namespace tarvin::viewtest;

namespace {

class ViewerLoadTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_windows.QuitProgram = [this] { ++m_quits; };
    }
    void TearDown() override {
        for (TTarvinForm *window : m_windows.Windows())
            delete window;
        Settle();
    }

    QString write(const QString &name) {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(RichMail().WriteFile(path));
        return path;
    }

    // The user interface answers: a timer started now fires.
    bool responsive() {
        bool fired = false;
        QTimer::singleShot(0, [&] { fired = true; });
        return WaitFor([&] { return fired; }, 2000);
    }

    QTemporaryDir m_dir;
    tarvin::testing::TRecordingDesktop m_desk; // an unscripted question fails the test
    TViewerWindows m_windows;
    int m_quits = 0;
};

} // namespace

// A named pipe reached by a message file's name would block the first read (or the open) for
// as long as nobody writes to it: it is refused before it is opened, at once, naming the file,
// and no other program is offered for it.
TEST_F(ViewerLoadTest, NamedPipeIsRefusedAtOnceNamingTheFile) {
    const QString fifo = m_dir.filePath("pipe.pml");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    QSignalSpy failed(&m_windows, &TViewerWindows::OpenFailed);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(tarvin::testing::OpenAndWait(m_windows, fifo), nullptr);
    EXPECT_LT(timer.elapsed(), 2000);
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_EQ(m_desk.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(m_desk.Messages[0].Text, "Tarvin cannot open this file:\n\n" + fifo +
                                           "\n\nCannot load file:\r\n\r\n" + fifo +
                                           "\r\n\r\nThe file is a named pipe, not a regular file.");
    EXPECT_EQ(failed.count(), 1);
    EXPECT_TRUE(m_windows.Windows().isEmpty());
    EXPECT_TRUE(responsive());
    // Nothing else is shown: the program (started for this file alone) ends.
    EXPECT_EQ(m_quits, 1);
}

// A read that takes long: the window does not wait for it; after half a second the wait window
// offers Cancel, which abandons the read. Its result, when it comes, is dropped: no window.
TEST_F(ViewerLoadTest, SlowReadOffersCancelAndItsLateResultIsDropped) {
    tarvin::testing::TSlowReads reads(QStringLiteral("slow"));
    const QString slow = write("slow.pml");
    QSignalSpy opened(&m_windows, &TViewerWindows::WindowOpened);
    QSignalSpy failed(&m_windows, &TViewerWindows::OpenFailed);
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(m_windows.OpenViewerWindow(m_dir.path(), slow, {}, {}, false, {}), nullptr);
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(m_windows.IsOpening(slow));
    ASSERT_TRUE(WaitFor([&] { return reads.Started() == 1; }));
    // A second request for the same file joins the first.
    EXPECT_EQ(m_windows.OpenViewerWindow(m_dir.path(), slow, {}, {}, false, {}), nullptr);
    EXPECT_TRUE(responsive());

    ASSERT_TRUE(WaitFor([&] { return m_windows.WaitWindow(slow) != nullptr; }));
    EXPECT_GE(timer.elapsed(), TViewerWindows::kWaitWindowDelayMs - 20);
    auto *wait = qobject_cast<TLoadWaitWindow *>(m_windows.WaitWindow(slow));
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(wait->isVisible());
    EXPECT_TRUE(wait->TextLabel()->text().contains("slow.pml"));
    QPointer<TLoadWaitWindow> waitAlive(wait);
    wait->CancelButton()->click();
    EXPECT_FALSE(m_windows.IsOpening(slow));
    EXPECT_EQ(failed.count(), 1);
    Settle();
    EXPECT_TRUE(waitAlive.isNull());

    // Windows that go (the program's end) while a read is stalled do not wait for it.
    {
        TViewerWindows other;
        other.QuitProgram = [] {};
        other.OpenViewerWindow(m_dir.path(), slow, {}, {}, false, {});
        ASSERT_TRUE(WaitFor([&] { return reads.Started() == 2; }));
        timer.restart();
    }
    EXPECT_LT(timer.elapsed(), 1000);

    reads.Release();
    EXPECT_EQ(reads.Started(), 2);
    // The abandoned read ends on its own; nothing comes of it.
    Settle();
    EXPECT_FALSE(WaitFor([&] { return opened.count() > 0; }, 300));
    EXPECT_TRUE(m_windows.Windows().isEmpty());
    EXPECT_TRUE(m_desk.Messages.empty());

    // Asked for again, the file opens (in front) once read.
    TTarvinForm *window = tarvin::testing::OpenAndWait(m_windows, slow);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->FileName(), slow);
    EXPECT_EQ(window->windowTitle(), "Mail From: Ann Lee");
    EXPECT_EQ(opened.count(), 1);
}

// Whatever the read throws, an allocation failure included, comes back as the load error that
// names the file; the program goes on.
TEST_F(ViewerLoadTest, EveryFailureOfTheReadIsReportedNamingTheFile) {
    const QString path = write("big.pml");
    TMessageLoader::SetReadFunction(
        [](const QString &) -> std::unique_ptr<TGWMessage> { throw std::bad_alloc(); });
    m_desk.Answers = {TMessageAnswer::No};
    EXPECT_EQ(tarvin::testing::OpenAndWait(m_windows, path), nullptr);
    TMessageLoader::SetReadFunction({});
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_EQ(m_desk.Messages[0].Text, "Tarvin cannot open this file:\n\n" + path +
                                           "\n\nCannot load file:\r\n\r\n" + path +
                                           "\r\n\r\nNot enough memory to load this message.\n"
                                           "Would you like to choose another application to "
                                           "open this file?");
    EXPECT_TRUE(m_windows.Windows().isEmpty());
}
