#include "view/ui/TarvinForm.h"
#include "model/GWMessage.h"
#include "util/ShellOpen.h"
#include "view/ui/ViewerWindows.h"

#include "ViewTestMessages.h"
#include "ViewTestSupport.h"
#include "support/QtPrinters.h"
#include "support/RecordingDesktop.h"
#include "support/ViewerOpen.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::viewtest;
using tarvin::testing::WaitFor;

namespace {

// The viewer windows that exist in the process, adopted or not.
int ViewerWindowsAlive() {
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += qobject_cast<TTarvinForm *>(widget) != nullptr;
    return count;
}

class FormTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    void TearDown() override {
        for (TTarvinForm *window : m_windows.Windows())
            delete window;
        Settle();
    }

    QString Write(const PmlWriter &writer, const QString &name) {
        const QString path = m_dir.path() + "/" + name;
        EXPECT_TRUE(writer.WriteFile(path));
        return path;
    }

    TTarvinForm *Open(const QString &path, TViewSettings settings = {}) {
        return tarvin::testing::OpenAndWait(m_windows, path, settings, m_dir.path());
    }

    QTemporaryDir m_dir;
    // Every desktop path (programs, dialogs, message boxes) is recorded, never shown.
    tarvin::testing::TRecordingDesktop m_desk;
    TViewerWindows m_windows;
};

PmlWriter PlainMail(const QString &from, const QString &subject, const QString &body) {
    PmlWriter mail(mtMail);
    mail.SetCore("from", from).SetCore("subject", subject).SetPlainText(body);
    return mail;
}

} // namespace

TEST_F(FormTest, TitleAndStatusText) {
    TTarvinForm *window = Open(Write(RichMail(), "rich.pml"));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Mail From: Ann Lee");
    EXPECT_EQ(window->StatusHint(), "Quarterly figures");
    EXPECT_EQ(window->StatusText(), "Quarterly figures");
    EXPECT_EQ(window->minimumSize(), QSize(360, 480));
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), nullptr); // a task-bar entry of its own
    QStringList menus;
    for (QAction *menu : window->menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, QStringList({"File", "Edit", "Search", "View", "Actions", "Help"}));

    TTarvinForm *noSender = Open(Write(PlainMail("", "x", "y"), "nosender.pml"));
    EXPECT_EQ(noSender->windowTitle(), "Tarvin");

    const QString subject =
        "A rather long subject line about the quarterly figures of the northern region and more";
    TTarvinForm *longOne = Open(Write(PlainMail("Ann", subject, "y"), "long.pml"));
    longOne->resize(360, 480);
    Settle();
    EXPECT_EQ(longOne->StatusHint(), subject);
    EXPECT_TRUE(longOne->StatusText().contains("..."));
    EXPECT_TRUE(longOne->StatusText().startsWith("A rather"));
    EXPECT_TRUE(longOne->StatusText().endsWith("and more"));
    // The shortened text fits the label the status bar gives it, so its end is seen.
    auto *label = longOne->statusBar()->findChild<QLabel *>();
    ASSERT_NE(label, nullptr);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(longOne->StatusText()),
              label->contentsRect().width());
    EXPECT_LE(label->geometry().right(), longOne->statusBar()->width());
    longOne->SetAttachedMessage(true);
    EXPECT_EQ(longOne->StatusText(), "Attached message - " + subject);

    TTarvinForm *empty = Open(Write(PlainMail("Ann", "", "y"), "empty.pml"));
    empty->SetAttachedMessage(true);
    EXPECT_EQ(empty->StatusText(), "Attached message - ");
}

