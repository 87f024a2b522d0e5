#include "search/ui/SearchFilesForm.h"

#include "base/DesktopServices.h"
#include "base/ui/WindowSupport.h"
#include "search/ui/LogDisplayForm.h"
#include "search/ui/SearchAnimation.h"
#include "search/ui/SearchResultModel.h"
#include "search/ui/SearchResultView.h"
#include "util/DateTime.h"
#include "util/NativePath.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDateEdit>
#include <QDir>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <limits>
#include <sys/stat.h>

namespace tarvin {

namespace {

// Folders watched for changes after a search; past this many only the first are watched, so a
// search over a whole disk does not use up the user's file system watches.
constexpr int kMaxWatchedFolders = 4096;

constexpr double kMsecsPerDay = 86400000.0;

// The bound of a date picker and a time picker: the date's day count when its box is
// ticked, plus the time of day when that box is ticked; 0 when neither is.
TDateTime dateBound(const QCheckBox *dateBox, const QDateEdit *date, const QCheckBox *timeBox,
                    const QTimeEdit *time) {
    TDateTime bound = 0;
    if (dateBox->isChecked())
        bound += QDateTimeToDateTime(QDateTime(date->date(), QTime(0, 0)));
    if (timeBox->isChecked())
        bound += time->time().msecsSinceStartOfDay() / kMsecsPerDay;
    return bound;
}

// True when an entry of that name exists (a dangling link or a special file included).
bool entryExists(const QString &path) {
    struct stat st;
    return ::lstat(EncodeNativePath(path).constData(), &st) == 0;
}

} // namespace

TWndSearchFiles::TWndSearchFiles(QWidget *parent)
    : QWidget(parent, Qt::Window), m_model(new TSearchResultModel(this)),
      m_results(new TSearchResultView(m_model, this)), m_animation(new TSearchAnimation(this)),
      m_statusBar(new QStatusBar(this)), m_status(new QLabel(this)),
      m_watcher(new QFileSystemWatcher(this)) {
    setWindowTitle(QStringLiteral("Message Search"));
    setWindowIcon(ProductIcon());
    // Closing only hides the window; it never ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);

    PageControl = new QTabWidget(this);
    PageControl->addTab(createNamePage(), QStringLiteral("Name && Location"));
    PageControl->addTab(createDatePage(), QStringLiteral("Date"));
    PageControl->addTab(createAdvancedPage(), QStringLiteral("Advanced"));

    Button_Find = new QPushButton(QStringLiteral("&Find"), this);
    Button_Stop = new QPushButton(QStringLiteral("&Stop"), this);
    Button_Find->setDefault(true);
    Button_Stop->setEnabled(false);
    auto *buttons = new QVBoxLayout;
    buttons->addSpacing(PageControl->tabBar()->sizeHint().height());
    buttons->addWidget(Button_Find);
    buttons->addWidget(Button_Stop);
    buttons->addStretch(1);
    buttons->addWidget(m_animation, 0, Qt::AlignHCenter);
    buttons->addStretch(1);

    auto *top = new QHBoxLayout;
    top->addWidget(PageControl, 1);
    top->addLayout(buttons);

    m_status->setTextFormat(Qt::PlainText);
    m_status->setMinimumWidth(1); // a long folder path never widens the window
    m_statusBar->addWidget(m_status, 1);
    m_statusBar->setSizeGripEnabled(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_results, 1);
    layout->addWidget(m_statusBar);
    layout->setContentsMargins(6, 6, 6, 0);

    // F5 would reload a file manager's list from its folder; here the list holds hits only.
    actSwallowRefresh = new QAction(this);
    actSwallowRefresh->setShortcut(QKeySequence(Qt::Key_F5));
    actSwallowRefresh->setShortcutContext(Qt::WindowShortcut);
    addAction(actSwallowRefresh);

    connect(Button_Find, &QPushButton::clicked, this, &TWndSearchFiles::Button_FindClick);
    connect(Button_Stop, &QPushButton::clicked, this, &TWndSearchFiles::Button_StopClick);
    connect(Button_Browse, &QPushButton::clicked, this, &TWndSearchFiles::Button_BrowseClick);
    for (QLineEdit *edit : {Edit_Filename, Edit_Location, Edit_ContainingText})
        connect(edit, &QLineEdit::returnPressed, this, [this] {
            if (Button_Find->isEnabled())
                Button_FindClick();
        });

    connect(&m_search, &TFileSearch::SearchBegin, this, &TWndSearchFiles::searchBegin);
    connect(&m_search, &TFileSearch::FolderChange, this, &TWndSearchFiles::folderChange);
    connect(&m_search, &TFileSearch::FileMatch, this, &TWndSearchFiles::fileMatch);
    connect(&m_search, &TFileSearch::Problem, this,
            [this](const QString &message) { m_problemLog.append(message); });
    connect(&m_search, &TFileSearch::SearchFinish, this, &TWndSearchFiles::searchFinish);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this,
            &TWndSearchFiles::folderChanged);
    connect(m_results, &TSearchResultView::OpenMessageRequested, this,
            &TWndSearchFiles::OpenMessageRequested);

