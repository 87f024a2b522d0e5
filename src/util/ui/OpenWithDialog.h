#pragma once

#include "util/DesktopApps.h"

#include <QDialog>
#include <QHash>

#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tarvin {

// "Open With": lets the user choose a program for a file, those registered for the file's type
// first, then every other application of the desktop, or any program file through "Browse...",
// and starts the choice with the file. Optionally makes the choice the default for the type.
class TOpenWithDialog : public QDialog {
    Q_OBJECT
public:
    explicit TOpenWithDialog(const QString &filePath, QWidget *parent = nullptr);

    QString FilePath() const { return m_filePath; }
    QString MimeType() const { return m_mimeType; }
    QList<TDesktopApp> RecommendedApps() const { return m_recommended; }
    QList<TDesktopApp> OtherApps() const { return m_others; }

    std::optional<TDesktopApp> SelectedApp() const;
    // Selects the listed application with that desktop id or program path; false when absent.
    bool SelectApp(const TDesktopApp &app);
    bool AlwaysUse() const;
    void SetAlwaysUse(bool always);

    // Adds a program file to the list and selects it ("Browse..." after the file dialog).
    // False with the reason in `error` when it is not a program.
    bool AddProgram(const QString &programPath, QString &error);
    // Starts the selected program with the file ("OK"), after making it the default when
    // asked. False with the reason in `error` when nothing is selected or it cannot start.
    bool LaunchSelected(QString &error);

private slots:
    void browse();
    void accept() override;
    void updateActions();

private:
    QTreeWidgetItem *addGroup(const QString &caption);
    QTreeWidgetItem *addApp(QTreeWidgetItem *group, const TDesktopApp &app);

    QString m_filePath;
    QString m_mimeType;
    QList<TDesktopApp> m_recommended;
    QList<TDesktopApp> m_others;
    QHash<QTreeWidgetItem *, TDesktopApp> m_itemApps;

    QLabel *imgFileIcon = nullptr;
    QLabel *lblPrompt = nullptr;
    QLabel *lblFileName = nullptr;
    QTreeWidget *tvwPrograms = nullptr;
    QTreeWidgetItem *m_otherGroup = nullptr;
    QCheckBox *chkAlwaysUse = nullptr;
    QPushButton *btnBrowse = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;
};

// Shows the dialog for the file, modal over `parent` (default: the active window), through
// Desktop().ExecDialog; true when it could be shown. The desktop services (DesktopServicesImpl.h)
// offer it for files that no program is associated with.
bool ExecOpenWithDialog(const QString &filePath, QWidget *parent = nullptr);

} // namespace tarvin
