#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace tarvin {

class TAttachment;
class TGWMessage;

// What the attachment list knows about one attachment of the shown message.
struct TAttachmentInfo {
    const TAttachment *Attachment = nullptr; // the message's record, not owned
    QString MessageId;                       // embedded message with data: its identifier
    int MessageType = 6;                     // embedded message: its type; 6 without data
};

// One item of the attachment list.
struct TAttachmentEntry {
    size_t InfoIndex = 0; // into the attachment infos
    int ImageIndex = 0;   // 0-6, or kExtensionImage for the icon of `Extension`
    QString Caption;
    QString Extension; // of the save name, dot included
    bool HasData = false;
};

// One info per attachment of the message, in stored order. Embedded messages are loaded
// for their identifier and type; one that cannot be read counts as having no data.
std::vector<TAttachmentInfo> BuildAttachmentInfos(const TGWMessage &message);

// The list items for the infos: system attachments only when asked for, other object
// types never.
std::vector<TAttachmentEntry> BuildAttachmentEntries(const std::vector<TAttachmentInfo> &infos,
                                                     bool showSystemAttachments);

// The caption and save name of an attachment.
QString CaptionOf(const TAttachmentInfo &info);
QString SaveNameOf(const TAttachment &attachment);

// How much showing a body writes into the work folder by itself, so that a small hostile
// message can neither keep the window waiting nor fill the disk. Attachments the user opens
// or saves are not bound by it (they keep the stream limits).
struct TBodyExtractLimits {
    qint64 BodyBytes = qint64(64) << 20;  // the body file; a larger body is not shown
    qint64 PartBytes = qint64(128) << 20; // the parts together; the rest stay unresolved
    int Parts = 256; // parts written (more pictures than real messages carry); the rest
                     // stay unresolved
};
TBodyExtractLimits BodyExtractLimits();
void SetBodyExtractLimits(const TBodyExtractLimits &limits); // tests

// Writes the HTML body into `workFolder` as "text.htm" together with the parts its content
// ids name, each once under the content id made safe as a file name, within the limits
// above and the message's inflation budget. A part that cannot be written is left out (its
// picture is missing); a body larger than the limit raises Error "the HTML body is larger
// than 64 MiB" and leaves no file. Returns the path of "text.htm", or "" when the message
// has no HTML body. `workFolder` ends in "/".
QString ExtractHtmlBody(const TGWMessage &message, const QString &workFolder);

// Writes a file attachment into the work folder under its safe save name, for opening.
QString WriteAttachmentForOpening(const TAttachment &attachment, const QString &workFolder);

// The name suggested for saving an embedded message ("caption[code].pml").
QString EmbeddedMessageFileName(const TAttachmentInfo &info);
// Writes an embedded message as a message file of its own, dated with its message date.
void SaveEmbeddedMessage(const TAttachment &attachment, const QString &path);

// The values of the properties and save-log tabs.
QString MessagePropertiesText(const TGWMessage &message, const QString &fileName);
QString MessageSaveLogText(const TGWMessage &message);

} // namespace tarvin
