#include "support/PmlWriter.h"

#include <QFile>

#include <zlib.h>

namespace tarvin {

QByteArray ZlibCompress(QByteArrayView data, int level) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(out.data()), &size,
                  reinterpret_cast<const Bytef *>(data.data()), uLong(data.size()), level) != Z_OK)
        return QByteArray();
    out.truncate(qsizetype(size));
    return out;
}

QByteArray Base64Lines(QByteArrayView data, int lineLength) {
    const QByteArray plain = data.toByteArray().toBase64();
    if (lineLength <= 0)
        return plain;
    QByteArray out;
    out.reserve(plain.size() + plain.size() / lineLength * 2 + 2);
    for (qsizetype i = 0; i < plain.size(); i += lineLength) {
        if (i > 0)
            out.append("\r\n");
        out.append(plain.constData() + i, std::min<qsizetype>(lineLength, plain.size() - i));
    }
    return out;
}

QByteArray XmlEscape(const QString &text) {
    QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size() + 16);
    for (char c : utf8) {
        switch (c) {
        case '&':
            out.append("&amp;");
            break;
        case '<':
            out.append("&lt;");
            break;
        case '>':
            out.append("&gt;");
            break;
        case '"':
            out.append("&quot;");
            break;
        default:
            out.append(c);
        }
    }
    return out;
}

PmlAttachment PmlAttachment::File(const QString &name, const QByteArray &content) {
    PmlAttachment a;
    a.DisplayName = name;
    a.FileName = name;
    a.Content = content;
    return a;
}

PmlAttachment PmlAttachment::Message(const QString &name,
                                     std::shared_ptr<const PmlWriter> message) {
    PmlAttachment a;
    a.DisplayName = name;
    a.ObjType = QStringLiteral("2");
    a.Embedded = std::move(message);
    return a;
}

namespace {

const char *className(TGWMessageType type) {
    switch (type) {
    case mtMail:
        return "GW.MESSAGE.MAIL";
    case mtAppointment:
        return "GW.MESSAGE.APPOINTMENT";
    case mtTask:
        return "GW.MESSAGE.TASK";
    case mtNote:
        return "GW.MESSAGE.NOTE";
    case mtPhone:
        return "GW.MESSAGE.PHONE";
    case mtDocumentReference:
        return "GW.MESSAGE.DOCUMENTREFERENCE";
    }
    return "GW.MESSAGE.MAIL";
}

void appendAttr(QByteArray &out, const char *name, const QString &value) {
    if (value.isNull())
        return;
    out.append(' ').append(name).append("=\"").append(XmlEscape(value)).append('"');
}

void appendSimple(QByteArray &out, const QString &element, const QString &value) {
    const QByteArray name = element.toUtf8();
    out.append('<').append(name).append('>').append(XmlEscape(value));
    out.append("</").append(name).append(">\n");
}

} // namespace

