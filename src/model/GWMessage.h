#pragma once

#include "model/AbstractMessageItem.h"
#include "model/Attachment.h"
#include "model/MessageItems.h"

#include <memory>
#include <vector>

namespace tarvin {

// The item kind of a message, decided by the prefix of its message class. A scoped type: the
// numbers are only those of the item kinds' order, never mixed with other integers.
enum class TGWMessageType : uint8_t {
    mtMail,              // "GW.MESSAGE.MAIL"             -> "props/email"
    mtAppointment,       // "GW.MESSAGE.APPOINTMENT"      -> "props/appointment"
    mtTask,              // "GW.MESSAGE.TASK"             -> "props/task"
    mtNote,              // "GW.MESSAGE.NOTE"             -> "props/note"
    mtPhone,             // "GW.MESSAGE.PHONE"            -> "props/phone"
    mtDocumentReference, // "GW.MESSAGE.DOCUMENTREFERENCE" -> "props/document-reference"
};
using enum TGWMessageType;

// "id": the message's identity. All three children are required when "id" exists.
class TID : public TAbstractMessageItem {
public:
    QString Account;      // "account"
    QString Mapi;         // "mapi"
    QString MessageClass; // "class"

    void ReadNode() override;
    const char *ClassName() const override { return "TID"; }
};

// "sender" / "sharer": a display name (element text) with address attributes.
class TAddress : public TAbstractMessageItem {
public:
    QString EmailType;       // attribute "email-type"
    QString DisplayName;     // element text
    QString EmailAddress;    // attribute "email-address"
    uint8_t AddressType = 0; // attribute "address-type", 0 when absent or not a number

    void ReadNode() override;
    const char *ClassName() const override { return "TAddress"; }
};

// The recipient kinds of TRecipient::TargetType.
enum TRecipientTarget : uint8_t { rtTo = 0, rtCC = 1, rtBC = 2 };

// "recipients/recipient".
class TRecipient : public TAbstractMessageItem {
public:
    QString DisplayName;    // attribute "display-name"
    QString Address;        // element text
    QString EmailType;      // attribute "email-type"
    uint8_t TargetType = 0; // attribute "target-type": 0 To, 1 CC, 2 BC

    void ReadNode() override;
    const char *ClassName() const override { return "TRecipient"; }
};

// "enc-folders/folder": an enclosing folder.
class TFolder : public TAbstractMessageItem {
public:
    QString FolderID;   // attribute "id"
    QString FolderName; // element text

    void ReadNode() override;
    const char *ClassName() const override { return "TFolder"; }
};

// "props/fields/field": a custom field. Type 4 values are stored compressed (base64 of zlib).
// A load inflates only the start of such a value (a stream that is no zlib stream fails the
// load) and keeps it when it is the whole value; a larger value stays compressed in the tree
// and is inflated, from the message's budget, only when it is asked for. No value is held as
// text.
class TField : public TAbstractMessageItem {
public:
    QString FieldName;     // attribute "name"
    uint8_t FieldType = 0; // attribute "type", 1 when absent (0 for a field without content)
    TInflateBudget *Budget = nullptr; // set by the loading message before SetNode

    // The value as bytes (UTF-8 text, or the inflated bytes of type 4) and as text. Type 4:
    // zlib errors and an exhausted budget raise DecompressionError.
    QByteArray ValueBytes() const;
    QString Value() const;

    void ReadNode() override;
    const char *ClassName() const override { return "TField"; }

    // Inflated values up to this size are kept after the load.
    static constexpr qsizetype kKeptBytes = 64 * 1024;

private:
    QByteArray m_kept;    // a type 4 value of at most kKeptBytes
    bool m_whole = false; // m_kept is the whole value
};

// "props/core": the core properties.
class TCoreProperties : public TAbstractMessageItem {
public:
    uint8_t Boxtype = 0; // 1 received, 3 posted
    TDateTime DateCreate = 0;
    TDateTime DateModified = 0;
    std::vector<std::unique_ptr<TFolder>> EncFolders;
    QString From;
    bool Archived = false;
    bool Convattach = false;
    bool Deleted = false;
    bool Hidden = false;
    bool Opened = false;
    bool NotifyDel = false;
    bool NotifyOpen = false;
    bool Private = false;
    bool Routed = false;
    bool RoutedEol = false;
    bool Read = false;
    uint8_t Priority = 0;
    std::vector<std::unique_ptr<TRecipient>> Recipients;
    int32_t ReplyDaysReq = 0;
    uint8_t ReplyReq = 0;
    int32_t RevNo = 0;
    TAddress Sender;
    TAddress Sharer;
    QString Subject;
    QString View;

