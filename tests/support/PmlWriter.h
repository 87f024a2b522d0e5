#pragma once

// Writes .pml message files for tests, benchmarks and sample generation. A new writer holds a
// complete, valid message of the given type (identity, core properties, item element with all
// required elements, plain body, save log); setters change, add or remove parts so that tests
// can build any variant, broken ones included.

#include "model/GWMessage.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tarvin {

// zlib stream (RFC 1950) of `data`.
QByteArray ZlibCompress(QByteArrayView data, int level = 6);
// Standard base64 with "=" padding, broken into lines of `lineLength` characters by "\r\n"
// (0: one line).
QByteArray Base64Lines(QByteArrayView data, int lineLength = 76);
// Text escaped for XML character data and attribute values.
QByteArray XmlEscape(const QString &text);

class PmlWriter;

// One "attach" element.
struct PmlAttachment {
    QString DisplayName;                // "display-name" (omitted when null)
    QString FileName;                   // "file-name" (omitted when null)
    std::optional<QString> ObjType;     // "obj-type" attribute as written
    std::optional<QString> System;      // "system" attribute as written
    QByteArray Content;                 // file content: compressed and base64-encoded
    bool HasData = true;                // false: no CDATA child at all
    std::optional<QByteArray> RawCData; // written into the CDATA section as is (corrupt data)
    int LineLength = 76;                // base64 line length
    QStringList ContentIds;             // "content-ids/content-id" elements
    std::shared_ptr<const PmlWriter> Embedded; // object type 2: written as a "msg" child

    static PmlAttachment File(const QString &name, const QByteArray &content);
    static PmlAttachment Message(const QString &name, std::shared_ptr<const PmlWriter> message);
};

class PmlWriter {
public:
    explicit PmlWriter(TGWMessageType type = mtMail);

    // Identity ("id"): class, account and mapi; the class follows the type unless set.
    PmlWriter &SetMessageClass(const QString &messageClass);
    PmlWriter &SetAccount(const QString &account);
    PmlWriter &SetMapi(const QString &mapi);
    PmlWriter &RemoveId();
    PmlWriter &RemoveIdElement(const QString &name); // "class", "account" or "mapi"

    // Core properties ("props/core"): each simple child by element name, in writing order.
    PmlWriter &SetCore(const QString &element, const QString &value);
    PmlWriter &RemoveCore(const QString &element);
    PmlWriter &RemoveCoreElement(); // no "props/core" at all
    PmlWriter &SetSender(const QString &displayName, const QString &emailAddress = QString(),
                         const QString &emailType = QString(),
                         const QString &addressType = QString());
    PmlWriter &SetSharer(const QString &displayName, const QString &emailAddress = QString(),
                         const QString &emailType = QString(),
                         const QString &addressType = QString());
    // targetType/emailType null: attribute omitted.
    PmlWriter &AddRecipient(const QString &displayName, const QString &address,
                            const QString &targetType = QString(),
                            const QString &emailType = QString());
    PmlWriter &AddFolder(const QString &id, const QString &name);

    // The item element ("props/email", ...): own elements by name, in writing order.
    PmlWriter &SetItem(const QString &element, const QString &value);
    PmlWriter &RemoveItem(const QString &element);
    PmlWriter &RemoveItemElement(); // no item element at all
    // primary null: attribute omitted.
    PmlWriter &AddCategory(const QString &name, const QString &primary = QStringLiteral("true"));

    // Body: "plain" written as CDATA (a "]]>" inside is stored as "]]&gt;").
    PmlWriter &SetPlainText(const QString &text);
    PmlWriter &RemovePlain();
    PmlWriter &RemoveBody();
    PmlWriter &SetBodyProperties(const QString &text);

    // Custom fields; type 4 values are compressed and base64-encoded. type null: omitted.
    PmlWriter &AddField(const QString &name, const QString &type, const QString &value);
    // A field written with exactly this raw inner XML (e.g. nothing, or broken data).
    PmlWriter &AddRawField(const QString &name, const QString &type, const QByteArray &innerXml);

    PmlWriter &AddAttachment(const PmlAttachment &attachment);

    // Save log: dateSaved/status null: attribute omitted.
    PmlWriter &SetSaveLog(const QString &dateSaved, const QString &status = QString());
    PmlWriter &AddLogItem(const QString &text, const QString &type = QString());
    PmlWriter &RemoveSaveLog();

    // Raw XML appended inside "props" (unknown elements and the like).
    PmlWriter &AddRawProps(const QByteArray &xml);

    TGWMessageType Type() const { return m_type; }

    // The whole document: declaration and root element "message".
    QByteArray ToXml() const;
    // The message as an element named `rootName` (embedded messages use "msg").
    QByteArray ToElement(const char *rootName) const;
    // Writes ToXml() to `path`; returns false when the file could not be written.
    bool WriteFile(const QString &path) const;

private:
    using Elements = std::vector<std::pair<QString, QString>>;
    static void setIn(Elements &list, const QString &element, const QString &value);
    static void removeIn(Elements &list, const QString &element);
    void appendElement(QByteArray &out, const char *rootName) const;

    struct Address {
        bool present = false;
        QString displayName, emailAddress, emailType, addressType;
    };
    struct Recipient {
        QString displayName, address, targetType, emailType;
    };
    struct Field {
        QString name, type;
        QByteArray innerXml;
    };
    struct Category {
        QString name, primary;
    };

    TGWMessageType m_type;
    bool m_hasId = true;
    Elements m_id;
    bool m_hasCore = true;
    Elements m_core;
    Address m_sender, m_sharer;
    std::vector<Recipient> m_recipients;
    std::vector<std::pair<QString, QString>> m_folders;
    bool m_hasItem = true;
    Elements m_item;
    std::vector<Category> m_categories;
    bool m_hasBody = true;
    std::optional<QString> m_plain;
    std::optional<QString> m_bodyProperties;
    std::vector<Field> m_fields;
    std::vector<PmlAttachment> m_attachments;
    bool m_hasSaveLog = true;
    QString m_dateSaved, m_status;
    std::vector<std::pair<QString, QString>> m_logItems;
    QByteArray m_rawProps;
};

} // namespace tarvin