PmlWriter::PmlWriter(TGWMessageType type) : m_type(type) {
    m_id = {{"class", QString::fromLatin1(className(type))},
            {"account", "Robin Ashdown"},
            {"mapi", "4A1B2C3D.dom1.po1.100.1.1.1@1"}};
    m_core = {{"archived", "false"},
              {"notify-del", "false"},
              {"routed", "false"},
              {"routed-eol", "false"},
              {"read", "true"},
              {"private", "false"},
              {"notify-open", "false"},
              {"hidden", "false"},
              {"opened", "true"},
              {"deleted", "false"},
              {"convattach", "false"},
              {"rev-no", "1"},
              {"reply-days-req", "0"},
              {"reply-req", "0"},
              {"from", "Ellis Fenwick"},
              {"subject", "Quarterly figures"},
              {"view", "mail"},
              {"date-create", "20240312T091500"},
              {"date-modified", "20240312T091700"},
              {"boxtype", "1"},
              {"priority", "2"}};
    switch (type) {
    case mtMail:
        m_item = {{"completed", "false"},
                  {"delegated", "false"},
                  {"notify-completed", "false"},
                  {"date-delivered", "20240312T091600"}};
        break;
    case mtAppointment:
        m_item = {{"accepted", "true"},
                  {"autodate", "false"},
                  {"delegated", "false"},
                  {"on-calendar", "true"},
                  {"personal", "false"},
                  {"start-date", "20240320T140000"},
                  {"end-date", "20240320T153000"},
                  {"place", "Room 4"},
                  {"duration", "0.0625"},
                  {"alarm-time", "20240320T134500"},
                  {"alarm-program", ""},
                  {"notify-accepted", "0"},
                  {"notify-declined", "0"},
                  {"busytype", "2"}};
        break;
    case mtTask:
        m_item = {{"category", "Work"},
                  {"accepted", "true"},
                  {"autodate", "false"},
                  {"completed", "false"},
                  {"delegated", "false"},
                  {"personal", "false"},
                  {"on-calendar", "true"},
                  {"notify-accepted", "0"},
                  {"notify-completed", "1"},
                  {"notify-declined", "0"},
                  {"priority", "A1"},
                  {"assigned-date", "20240301T000000"},
                  {"due-date", "20240315T000000"},
                  {"start-date", "20240304T000000"}};
        break;
    case mtNote:
        m_item = {{"accepted", "true"},     {"autodate", "false"},
                  {"completed", "false"},   {"delegated", "false"},
                  {"on-calendar", "true"},  {"personal", "true"},
                  {"notify-accepted", "0"}, {"notify-completed", "0"},
                  {"notify-declined", "0"}, {"start-date", "20240322T000000"}};
        break;
    case mtPhone:
        m_item = {{"came-to-see", "false"},
                  {"please-call", "true"},
                  {"returned-call", "false"},
                  {"telephoned", "true"},
                  {"urgent", "false"},
                  {"wants-see", "false"},
                  {"will-call", "false"},
                  {"phone-number", "+44 20 7946 0018"},
                  {"caller-name", "Dana Whitlock"},
                  {"caller-company", "Brantford Ltd"},
                  {"date-delivered", "20240312T101000"}};
        break;
    case mtDocumentReference:
        break;
    }
    m_plain = QStringLiteral("Hello,\r\n\r\nplease find the figures attached.\r\n");
    m_dateSaved = QStringLiteral("20240401T120000");
    m_status = QStringLiteral("0");
    m_logItems = {{"Saved by the archiver", "0"}};
}

void PmlWriter::setIn(Elements &list, const QString &element, const QString &value) {
    for (auto &entry : list) {
        if (entry.first == element) {
            entry.second = value;
            return;
        }
    }
    list.emplace_back(element, value);
}

void PmlWriter::removeIn(Elements &list, const QString &element) {
    std::erase_if(list, [&](const auto &entry) { return entry.first == element; });
}