    // Typing starts in the subject field; Tab goes through the page, the buttons, the list.
    setTabOrder(PageControl, Button_Find);
    setTabOrder(Button_Find, Button_Stop);
    setTabOrder(Button_Stop, m_results);
    Edit_Filename->setFocus();
    resize(900, 520);
}

TWndSearchFiles::~TWndSearchFiles() {
    // The search's reports must not reach the half-destroyed window.
    m_search.disconnect(this);
    m_search.Stop();
    m_search.WaitForFinished();
}

QWidget *TWndSearchFiles::createNamePage() {
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    Edit_Filename = new QLineEdit(page);
    Edit_Location = new QLineEdit(QDir::homePath(), page);
    Edit_ContainingText = new QLineEdit(page);
    Button_Browse = new QPushButton(QStringLiteral("&Browse..."), page);
    CheckBox_IncludeSubfolders = new QCheckBox(QStringLiteral("&Include subfolders"), page);
    CheckBox_IncludeSubfolders->setChecked(true);
    CheckBox_CaseInsensitive = new QCheckBox(QStringLiteral("C&ase Insensitive"), page);
    CheckBox_CaseInsensitive->setChecked(true);

    auto label = [page](const QString &text, QWidget *buddy) {
        auto *result = new QLabel(text, page);
        result->setBuddy(buddy);
        return result;
    };
    grid->addWidget(label(QStringLiteral("Subject (or part of Subject)"), Edit_Filename), 0, 0);
    grid->addWidget(Edit_Filename, 0, 1);
    grid->addWidget(label(QStringLiteral("&Location:"), Edit_Location), 1, 0);
    grid->addWidget(Edit_Location, 1, 1);
    grid->addWidget(Button_Browse, 1, 2);
    grid->addWidget(CheckBox_IncludeSubfolders, 2, 1);
    grid->addWidget(label(QStringLiteral("&Containing Text:"), Edit_ContainingText), 3, 0);
    grid->addWidget(Edit_ContainingText, 3, 1);
    grid->addWidget(CheckBox_CaseInsensitive, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(5, 1);
    return page;
}

QWidget *TWndSearchFiles::createDatePage() {
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);

    RadioGroup_DateSelection = new QGroupBox(QStringLiteral(" Find files "), page);
    auto *radios = new QHBoxLayout(RadioGroup_DateSelection);
    RadioButton_Created = new QRadioButton(QStringLiteral("&Created"), RadioGroup_DateSelection);
    RadioButton_Modified = new QRadioButton(QStringLiteral("&Modified"), RadioGroup_DateSelection);
    RadioButton_Accessed = new QRadioButton(QStringLiteral("&Accessed"), RadioGroup_DateSelection);
    RadioButton_Created->setChecked(true);
    for (QRadioButton *radio : {RadioButton_Created, RadioButton_Modified, RadioButton_Accessed})
        radios->addWidget(radio);
    radios->addStretch(1);
    layout->addWidget(RadioGroup_DateSelection);

    const QDate today = QDate::currentDate();
    const QTime now = QTime::currentTime();
    auto datePicker = [page, today] {
        auto *picker = new QDateEdit(today, page);
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(ShortDateFormat());
        picker->setEnabled(false);
        return picker;
    };
    auto timePicker = [page, now] {
        auto *picker = new QTimeEdit(QTime(now.hour(), now.minute(), now.second()), page);
        picker->setDisplayFormat(LongTimeFormat());
        picker->setEnabled(false);
        return picker;
    };
    CheckBox_BeforeDate = new QCheckBox(QStringLiteral("Before Date:"), page);
    CheckBox_BeforeTime = new QCheckBox(QStringLiteral("Before Time:"), page);
    CheckBox_AfterDate = new QCheckBox(QStringLiteral("After Date:"), page);
    CheckBox_AfterTime = new QCheckBox(QStringLiteral("After Time:"), page);
    DateTimePicker_BeforeDate = datePicker();
    DateTimePicker_BeforeTime = timePicker();
    DateTimePicker_AfterDate = datePicker();
    DateTimePicker_AfterTime = timePicker();

    auto *grid = new QGridLayout;
    grid->addWidget(CheckBox_BeforeDate, 0, 0);
    grid->addWidget(DateTimePicker_BeforeDate, 0, 1);
    grid->addWidget(CheckBox_BeforeTime, 0, 2);
    grid->addWidget(DateTimePicker_BeforeTime, 0, 3);
    grid->addWidget(CheckBox_AfterDate, 1, 0);
    grid->addWidget(DateTimePicker_AfterDate, 1, 1);
    grid->addWidget(CheckBox_AfterTime, 1, 2);
    grid->addWidget(DateTimePicker_AfterTime, 1, 3);
    grid->setColumnStretch(4, 1);
    layout->addLayout(grid);
    layout->addStretch(1);

    // A picker is enabled only while its box is ticked.
    const std::pair<QCheckBox *, QWidget *> pairs[] = {
        {CheckBox_BeforeDate, DateTimePicker_BeforeDate},
        {CheckBox_BeforeTime, DateTimePicker_BeforeTime},
        {CheckBox_AfterDate, DateTimePicker_AfterDate},
        {CheckBox_AfterTime, DateTimePicker_AfterTime}};
    for (const auto &[box, picker] : pairs)
        connect(box, &QCheckBox::toggled, picker, &QWidget::setEnabled);
    return page;
}

