#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tarvin {

// How much one message document may hold before its parse is refused. The XML parser needs
// time and memory far beyond the input's size for some shapes of markup (many attributes in
// one start tag, deep or very many nodes, huge single values); these bounds keep a file of a
// few MB from taking minutes or GBs.
struct TMarkupLimits {
    int MaxAttributes = 1000;                    // attributes in one start tag
    int MaxDepth = 1000;                         // elements open at once
    qint64 MaxNodes = 1000000;                   // elements, attributes, comments, PIs, CDATA
    qint64 MaxAttributeValue = qint64(16) << 20; // bytes of one attribute value
    qint64 MaxText = (qint64(1) << 30) / 3 * 4;  // bytes of one text run or CDATA section
};

// The limits used by TXmlDocument: the defaults, with MaxText following the message inflation
// budget (a base64 value that decodes to more than the budget is refused). Tests lower them.
TMarkupLimits MarkupLimits();
void SetMarkupLimits(const TMarkupLimits &limits);
void ResetMarkupLimits();

// A streaming check of the bytes of an XML document before the parser gets them: linear in
// the input, it follows quotes, comments, CDATA sections, processing instructions and
// declarations well enough to count attributes per start tag, nesting depth, nodes and the
// length of values, and refuses encodings whose markup it cannot follow (EBCDIC, UCS-4, and
// declared encodings that are not ASCII-compatible). UTF-16 (by byte order mark or the
// "<?" pattern) is followed unit by unit.
class TMarkupScan {
public:
    explicit TMarkupScan(const TMarkupLimits &limits = MarkupLimits()) : m_limits(limits) {}

    // Scans the next bytes; false once the document is refused (then Reason, Line, Column tell
    // why and where; further calls return false).
    bool Feed(const char *data, qint64 size);
    bool Refused() const { return !m_reason.isEmpty(); }
    // The parser is told the encoding (UTF-8 from a string): a declared one is not looked at.
    void SetEncodingGiven(bool given) { m_encodingGiven = given; }
    const QString &Reason() const { return m_reason; }
    int Line() const { return m_line; }
    int Column() const { return m_column; }

private:
    enum class State : uint8_t {
        Text,
        Lt,
        InTag,
        TagSlash,
        AttrValue,
        EndTag,
        Bang,
        Comment,
        CData,
        Decl,
        PI
    };
    void detectEncoding(const char *data, qint64 size);
    bool scan(const char *data, qint64 size);
    bool refuse(QString reason);
    bool checkDeclaredEncoding();
    void advance(const char *from, const char *to);

    TMarkupLimits m_limits;
    State m_state = State::Text;
    int m_width = 0; // 0 before detection; 1, or 2 for UTF-16
    bool m_encodingGiven = false;
    bool m_bigEndian = false;
    QByteArray m_carry; // a partial UTF-16 unit
    QByteArray m_narrow;
    int m_depth = 0;
    int m_attributes = 0;
    qint64 m_nodes = 0;
    qint64 m_valueLength = 0;
    char m_quote = 0;
    int m_marks = 0; // dashes of "-->", brackets of "]]>", "?" of "?>"
    QByteArray m_bang;
    bool m_rootSeen = false;
    bool m_capturePI = false;
    QByteArray m_piText;
    int m_declDepth = 0;
    int m_line = 1;
    int m_column = 1;
    QString m_reason;
};

} // namespace tarvin