PmlWriter &PmlWriter::SetMessageClass(const QString &v) {
    m_hasId = true;
    setIn(m_id, "class", v);
    return *this;
}
PmlWriter &PmlWriter::SetAccount(const QString &v) {
    m_hasId = true;
    setIn(m_id, "account", v);
    return *this;
}
PmlWriter &PmlWriter::SetMapi(const QString &v) {
    m_hasId = true;
    setIn(m_id, "mapi", v);
    return *this;
}
PmlWriter &PmlWriter::RemoveId() {
    m_hasId = false;
    return *this;
}
PmlWriter &PmlWriter::RemoveIdElement(const QString &name) {
    removeIn(m_id, name);
    return *this;
}
PmlWriter &PmlWriter::SetCore(const QString &element, const QString &value) {
    m_hasCore = true;
    setIn(m_core, element, value);
    return *this;
}
PmlWriter &PmlWriter::RemoveCore(const QString &element) {
    removeIn(m_core, element);
    return *this;
}
PmlWriter &PmlWriter::RemoveCoreElement() {
    m_hasCore = false;
    return *this;
}
PmlWriter &PmlWriter::SetSender(const QString &displayName, const QString &emailAddress,
                                const QString &emailType, const QString &addressType) {
    m_sender = {true, displayName, emailAddress, emailType, addressType};
    return *this;
}
PmlWriter &PmlWriter::SetSharer(const QString &displayName, const QString &emailAddress,
                                const QString &emailType, const QString &addressType) {
    m_sharer = {true, displayName, emailAddress, emailType, addressType};
    return *this;
}
PmlWriter &PmlWriter::AddRecipient(const QString &displayName, const QString &address,
                                   const QString &targetType, const QString &emailType) {
    m_recipients.push_back({displayName, address, targetType, emailType});
    return *this;
}
PmlWriter &PmlWriter::AddFolder(const QString &id, const QString &name) {
    m_folders.emplace_back(id, name);
    return *this;
}
PmlWriter &PmlWriter::SetItem(const QString &element, const QString &value) {
    m_hasItem = true;
    setIn(m_item, element, value);
    return *this;
}
PmlWriter &PmlWriter::RemoveItem(const QString &element) {
    removeIn(m_item, element);
    return *this;
}
PmlWriter &PmlWriter::RemoveItemElement() {
    m_hasItem = false;
    return *this;
}
PmlWriter &PmlWriter::AddCategory(const QString &name, const QString &primary) {
    m_categories.push_back({name, primary});
    return *this;
}
PmlWriter &PmlWriter::SetPlainText(const QString &text) {
    m_hasBody = true;
    m_plain = text;
    return *this;
}
PmlWriter &PmlWriter::RemovePlain() {
    m_plain.reset();
    return *this;
}
PmlWriter &PmlWriter::RemoveBody() {
    m_hasBody = false;
    return *this;
}
PmlWriter &PmlWriter::SetBodyProperties(const QString &text) {
    m_hasBody = true;
    m_bodyProperties = text;
    return *this;
}
PmlWriter &PmlWriter::AddField(const QString &name, const QString &type, const QString &value) {
    QByteArray inner;
    if (type == QLatin1String("4"))
        inner = Base64Lines(ZlibCompress(value.toUtf8()), 76);
    else
        inner = XmlEscape(value);
    m_fields.push_back({name, type, inner});
    return *this;
}
PmlWriter &PmlWriter::AddRawField(const QString &name, const QString &type,
                                  const QByteArray &innerXml) {
    m_fields.push_back({name, type, innerXml});
    return *this;
}
PmlWriter &PmlWriter::AddAttachment(const PmlAttachment &attachment) {
    m_attachments.push_back(attachment);
    return *this;
}
PmlWriter &PmlWriter::SetSaveLog(const QString &dateSaved, const QString &status) {
    m_hasSaveLog = true;
    m_dateSaved = dateSaved;
    m_status = status;
    return *this;
}
PmlWriter &PmlWriter::AddLogItem(const QString &text, const QString &type) {
    m_hasSaveLog = true;
    m_logItems.emplace_back(text, type);
    return *this;
}
PmlWriter &PmlWriter::RemoveSaveLog() {
    m_hasSaveLog = false;
    return *this;
}
PmlWriter &PmlWriter::AddRawProps(const QByteArray &xml) {
    m_rawProps.append(xml);
    return *this;
}

namespace {

void appendAddress(QByteArray &out, const char *element, bool present, const QString &displayName,
                   const QString &emailAddress, const QString &emailType,
                   const QString &addressType) {
    if (!present)
        return;
    out.append('<').append(element);
    appendAttr(out, "email-type", emailType);
    appendAttr(out, "email-address", emailAddress);
    appendAttr(out, "address-type", addressType);
    out.append('>').append(XmlEscape(displayName)).append("</").append(element).append(">\n");
}

} // namespace

