#pragma once

#include "model/AbstractMessageItem.h"

#include <QStringList>

namespace tarvin {

// What an attachment holds, as the attribute "obj-type" stores it; other stored numbers are
// kept as they are and count as neither.
enum class TObjectType : uint8_t { File = 1, EmbeddedMessage = 2 };

// One "attach" element: a file (object type 1, its content zlib-compressed and base64-encoded
// in a CDATA section) or an embedded message (object type 2, a "msg" child element). Data is
// decoded only when asked for, from the tree the loading message keeps.
class TAttachment : public TAbstractMessageItem {
public:
    // The "msg" child element, else the first CDATA child, else null.
    XmlNode DataNode = nullptr;
    QString DisplayName;     // attribute "display-name"
    QString FileName;        // attribute "file-name"
    bool IsHeader = false;   // display name "Header" or "Header.txt"
    bool IsHtmlBody = false; // display name "TEXT.htm"
    bool IsImage = false;    // display name begins with "IMAGE."
    bool IsPart = false;     // display name "Part." + a number
    bool IsMime822 = false;  // display name "Mime.822"
    bool IsSystem = false;   // attribute "system", else html body, MIME copy, image or header
    TObjectType ObjectType = TObjectType::File; // attribute "obj-type"
    // The inflation budget of the loading message (null for an attachment read by itself):
    // DataBytes and DataText take what they inflate from it.
    TInflateBudget *Budget = nullptr;

    void ReadNode() override;
    const char *ClassName() const override { return "TAttachment"; }

    bool HasData() const { return DataNode != nullptr; }
    // Object type 2: "<?xml version="1.0"?>" and the "msg" element as XML text; otherwise the
    // base64 text of the CDATA section; empty without data.
    QString RawData() const;
    // As RawData, UTF-8 bytes (no QString round trip for large payloads).
    QByteArray RawBytes() const;
    // Object type 1: the file content inflated and taken as text (UTF-8, else Windows-1252);
    // any other object type: RawData (for an embedded message, text for LoadFromXml).
    QString DataText() const;
    // Object type 1: the file content as bytes (inflated in memory, limited like
    // InflateBytes and by Budget). Other types: RawBytes.
    QByteArray DataBytes() const;
    // Object type 1 with data only: writes the file content to `path` (replacing a file there)
    // within the stream limits (InflateToFile), taking the bytes from `budget` when given.
    // Otherwise does nothing and creates no file. File and zlib errors raise Error, and a
    // partial file is removed.
    void SaveDataToFile(const QString &path, TInflateBudget *budget = nullptr) const;
    // Clears `ids`, then appends the text of each "content-ids/content-id" element.
    void ContentIds(QStringList &ids) const;
    QStringList ContentIds() const;
    // A file name that is safe to create inside a folder: the file name (else the display
    // name) made into one path component (see SafePathComponent).
    QString SafeName() const;
    // Writes the data (as SaveDataToFile) into `folder` under `name` made safe (SafeName() when
    // `name` is empty), so that a name from the message never leaves the folder. Returns the
    // path written to (also when nothing was written because there is no file data).
    QString SaveDataToFolder(const QString &folder, const QString &name = QString()) const;

private:
    QByteArray compressedData() const;
    bool hasRawData() const;
};

// A name taken from a message file (content id, display name, caption) as one safe path
// component: unsafe characters replaced, "", "." and ".." become "File".
QString SafeMessageFileComponent(const QString &name);

// The body element "props/body": the plain text ("plain", required when "body" exists).
class TMessageBody : public TAbstractMessageItem {
public:
    QString PlainText;

    void ReadNode() override;
    const char *ClassName() const override { return "TMessageBody"; }
};

} // namespace tarvin
