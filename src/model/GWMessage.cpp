#include "model/GWMessage.h"

#include "base/Error.h"
#include "util/NativePath.h"

#include <new>

namespace tarvin {

namespace {

struct TypeEntry {
    TGWMessageType type;
    QLatin1StringView prefix;
    const char *element;
};

constexpr TypeEntry kTypes[] = {
    {mtMail, QLatin1StringView("GW.MESSAGE.MAIL"), "email"},
    {mtAppointment, QLatin1StringView("GW.MESSAGE.APPOINTMENT"), "appointment"},
    {mtTask, QLatin1StringView("GW.MESSAGE.TASK"), "task"},
    {mtNote, QLatin1StringView("GW.MESSAGE.NOTE"), "note"},
    {mtPhone, QLatin1StringView("GW.MESSAGE.PHONE"), "phone"},
    {mtDocumentReference, QLatin1StringView("GW.MESSAGE.DOCUMENTREFERENCE"), "document-reference"},
};

std::unique_ptr<TMessageItem> createItem(TGWMessageType type) {
    switch (type) {
    case mtMail:
        return std::make_unique<TEmail>();
    case mtAppointment:
        return std::make_unique<TAppointment>();
    case mtTask:
        return std::make_unique<TTask>();
    case mtNote:
        return std::make_unique<TNote>();
    case mtPhone:
        return std::make_unique<TPhone>();
    case mtDocumentReference:
        return std::make_unique<TDocumentReference>();
    }
    return std::make_unique<TEmail>();
}

// Gives an always-present member its freshly constructed state (the model classes are not
// assignable: they are read once from a tree).
template <class T> void renew(T &object) {
    object.~T();
    new (&object) T();
}

} // namespace

TGWMessageType MessageTypeOfClass(const QString &messageClass, TGWMessageType fallback) {
    for (const TypeEntry &entry : kTypes) {
        if (messageClass.startsWith(entry.prefix, Qt::CaseSensitive))
            return entry.type;
    }
    return fallback;
}

const char *ItemElementName(TGWMessageType type) {
    for (const TypeEntry &entry : kTypes) {
        if (entry.type == type)
            return entry.element;
    }
    return "email";
}

// ---- parts ---------------------------------------------------------------------------------

void TID::ReadNode() {
    Account = GetElementValue("account");
    Mapi = GetElementValue("mapi");
    MessageClass = GetElementValue("class");
}

void TAddress::ReadNode() {
    EmailType = GetAttributeValue("email-type");
    DisplayName = NodeText(Node);
    EmailAddress = GetAttributeValue("email-address");
    AddressType = uint8_t(StrToIntDef(GetAttributeValue("address-type"), 0));
}

void TRecipient::ReadNode() {
    DisplayName = GetAttributeValue("display-name");
    Address = NodeText(Node);
    EmailType = GetAttributeValue("email-type");
    TargetType = uint8_t(StrToIntDef(GetAttributeValue("target-type"), 0));
}

void TFolder::ReadNode() {
    FolderID = GetAttributeValue("id");
    FolderName = NodeText(Node);
}

void TField::ReadNode() {
    // A field without any content is skipped whole, attributes included.
    if (!Node->children)
        return;
    FieldName = GetAttributeValue("name");
    FieldType = uint8_t(StrToIntDef(GetAttributeValue("type"), 1));
    if (FieldType == 4)
        m_kept = InflatePrefix(DecodeBase64(QByteArrayView(NodeTextBytes(Node))), kKeptBytes,
                               Budget, &m_whole);
}

QByteArray TField::ValueBytes() const {
    if (!Node || !Node->children)
        return QByteArray();
    if (FieldType != 4)
        return NodeTextBytes(Node);
    if (m_whole)
        return m_kept;
    return InflateBytes(DecodeBase64(QByteArrayView(NodeTextBytes(Node))), Budget);
}

QString TField::Value() const {
    if (FieldType != 4)
        return NodeText(Node);
    return DecodeText(ValueBytes());
}

void TCoreProperties::ReadNode() {
    Archived = StrToBool(GetElementValue("archived"));
    NotifyDel = StrToBool(GetElementValue("notify-del"));
    Routed = StrToBool(GetElementValue("routed"));
    RoutedEol = StrToBool(GetElementValue("routed-eol"));
    Read = StrToBool(GetElementValue("read"));
    Private = StrToBool(GetElementValue("private"));
    NotifyOpen = StrToBool(GetElementValue("notify-open"));
    Hidden = StrToBool(GetElementValue("hidden"));
    Opened = StrToBool(GetElementValue("opened"));
    Deleted = StrToBool(GetElementValue("deleted"));
    Convattach = StrToBool(GetElementValue("convattach"));
    RevNo = StrToInt(GetElementValue("rev-no"));
    ReplyDaysReq = StrToInt(GetElementValue("reply-days-req"));
    ReplyReq = uint8_t(StrToInt(GetElementValue("reply-req")));
    From = GetElementValue("from");
    Subject = GetElementValue("subject");
    View = GetElementValue("view");
    Sharer.SetNode(SelectSingleNode("sharer"));
    Sender.SetNode(SelectSingleNode("sender"));
    DateCreate = IsoDateTimeToDateTime(GetElementValue("date-create"));
    DateModified = IsoDateTimeToDateTime(GetElementValue("date-modified"));
    Boxtype = uint8_t(StrToInt(GetElementValue("boxtype")));
    Priority = uint8_t(StrToInt(GetElementValue("priority")));
    ForEachNode(Node, "enc-folders/folder", [this](XmlNode node) {
        auto folder = std::make_unique<TFolder>();
        folder->SetNode(node);
        EncFolders.push_back(std::move(folder));
    });
    ForEachNode(Node, "recipients/recipient", [this](XmlNode node) {
        auto recipient = std::make_unique<TRecipient>();
        recipient->SetNode(node);
        Recipients.push_back(std::move(recipient));
    });
}

void TLogItem::ReadNode() {
    Text = NodeText(Node);
    ItemType = StrToIntDef(GetAttributeValue("type"), 0);
}

void TSaveLog::ReadNode() {
    DateSaved = IsoDateTimeToDateTime(GetAttributeValue("date-saved"));
    Status = StrToIntDef(GetAttributeValue("status"), -1);
    ForEachNode(Node, "item", [this](XmlNode node) {
        auto item = std::make_unique<TLogItem>();
        item->SetNode(node);
        Items.push_back(std::move(item));
    });
}

// ---- message -------------------------------------------------------------------------------

TGWMessage::TGWMessage() : m_budget(std::make_shared<TInflateBudget>()) {}

TGWMessage::~TGWMessage() {
    // The model objects point into the tree; drop them before the tree goes.
    Item.reset();
    Attachments.clear();
    Fields.clear();
}

void TGWMessage::adoptDocument(std::unique_ptr<TXmlDocument> document) {
    // A new tree: the objects read from an earlier one start afresh, so that nothing refers to
    // the tree that is about to be freed. MessageType keeps its value until the new class
    // decides it.
    Item.reset();
    Attachments.clear();
    Fields.clear();
    HtmlBodyAttachment = nullptr;
    Mime822Attachment = nullptr;
    HasHtmlBody = HasEmbeddedMessage = HasMime822 = false;
    renew(ID);
    renew(CoreProperties);
    renew(Body);
    renew(SaveLog);
    Node = nullptr;
    m_document = std::move(document);
}

namespace {

// A load that runs out of memory (a value beyond what the system can give) is an error of
// this message, not of the program: it is reported like any other load error.
template <class Load> void loadGuarded(const QString &location, Load load) {
    try {
        load();
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("Cannot load file:\r\n\r\n%1\r\n\r\nNot enough memory to "
                                   "read the message.")
                        .arg(location));
    }
}

} // namespace

