#include "search/DesktopLink.h"
#include "search/ui/LogDisplayForm.h"
#include "search/ui/SearchAnimation.h"
#include "search/ui/SearchFilesForm.h"
#include "search/ui/SearchResultModel.h"
#include "search/ui/SearchResultView.h"
#include "support/RecordingDesktop.h"
#include "support/Wait.h"
#include "util/NativePath.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGroupBox>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimeEdit>
#include <gtest/gtest.h>
#include <memory>

namespace tarvin {
namespace {

using testing::TRecordingDesktop;
using testing::WaitFor;

class SearchWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        // The trash of this test lies in its own folder.
        m_oldDataHome = qgetenv("XDG_DATA_HOME");
        m_oldHome = qgetenv("HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir.filePath("data")));
        qputenv("HOME", QFile::encodeName(m_dir.path()));
        QDir().mkpath(m_dir.filePath("data"));
        m_window = std::make_unique<TWndSearchFiles>();
    }
    void TearDown() override {
        m_window.reset();
        qputenv("XDG_DATA_HOME", m_oldDataHome);
        qputenv("HOME", m_oldHome);
    }

    QString Path(const QString &relative) const { return m_dir.filePath("files/" + relative); }
    void Write(const QString &relative, const QByteArray &bytes) {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    // Runs a search from the window and waits for its end.
    void Find() {
        m_window->Button_FindClick();
        ASSERT_TRUE(WaitFor([&] { return m_window->Button_Find->isEnabled(); }));
    }
    QStringList ListedPaths() const {
        QStringList paths;
        for (int row = 0; row < m_window->ResultModel()->rowCount(); ++row)
            paths << m_window->ResultModel()->Row(row).Path;
        paths.sort();
        return paths;
    }

    TRecordingDesktop m_desktop;
    QTemporaryDir m_dir;
    QByteArray m_oldDataHome, m_oldHome;
    std::unique_ptr<TWndSearchFiles> m_window;
};

TEST_F(SearchWindowTest, PagesStartAsDescribedAndPickersFollowTheirBoxes) {
    TWndSearchFiles &w = *m_window;
    EXPECT_EQ(w.windowTitle(), "Message Search");
    ASSERT_EQ(w.PageControl->count(), 3);
    EXPECT_EQ(w.PageControl->tabText(0), "Name && Location");
    EXPECT_EQ(w.PageControl->tabText(1), "Date");
    EXPECT_EQ(w.PageControl->tabText(2), "Advanced");
    EXPECT_TRUE(w.Edit_Filename->text().isEmpty());
    EXPECT_EQ(w.Edit_Location->text(), QDir::homePath());
    EXPECT_TRUE(w.CheckBox_IncludeSubfolders->isChecked());
    EXPECT_TRUE(w.CheckBox_CaseInsensitive->isChecked());
    EXPECT_TRUE(w.RadioButton_Created->isChecked());
    EXPECT_FALSE(w.CheckBox_AttributeSystem->isChecked());
    EXPECT_FALSE(w.CheckBox_AttributeHidden->isChecked());
    EXPECT_TRUE(w.CheckBox_AttributeReadonly->isChecked());
    EXPECT_TRUE(w.CheckBox_AttributeArchive->isChecked());
    EXPECT_TRUE(w.CheckBox_AttributeDirectory->isChecked());
    EXPECT_FALSE(w.CheckBox_AttributeExactMatch->isChecked());
    EXPECT_TRUE(w.Button_Find->isEnabled());
    EXPECT_FALSE(w.Button_Stop->isEnabled());
    EXPECT_FALSE(w.Animation()->IsRunning());
    EXPECT_EQ(w.actSwallowRefresh->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(w.DateTimePicker_BeforeDate->date(), QDate::currentDate());

    // The default criteria: every message file, default attributes, no bounds.
    TSearchCriteria criteria = w.Criteria();
    EXPECT_EQ(criteria.Files.FileName, "*.pml");
    EXPECT_EQ(criteria.Attributes.Allowed, kDefaultSearchAttributes);
    EXPECT_EQ(criteria.Dates.CreatedBefore, 0);
    EXPECT_EQ(criteria.Sizes.SizeMax, 0);

    // A picker is enabled only while its box is ticked; the ticked bounds go to the chosen
    // time, date and time parts added.
    const std::pair<QCheckBox *, QWidget *> pairs[] = {
        {w.CheckBox_BeforeDate, w.DateTimePicker_BeforeDate},
        {w.CheckBox_BeforeTime, w.DateTimePicker_BeforeTime},
        {w.CheckBox_AfterDate, w.DateTimePicker_AfterDate},
        {w.CheckBox_AfterTime, w.DateTimePicker_AfterTime}};
    for (const auto &[box, picker] : pairs) {
        EXPECT_FALSE(box->isChecked());
        EXPECT_FALSE(picker->isEnabled());
        box->setChecked(true);
        EXPECT_TRUE(picker->isEnabled());
    }
    w.CheckBox_BeforeDate->setChecked(false);
    w.DateTimePicker_AfterDate->setDate(QDate(2024, 3, 1));
    w.DateTimePicker_AfterTime->setTime(QTime(6, 0));
    w.DateTimePicker_BeforeTime->setTime(QTime(18, 0));
    w.RadioButton_Modified->setChecked(true);
    w.Edit_Filename->setText("Re: Budget.PML");
    w.SpinEdit_SizeMin->setValue(2);
    w.CheckBox_AttributeHidden->setChecked(true);
    w.CheckBox_AttributeExactMatch->setChecked(true);
    criteria = w.Criteria();
    EXPECT_EQ(criteria.Files.FileName, "*Re_ Budget*.pml");
    EXPECT_EQ(criteria.Dates.CreatedAfter, 0);
    EXPECT_DOUBLE_EQ(criteria.Dates.ModifiedAfter, 45352.25); // 2024-03-01 06:00
    EXPECT_DOUBLE_EQ(criteria.Dates.ModifiedBefore, 0.75);    // 18:00 on any day
    EXPECT_EQ(criteria.Sizes.SizeMin, 2048);
    EXPECT_TRUE(criteria.Attributes.Allowed.testFlag(TFileAttribute::Hidden));
    EXPECT_TRUE(criteria.Attributes.ExactMatch);

    // The result list's columns: six shown, three more from the header's menu.
    for (int column = 0; column < TSearchResultModel::kColumnCount; ++column)
        EXPECT_EQ(w.SearchResult()->isColumnHidden(column), column >= TSearchResultModel::Accessed)
            << column;
    EXPECT_EQ(w.SearchResult()->columnWidth(TSearchResultModel::Path), 200);
}

TEST_F(SearchWindowTest, FindListsHitsKeepsThemCurrentAndReportsProblems) {
    Write("budget.pml", "the quarterly Budget");
    Write("other.pml", "nothing here");
    Write("notes.txt", "budget");
    Write("sub/old budget.pml", "BUDGET");
    m_window->Edit_Location->setText(Path(""));
    m_window->Edit_ContainingText->setText("budget");
    Find();
    EXPECT_EQ(ListedPaths(), (QStringList{Path("budget.pml"), Path("sub/old budget.pml")}));
    EXPECT_TRUE(QRegularExpression(R"(^2 folder\(s\) searched and 2 file\(s\) found - \d+\.\d{3} )"
                                   R"(second\(s\)$)")
                    .match(m_window->StatusText())
                    .hasMatch())
        << m_window->StatusText().toStdString();
    EXPECT_TRUE(m_window->LastSearchCompleted());
    EXPECT_FALSE(m_window->Button_Stop->isEnabled());
    EXPECT_FALSE(m_window->Animation()->IsRunning());
    EXPECT_TRUE(m_desktop.Dialogs.empty());

    // After a completed search, a new hit in a searched folder is listed and a deleted one
    // leaves the list.
    Write("sub/new budget.pml", "budget again");
    Write("sub/new other.pml", "no");
    EXPECT_TRUE(WaitFor([&] { return m_window->ResultModel()->rowCount() == 3; }));
    EXPECT_TRUE(m_window->ResultModel()->Contains(Path("sub/new budget.pml")));
    ASSERT_TRUE(QFile::remove(Path("budget.pml")));
    EXPECT_TRUE(WaitFor([&] { return m_window->ResultModel()->rowCount() == 2; }));
    EXPECT_FALSE(m_window->ResultModel()->Contains(Path("budget.pml")));
    // A folder moved in is searched, and watched from then on.
    Write("../outside/moved/budget 2.pml", "budget");
    ASSERT_TRUE(QDir().rename(m_dir.filePath("outside/moved"), Path("sub/moved")));
    EXPECT_TRUE(WaitFor([&] { return m_window->ResultModel()->rowCount() == 3; }));
    Write("sub/moved/budget 3.pml", "budget");
    EXPECT_TRUE(WaitFor([&] { return m_window->ResultModel()->rowCount() == 4; }));
    EXPECT_TRUE(m_desktop.Dialogs.empty());

    // A folder that cannot be listed is a problem shown in the log window after the search;
    // its copy button puts the lines on the clipboard.
    m_window->Edit_Location->setText(Path("") + ";" + Path("missing"));
    QStringList shown;
    m_desktop.DialogRuns.push_back([&](QObject *dialog) {
        auto *form = qobject_cast<TLogDisplayForm *>(dialog);
        if (!form)
            return 0;
        EXPECT_EQ(form->windowTitle(), "File Search Log");
        shown = form->LogText()->toPlainText().split('\n');
        form->CopyButton()->click();
        return 1;
    });
    m_window->show();
    Find();
    ASSERT_EQ(m_desktop.Dialogs, (std::vector<QString>{"tarvin::TLogDisplayForm"}));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Cannot open folder \"" + Path("missing") + "\". "))
        << shown[0].toStdString();
    EXPECT_EQ(m_desktop.ClipboardText, shown[0]);
    EXPECT_EQ(m_window->ResultModel()->rowCount(), 4);

