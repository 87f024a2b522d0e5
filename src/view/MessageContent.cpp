#include "view/MessageContent.h"

#include "base/Error.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "model/MsgPropertyEncoder.h"
#include "util/SafeFileName.h"
#include "view/AttachmentRules.h"
#include "view/ViewTexts.h"

#include <QFile>

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
        entry.HasData = attachment.HasData() &&
                        !(attachment.ObjectType == TObjectType::EmbeddedMessage && infos[i].MessageType == kNoDataImage);
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

QString ExtractHtmlBody(const TGWMessage &message, const QString &workFolder) {
    const TAttachment *html = message.HtmlBodyAttachment;
    if (!message.HasHtmlBody || !html)
        return QString();
    const QString path = workFolder + QStringLiteral("text.htm");
    html->SaveDataToFile(path);
    if (!QFile::exists(path)) {
        // A body without data is shown as an empty page rather than a load error.
        QFile empty(path);
        if (!empty.open(QIODevice::WriteOnly))
            throw Error(
                QStringLiteral("Cannot create file \"%1\". %2").arg(path, empty.errorString()));
    }
    QStringList contentIds;
    html->ContentIds(contentIds);
    for (const QString &contentId : contentIds) {
        const QString name = SafePathComponent(contentId);
        if (name.compare(QStringLiteral("text.htm"), Qt::CaseInsensitive) == 0)
            continue; // never let a part replace the body itself
        for (const auto &attachment : message.Attachments) {
            if (attachment->FileName != contentId)
                continue;
            const QString partPath = workFolder + name;
            try {
                attachment->SaveDataToFile(partPath);
            } catch (const Error &) {
                // A damaged picture must not keep the body from being shown.
                QFile::remove(partPath);
            }
            break;
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
