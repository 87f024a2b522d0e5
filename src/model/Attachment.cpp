#include "model/Attachment.h"

#include "base/Error.h"
#include "util/NumberFormat.h"
#include "util/SafeFileName.h"

#include <QDir>
#include <QFile>

namespace tarvin {

namespace {

// "Part." followed by an extension made only of digits, "+", "-" and the decimal separator.
bool isPartName(const QString &name) {
    if (!name.startsWith(QLatin1String("Part."), Qt::CaseInsensitive))
        return false;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QStringView extension = QStringView(name).mid(dot); // "." included
    if (extension.isEmpty())
        return false;
    const QChar separator = DecimalSeparator();
    for (QChar c : extension) {
        if (!((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') ||
              c == QLatin1Char('-') || c == separator))
            return false;
    }
    return true;
}

XmlNode firstCData(XmlNode node) {
    for (XmlNode child = node->children; child; child = child->next) {
        if (child->type == XML_CDATA_SECTION_NODE)
            return child;
    }
    return nullptr;
}

} // namespace

void TAttachment::ReadNode() {
    DisplayName = GetAttributeValue("display-name");
    FileName = GetAttributeValue("file-name");
    bool hasObjType = false;
    const QString objType = AttributeValue(Node, "obj-type", &hasObjType);
    ObjectType = hasObjType ? TObjectType(uint8_t(StrToInt(objType))) : TObjectType::File;
    if (ObjectType == TObjectType::File) {
        IsHtmlBody = DisplayName.compare(QLatin1String("TEXT.htm"), Qt::CaseInsensitive) == 0;
        IsImage = DisplayName.startsWith(QLatin1String("IMAGE."), Qt::CaseInsensitive);
        IsMime822 = DisplayName.compare(QLatin1String("Mime.822"), Qt::CaseInsensitive) == 0;
        IsHeader = DisplayName.compare(QLatin1String("Header"), Qt::CaseInsensitive) == 0 ||
                   DisplayName.compare(QLatin1String("Header.txt"), Qt::CaseInsensitive) == 0;
        IsPart = isPartName(DisplayName);
    } else {
        IsHtmlBody = IsImage = IsMime822 = IsHeader = IsPart = false;
    }
    bool hasSystem = false;
    const QString system = AttributeValue(Node, "system", &hasSystem);
    IsSystem = hasSystem ? StrToBool(system) : (IsHtmlBody || IsMime822 || IsImage || IsHeader);
    DataNode = ChildElement(Node, "msg");
    if (!DataNode)
        DataNode = firstCData(Node);
}

QByteArray TAttachment::RawBytes() const {
    if (!DataNode)
        return QByteArray();
    if (ObjectType == TObjectType::EmbeddedMessage)
        return QByteArray("<?xml version=\"1.0\"?>\n") + SerializeNode(DataNode);
    return NodeTextBytes(DataNode);
}

QString TAttachment::RawData() const {
    return QString::fromUtf8(RawBytes());
}

// The base64 text of a file attachment, decoded. A CDATA section is read in place: no copy of
// a large payload before decoding.
QByteArray TAttachment::compressedData() const {
    if (!DataNode)
        return QByteArray();
    if (DataNode->type == XML_CDATA_SECTION_NODE) {
        const char *text = reinterpret_cast<const char *>(DataNode->content);
        if (!text)
            return QByteArray();
        return DecodeBase64(QByteArrayView(text, qsizetype(std::strlen(text))));
    }
    return DecodeBase64(QByteArrayView(NodeTextBytes(DataNode)));
}

bool TAttachment::hasRawData() const {
    if (!DataNode)
        return false;
    if (DataNode->type == XML_CDATA_SECTION_NODE)
        return DataNode->content && *DataNode->content;
    return !NodeTextBytes(DataNode).isEmpty();
}

QByteArray TAttachment::DataBytes() const {
    if (!DataNode)
        return QByteArray();
    if (ObjectType != TObjectType::File)
        return RawBytes();
    return InflateBytes(compressedData(), Budget);
}

QString TAttachment::DataText() const {
    if (!DataNode)
        return QString();
    if (ObjectType != TObjectType::File)
        return RawData();
    return DecodeText(DataBytes());
}

void TAttachment::SaveDataToFile(const QString &path, TInflateBudget *budget) const {
    if (ObjectType != TObjectType::File || !hasRawData())
        return;
    InflateToFile(compressedData(), path, budget);
}

void TAttachment::ContentIds(QStringList &ids) const {
    ids.clear();
    XmlNode container = ChildElement(Node, "content-ids");
    if (!container)
        return;
    for (XmlNode child = container->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && child->ns == nullptr &&
            xmlStrEqual(child->name, BAD_CAST "content-id"))
            ids.append(NodeText(child));
    }
}

QStringList TAttachment::ContentIds() const {
    QStringList ids;
    ContentIds(ids);
    return ids;
}

QString TAttachment::SafeName() const {
    return SafePathComponent(FileName.isEmpty() ? DisplayName : FileName);
}

QString TAttachment::SaveDataToFolder(const QString &folder, const QString &name) const {
    const QString component = name.isEmpty() ? SafeName() : SafePathComponent(name);
    const QString path = QDir(folder).filePath(component);
    SaveDataToFile(path);
    return path;
}

QString SafeMessageFileComponent(const QString &name) {
    return SafePathComponent(name);
}

void TMessageBody::ReadNode() {
    PlainText = UnescapeCData(GetElementValue("plain"));
}

} // namespace tarvin
