#include "view/MessageContent.h"

#include "base/Error.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "model/MsgPropertyEncoder.h"
#include "util/SafeFileName.h"
#include "view/AttachmentRules.h"
#include "view/ViewTexts.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <mutex>
#include <new>

namespace tarvin {

std::vector<TAttachmentInfo> BuildAttachmentInfos(const TGWMessage &message) {
    std::vector<TAttachmentInfo> infos;
    infos.reserve(message.Attachments.size());
    for (const auto &attachment : message.Attachments) {
        TAttachmentInfo info;
        info.Attachment = attachment.get();
        if (attachment->ObjectType == TObjectType::EmbeddedMessage && attachment->HasData()) {
            try {
                TGWMessage embedded;
                // What an embedded message inflates counts against the message shown.
                embedded.ShareInflateBudget(message);
                embedded.LoadFromXml(attachment->DataText());
                info.MessageId = embedded.ID.Mapi;
                info.MessageType = int(embedded.MessageType);
            } catch (const Error &) {
                // Listed like an attachment without data; opening it reports the fault.
                info.MessageType = kNoDataImage;
            }
        }
        infos.push_back(info);
    }
    return infos;
}

std::vector<TAttachmentEntry> BuildAttachmentEntries(const std::vector<TAttachmentInfo> &infos,
                                                     bool showSystemAttachments) {
    std::vector<TAttachmentEntry> entries;
    for (size_t i = 0; i < infos.size(); ++i) {
        const TAttachment &attachment = *infos[i].Attachment;
        int image =
            AttachmentImageIndex(attachment.ObjectType, attachment.IsSystem, attachment.HasData(),
                                 infos[i].MessageType, showSystemAttachments);
        if (image == kNotListed)
            continue;
        TAttachmentEntry entry;
        entry.InfoIndex = i;
        entry.ImageIndex = image;
        entry.Caption = CaptionOf(infos[i]);
        // An embedded message that cannot be read is shown like an attachment without data.
        entry.HasData =
            attachment.HasData() && !(attachment.ObjectType == TObjectType::EmbeddedMessage &&
                                      infos[i].MessageType == kNoDataImage);
        if (image == kExtensionImage)
            entry.Extension = NameExtension(SaveNameOf(attachment));
        entries.push_back(entry);
    }
    return entries;
}

QString CaptionOf(const TAttachmentInfo &info) {
    return AttachmentCaption(info.Attachment->DisplayName, info.Attachment->ObjectType,
                             info.MessageType);
}

QString SaveNameOf(const TAttachment &attachment) {
    return AttachmentSaveName(attachment.DisplayName, attachment.FileName);
}

namespace {

std::mutex g_bodyLimitsMutex;
TBodyExtractLimits g_bodyLimits;

QString sizeText(qint64 bytes) {
    if (bytes >= (qint64(1) << 20) && bytes % (qint64(1) << 20) == 0)
        return QStringLiteral("%1 MiB").arg(bytes >> 20);
    return QStringLiteral("%1 bytes").arg(bytes);
}

} // namespace

TBodyExtractLimits BodyExtractLimits() {
    std::lock_guard<std::mutex> lock(g_bodyLimitsMutex);
    return g_bodyLimits;
}

void SetBodyExtractLimits(const TBodyExtractLimits &limits) {
    std::lock_guard<std::mutex> lock(g_bodyLimitsMutex);
    g_bodyLimits = limits;
}

QString ExtractHtmlBody(const TGWMessage &message, const QString &workFolder) {
    const TAttachment *html = message.HtmlBodyAttachment;
    if (!message.HasHtmlBody || !html)
        return QString();
    const TBodyExtractLimits limits = BodyExtractLimits();
    // What the body and its parts inflate also counts against the message's own budget.
    TInflateBudget *messageBudget = message.InflateBudget();
    const QString path = workFolder + QStringLiteral("text.htm");
    TInflateBudget bodyBudget(limits.BodyBytes, messageBudget);
    try {
        html->SaveDataToFile(path, &bodyBudget);
    } catch (const DecompressionError &) {
        // The partial file is gone already; say what was too large rather than "insufficient
        // memory" (which stays the reason when the message's own budget ran out).
        if (bodyBudget.Exceeded())
            throw Error(
                QStringLiteral("the HTML body is larger than %1").arg(sizeText(limits.BodyBytes)));
        throw;
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("insufficient memory"));
    }
    if (!QFile::exists(path)) {
        // A body without data is shown as an empty page rather than a load error.
        QFile empty(path);
        if (!empty.open(QIODevice::WriteOnly))
            throw Error(
                QStringLiteral("Cannot create file \"%1\". %2").arg(path, empty.errorString()));
    }
    QStringList contentIds;
    html->ContentIds(contentIds);
    if (contentIds.isEmpty())
        return path;
    // The first attachment of each file name, looked up by hash; each part is written once,
    // however often its content id is repeated.
    QHash<QString, const TAttachment *> byFileName;
    byFileName.reserve(qsizetype(message.Attachments.size()));
    for (const auto &attachment : message.Attachments) {
        if (!byFileName.contains(attachment->FileName))
            byFileName.insert(attachment->FileName, attachment.get());
    }
    TInflateBudget partBudget(limits.PartBytes, messageBudget);
    QSet<QString> written;
    for (const QString &contentId : std::as_const(contentIds)) {
        // Past either limit the remaining pictures are missing; the body is still shown.
        if (partBudget.Remaining() <= 0 || written.size() >= limits.Parts)
            break;
        const auto found = byFileName.constFind(contentId);
        if (found == byFileName.cend())
            continue;
        const QString name = SafePathComponent(contentId);
        if (name.compare(QStringLiteral("text.htm"), Qt::CaseInsensitive) == 0)
            continue; // never let a part replace the body itself
        if (written.contains(name))
            continue;
        written.insert(name);
        const QString partPath = workFolder + name;
        try {
            found.value()->SaveDataToFile(partPath, &partBudget);
        } catch (const Error &) {
            // A damaged picture must not keep the body from being shown.
            QFile::remove(partPath);
        } catch (const std::bad_alloc &) {
            QFile::remove(partPath);
        }
    }
    return path;
}

QString WriteAttachmentForOpening(const TAttachment &attachment, const QString &workFolder) {
    const QString path = workFolder + SafePathComponent(SaveNameOf(attachment));
    attachment.SaveDataToFile(path);
    return path;
}

QString EmbeddedMessageFileName(const TAttachmentInfo &info) {
    TGWMessage embedded;
    embedded.LoadFromXml(info.Attachment->DataText());
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(&embedded);
    return EmbeddedMessageSaveName(CaptionOf(info), encoder.GetIdentifier());
}

void SaveEmbeddedMessage(const TAttachment &attachment, const QString &path) {
    TGWMessage embedded;
    embedded.LoadFromXml(attachment.DataText());
    embedded.SaveToFile(path);
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(&embedded);
    encoder.SetFileDate(path);
}

QString MessagePropertiesText(const TGWMessage &message, const QString &fileName) {
    return PropertiesText(message.BodyProperties(), fileName);
}

QString MessageSaveLogText(const TGWMessage &message) {
    QStringList items;
    for (const auto &item : message.SaveLog.Items)
        items.append(item->Text);
    return SaveLogText(message.SaveLog.DateSaved, message.SaveLog.Status, items,
                       message.HasEmbeddedMessage);
}

} // namespace tarvin
