#include "model/XmlDocument.h"

#include "base/Error.h"
#include "model/MarkupScan.h"
#include "util/NativePath.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvin {

namespace {

// NONET: never touch the network; HUGE: no silent truncation of large text nodes (big
// attachments); NOBLANKS: drop white space between elements. Nothing that loads or expands
// external content is set; document type declarations are refused (see refuseDocType).
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_HUGE | XML_PARSE_NOBLANKS;

void initParserOnce() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

// Our own state of one parse on this thread (parses never nest, and each thread runs its own).
struct ParseState {
    bool docTypeRefused = false;
    int docTypeLine = 0;
    int docTypeColumn = 0;
    bool hasError = false; // an error or fatal error (warnings do not fail a load)
    int code = 0;
    int line = 0;
    int column = 0;
    QString reason;
};

thread_local ParseState *t_state = nullptr;

// XML_PARSE_HUGE also lifts libxml2's guard against entity expansion, so any document type
// declaration (the only place entities can be declared) stops the parse at once.
void refuseDocType(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *) {
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    if (t_state && !t_state->docTypeRefused) {
        t_state->docTypeRefused = true;
        t_state->docTypeLine = ctxt->input ? ctxt->input->line : 0;
        t_state->docTypeColumn = ctxt->input ? ctxt->input->col : 0;
    }
    xmlStopParser(ctxt);
}

// Errors are reported through our exception only: libxml2 prints nothing. The last error
// (not warning) is the one reported.
void recordError(void *, xmlErrorPtr error) {
    if (!t_state || !error || error->level < XML_ERR_ERROR)
        return;
    t_state->hasError = true;
    t_state->code = error->code;
    t_state->line = error->line;
    t_state->column = error->int2;
    t_state->reason = QString::fromUtf8(error->message ? error->message : "unknown error");
}

QString loadError(const QString &location, int code, int line, int column, QString reason) {
    while (reason.endsWith(QLatin1Char('\n')) || reason.endsWith(QLatin1Char('\r')))
        reason.chop(1);
    QString first = QStringLiteral("[0x%1] line %2, position %3: %4")
                        .arg(QString::number(unsigned(code), 16))
                        .arg(line)
                        .arg(column)
                        .arg(reason);
    return QStringLiteral("Cannot load file:\r\n\r\n%1\r\n\r\n%2").arg(location, first);
}

// Input for libxml2 through our own callbacks: it never opens files itself (no transparent
// gzip inflating of a hostile file, no URL handling) and never copies the whole input.
struct FdReader {
    int fd = -1;
};

int readFd(void *context, char *buffer, int len) {
    auto *reader = static_cast<FdReader *>(context);
    for (;;) {
        ssize_t n = ::read(reader->fd, buffer, size_t(len));
        if (n >= 0)
            return int(n);
        if (errno != EINTR)
            return -1;
    }
}

struct MemoryReader {
    const char *data = nullptr;
    qsizetype size = 0;
    qsizetype offset = 0;
};

int readMemory(void *context, char *buffer, int len) {
    auto *reader = static_cast<MemoryReader *>(context);
    const qsizetype n = std::min<qsizetype>(len, reader->size - reader->offset);
    std::memcpy(buffer, reader->data + reader->offset, size_t(n));
    reader->offset += n;
    return int(n);
}

int closeNothing(void *) {
    return 0;
}

// Every byte passes the markup check before the parser gets it: input the parser would need
// minutes or gigabytes for is refused before it has seen it.
struct ScannedReader {
    xmlInputReadCallback read;
    void *context;
    TMarkupScan scan;
};

int readScanned(void *context, char *buffer, int len) {
    auto *reader = static_cast<ScannedReader *>(context);
    if (reader->scan.Refused())
        return -1;
    const int n = reader->read(reader->context, buffer, len);
    if (n > 0 && !reader->scan.Feed(buffer, n))
        return -1;
    return n;
}

// Parses with a fresh context from `read` over `context`.
xmlDoc *runParse(const QString &location, xmlInputReadCallback read, void *context, const char *url,
                 const char *encoding) {
    initParserOnce();
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        throw Error(loadError(location, XML_ERR_NO_MEMORY, 0, 0, QStringLiteral("out of memory")));
    ParseState state;
    ParseState *const outer = t_state;
    t_state = &state;
    ctxt->sax->internalSubset = refuseDocType;
    ctxt->sax->serror = recordError;
    ctxt->sax->initialized = XML_SAX2_MAGIC;
    // Errors raised without the context (input and encoding errors) go to this thread's
    // structured handler; route them to us as well for the time of the parse.
    const xmlStructuredErrorFunc savedHandler = xmlStructuredError;
    void *const savedContext = xmlStructuredErrorContext;
    xmlSetStructuredErrorFunc(nullptr, recordError);
    ScannedReader scanned{read, context, TMarkupScan()};
    scanned.scan.SetEncodingGiven(encoding != nullptr);
    xmlDoc *doc =
        xmlCtxtReadIO(ctxt, readScanned, closeNothing, &scanned, url, encoding, kParseOptions);
    xmlSetStructuredErrorFunc(savedContext, savedHandler);
    t_state = outer;
    const bool ok = doc && !scanned.scan.Refused() && !state.docTypeRefused && !state.hasError &&
                    ctxt->wellFormed && xmlDocGetRootElement(doc);
    if (ok) {
        xmlFreeParserCtxt(ctxt);
        return doc;
    }
    QString message;
    if (scanned.scan.Refused()) {
        message = loadError(location, XML_ERR_USER_STOP, scanned.scan.Line(), scanned.scan.Column(),
                            scanned.scan.Reason());
    } else if (state.docTypeRefused) {
        message = loadError(location, XML_ERR_USER_STOP, state.docTypeLine, state.docTypeColumn,
                            QStringLiteral("Document type declarations are not allowed"));
    } else if (state.hasError) {
        message = loadError(location, state.code, state.line, state.column, state.reason);
    } else if (ctxt->lastError.code != XML_ERR_OK) {
        const xmlError &e = ctxt->lastError;
        message = loadError(location, e.code, e.line, e.int2,
                            QString::fromUtf8(e.message ? e.message : "unknown error"));
    } else {
        message = loadError(location, XML_ERR_DOCUMENT_EMPTY, 0, 0,
                            QStringLiteral("Start tag expected, '<' not found"));
    }
    if (doc)
        xmlFreeDoc(doc);
    xmlFreeParserCtxt(ctxt);
    throw Error(message);
}

} // namespace