void TGWMessage::LoadFromFile(const QString &path) {
    loadGuarded(DisplayPath(path), [&] {
        auto document = std::make_unique<TXmlDocument>();
        document->LoadFromFile(path);
        adoptDocument(std::move(document));
        SetNode(m_document->Root());
    });
}

void TGWMessage::LoadFromXml(const QString &xml) {
    loadGuarded(QString(), [&] {
        auto document = std::make_unique<TXmlDocument>();
        document->LoadFromString(xml);
        adoptDocument(std::move(document));
        SetNode(m_document->Root());
    });
}

void TGWMessage::LoadFromXml(const QByteArray &xml) {
    loadGuarded(QString(), [&] {
        auto document = std::make_unique<TXmlDocument>();
        document->LoadFromBytes(xml);
        adoptDocument(std::move(document));
        SetNode(m_document->Root());
    });
}

void TGWMessage::SaveToFile(const QString &path) const {
    if (!m_document || !m_document->IsLoaded())
        throw Error(QStringLiteral("%1.SaveToFile: Node has not been assigned")
                        .arg(QLatin1String(ClassName())));
    m_document->SaveToFile(path);
}

QString TGWMessage::BodyProperties() const {
    XmlNode properties = tarvin::SelectSingleNode(Node, "props/body/Properties");
    if (!properties)
        return QStringLiteral("none");
    return NodeText(properties);
}

TAttachment *TGWMessage::AttachmentByFileName(const QString &fileName) const {
    for (const auto &attachment : Attachments) {
        if (attachment->FileName == fileName)
            return attachment.get();
    }
    return nullptr;
}

void TGWMessage::ReadNode() {
    ID.SetNode(SelectSingleNode("id"));
    MessageType = MessageTypeOfClass(ID.MessageClass, MessageType);
    CoreProperties.SetNode(SelectSingleNode("props/core"));
    Fields.clear();
    ForEachNode(Node, "props/fields/field", [this](XmlNode node) {
        auto field = std::make_unique<TField>();
        field->Budget = m_budget.get();
        field->SetNode(node);
        Fields.push_back(std::move(field));
    });
    Body.SetNode(SelectSingleNode("props/body"));
    readAttachments();
    SaveLog.SetNode(SelectSingleNode("save-log"));
    Item = createItem(MessageType);
    const QByteArray path = QByteArray("props/") + ItemElementName(MessageType);
    Item->SetNode(SelectSingleNode(path.constData()));
}

void TGWMessage::readAttachments() {
    HasEmbeddedMessage = HasHtmlBody = HasMime822 = false;
    HtmlBodyAttachment = Mime822Attachment = nullptr;
    Attachments.clear();
    ForEachNode(Node, "props/attachments/attach", [this](XmlNode node) {
        auto attachment = std::make_unique<TAttachment>();
        attachment->Budget = m_budget.get();
        attachment->SetNode(node);
        if (attachment->ObjectType == TObjectType::EmbeddedMessage) {
            HasEmbeddedMessage = true;
        } else if (attachment->IsHtmlBody) {
            HasHtmlBody = true;
            HtmlBodyAttachment = attachment.get();
        } else if (attachment->IsMime822) {
            HasMime822 = true;
            Mime822Attachment = attachment.get();
        }
        Attachments.push_back(std::move(attachment));
    });
}

} // namespace tarvin