    // Stop right after Find ends the search as aborted, and changes are no longer tracked.
    m_window->Button_FindClick();
    EXPECT_TRUE(m_window->Button_Stop->isEnabled());
    EXPECT_FALSE(m_window->Button_Find->isEnabled());
    EXPECT_TRUE(m_window->Animation()->IsRunning());
    m_window->Button_StopClick();
    ASSERT_TRUE(WaitFor([&] { return m_window->Button_Find->isEnabled(); }));
    EXPECT_TRUE(m_window->StatusText().startsWith("Search aborted - "))
        << m_window->StatusText().toStdString();
    EXPECT_FALSE(m_window->LastSearchCompleted());
    EXPECT_TRUE(m_window->Watcher()->directories().isEmpty());
}

TEST_F(SearchWindowTest, ResultCommandsCopyCutDeleteAndOpen) {
    Write("a b.pml", "x");
    Write("c.pml", "x");
    Write("report.txt", "x");
    m_window->Edit_Location->setText(Path(""));
    m_window->Edit_Filename->setText("");
    Find();
    TSearchResultView *view = m_window->SearchResult();
    TSearchResultModel *model = m_window->ResultModel();
    ASSERT_EQ(model->rowCount(), 2);
    view->sortByColumn(TSearchResultModel::Name, Qt::AscendingOrder);
    ASSERT_EQ(model->Row(0).Name, "a b.pml");
    view->selectAll();

    // Copy and cut put the selected files on the clipboard as a file list.
    view->CopySelected(false);
    EXPECT_EQ(m_desktop.ClipboardFiles, (QStringList{Path("a b.pml"), Path("c.pml")}));
    EXPECT_FALSE(m_desktop.ClipboardCut);
    EXPECT_FALSE(model->IsCut(0));
    view->CopySelected(true);
    EXPECT_TRUE(m_desktop.ClipboardCut);
    EXPECT_TRUE(model->IsCut(0) && model->IsCut(1));

    // Dragging offers the same list: URIs with the file system's bytes, the GNOME copy form
    // and the paths as text.
    std::unique_ptr<QMimeData> data(model->mimeData(view->selectionModel()->selectedIndexes()));
    ASSERT_TRUE(data);
    const QByteArray first = "file://" + QFile::encodeName(Path("a b.pml")).replace(" ", "%20");
    const QByteArray second = "file://" + QFile::encodeName(Path("c.pml"));
    EXPECT_EQ(data->data("text/uri-list"), first + "\r\n" + second + "\r\n");
    EXPECT_EQ(data->data("x-special/gnome-copied-files"), "copy\n" + first + "\n" + second);
    EXPECT_EQ(data->text(), Path("a b.pml") + "\n" + Path("c.pml"));

    // Opening: a message file goes to a viewer window, anything else to its program.
    QStringList messages;
    QObject::connect(m_window.get(), &TWndSearchFiles::OpenMessageRequested,
                     [&](const QString &path) { messages << path; });
    view->OpenSelected();
    EXPECT_EQ(messages, (QStringList{Path("a b.pml"), Path("c.pml")}));
    EXPECT_TRUE(m_desktop.Opened.empty());

    // Delete asks first; No keeps the files, Yes moves them to the trash and drops the rows.
    view->selectionModel()->select(model->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_desktop.Answers.push_back(TMessageAnswer::No);
    view->DeleteSelected();
    ASSERT_EQ(m_desktop.Messages.size(), 1u);
    EXPECT_EQ(m_desktop.Messages[0].Text,
              "Are you sure you want to move \"a b.pml\" to the trash?");
    EXPECT_TRUE(QFile::exists(Path("a b.pml")));
    EXPECT_EQ(model->rowCount(), 2);
    m_desktop.Answers.push_back(TMessageAnswer::Yes);
    view->DeleteSelected();
    EXPECT_FALSE(QFile::exists(Path("a b.pml")));
    EXPECT_TRUE(QFile::exists(m_dir.filePath("data/Trash/files/a b.pml")));
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->Row(0).Name, "c.pml");

    // Rename in place never replaces an existing file.
    Write("taken.pml", "x");
    EXPECT_FALSE(model->setData(model->index(0, TSearchResultModel::Name), "taken.pml"));
    ASSERT_EQ(m_desktop.Messages.size(), 3u);
    EXPECT_TRUE(m_desktop.Messages[2].Text.startsWith("Cannot rename c.pml to taken.pml."));
    EXPECT_TRUE(model->setData(model->index(0, TSearchResultModel::Name), "d.pml"));
    EXPECT_TRUE(QFile::exists(Path("d.pml")));
    EXPECT_EQ(model->Row(0).Path, Path("d.pml"));
}

TEST(DesktopLinkTest, NamesAreTakenInTurnAndEntriesEscaped) {
    TRecordingDesktop desktop;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString target = dir.filePath("Re_ Budget.pml");
    EXPECT_EQ(DesktopLinkName("Re_ Budget.pml", 0), "Shortcut to Re_ Budget.pml.desktop");
    EXPECT_EQ(DesktopLinkName("Re_ Budget.pml", 20), "Shortcut (20) to Re_ Budget.pml.desktop");
    EXPECT_TRUE(DesktopLinkName(QString(300, 'x'), 3).endsWith("x.desktop"));
    EXPECT_LE(DesktopLinkName(QString(300, 'x'), 3).toUtf8().size(), 255);

    EXPECT_EQ(CreateDesktopLink(dir.path(), target),
              dir.filePath("Shortcut to Re_ Budget.pml.desktop"));
    // A dangling link holding the next name is never written through.
    ASSERT_TRUE(QFile::link(dir.filePath("elsewhere"),
                            dir.filePath("Shortcut (1) to Re_ Budget.pml.desktop")));
    EXPECT_EQ(CreateDesktopLink(dir.path(), target),
              dir.filePath("Shortcut (2) to Re_ Budget.pml.desktop"));
    EXPECT_FALSE(QFile::exists(dir.filePath("elsewhere")));
    for (int i = 3; i <= 20; ++i)
        EXPECT_FALSE(CreateDesktopLink(dir.path(), target).isEmpty());
    EXPECT_TRUE(CreateDesktopLink(dir.path(), target).isEmpty());

    EXPECT_EQ(DesktopLinkEntry("/m/a\nb\\c%.pml", "text-xml"),
              "[Desktop Entry]\nVersion=1.0\nType=Link\nName=a\\nb\\\\c%.pml\n"
              "URL=file:///m/a%0Ab%5Cc%25.pml\nIcon=text-xml\n");
}

} // namespace
} // namespace tarvin
