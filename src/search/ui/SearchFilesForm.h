#pragma once

#include "search/FileSearch.h"
#include "search/SearchCriteria.h"

#include <QStringList>
#include <QWidget>

class QAction;
class QButtonGroup;
class QCheckBox;
class QDateEdit;
class QFileSystemWatcher;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimeEdit;

namespace tarvin {

class TSearchAnimation;
class TSearchResultModel;
class TSearchResultView;

// "Message Search": finds message files under one or more folders by subject text in the
// name, file times, attributes, size and a phrase in the content, and lists the hits as they
// are found. One window serves the process; closing it hides it (criteria and hits stay) and
// stops a running search.
//
// After a search that ran to its end, changes in the folders it searched keep the list
// current: rows of files that are gone are removed and the changed folder is searched again
// for new hits.
class TWndSearchFiles : public QWidget {
    Q_OBJECT
public:
    explicit TWndSearchFiles(QWidget *parent = nullptr);
    ~TWndSearchFiles() override;

    // The folder(s) to search ("Location"); several are separated by ";".
    void SetLocation(const QString &location);

    void Button_FindClick();
    void Button_StopClick();
    void Button_BrowseClick();

    bool IsSearching() const { return m_search.IsBusy(); }
    bool LastSearchCompleted() const { return m_lastSearchCompleted; }
    // Stops a running search and waits for its worker (program end).
    void WaitForSearchEnd();
    // The criteria the controls describe.
    TSearchCriteria Criteria() const;

    QString StatusText() const;
    const QStringList &ProblemLog() const { return m_problemLog; }
    TSearchResultModel *ResultModel() const { return m_model; }
    TSearchResultView *SearchResult() const { return m_results; }
    TSearchAnimation *Animation() const { return m_animation; }
    QFileSystemWatcher *Watcher() const { return m_watcher; }

    // The controls.
    QTabWidget *PageControl;
    QLineEdit *Edit_Filename, *Edit_Location, *Edit_ContainingText;
    QCheckBox *CheckBox_IncludeSubfolders, *CheckBox_CaseInsensitive;
    QPushButton *Button_Browse, *Button_Find, *Button_Stop;
    QGroupBox *RadioGroup_DateSelection;
    QRadioButton *RadioButton_Created, *RadioButton_Modified, *RadioButton_Accessed;
    QCheckBox *CheckBox_BeforeDate, *CheckBox_BeforeTime, *CheckBox_AfterDate, *CheckBox_AfterTime;
    QDateEdit *DateTimePicker_BeforeDate, *DateTimePicker_AfterDate;
    QTimeEdit *DateTimePicker_BeforeTime, *DateTimePicker_AfterTime;
    QCheckBox *CheckBox_AttributeSystem, *CheckBox_AttributeHidden, *CheckBox_AttributeReadonly,
        *CheckBox_AttributeArchive, *CheckBox_AttributeDirectory, *CheckBox_AttributeExactMatch;
    QSpinBox *SpinEdit_SizeMin, *SpinEdit_SizeMax;
    QAction *actSwallowRefresh;

signals:
    // A message file of the list is to be shown in a viewer window.
    void OpenMessageRequested(const QString &path);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QWidget *createNamePage();
    QWidget *createDatePage();
    QWidget *createAdvancedPage();

    void searchBegin();
    void folderChange(const QString &folder);
    void fileMatch(const QString &path, const QByteArray &nativePath);
    void searchFinish(bool aborted);
    void folderChanged(const QString &folder);
    void recheck();
    void showProblemLog();
    void watchSearchedFolders();

    QStringList m_changedPaths; // folders to search again, first first
    bool m_lastSearchCompleted = false;
    bool m_recheckPending = false;
    QStringList m_problemLog;
    int m_problemsShown = 0; // lines of the log already shown
    TFileSearch m_search;
    QString m_locationLower;
    bool m_watchSubfolders = true; // the search went into subfolders
    QStringList m_searchedFolders;
    bool m_tooManyFolders = false;

    TSearchResultModel *m_model;
    TSearchResultView *m_results;
    TSearchAnimation *m_animation;
    QStatusBar *m_statusBar;
    QLabel *m_status;
    QFileSystemWatcher *m_watcher;
};

} // namespace tarvin
