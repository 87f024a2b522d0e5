#include "view/AttachmentExport.h"

#include "base/Error.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "util/NativePath.h"
#include "util/SafeFileName.h"
#include "view/AttachmentRules.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvin {

std::vector<TAttachmentFile> AttachmentFiles(const std::vector<TAttachmentInfo> &infos,
                                             bool showSystemAttachments) {
    std::vector<TAttachmentFile> files;
    for (const TAttachmentEntry &entry : BuildAttachmentEntries(infos, showSystemAttachments)) {
        if (!entry.HasData)
            continue;
        const TAttachmentInfo &info = infos[entry.InfoIndex];
        TAttachmentFile file;
        file.Attachment = info.Attachment;
        file.EmbeddedMessage = info.Attachment->ObjectType == TObjectType::EmbeddedMessage;
        if (file.EmbeddedMessage)
            file.Name = EmbeddedMessageFileName(info);
        else if (info.Attachment->ObjectType == TObjectType::File)
            file.Name = SafePathComponent(SaveNameOf(*info.Attachment));
        else
            continue;
        files.push_back(file);
    }
    return files;
}

void WriteAttachmentFile(const TAttachmentFile &file, const QString &path) {
    if (file.EmbeddedMessage)
        SaveEmbeddedMessage(*file.Attachment, path);
    else
        file.Attachment->SaveDataToFile(path);
}

QString NumberedName(const QString &name, int number) {
    const QString extension = NameExtension(name);
    const QString stem = name.left(name.size() - extension.size());
    return SafeNameWithSuffix(stem, QStringLiteral(" (%1)%2").arg(number).arg(extension));
}

QString UniqueName(const QString &name, const std::function<bool(const QString &)> &taken) {
    if (!taken(name))
        return name;
    for (int number = 2;; ++number) {
        const QString candidate = NumberedName(name, number);
        if (!taken(candidate))
            return candidate;
    }
}

bool PathEntryExists(const QString &path) {
    struct stat st;
    return ::lstat(EncodeNativePath(path).constData(), &st) == 0;
}

TSaveAllAttachments::TSaveAllAttachments(const QString &folder, TCollisionQuestion ask)
    : m_folder(folder), m_ask(std::move(ask)) {
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

void TSaveAllAttachments::Save(const TGWMessage &message, bool showSystemAttachments) {
    Save(BuildAttachmentInfos(message), showSystemAttachments);
}

void TSaveAllAttachments::Save(const std::vector<TAttachmentInfo> &infos,
                               bool showSystemAttachments) {
    std::vector<TAttachmentFile> files;
    try {
        files = AttachmentFiles(infos, showSystemAttachments);
    } catch (const Error &error) {
        m_failures << error.message();
        return;
    }
    for (const TAttachmentFile &file : files) {
        if (m_cancelled)
            return;
        saveOne(file);
    }
}

void TSaveAllAttachments::saveOne(const TAttachmentFile &file) {
    const auto writtenHere = [this](const QString &name) {
        return m_written.contains(name, Qt::CaseSensitive);
    };
    // Two attachments of this run with one name: the later one is numbered.
    QString name = UniqueName(file.Name, [&](const QString &candidate) {
        return writtenHere(candidate) ||
               (candidate != file.Name && PathEntryExists(m_folder + candidate));
    });
    QString path = m_folder + name;
    try {
        if (PathEntryExists(path)) {
            TCollisionAnswer answer;
            if (m_haveAnswerForAll) {
                answer = m_answerForAll;
            } else {
                answer = m_ask ? m_ask(path) : TCollisionAnswer{};
                if (answer.ApplyToAll && answer.Choice != TCollisionChoice::Cancel) {
                    m_haveAnswerForAll = true;
                    m_answerForAll = answer;
                }
            }
            switch (answer.Choice) {
            case TCollisionChoice::Cancel:
                m_cancelled = true;
                return;
            case TCollisionChoice::Skip:
                m_skipped << path;
                return;
            case TCollisionChoice::KeepBoth:
                name = UniqueName(name, [&](const QString &candidate) {
                    return writtenHere(candidate) || PathEntryExists(m_folder + candidate);
                });
                path = m_folder + name;
                break;
            case TCollisionChoice::Replace: {
                struct stat st;
                const QByteArray native = EncodeNativePath(path);
                if (::lstat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode))
                    throw Error(
                        QStringLiteral("\"%1\" is a folder and cannot be replaced.").arg(path));
                // The entry itself goes, so a link is never written through.
                if (::unlink(native.constData()) != 0 && errno != ENOENT)
                    throw Error(QStringLiteral("Cannot replace \"%1\". %2")
                                    .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
                break;
            }
            }
        }
        WriteAttachmentFile(file, path);
        m_written << name;
        m_saved << path;
    } catch (const Error &error) {
        m_failures << name + QStringLiteral(": ") + error.message();
    }
}

} // namespace tarvin