TXmlDocument::~TXmlDocument() {
    if (m_doc)
        xmlFreeDoc(m_doc);
}

void TXmlDocument::adopt(xmlDoc *doc) {
    if (m_doc)
        xmlFreeDoc(m_doc);
    m_doc = doc;
}

XmlNode TXmlDocument::Root() const {
    return m_doc ? xmlDocGetRootElement(m_doc) : nullptr;
}

XmlNode TXmlDocument::LoadFromFile(const QString &path) {
    // A path without a folder is taken against the current folder.
    const QString absolute =
        QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path);
    const QByteArray native = EncodeNativePath(absolute);
    // The error names the path as the user gave it, nothing decoded out of it.
    const QString location = DisplayPath(path);
    FdReader reader;
    // O_NONBLOCK keeps the open of a FIFO from hanging; such files are refused below.
    reader.fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (reader.fd < 0) {
        const int err = errno;
        throw Error(loadError(location, XML_IO_LOAD_ERROR, 0, 0,
                              QStringLiteral("failed to load \"%1\": %2")
                                  .arg(location, QString::fromLocal8Bit(std::strerror(err)))));
    }
    struct stat st;
    if (::fstat(reader.fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(reader.fd);
        throw Error(
            loadError(location, XML_IO_LOAD_ERROR, 0, 0,
                      QStringLiteral("failed to load \"%1\": not a regular file").arg(location)));
    }
    ::fcntl(reader.fd, F_SETFL, ::fcntl(reader.fd, F_GETFL) & ~O_NONBLOCK);
    xmlDoc *doc = nullptr;
    try {
        doc = runParse(location, readFd, &reader, native.constData(), nullptr);
    } catch (...) {
        ::close(reader.fd);
        throw;
    }
    ::close(reader.fd);
    adopt(doc);
    return Root();
}