QWidget *TWndSearchFiles::createAdvancedPage() {
    auto *page = new QWidget;
    auto *layout = new QHBoxLayout(page);

    auto *attributes = new QGroupBox(QStringLiteral(" Attributes "), page);
    auto *grid = new QGridLayout(attributes);
    CheckBox_AttributeSystem = new QCheckBox(QStringLiteral("Sys&tem"), attributes);
    CheckBox_AttributeHidden = new QCheckBox(QStringLiteral("&Hidden"), attributes);
    CheckBox_AttributeReadonly = new QCheckBox(QStringLiteral("&Read-only"), attributes);
    CheckBox_AttributeArchive = new QCheckBox(QStringLiteral("&Archive"), attributes);
    CheckBox_AttributeDirectory = new QCheckBox(QStringLiteral("&Directory"), attributes);
    CheckBox_AttributeExactMatch = new QCheckBox(
        QStringLiteral("Select files only if attribute &exactly matched "), attributes);
    CheckBox_AttributeReadonly->setChecked(true);
    CheckBox_AttributeArchive->setChecked(true);
    CheckBox_AttributeDirectory->setChecked(true);
    grid->addWidget(CheckBox_AttributeSystem, 0, 0);
    grid->addWidget(CheckBox_AttributeHidden, 0, 1);
    grid->addWidget(CheckBox_AttributeReadonly, 0, 2);
    grid->addWidget(CheckBox_AttributeArchive, 1, 0);
    grid->addWidget(CheckBox_AttributeDirectory, 1, 1);
    grid->addWidget(CheckBox_AttributeExactMatch, 2, 0, 1, 3);
    grid->setRowStretch(3, 1);
    layout->addWidget(attributes, 3);

    auto *size = new QGroupBox(QStringLiteral(" Size "), page);
    auto *sizeGrid = new QGridLayout(size);
    auto spin = [size] {
        auto *edit = new QSpinBox(size);
        edit->setRange(0, std::numeric_limits<int>::max());
        edit->setValue(0);
        return edit;
    };
    SpinEdit_SizeMin = spin();
    SpinEdit_SizeMax = spin();
    auto *least = new QLabel(QStringLiteral("At &Least:"), size);
    auto *most = new QLabel(QStringLiteral("At &Most:"), size);
    least->setBuddy(SpinEdit_SizeMin);
    most->setBuddy(SpinEdit_SizeMax);
    sizeGrid->addWidget(least, 0, 0);
    sizeGrid->addWidget(SpinEdit_SizeMin, 0, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("KB"), size), 0, 2);
    sizeGrid->addWidget(most, 1, 0);
    sizeGrid->addWidget(SpinEdit_SizeMax, 1, 1);
    sizeGrid->addWidget(new QLabel(QStringLiteral("KB"), size), 1, 2);
    sizeGrid->setRowStretch(2, 1);
    layout->addWidget(size, 2);
    return page;
}

