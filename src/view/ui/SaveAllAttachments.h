#pragma once

#include "view/AttachmentExport.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QLabel;

namespace tarvin {

class TTarvinFrame;

// Asks what to do with a name that exists: "Replace", "Keep both" (a numbered name), "Skip"
// or "Cancel", with "Apply to all" for the rest of the run. The result code of the dialog is
// the choice (ResultFor); closing it cancels.
class TFileExistsDialog : public QDialog {
    Q_OBJECT
public:
    TFileExistsDialog(const QString &path, QWidget *owner);

    static int ResultFor(TCollisionChoice choice) { return int(choice) + 1; }
    // The answer for a result code of the dialog.
    TCollisionAnswer Answer(int result) const;
    QCheckBox *ApplyToAllBox() const { return m_applyToAll; }

private:
    QLabel *m_text = nullptr;
    QCheckBox *m_applyToAll = nullptr;
};

// The question for TSaveAllAttachments: the dialog above, run through Desktop().
TCollisionAnswer AskFileExists(QWidget *owner, const QString &path);

// "Save All Attachments..." for the message of a frame: asks for a folder, saves every
// attachment with data that the list shows, and reports failures at the end.
void SaveAllAttachments(TTarvinFrame *frame);

// The same for message files (the message list's selected rows), into one folder.
void SaveAllAttachmentsOfFiles(QWidget *owner, const QStringList &files,
                               bool showSystemAttachments);

} // namespace tarvin
