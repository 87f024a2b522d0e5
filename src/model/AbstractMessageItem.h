#pragma once

#include "model/XmlDocument.h"
#include "util/DateTime.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <atomic>
#include <cstdint>

namespace tarvin {

// Base of every message-model class: wraps one XML element of a tree owned by the loading
// TGWMessage and reads child element and attribute values with fixed failure rules.
// Errors carry the class name first, e.g. "TTask.GetElementValue: element 'category' not found".
class TAbstractMessageItem {
public:
    TAbstractMessageItem() = default;
    virtual ~TAbstractMessageItem() = default;
    TAbstractMessageItem(const TAbstractMessageItem &) = delete;
    TAbstractMessageItem &operator=(const TAbstractMessageItem &) = delete;

    // The wrapped element; not owned. Null until SetNode.
    XmlNode Node = nullptr;

    // Stores the element and, when it is not null, reads the object's values (ReadNode).
    void SetNode(XmlNode node);
    // Reads all eagerly loaded values from Node. Empty here; every model class overrides it.
    virtual void ReadNode() {}
    // The class name used in error messages ("TCoreProperties", "TTask", ...).
    virtual const char *ClassName() const { return "TAbstractMessageItem"; }

    // Text of the first element matching the relative path; the element is required:
    // "%s.GetElementValue: Node has not been assigned" / "%s.GetElementValue: element '%s' not
    // found".
    QString GetElementValue(const char *path) const;
    QString GetElementValue(const QString &path) const;
    // Optional element: true and its text when found (even when empty), false and empty text
    // otherwise. "%s.FindElementValue: Node has not been assigned" when Node is null.
    bool FindElementValue(const char *path, QString &value) const;
    bool FindElementValue(const QString &path, QString &value) const;
    // Optional attribute of Node: its value, or empty text when absent.
    // "%s.GetAttributeValue: Node has not been assigned" when Node is null.
    QString GetAttributeValue(const char *name) const;
    QString GetAttributeValue(const QString &name) const;

    // Element selection relative to Node (null/empty when Node is null).
    XmlNode SelectSingleNode(const char *path) const;
    std::vector<XmlNode> SelectNodes(const char *path) const;
};

// Value conversions of element and attribute text. All strict ones raise ConvertError.

// "true"/"false" in any case, or any decimal number (non-zero is true);
// else "'%s' is not a valid boolean value".
bool StrToBool(const QString &text);
// A decimal integer with optional sign in 32-bit range; else "'%s' is not a valid integer value".
int32_t StrToInt(const QString &text);
// As StrToInt, but `defaultValue` for any text that is not an integer. Never fails.
int32_t StrToIntDef(const QString &text, int32_t defaultValue);
// A decimal number written with the process-wide DecimalSeparator();
// else "'%s' is not a valid floating point value".
double StrToFloat(const QString &text);

// The basic ISO 8601 form YYYYMMDDThhmmss read by fixed positions (anything from position 16
// on ignored, no zone conversion). Failure: "IsoDateTimeToDateTime(%s): %s".
TDateTime IsoDateTimeToDateTime(const QString &text);

// Replaces every "]]&gt;" by "]]>"; nothing else changes.
QString UnescapeCData(const QString &text);

// Lenient base64 (RFC 4648 standard alphabet): every other character is skipped, a final
// group of 2 or 3 characters gives 1 or 2 bytes, one character nothing. Never fails.
QByteArray DecodeBase64(const QString &text);
QByteArray DecodeBase64(QByteArrayView text);

// Inflating zlib streams. A zlib error raises DecompressionError with zlib's text for the code
// ("data error", ...); input that ends early gives what was inflated so far.

// The most bytes InflateBytes/InflateText produce in memory before failing with
// "insufficient memory", and the inflation budget of one message. 1 GiB unless changed (tests
// lower it).
constexpr qint64 kDefaultInflateMemoryLimit = qint64(1) << 30;
qint64 InflateMemoryLimit();
void SetInflateMemoryLimit(qint64 bytes);

// What one message may inflate in all: its custom fields, texts, HTML body and the parts the
// body names share it (and so do the embedded messages read while it is shown), so that a
// small file cannot make the program inflate without end. Shared between threads safely.
class TInflateBudget {
public:
    explicit TInflateBudget(qint64 bytes = InflateMemoryLimit()) : m_remaining(bytes) {}
    // A smaller budget within `parent` (may be null): what it gives is taken from the parent
    // too, so one use of a message (showing its body) can have a limit of its own.
    TInflateBudget(qint64 bytes, TInflateBudget *parent) : m_remaining(bytes), m_parent(parent) {}
    // Takes `bytes` from what is left here and in the parent; raises DecompressionError
    // "insufficient memory" (and leaves nothing in the budget that was short) when more were
    // asked for than are left.
    void Take(qint64 bytes);
    // What may still be taken: the least of this budget and its parent.
    qint64 Remaining() const;
    // Whether a Take was refused because this budget itself (not its parent) was short.
    bool Exceeded() const { return m_exceeded.load(); }

private:
    std::atomic<qint64> m_remaining;
    std::atomic<bool> m_exceeded{false};
    TInflateBudget *m_parent = nullptr;
};

// The inflated bytes, in memory (limited as above, and by `budget` when given).
QByteArray InflateBytes(QByteArrayView data, TInflateBudget *budget = nullptr);
// The inflated bytes as text: UTF-8 when they are valid UTF-8, otherwise Windows-1252.
// Empty input gives empty text without calling zlib.
QString InflateText(QByteArrayView data, TInflateBudget *budget = nullptr);
// The first at most `maxBytes` inflated bytes, taken from `budget` when given; `complete`
// tells whether they are all the stream holds. Inflating stops there: a look at the start
// of a stream (its header included) that costs no more than `maxBytes`.
QByteArray InflatePrefix(QByteArrayView data, qsizetype maxBytes, TInflateBudget *budget,
                         bool *complete);
// Writes the inflated bytes unchanged to `output` (no memory limit). Raises Error when the
// device refuses to write.
void InflateToStream(QByteArrayView data, QIODevice &output);

// How far inflating into a file may go: at most MaxBytes written, and never so far that less
// than MinFree bytes stay free on the file's file system.
struct TStreamLimits {
    qint64 MaxBytes = qint64(4) << 30;
    qint64 MinFree = qint64(256) << 20;
};
TStreamLimits StreamLimits();
void SetStreamLimits(const TStreamLimits &limits); // tests
// Inflates into the file `path` (replaced), taking the bytes from `budget` when given. On any
// failure the partial file is removed and Error raised: "Cannot create file "%s". ...",
// "Cannot write file "%s". ..." (the stream limits above named), or the zlib error.
void InflateToFile(QByteArrayView data, const QString &path, TInflateBudget *budget = nullptr);

// Bytes as text: UTF-8 when valid, otherwise Windows-1252 (the code page of Windows writers).
QString DecodeText(QByteArrayView bytes);

} // namespace tarvin
