#pragma once

#include "view/MessageContent.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tarvin {

// One attachment that holds data, as "Save All Attachments" and the PDF export take it: the
// name the viewer saves it under (already safe as one path component) and the record.
struct TAttachmentFile {
    QString Name;
    const TAttachment *Attachment = nullptr; // the message's record, not owned
    bool EmbeddedMessage = false;
};

// The attachments of the list (system attachments only when shown) that hold data, in list
// order: files under their safe save name, embedded messages as "caption[code].pml".
std::vector<TAttachmentFile> AttachmentFiles(const std::vector<TAttachmentInfo> &infos,
                                             bool showSystemAttachments);

// Writes the attachment to `path` exactly as the viewer's "Save As..." does: a file's data,
// an embedded message as a message file of its own dated with its message date.
void WriteAttachmentFile(const TAttachmentFile &file, const QString &path);

// "name (n).ext" (the extension as NameExtension gives it).
QString NumberedName(const QString &name, int number);
// `name`, else the first NumberedName from 2 on, that `taken` refuses.
QString UniqueName(const QString &name, const std::function<bool(const QString &)> &taken);

// True when anything at all (a file, a folder, a link, even a dangling one) has this path.
bool PathEntryExists(const QString &path);

// What to do with a name that exists in the target folder.
enum class TCollisionChoice { Replace, KeepBoth, Skip, Cancel };
struct TCollisionAnswer {
    TCollisionChoice Choice = TCollisionChoice::Skip;
    bool ApplyToAll = false; // for every later name of this run
};
// Asked with the path that exists.
using TCollisionQuestion = std::function<TCollisionAnswer(const QString &path)>;

// Saves every attachment with data of one or more messages into one folder. A name written
// earlier in the same run is numbered without asking; a name that existed before is never
// replaced silently: the question decides (once for all when it says so). Replacing removes
// the entry itself (never a link's target) and refuses a folder. The folder is not created.
class TSaveAllAttachments {
public:
    TSaveAllAttachments(const QString &folder, TCollisionQuestion ask);

    // Saves the attachments of a message; failures are collected, not raised.
    void Save(const TGWMessage &message, bool showSystemAttachments);
    void Save(const std::vector<TAttachmentInfo> &infos, bool showSystemAttachments);

    QStringList Saved() const { return m_saved; }       // paths written
    QStringList Skipped() const { return m_skipped; }   // paths left as they were
    QStringList Failures() const { return m_failures; } // "<name>: <reason>"
    bool Cancelled() const { return m_cancelled; }

private:
    void saveOne(const TAttachmentFile &file);

    QString m_folder; // with a trailing "/"
    TCollisionQuestion m_ask;
    bool m_haveAnswerForAll = false;
    TCollisionAnswer m_answerForAll;
    bool m_cancelled = false;
    QStringList m_written; // names this run wrote
    QStringList m_saved, m_skipped, m_failures;
};

} // namespace tarvin