    void ReadNode() override;
    const char *ClassName() const override { return "TCoreProperties"; }
};

// "save-log/item".
class TLogItem : public TAbstractMessageItem {
public:
    QString Text;         // element text
    int32_t ItemType = 0; // attribute "type"

    void ReadNode() override;
    const char *ClassName() const override { return "TLogItem"; }
};

// "save-log".
class TSaveLog : public TAbstractMessageItem {
public:
    TDateTime DateSaved = 0; // attribute "date-saved", required when "save-log" exists
    std::vector<std::unique_ptr<TLogItem>> Items;
    int32_t Status = 0; // attribute "status", -1 when absent or not a number (0 without a log)

    void ReadNode() override;
    const char *ClassName() const override { return "TSaveLog"; }
};

// A loaded message file or embedded message. Created by callers, loaded once, then read only:
//   auto msg = std::make_unique<TGWMessage>();
//   msg->LoadFromFile(path);
// It owns its XML tree for its whole life (attachment data, content ids and body properties
// are read from it on demand). A failed load leaves a half-filled object: free it.
class TGWMessage : public TAbstractMessageItem {
public:
    TGWMessage();
    ~TGWMessage() override;

    std::vector<std::unique_ptr<TAttachment>> Attachments;
    TMessageBody Body;
    TCoreProperties CoreProperties;
    std::vector<std::unique_ptr<TField>> Fields;
    bool HasHtmlBody = false;
    bool HasEmbeddedMessage = false;
    bool HasMime822 = false;
    TAttachment *HtmlBodyAttachment = nullptr; // one of Attachments, or null
    TID ID;
    std::unique_ptr<TMessageItem> Item; // created by a load, per MessageType
    TGWMessageType MessageType = mtMail;
    TAttachment *Mime822Attachment = nullptr; // one of Attachments, or null
    TSaveLog SaveLog;

    // Parses the file (a relative path is taken against the current folder) and reads it.
    void LoadFromFile(const QString &path);
    // Parses a whole message held as text (an embedded message's DataText) and reads it.
    void LoadFromXml(const QString &xml);
    // The same from UTF-8 bytes (or bytes with their own encoding declaration).
    void LoadFromXml(const QByteArray &xml);
    // Writes this message's own tree to `path` as XML text. Raises Error on failure.
    void SaveToFile(const QString &path) const;
    // The text of "props/body/Properties", or "none" when missing or unreadable.
    QString BodyProperties() const;
    // The first attachment whose "file-name" equals `fileName` exactly (content id look-up of
    // the HTML body's images), or null.
    TAttachment *AttachmentByFileName(const QString &fileName) const;

    void ReadNode() override;
    const char *ClassName() const override { return "TGWMessage"; }

    // The item as its concrete type, or null when it is of another type (or not loaded).
    template <class T> const T *ItemAs() const { return dynamic_cast<const T *>(Item.get()); }

    // The tree this message read (null before a successful parse).
    const TXmlDocument *Document() const { return m_document.get(); }

    // What this message may still inflate (custom fields, texts, HTML body and its parts).
    TInflateBudget *InflateBudget() const { return m_budget.get(); }
    // Makes this message take from `other`'s budget instead of one of its own (an embedded
    // message read while its container is shown). Call before loading.
    void ShareInflateBudget(const TGWMessage &other) { m_budget = other.m_budget; }

private:
    void adoptDocument(std::unique_ptr<TXmlDocument> document);
    void readAttachments();
    std::unique_ptr<TXmlDocument> m_document;
    std::shared_ptr<TInflateBudget> m_budget;
};

// The message type for a message class text (first matching prefix), or `fallback`.
TGWMessageType MessageTypeOfClass(const QString &messageClass, TGWMessageType fallback);
// The item element name of a message type ("email", "appointment", ...).
const char *ItemElementName(TGWMessageType type);

} // namespace tarvin