TEST_F(FormTest, ActionStates) {
    TTarvinForm *window = Open(Write(RichMail(), "rich.pml"), {false, true, true});
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->Viewer()->PlainText());
    EXPECT_TRUE(window->Actions()->actHTML->isEnabled());
    EXPECT_TRUE(window->Actions()->actHTML->isChecked());
    EXPECT_TRUE(window->Actions()->actPlainText->isEnabled());
    EXPECT_FALSE(window->Actions()->actFont->isEnabled()); // HTML mode
    window->Actions()->actPlainText->trigger();
    EXPECT_TRUE(window->Viewer()->PlainText());
    EXPECT_TRUE(window->Actions()->actPlainText->isChecked());
    EXPECT_TRUE(window->Actions()->actFont->isEnabled());

    window->Actions()->actProperties->trigger();
    EXPECT_EQ(window->Viewer()->ActivePage(), fpProperties);
    EXPECT_TRUE(window->Actions()->actProperties->isChecked());
    EXPECT_FALSE(window->Actions()->actHTML->isEnabled());
    EXPECT_FALSE(window->Actions()->actPlainText->isEnabled());
    EXPECT_FALSE(window->Actions()->actFont->isEnabled());
    window->Actions()->actSaveLog->trigger();
    EXPECT_TRUE(window->Actions()->actSaveLog->isChecked());
    // A tab chosen in the frame itself is followed by the actions.
    window->Viewer()->SetActivePage(fpMessage);
    EXPECT_TRUE(window->Actions()->actMessage->isChecked());
    EXPECT_TRUE(window->Actions()->actFont->isEnabled());

    // Open and Save As: hidden without a selection, disabled without data.
    EXPECT_FALSE(window->Actions()->actOpenAttachment->isVisible());
    window->Viewer()->SelectAttachment(0);
    EXPECT_TRUE(window->Actions()->actOpenAttachment->isVisible());
    EXPECT_TRUE(window->Actions()->actSaveAs->isEnabled());
    window->Viewer()->SelectAttachment(2); // lost.pdf has no data
    EXPECT_TRUE(window->Actions()->actSaveAs->isVisible());
    EXPECT_FALSE(window->Actions()->actOpenAttachment->isEnabled());

    // Views.
    EXPECT_TRUE(window->Actions()->actAttachmentWindow->isChecked());
    window->Actions()->actAttachmentWindow->trigger();
    EXPECT_FALSE(window->AttachmentsVisible());
    EXPECT_FALSE(window->Actions()->actSystemAttachments->isChecked());
    window->Actions()->actSystemAttachments->trigger();
    EXPECT_TRUE(window->ShowSystemAttachments());
    EXPECT_EQ(window->Viewer()->AttachmentList()->count(), 7);
    window->Actions()->actToolbar->trigger();
    EXPECT_FALSE(window->ToolbarVisible());

    // Later issues: printing, finding, replying and forwarding stay off.
    EXPECT_FALSE(window->Actions()->actPrint->isEnabled());
    EXPECT_FALSE(window->Actions()->actFindInMessages->isEnabled());
    EXPECT_FALSE(window->Actions()->actReplyMenu->isEnabled());
    EXPECT_TRUE(window->Actions()->actAboutApp->isEnabled());
    EXPECT_TRUE(window->Actions()->actAppHelp->isEnabled());

    // Plain body empty: no "Plain Text"; no HTML body: no "HTML".
    TTarvinForm *htmlOnly = Open(Write(
        [] {
            PmlWriter mail(mtMail);
            mail.SetPlainText("");
            mail.AddAttachment(PmlAttachment::File("TEXT.htm", "<p>x</p>"));
            return mail;
        }(),
        "htmlonly.pml"));
    EXPECT_FALSE(htmlOnly->Actions()->actPlainText->isEnabled());
    EXPECT_TRUE(htmlOnly->Actions()->actHTML->isEnabled());
    TTarvinForm *plainOnly = Open(Write(PlainMail("a", "b", "c"), "plainonly.pml"));
    EXPECT_FALSE(plainOnly->Actions()->actHTML->isEnabled());
    EXPECT_TRUE(plainOnly->Actions()->actPlainText->isChecked());
}

