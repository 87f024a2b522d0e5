#include "view/AttachmentRules.h"

#include "util/SafeFileName.h"
#include "view/ViewTexts.h"

namespace tarvin {

int AttachmentImageIndex(TObjectType objectType, bool isSystem, bool hasData, int messageType,
                         bool showSystemAttachments) {
    if (objectType == TObjectType::EmbeddedMessage)
        return (messageType >= 0 && messageType <= kNoDataImage) ? messageType : kNoDataImage;
    if (objectType != TObjectType::File)
        return kNotListed;
    if (isSystem && !showSystemAttachments)
        return kNotListed;
    if (!hasData)
        return kNoDataImage;
    return kExtensionImage;
}

QString AttachmentCaption(const QString &displayName, TObjectType objectType, int messageType) {
    if (!displayName.isEmpty())
        return displayName;
    if (objectType == TObjectType::EmbeddedMessage) {
        QString name = NotPostedTypeName(messageType);
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("File");
}

QString NameExtension(const QString &name) {
    qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    qsizetype separator =
        std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (separator > dot)
        return QString();
    return name.mid(dot);
}

QString AttachmentSaveName(const QString &displayName, const QString &fileName) {
    QString name = (NameExtension(displayName).size() > 1 || NameExtension(fileName).isEmpty())
                       ? displayName
                       : fileName;
    return name.isEmpty() ? QStringLiteral("File") : name;
}

QString EmbeddedMessageSaveName(const QString &caption, const QString &identifier) {
    // A long caption gives way; the code and the extension always stay.
    return SafeNameWithSuffix(caption.trimmed(),
                              QLatin1Char('[') + identifier + QStringLiteral("].pml"));
}

bool OpensInTextEditor(bool isHtmlBody, bool isMime822) {
    return isHtmlBody || isMime822;
}

} // namespace tarvin