void TWndSearchFiles::SetLocation(const QString &location) {
    Edit_Location->setText(location);
}

TSearchCriteria TWndSearchFiles::Criteria() const {
    TSearchCriteria criteria;
    criteria.Files.FileName = SubjectToNamePattern(Edit_Filename->text());
    criteria.Files.Location = Edit_Location->text();
    criteria.Files.IncludeSubfolders = CheckBox_IncludeSubfolders->isChecked();
    criteria.Content.Phrase = Edit_ContainingText->text();
    criteria.Content.IgnoreCase = CheckBox_CaseInsensitive->isChecked();

    TFileAttributes allowed;
    if (CheckBox_AttributeArchive->isChecked())
        allowed |= TFileAttribute::Archive;
    if (CheckBox_AttributeReadonly->isChecked())
        allowed |= TFileAttribute::ReadOnly;
    if (CheckBox_AttributeHidden->isChecked())
        allowed |= TFileAttribute::Hidden;
    if (CheckBox_AttributeSystem->isChecked())
        allowed |= TFileAttribute::System;
    if (CheckBox_AttributeDirectory->isChecked())
        allowed |= TFileAttribute::Directory;
    criteria.Attributes.Allowed = allowed;
    criteria.Attributes.ExactMatch = CheckBox_AttributeExactMatch->isChecked();

    criteria.Sizes.SizeMin = qint64(SpinEdit_SizeMin->value()) * 1024;
    criteria.Sizes.SizeMax = qint64(SpinEdit_SizeMax->value()) * 1024;

    const TDateTime before = dateBound(CheckBox_BeforeDate, DateTimePicker_BeforeDate,
                                       CheckBox_BeforeTime, DateTimePicker_BeforeTime);
    const TDateTime after = dateBound(CheckBox_AfterDate, DateTimePicker_AfterDate,
                                      CheckBox_AfterTime, DateTimePicker_AfterTime);
    if (RadioButton_Modified->isChecked()) {
        criteria.Dates.ModifiedBefore = before;
        criteria.Dates.ModifiedAfter = after;
    } else if (RadioButton_Accessed->isChecked()) {
        criteria.Dates.AccessedBefore = before;
        criteria.Dates.AccessedAfter = after;
    } else {
        criteria.Dates.CreatedBefore = before;
        criteria.Dates.CreatedAfter = after;
    }
    return criteria;
}

void TWndSearchFiles::Button_FindClick() {
    m_lastSearchCompleted = false;
    m_changedPaths.clear();
    Button_Find->setEnabled(false);
    m_animation->Start();
    const TSearchCriteria criteria = Criteria();
    m_locationLower = criteria.Files.Location.toLower();
    m_watchSubfolders = criteria.Files.IncludeSubfolders;
    Button_Stop->setEnabled(true);
    // A search still running is stopped and waited for first; its reports are dropped.
    m_search.Start(criteria);
}

void TWndSearchFiles::Button_StopClick() {
    m_search.Stop();
}

void TWndSearchFiles::Button_BrowseClick() {
    const QString location = Edit_Location->text();
    const QString start = location.contains(QLatin1Char(';')) ? QString() : location;
    const QPointer<TWndSearchFiles> self(this);
    const QString folder = Desktop().AskFolder(this, QStringLiteral("Browse for Folder"), start);
    if (self && !folder.isEmpty())
        Edit_Location->setText(folder);
}

void TWndSearchFiles::WaitForSearchEnd() {
    m_search.Stop();
    m_search.WaitForFinished();
}

QString TWndSearchFiles::StatusText() const {
    return m_status->text();
}

void TWndSearchFiles::searchBegin() {
    m_problemLog.clear();
    m_problemsShown = 0;
    m_model->Clear();
    m_searchedFolders.clear();
    m_tooManyFolders = false;
    const QStringList watched = m_watcher->directories();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
}