TEST_F(FormTest, ReusesWindowsAndOpensEmbeddedMessages) {
    const QString path = Write(RichMail(), "rich.pml");
    TTarvinForm *first = Open(path, {false, true, true});
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(Open(path), first);
    EXPECT_EQ(m_windows.Windows().size(), 1);
    // Another name is another window.
    QFile::copy(path, m_dir.path() + "/Rich.pml");
    EXPECT_NE(Open(m_dir.path() + "/Rich.pml"), first);

    first->Viewer()->SelectAttachment(1); // the embedded appointment
    first->Viewer()->OpenSelectedAttachment();
    TTarvinForm *embedded = m_windows.FindEmbeddedWindow("APPT.1");
    ASSERT_NE(embedded, nullptr);
    EXPECT_TRUE(embedded->AttachedMessage());
    EXPECT_EQ(embedded->FileName(), "");
    EXPECT_EQ(embedded->SourceFolder(), m_dir.path());
    EXPECT_EQ(embedded->windowTitle(), "Appointment From: Carl");
    EXPECT_TRUE(embedded->StatusText().startsWith("Attached message - Review"));
    EXPECT_EQ(m_windows.Windows().size(), 3);
    first->Viewer()->OpenSelectedAttachment();
    EXPECT_EQ(m_windows.Windows().size(), 3);
}

TEST_F(FormTest, FailureOffersAnotherProgram) {
    QFile broken(m_dir.path() + "/broken.pml");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("<message><props>");
    broken.close();
    m_desk.Answers = {TMessageAnswer::Yes};
    EXPECT_EQ(Open(broken.fileName()), nullptr);
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_EQ(m_desk.Messages[0].Kind, TMessageKind::Question);
    const QString asked = m_desk.Messages[0].Text;
    EXPECT_TRUE(asked.startsWith("Tarvin cannot open this file:\n\n" + broken.fileName() + "\n\n"))
        << asked.toStdString();
    EXPECT_TRUE(
        asked.endsWith("\nWould you like to choose another application to open this file?"));
    EXPECT_EQ(m_desk.OpenedWith, std::vector<QString>({broken.fileName()}));
    EXPECT_TRUE(m_windows.Windows().isEmpty());
    EXPECT_EQ(ViewerWindowsAlive(), 0);

    // A name that is no file: said so, no window, nothing offered.
    m_desk.Messages.clear();
    EXPECT_EQ(Open(m_dir.path() + "/nothere.pml"), nullptr);
    ASSERT_EQ(m_desk.Messages.size(), 1u);
    EXPECT_EQ(m_desk.Messages[0].Kind, TMessageKind::Error);
    EXPECT_EQ(m_desk.Messages[0].Text, "Tarvin cannot open this file:\n\n" + m_dir.path() +
                                           "/nothere.pml\n\nThe file does not exist.");
    EXPECT_EQ(ViewerWindowsAlive(), 0);

    // Declined: nothing more.
    m_desk.Answers = {TMessageAnswer::No};
    EXPECT_EQ(Open(broken.fileName()), nullptr);
    EXPECT_EQ(m_desk.OpenedWith.size(), 1u);
}

TEST_F(FormTest, CommandLineFiles) {
    const QString text = m_dir.path() + "/notes.txt";
    EXPECT_FALSE(m_windows.OpenCommandLineFile(text));
    EXPECT_EQ(m_desk.Opened, std::vector<QString>({text}));
    EXPECT_TRUE(m_windows.OpenCommandLineFile(Write(RichMail(), "rich.PML")));
    ASSERT_TRUE(WaitFor([&] { return m_windows.Windows().size() == 1; }));
    EXPECT_TRUE(m_windows.Windows()[0]->isVisible());
    EXPECT_EQ(m_windows.Windows()[0]->SourceFolder(), m_dir.path());

    // A file that is not there: the message names it.
    // Opening looks for the file before anything is started.
    struct : tarvin::testing::TRecordingDesktop {
        void OpenFile(QObject *, const QString &path) override { ShellOpen(path); }
    } desktop;
    const QString missing = m_dir.path() + "/gone.txt";
    EXPECT_FALSE(m_windows.OpenCommandLineFile(missing));
    EXPECT_EQ(desktop.MessageTexts(),
              QStringList({"Cannot open '" + missing + "': No such file or directory"}));
}