void PmlWriter::appendElement(QByteArray &out, const char *rootName) const {
    out.append('<').append(rootName).append(">\n");
    if (m_hasId) {
        out.append("<id>\n");
        for (const auto &[element, value] : m_id)
            appendSimple(out, element, value);
        out.append("</id>\n");
    }
    out.append("<props>\n");
    if (m_hasCore) {
        out.append("<core>\n");
        for (const auto &[element, value] : m_core)
            appendSimple(out, element, value);
        appendAddress(out, "sender", m_sender.present, m_sender.displayName, m_sender.emailAddress,
                      m_sender.emailType, m_sender.addressType);
        appendAddress(out, "sharer", m_sharer.present, m_sharer.displayName, m_sharer.emailAddress,
                      m_sharer.emailType, m_sharer.addressType);
        if (!m_folders.empty()) {
            out.append("<enc-folders>\n");
            for (const auto &[id, name] : m_folders) {
                out.append("<folder");
                appendAttr(out, "id", id);
                out.append('>').append(XmlEscape(name)).append("</folder>\n");
            }
            out.append("</enc-folders>\n");
        }
        if (!m_recipients.empty()) {
            out.append("<recipients>\n");
            for (const Recipient &r : m_recipients) {
                out.append("<recipient");
                appendAttr(out, "display-name", r.displayName);
                appendAttr(out, "email-type", r.emailType);
                appendAttr(out, "target-type", r.targetType);
                out.append('>').append(XmlEscape(r.address)).append("</recipient>\n");
            }
            out.append("</recipients>\n");
        }
        out.append("</core>\n");
    }
    if (!m_fields.empty()) {
        out.append("<fields>\n");
        for (const Field &f : m_fields) {
            out.append("<field");
            appendAttr(out, "name", f.name);
            appendAttr(out, "type", f.type);
            out.append('>').append(f.innerXml).append("</field>\n");
        }
        out.append("</fields>\n");
    }
    if (m_hasBody) {
        out.append("<body>\n");
        if (m_plain) {
            QByteArray plain = m_plain->toUtf8();
            plain.replace("]]>", "]]&gt;");
            out.append("<plain><![CDATA[").append(plain).append("]]></plain>\n");
        }
        if (m_bodyProperties)
            out.append("<Properties>")
                .append(XmlEscape(*m_bodyProperties))
                .append("</Properties>\n");
        out.append("</body>\n");
    }
    if (!m_attachments.empty()) {
        out.append("<attachments>\n");
        for (const PmlAttachment &a : m_attachments) {
            out.append("<attach");
            appendAttr(out, "display-name", a.DisplayName);
            appendAttr(out, "file-name", a.FileName);
            if (a.ObjType)
                appendAttr(out, "obj-type", *a.ObjType);
            if (a.System)
                appendAttr(out, "system", *a.System);
            out.append(">\n");
            if (!a.ContentIds.isEmpty()) {
                out.append("<content-ids>\n");
                for (const QString &id : a.ContentIds)
                    out.append("<content-id>").append(XmlEscape(id)).append("</content-id>\n");
                out.append("</content-ids>\n");
            }
            if (a.Embedded) {
                a.Embedded->appendElement(out, "msg");
            } else if (a.HasData) {
                out.append("<![CDATA[");
                if (a.RawCData)
                    out.append(*a.RawCData);
                else
                    out.append(Base64Lines(ZlibCompress(a.Content), a.LineLength));
                out.append("]]>\n");
            }
            out.append("</attach>\n");
        }
        out.append("</attachments>\n");
    }
    if (m_hasItem && m_type <= mtDocumentReference) {
        const char *element = ItemElementName(m_type);
        out.append('<').append(element).append(">\n");
        for (const auto &[name, value] : m_item)
            appendSimple(out, name, value);
        if (!m_categories.empty()) {
            out.append("<categories>\n");
            for (const Category &c : m_categories) {
                out.append("<category");
                appendAttr(out, "primary", c.primary);
                out.append('>').append(XmlEscape(c.name)).append("</category>\n");
            }
            out.append("</categories>\n");
        }
        out.append("</").append(element).append(">\n");
    }
    out.append(m_rawProps);
    out.append("</props>\n");
    if (m_hasSaveLog) {
        out.append("<save-log");
        appendAttr(out, "date-saved", m_dateSaved);
        appendAttr(out, "status", m_status);
        out.append(">\n");
        for (const auto &[text, type] : m_logItems) {
            out.append("<item");
            appendAttr(out, "type", type);
            out.append('>').append(XmlEscape(text)).append("</item>\n");
        }
        out.append("</save-log>\n");
    }
    out.append("</").append(rootName).append(">\n");
}

QByteArray PmlWriter::ToElement(const char *rootName) const {
    QByteArray out;
    appendElement(out, rootName);
    return out;
}

QByteArray PmlWriter::ToXml() const {
    QByteArray out("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    appendElement(out, "message");
    return out;
}

bool PmlWriter::WriteFile(const QString &path) const {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray xml = ToXml();
    return file.write(xml) == xml.size();
}

} // namespace tarvin