XmlNode TXmlDocument::LoadFromString(const QString &xml) {
    const QByteArray utf8 = xml.toUtf8();
    MemoryReader reader{utf8.constData(), utf8.size(), 0};
    // The text is Unicode already: any encoding it declares is overridden.
    adopt(runParse(QString(), readMemory, &reader, nullptr, "UTF-8"));
    return Root();
}

XmlNode TXmlDocument::LoadFromBytes(const QByteArray &bytes) {
    MemoryReader reader{bytes.constData(), bytes.size(), 0};
    adopt(runParse(QString(), readMemory, &reader, nullptr, nullptr));
    return Root();
}

QByteArray TXmlDocument::ToXml() const {
    if (!m_doc)
        return QByteArray();
    xmlChar *mem = nullptr;
    int size = 0;
    xmlDocDumpFormatMemoryEnc(m_doc, &mem, &size, "UTF-8", 1);
    QByteArray result(reinterpret_cast<const char *>(mem), size);
    xmlFree(mem);
    return result;
}

void TXmlDocument::SaveToFile(const QString &path) const {
    const QByteArray xml = ToXml();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Error(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    if (file.write(xml) != xml.size() || !file.commit())
        throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

// ---- element paths ------------------------------------------------------------------------

namespace {

inline bool isPlainElement(XmlNode node, const char *name, size_t len) {
    if (node->type != XML_ELEMENT_NODE || node->ns != nullptr)
        return false;
    const char *n = reinterpret_cast<const char *>(node->name);
    return std::strncmp(n, name, len) == 0 && n[len] == '\0';
}

// Depth-first over the path's segments; `visit` returns false to stop.
template <class Visit> bool walk(XmlNode from, const char *path, Visit &visit) {
    const char *slash = std::strchr(path, '/');
    const size_t len = slash ? size_t(slash - path) : std::strlen(path);
    for (XmlNode child = from->children; child; child = child->next) {
        if (!isPlainElement(child, path, len))
            continue;
        if (slash) {
            if (!walk(child, slash + 1, visit))
                return false;
        } else if (!visit(child)) {
            return false;
        }
    }
    return true;
}

} // namespace

XmlNode SelectSingleNode(XmlNode from, const char *path) {
    if (!from || !path || !*path)
        return nullptr;
    XmlNode found = nullptr;
    auto visit = [&](XmlNode node) {
        found = node;
        return false;
    };
    walk(from, path, visit);
    return found;
}

XmlNode SelectSingleNode(XmlNode from, const QString &path) {
    return SelectSingleNode(from, path.toUtf8().constData());
}

std::vector<XmlNode> SelectNodes(XmlNode from, const char *path) {
    std::vector<XmlNode> result;
    if (!from || !path || !*path)
        return result;
    auto visit = [&](XmlNode node) {
        result.push_back(node);
        return true;
    };
    walk(from, path, visit);
    return result;
}

std::vector<XmlNode> SelectNodes(XmlNode from, const QString &path) {
    return SelectNodes(from, path.toUtf8().constData());
}

void ForEachNode(XmlNode from, const char *path, const std::function<void(XmlNode)> &visitFn) {
    if (!from || !path || !*path)
        return;
    auto visit = [&](XmlNode node) {
        visitFn(node);
        return true;
    };
    walk(from, path, visit);
}

XmlNode ChildElement(XmlNode node, const char *name) {
    if (!node)
        return nullptr;
    const size_t len = std::strlen(name);
    for (XmlNode child = node->children; child; child = child->next) {
        if (isPlainElement(child, name, len))
            return child;
    }
    return nullptr;
}

namespace {

inline bool isTextNode(XmlNode node) {
    return node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE;
}

} // namespace

QByteArray NodeTextBytes(XmlNode node) {
    if (!node)
        return QByteArray();
    if (isTextNode(node))
        return QByteArray(reinterpret_cast<const char *>(node->content));
    if (node->type == XML_ELEMENT_NODE) {
        XmlNode child = node->children;
        if (!child)
            return QByteArray();
        // The common case: one text or CDATA child, read without a copy through libxml2.
        if (!child->next && isTextNode(child))
            return QByteArray(reinterpret_cast<const char *>(child->content));
    }
    xmlChar *content = xmlNodeGetContent(node);
    if (!content)
        return QByteArray();
    QByteArray result(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return result;
}

QString NodeText(XmlNode node) {
    if (!node)
        return QString();
    if (node->type == XML_ELEMENT_NODE) {
        XmlNode child = node->children;
        if (!child)
            return QString();
        if (!child->next && isTextNode(child))
            return QString::fromUtf8(reinterpret_cast<const char *>(child->content));
    } else if (isTextNode(node)) {
        return QString::fromUtf8(reinterpret_cast<const char *>(node->content));
    }
    return QString::fromUtf8(NodeTextBytes(node));
}

QString AttributeValue(XmlNode node, const char *name, bool *found) {
    if (found)
        *found = false;
    if (!node || node->type != XML_ELEMENT_NODE)
        return QString();
    for (xmlAttr *attr = node->properties; attr; attr = attr->next) {
        if (attr->ns == nullptr &&
            std::strcmp(reinterpret_cast<const char *>(attr->name), name) == 0) {
            if (found)
                *found = true;
            XmlNode value = attr->children;
            if (value && !value->next && value->type == XML_TEXT_NODE)
                return QString::fromUtf8(reinterpret_cast<const char *>(value->content));
            xmlChar *text = xmlNodeListGetString(node->doc, attr->children, 1);
            QString result = QString::fromUtf8(reinterpret_cast<const char *>(text));
            xmlFree(text);
            return result;
        }
    }
    return QString();
}

QByteArray SerializeNode(XmlNode node) {
    if (!node)
        return QByteArray();
    xmlBufferPtr buffer = xmlBufferCreate();
    xmlBufferSetAllocationScheme(buffer, XML_BUFFER_ALLOC_DOUBLEIT);
    xmlNodeDump(buffer, node->doc, node, 0, 0);
    QByteArray result(reinterpret_cast<const char *>(xmlBufferContent(buffer)),
                      xmlBufferLength(buffer));
    xmlBufferFree(buffer);
    if (node->type != XML_ELEMENT_NODE || !node->parent)
        return result;
    // The text must stand as a document by itself: namespaces that the node's ancestors
    // declare are declared again on its start tag (as a copy reconciled into a document of
    // its own would have them). Walking the tree is iterative here, unlike a deep copy.
    QByteArray declarations;
    if (xmlNsPtr *inScope = xmlGetNsList(node->doc, node)) {
        for (xmlNsPtr *ns = inScope; *ns; ++ns) {
            bool own = false;
            for (xmlNsPtr def = node->nsDef; def && !own; def = def->next)
                own = xmlStrEqual(def->prefix, (*ns)->prefix);
            if (own || !(*ns)->href)
                continue;
            declarations += " xmlns";
            if ((*ns)->prefix)
                declarations += QByteArray(":") + reinterpret_cast<const char *>((*ns)->prefix);
            // Written as libxml2 writes declarations: the stored text, quoted.
            QByteArray href = reinterpret_cast<const char *>((*ns)->href);
            const char quote = href.contains('"') && !href.contains('\'') ? '\'' : '"';
            if (quote == '"')
                href.replace("\"", "&quot;");
            declarations += '=';
            declarations += quote;
            declarations += href;
            declarations += quote;
        }
        xmlFree(inScope);
    }
    if (declarations.isEmpty())
        return result;
    QByteArray name = reinterpret_cast<const char *>(node->name);
    if (node->ns && node->ns->prefix)
        name = QByteArray(reinterpret_cast<const char *>(node->ns->prefix)) + ':' + name;
    result.insert(1 + name.size(), declarations);
    return result;
}

} // namespace tarvin