TEST_F(FormTest, LastWindowEndsTheProgramWhileTheMainWindowIsHidden) {
    int quits = 0, lastClosed = 0;
    m_windows.QuitProgram = [&] { ++quits; };
    QObject::connect(&m_windows, &TViewerWindows::LastWindowClosed, [&] { ++lastClosed; });
    QWidget mainWindow;
    m_windows.SetMainWindow(&mainWindow);

    QPointer<TTarvinForm> a = Open(Write(RichMail(), "a.pml"));
    QPointer<TTarvinForm> b = Open(Write(PlainMail("x", "y", "z"), "b.pml"));
    a->close();
    Settle();
    EXPECT_TRUE(a.isNull()); // freed when closed
    EXPECT_EQ(quits, 0);     // the second-to-last keeps the program running
    // Esc closes a window.
    b->activateWindow();
    QApplication::setActiveWindow(b);
    b->Viewer()->PlainTextView()->setFocus();
    QTest::keyClick(b->Viewer()->PlainTextView(), Qt::Key_Escape);
    Settle();
    EXPECT_TRUE(b.isNull());
    EXPECT_EQ(lastClosed, 1);
    EXPECT_EQ(quits, 1);

    // With the main window shown the program goes on.
    mainWindow.show();
    QPointer<TTarvinForm> c = Open(Write(RichMail(), "c.pml"));
    c->close();
    Settle();
    EXPECT_EQ(lastClosed, 2);
    EXPECT_EQ(quits, 1);

    // Esc in an open recipients list closes the list only.
    PmlWriter crowded = PlainMail("Ann", "Party", "z");
    for (int i = 0; i < 30; ++i)
        crowded.AddRecipient(QString("Recipient number %1").arg(i), "r@x", "0");
    QPointer<TTarvinForm> d = Open(Write(crowded, "d.pml"));
    QApplication::setActiveWindow(d);
    auto *list = d->findChild<QComboBox *>("CboToValue");
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(list->isVisible());
    list->setFocus();
    list->showPopup();
    QWidget *popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, Qt::Key_Escape);
    Settle();
    ASSERT_FALSE(d.isNull());
    EXPECT_TRUE(d->isVisible());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(quits, 1);
}

TEST_F(FormTest, AboutBoxAndFontDialog) {
    TTarvinForm *window = Open(Write(PlainMail("Ann", "Hi", "Body text"), "plain.pml"));
    ASSERT_NE(window, nullptr);
    // The about box and the manual are the program's: the window asks for them.
    std::vector<QWidget *> about, help;
    QObject::connect(&m_windows, &TViewerWindows::AboutRequested,
                     [&](QWidget *owner) { about.push_back(owner); });
    QObject::connect(&m_windows, &TViewerWindows::HelpRequested,
                     [&](QWidget *owner) { help.push_back(owner); });
    window->Actions()->actAboutApp->trigger();
    window->Actions()->actAppHelp->trigger();
    EXPECT_EQ(about, std::vector<QWidget *>{window});
    EXPECT_EQ(help, std::vector<QWidget *>{window});

    // F9: the font dialog starts with the body's font; OK gives the body the chosen font.
    QFont before = window->Viewer()->PlainTextView()->font();
    QFont chosen = before;
    chosen.setPointSize(before.pointSize() + 6);
    m_desk.FontAnswers = {chosen.toString()};
    ASSERT_TRUE(window->Actions()->actFont->isEnabled());
    window->Actions()->actFont->trigger();
    ASSERT_EQ(m_desk.FontsOffered.size(), 1u);
    QFont offered;
    offered.fromString(m_desk.FontsOffered[0]);
    EXPECT_EQ(offered.family(), before.family());
    EXPECT_EQ(window->Viewer()->PlainTextView()->font().pointSize(), chosen.pointSize());
}
