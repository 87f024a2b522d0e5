#include "model/MsgPropertyEncoder.h"

#include "model/GWMessage.h"
#include "model/MessageFileName.h"
#include "util/FileTime.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace tarvin {

uint32_t ElfHash(QByteArrayView bytes) {
    uint32_t h = 0;
    for (char ch : bytes) {
        h = (h << 4) + static_cast<unsigned char>(ch);
        const uint32_t g = h & 0xF0000000u;
        if (g != 0)
            h = (h ^ (g >> 24)) & ~g;
    }
    return h;
}

void TMsgPropertyEncoder::SetMessage(const TGWMessage *message) {
    if (message == m_message)
        return;
    m_message = message;
    m_flags = 0;
    m_hash = 0;
    if (m_message && m_message->MessageType <= mtDocumentReference)
        m_messageDate = GetMessageDate(m_message);
}

uint16_t TMsgPropertyEncoder::GetFlags() {
    if (m_flags != 0 || !m_message)
        return m_flags;
    const TGWMessage &msg = *m_message;
    uint16_t flags = 0;
    switch (msg.MessageType) {
    case mtMail:
        flags |= mfMail;
        break;
    case mtAppointment:
        flags |= mfAppointment;
        break;
    case mtTask:
        flags |= mfTask;
        break;
    case mtNote:
        flags |= mfNote;
        break;
    case mtPhone:
        flags |= mfPhone;
        break;
    case mtDocumentReference:
        flags |= mfDocumentReference;
        break;
    }
    switch (msg.CoreProperties.Boxtype) {
    case 1:
        flags |= mfBoxType1;
        break;
    case 2:
        flags |= mfBoxType2;
        break;
    case 4:
        flags |= mfBoxType4;
        break;
    default:
        break;
    }
    switch (msg.CoreProperties.Priority) {
    case 1:
        flags |= mfPriority1;
        break;
    case 2:
        flags |= mfPriority2;
        break;
    case 3:
        flags |= mfPriority3;
        break;
    default:
        break;
    }
    for (const auto &attachment : msg.Attachments) {
        if (!attachment->IsSystem) {
            flags |= mfHasAttachments;
            break;
        }
    }
    if (msg.CoreProperties.Read)
        flags |= mfRead;
    if (msg.Item && msg.Item->Replied)
        flags |= mfReplied;
    if (msg.Item && msg.Item->Forwarded)
        flags |= mfForwarded;
    m_flags = flags;
    return m_flags;
}

uint32_t TMsgPropertyEncoder::GetHash() {
    if (m_hash != 0 || !m_message)
        return m_hash;
    QByteArray identifier = m_message->ID.Mapi.toUtf8();
    identifier.replace(".", "");
    m_hash = ElfHash(identifier);
    return m_hash;
}

QString TMsgPropertyEncoder::GetIdentifier() {
    const uint16_t flags = GetFlags();
    const uint32_t hash = GetHash();
    return QStringLiteral("%1%2")
        .arg(uint(flags), 4, 16, QLatin1Char('0'))
        .arg(uint(hash), 8, 16, QLatin1Char('0'));
}

bool TMsgPropertyEncoder::SetFileDate(const QString &path) const {
    // The file is opened for writing, as a file time is only given to files we may write;
    // O_NONBLOCK keeps a FIFO from blocking the open, and nothing is created or truncated.
    // A link is never followed.
    const QByteArray native = QFile::encodeName(path);
    const int fd =
        ::open(native.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0)
        return false;
    const bool ok = SetLastWriteTime(fd, m_messageDate);
    ::close(fd);
    return ok;
}

} // namespace tarvin