void TWndSearchFiles::folderChange(const QString &folder) {
    m_status->setText(DisplayPath(folder));
    if (m_searchedFolders.size() < kMaxWatchedFolders)
        m_searchedFolders.append(folder);
    else
        m_tooManyFolders = true;
}

void TWndSearchFiles::fileMatch(const QString &, const QByteArray &nativePath) {
    const QString path = DecodeNativePath(nativePath);
    if (m_model->Contains(path))
        return;
    TResultRow row;
    // A hit gone again before it could be read is left out.
    if (ReadResultRow(path, row))
        m_model->AddRow(row);
}

void TWndSearchFiles::searchFinish(bool aborted) {
    m_status->setText(SearchStatusText(m_search.FoldersSearched(), m_model->rowCount(),
                                       m_search.ElapsedSeconds(), aborted));
    if (!aborted) {
        m_lastSearchCompleted = true;
        watchSearchedFolders();
    }
    m_animation->Stop();
    Button_Stop->setEnabled(false);
    Button_Find->setEnabled(true);
    if (m_model->rowCount() > 0 && !m_results->hasFocus() && isVisible()) {
        m_results->setFocus(Qt::OtherFocusReason);
        m_results->selectionModel()->setCurrentIndex(
            m_model->index(0, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    showProblemLog();
}

void TWndSearchFiles::watchSearchedFolders() {
    if (!m_searchedFolders.isEmpty())
        m_watcher->addPaths(m_searchedFolders);
    m_searchedFolders.clear();
}

void TWndSearchFiles::folderChanged(const QString &folder) {
    // The folder with a "/" after it, so that a location written with one matches its own
    // folder too.
    if (!m_lastSearchCompleted || !(folder.toLower() + QLatin1Char('/')).contains(m_locationLower))
        return;
    if (!m_changedPaths.contains(folder))
        m_changedPaths.append(folder);
    // Several notifications in a row are handled by one re-check.
    if (!m_recheckPending) {
        m_recheckPending = true;
        QTimer::singleShot(0, this, &TWndSearchFiles::recheck);
    }
}

void TWndSearchFiles::recheck() {
    m_recheckPending = false;
    if (m_changedPaths.isEmpty() || !m_lastSearchCompleted)
        return;
    for (int row = m_model->rowCount() - 1; row >= 0; --row) {
        const TResultRow &hit = m_model->Row(row);
        if (!hit.IsFolder && !entryExists(hit.Path))
            m_model->RemovePath(hit.Path);
    }
    if (m_search.IsBusy())
        return;
    const QString folder = m_changedPaths.takeFirst();
    // A folder that was removed has nothing to find (its rows went above).
    if (entryExists(folder)) {
        m_search.SearchFolderNow(folder);
        // A subfolder that appeared (made or moved in) is watched from now on and searched
        // in its turn, as the search itself would have.
        if (m_watchSubfolders) {
            const QStringList watched = m_watcher->directories();
            qsizetype watching = watched.size();
            const QStringList names = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot |
                                                             QDir::Hidden | QDir::NoSymLinks);
            for (const QString &name : names) {
                const QString subfolder = folder + QLatin1Char('/') + name;
                if (watched.contains(subfolder) || m_changedPaths.contains(subfolder) ||
                    watching >= kMaxWatchedFolders)
                    continue;
                m_watcher->addPath(subfolder);
                ++watching;
                m_changedPaths.append(subfolder);
            }
        }
    }
    if (!m_changedPaths.isEmpty() && !m_recheckPending) {
        m_recheckPending = true;
        QTimer::singleShot(0, this, &TWndSearchFiles::recheck);
    }
    showProblemLog();
}

void TWndSearchFiles::showProblemLog() {
    // Lines shown once are not shown again after each re-check.
    if (m_problemLog.size() <= m_problemsShown || !isVisible())
        return;
    const QStringList lines = m_problemLog.mid(m_problemsShown);
    m_problemsShown = int(m_problemLog.size());
    TLogDisplayForm form(lines, this);
    Desktop().ExecDialog(&form);
}

void TWndSearchFiles::closeEvent(QCloseEvent *event) {
    // The window is hidden, not destroyed; a running search ends and its finish puts the
    // buttons back while the window is hidden.
    m_search.Stop();
    event->accept();
}

} // namespace tarvin
