#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include <libxml/tree.h>

namespace tarvin {

// An XML element or other node of a loaded document. Never owned by the holder.
using XmlNode = xmlNode *;

// One parsed XML document (a libxml2 tree) and its loading rules for untrusted message files:
// no network, no external entities, no DTD loading, white space between elements dropped, and
// any document type declaration refused. Non-copyable; the tree lives as long as the object.
class TXmlDocument {
public:
    TXmlDocument() = default;
    ~TXmlDocument();
    TXmlDocument(const TXmlDocument &) = delete;
    TXmlDocument &operator=(const TXmlDocument &) = delete;

    // Parses the file at `path` (a relative path is taken against the current folder) and
    // returns the root element. On failure raises Error with
    // "Cannot load file:\r\n\r\n<location>\r\n\r\n[0x<code>] line <n>, position <n>: <reason>",
    // the location being the path as given (DisplayPath); the document keeps what it held
    // before. The path may hold kept bytes (util/NativePath.h).
    XmlNode LoadFromFile(const QString &path);
    // Parses a whole XML document held in a string (its encoding declaration is ignored: the
    // text is Unicode). Errors as above with an empty location.
    XmlNode LoadFromString(const QString &xml);
    // Parses UTF-8 (or self-declared encoding) bytes of a whole document.
    XmlNode LoadFromBytes(const QByteArray &bytes);

    // Writes the tree to `path` as XML text, replacing the file. Raises Error on failure.
    void SaveToFile(const QString &path) const;
    // The tree as XML text (UTF-8 with declaration).
    QByteArray ToXml() const;

    bool IsLoaded() const { return m_doc != nullptr; }
    XmlNode Root() const;
    xmlDoc *Doc() const { return m_doc; }

private:
    void adopt(xmlDoc *doc);
    xmlDoc *m_doc = nullptr;
};

// Element paths: element names separated by "/", relative to `from` (as "props/core" or
// "categories/category"). Only elements without namespace match, names case-sensitively.
// The first matching element in document order, or null.
XmlNode SelectSingleNode(XmlNode from, const char *path);
XmlNode SelectSingleNode(XmlNode from, const QString &path);
// All matching elements in document order.
std::vector<XmlNode> SelectNodes(XmlNode from, const char *path);
std::vector<XmlNode> SelectNodes(XmlNode from, const QString &path);
// Calls `visit` for each matching element in document order (no list built).
void ForEachNode(XmlNode from, const char *path, const std::function<void(XmlNode)> &visit);

// The text content of a node: the concatenated text and CDATA of the node and its descendants.
QString NodeText(XmlNode node);
// The same as UTF-8 bytes.
QByteArray NodeTextBytes(XmlNode node);
// An attribute's value; empty and *found false when absent.
QString AttributeValue(XmlNode node, const char *name, bool *found = nullptr);
// The first child element named `name` (direct child only), or null.
XmlNode ChildElement(XmlNode node, const char *name);
// Serialises a node (and its descendants) as XML text, UTF-8, without declaration. An
// element also declares the namespaces its ancestors declare, so the text stands alone.
QByteArray SerializeNode(XmlNode node);

} // namespace tarvin
