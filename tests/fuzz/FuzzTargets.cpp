#include "fuzz/FuzzTargets.h"

#include "app/InstanceMessage.h"
#include "base/Error.h"
#include "common/TestLocale.h"
#include "convert/MessageConverter.h"
#include "explorer/MessageRowText.h"
#include "model/AbstractMessageItem.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "model/MessageFileName.h"
#include "model/MessageItems.h"
#include "model/MsgPropertyEncoder.h"
#include "util/DateTime.h"
#include "util/NativePath.h"
#include "util/SafeFileName.h"
#include "view/AttachmentRules.h"
#include "view/HeaderText.h"
#include "view/MessageContent.h"
#include "view/ViewTexts.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace tarvin::fuzz {

namespace {

// A rule that holds for every input was broken: stop here, so that the fuzzer keeps the input
// and the replay test fails.
[[noreturn]] void fail(const char *rule, const QString &detail = QString()) {
    std::fprintf(stderr, "fuzz check failed: %s %s\n", rule, detail.toUtf8().constData());
    std::abort();
}

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            fail(#condition, detail);                                                              \
    } while (0)

// Inflated data kept in memory per value. Far below the program's own limit, so that one input
// of a few kilobytes cannot make a run spend seconds or hundreds of megabytes.
constexpr qint64 kFuzzInflateLimit = qint64(64) << 20;
// Embedded messages are read to this depth (each level is an XML element of the one above).
constexpr int kMaxEmbeddedDepth = 8;

// Results are summed here so that no reading is optimised away.
volatile size_t g_sink = 0;
void keep(const QString &text) {
    g_sink = g_sink + size_t(text.size());
}
void keep(const QByteArray &bytes) {
    g_sink = g_sink + size_t(bytes.size());
}

// One name as the file system gets it: one component that stays in its folder.
void checkComponent(const QString &name, const char *what) {
    FUZZ_CHECK(!name.isEmpty(), QString::fromLatin1(what));
    FUZZ_CHECK(name != QLatin1String(".") && name != QLatin1String(".."), name);
    FUZZ_CHECK(!name.contains(QLatin1Char('/')) && !name.contains(QChar(0)), name);
    const QByteArray onDisk = QFile::encodeName(name);
    FUZZ_CHECK(onDisk.size() <= 255,
               QStringLiteral("%1: %2 bytes").arg(QLatin1String(what)).arg(onDisk.size()));
    FUZZ_CHECK(!onDisk.isEmpty() && onDisk != "." && onDisk != "..", name);
    FUZZ_CHECK(!onDisk.contains('/') && !onDisk.contains('\0'), name);
}

// The scratch folders of this process: <temporary>/work/, the viewer's work folder, and
// <temporary>/convert/, a folder of one message file for the date conversion. Anything that
// appears beside them was written outside them.
struct Scratch {
    QTemporaryDir root;
    QString work;
    QString convert;
    Scratch() {
        if (!root.isValid())
            fail("cannot create a temporary folder");
        work = root.path() + QStringLiteral("/work/");
        convert = root.path() + QStringLiteral("/convert/");
        QDir().mkpath(work);
        QDir().mkpath(convert);
    }
    static void empty(const QString &folder) {
        const QStringList inside = QDir(folder).entryList(QDir::AllEntries | QDir::Hidden |
                                                          QDir::System | QDir::NoDotAndDotDot);
        for (const QString &name : inside) {
            FUZZ_CHECK(QFileInfo(folder + name).isFile(), name);
            QFile::remove(folder + name);
        }
    }
    void reset() {
        const QStringList outside =
            QDir(root.path())
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
        FUZZ_CHECK(outside == (QStringList{QStringLiteral("convert"), QStringLiteral("work")}),
                   outside.join(QLatin1Char(' ')));
        empty(work);
        empty(convert);
    }
};

Scratch &scratch() {
    static Scratch instance;
    return instance;
}

void touchDate(TDateTime value) {
    const DateTimeParts parts = DecodeDateTime(value);
    g_sink = g_sink + size_t(parts.year + parts.msec);
    keep(FormatDisplayDateTime(value));
    keep(HeaderDateText(value));
    keep(HeaderShortDateText(value));
    g_sink = g_sink + size_t(DateTimeToUnixMSecs(value));
    keep(DateTimeToQDateTime(value).toString());
}

void touchItem(const TGWMessage &message) {
    const TMessageItem *item = message.Item.get();
    if (!item)
        return;
    for (const auto &category : item->Categories)
        keep(category->CategoryName);
    keep(item->PersonalSubject);
    touchDate(item->DateDelivered);
    if (const auto *appointment = message.ItemAs<TAppointment>()) {
        touchDate(appointment->StartDate);
        touchDate(appointment->EndDate);
        touchDate(appointment->AlarmTime);
        keep(DurationText(appointment->StartDate, appointment->EndDate));
        keep(WhenText(appointment->StartDate, appointment->EndDate));
        keep(appointment->Place);
        keep(appointment->AlarmProgram);
    } else if (const auto *task = message.ItemAs<TTask>()) {
        touchDate(task->StartDate);
        touchDate(task->DueDate);
        touchDate(task->AssignedDate);
        keep(task->Category);
        keep(task->Priority);
    } else if (const auto *note = message.ItemAs<TNote>()) {
        touchDate(note->StartDate);
    } else if (const auto *phone = message.ItemAs<TPhone>()) {
        keep(phone->CallerName);
        keep(phone->CallerCompany);
        keep(phone->PhoneNumber);
    }
}

void touchMessage(const TGWMessage &message, int depth, bool writeFiles);

void touchAttachments(const TGWMessage &message, int depth, bool writeFiles) {
    const std::vector<TAttachmentInfo> infos = BuildAttachmentInfos(message);
    for (bool system : {false, true}) {
        for (const TAttachmentEntry &entry : BuildAttachmentEntries(infos, system))
            keep(entry.Caption + entry.Extension);
    }
    for (const TAttachmentInfo &info : infos) {
        const TAttachment &attachment = *info.Attachment;
        keep(CaptionOf(info));
        keep(info.MessageId);
        checkComponent(attachment.SafeName(), "SafeName");
        checkComponent(SafePathComponent(SaveNameOf(attachment)), "save name");
        for (const QString &id : attachment.ContentIds())
            checkComponent(SafeMessageFileComponent(id), "content id");
        keep(attachment.RawBytes());
        try {
            keep(attachment.DataBytes());
            keep(attachment.DataText());
        } catch (const Error &e) {
            keep(e.message());
        }
        if (attachment.ObjectType != TObjectType::EmbeddedMessage || !attachment.HasData())
            continue;
        try {
            keep(EmbeddedMessageFileName(info));
        } catch (const Error &e) {
            keep(e.message());
        }
        if (depth >= kMaxEmbeddedDepth)
            continue;
        TGWMessage embedded;
        try {
            embedded.LoadFromXml(attachment.DataText());
        } catch (const Error &e) {
            keep(e.message());
            continue;
        }
        touchMessage(embedded, depth + 1, false);
    }
    if (!writeFiles)
        return;
    // What the viewer writes when it shows the message and opens its attachments.
    const QString work = scratch().work;
    try {
        const QString html = ExtractHtmlBody(message, work);
        FUZZ_CHECK(html.isEmpty() || html == work + QStringLiteral("text.htm"), html);
    } catch (const Error &e) {
        keep(e.message());
    }
    for (const TAttachmentInfo &info : infos) {
        const TAttachment &attachment = *info.Attachment;
        try {
            if (attachment.ObjectType == TObjectType::EmbeddedMessage) {
                if (attachment.HasData())
                    SaveEmbeddedMessage(attachment, work + QStringLiteral("embedded.pml"));
            } else {
                const QString path = WriteAttachmentForOpening(attachment, work);
                FUZZ_CHECK(path.startsWith(work) &&
                               !path.mid(work.size()).contains(QLatin1Char('/')),
                           path);
            }
        } catch (const Error &e) {
            keep(e.message());
        }
    }
}

void touchMessage(const TGWMessage &message, int depth, bool writeFiles) {
    keep(message.ID.Account + message.ID.Mapi + message.ID.MessageClass);
    const TCoreProperties &core = message.CoreProperties;
    keep(core.From + core.Subject + core.View);
    keep(core.Sender.DisplayName + core.Sender.EmailAddress + core.Sender.EmailType);
    keep(core.Sharer.DisplayName + core.Sharer.EmailAddress + core.Sharer.EmailType);
    for (const auto &folder : core.EncFolders)
        keep(folder->FolderID + folder->FolderName);
    for (int type = 0; type < 3; ++type)
        keep(RecipientEntries(message, type).join(QLatin1Char(';')));
    touchDate(core.DateCreate);
    touchDate(core.DateModified);
    for (const auto &field : message.Fields)
        keep(field->FieldName + field->Value());
    keep(message.Body.PlainText);
    keep(message.BodyProperties());
    keep(MessagePropertiesText(message, QStringLiteral("message.pml")));
    keep(MessageSaveLogText(message));
    touchDate(message.SaveLog.DateSaved);
    keep(MessageTypeName(int(message.MessageType), core.Boxtype));
    keep(ViewerTitle(NotPostedTypeName(int(message.MessageType)), core.From, QStringLiteral("-")));
    touchItem(message);
    touchDate(GetMessageDate(&message));

    TMsgPropertyEncoder encoder;
    encoder.SetMessage(&message);
    const QString identifier = encoder.GetIdentifier();
    FUZZ_CHECK(identifier.size() == 12, identifier);
    checkComponent(EmbeddedMessageSaveName(core.Subject, identifier), "message file name");
    uint32_t flags = 0;
    QString subject;
    ParseMessageFileName(QStringLiteral("x[%1].pml").arg(identifier), subject, flags);
    FUZZ_CHECK(NormalizeMessageFlags(flags) == encoder.GetFlags(), identifier);

    touchAttachments(message, depth, writeFiles);
}

// The input cut in two at a position that the input itself chooses.
std::pair<QByteArray, QByteArray> split(const QByteArray &bytes) {
    if (bytes.isEmpty())
        return {};
    const qsizetype at = qsizetype(uint8_t(bytes.at(0))) % bytes.size();
    return {bytes.mid(1, std::max<qsizetype>(0, at - 1)), bytes.mid(std::max<qsizetype>(1, at))};
}

// The bytes taken as UTF-16 code units, as they are: unpaired surrogates and NUL included.
QString rawUtf16(const QByteArray &bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.constData(), size_t(text.size()) * 2);
    return text;
}

// What "/C" does with a message file: loads it from the disk, gives the file its message date
// (local time or UTC, as the input's length chooses) and marks the folder.
void convertMessageFile(const QByteArray &bytes) {
    const QString folder = scratch().convert;
    QFile file(folder + QStringLiteral("message.pml"));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        fail("cannot write the scratch message file");
    file.close();
    TMessageConverter converter;
    converter.UseUtc = bytes.size() % 2 == 1;
    converter.OnError = [](TMessageConverter &, const QString &message) { keep(message); };
    try {
        converter.Convert(folder);
    } catch (const Error &e) {
        keep(e.message());
    }
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        FUZZ_CHECK(name == QLatin1String("message.pml") || name == QLatin1String("pmlver.000"),
                   name);
    }
}

} // namespace

void InitFuzzing() {
    PinTestLocale();
    SetInflateMemoryLimit(kFuzzInflateLimit);
    scratch();
}

void FuzzMessage(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    convertMessageFile(bytes);
    TGWMessage message;
    try {
        message.LoadFromXml(bytes);
    } catch (const Error &e) {
        keep(e.message());
        scratch().reset();
        return;
    }
    touchMessage(message, 0, true);
    scratch().reset();
}

void FuzzInflate(const uint8_t *data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray decoded = DecodeBase64(bytes);
    FUZZ_CHECK(decoded.size() <= bytes.size() / 4 * 3 + 2, QString::number(decoded.size()));
    FUZZ_CHECK(DecodeBase64(QString::fromLatin1(bytes)) == decoded, QString());
    keep(DecodeText(bytes));
    for (const QByteArrayView input : {bytes, QByteArrayView(decoded)}) {
        QByteArray inMemory;
        bool inflated = false;
        try {
            inMemory = InflateBytes(input);
            inflated = true;
            FUZZ_CHECK(InflateText(input) == DecodeText(inMemory), QString());
        } catch (const Error &e) {
            keep(e.message());
        }
        QBuffer stream;
        stream.open(QIODevice::WriteOnly);
        try {
            InflateToStream(input, stream);
            // Both read the same stream: where the one in memory succeeds, they agree.
            FUZZ_CHECK(!inflated || stream.data() == inMemory, QString());
        } catch (const Error &e) {
            FUZZ_CHECK(!inflated, e.message());
        }
    }
}

void FuzzMessageFileName(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // Names keep the file system's bytes through text and back.
    const QString name = DecodeNativePath(bytes);
    FUZZ_CHECK(EncodeNativePath(name) == bytes, QString());
    keep(DisplayPath(name));

    QString subject;
    uint32_t flags = 0;
    ParseMessageFileName(name, subject, flags);
    keep(subject);
    const uint16_t normal = NormalizeMessageFlags(flags);
    FUZZ_CHECK(NormalizeMessageFlags(normal) == normal, QString::number(flags, 16));
    FUZZ_CHECK((normal & ~flags) == 0, QString::number(flags, 16));
    for (uint16_t mask : {kItemKindMask, kBoxTypeMask, kPriorityMask}) {
        const uint16_t group = normal & mask;
        FUZZ_CHECK((group & (group - 1)) == 0, QString::number(flags, 16));
    }

    const TMessageNameInfo info = ParseRowName(bytes);
    keep(info.Subject);
    const int icon = RowIconIndex(info);
    FUZZ_CHECK(icon >= 0 && icon <= kIconNoFlags, QString::number(icon));
    const TStatusGlyphs glyphs = StatusGlyphs(info.Flags);
    g_sink = g_sink + size_t(glyphs.Attachment + glyphs.BoxType + glyphs.ReplyForward);
    keep(AttachmentSaveName(name, name));
    keep(NameExtension(name));

    // The list's Date column from any file time the file system may report.
    if (size >= 8) {
        qint64 nanoseconds = 0;
        std::memcpy(&nanoseconds, data, sizeof nanoseconds);
        TMessageRow row;
        row.Name = bytes;
        row.CreationTime = row.LastWriteTime = nanoseconds;
        static const TDateTextFormatter formatter;
        for (TFolderDateMode mode : {TFolderDateMode::NotConverted, TFolderDateMode::ConvertedUtc,
                                     TFolderDateMode::ConvertedLocal})
            keep(formatter.RowText(row, mode));
    }
}

void FuzzSafeName(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const auto [head, tail] = split(bytes);
    // Texts as they come out of a message file (UTF-8), out of a file name (kept bytes) and
    // as any UTF-16 at all.
    const std::array<QString, 3> names{QString::fromUtf8(bytes), DecodeNativePath(bytes),
                                       rawUtf16(bytes)};
    for (const QString &name : names) {
        checkComponent(SafePathComponent(name), "SafePathComponent");
        checkComponent(SafeMessageFileComponent(name), "SafeMessageFileComponent");
        const QString safe = SafeFileName(name);
        FUZZ_CHECK(safe.size() == name.size() && !safe.contains(QLatin1Char('/')), safe);
        keep(AttachmentSaveName(name, name));
    }
    // A stem and a suffix as the callers form them: the suffix is never empty.
    const std::array<std::pair<QString, QString>, 3> pairs{
        std::pair{QString::fromUtf8(head), QString::fromUtf8(tail)},
        std::pair{DecodeNativePath(head), DecodeNativePath(tail)},
        std::pair{rawUtf16(head), rawUtf16(tail)}};
    for (const auto &[stem, suffix] : pairs) {
        if (suffix.isEmpty())
            continue;
        checkComponent(SafeNameWithSuffix(stem, suffix), "SafeNameWithSuffix");
        checkComponent(EmbeddedMessageSaveName(stem, suffix), "EmbeddedMessageSaveName");
    }
}

void FuzzInstanceMessage(const uint8_t *data, size_t size) {
    const QByteArray received(reinterpret_cast<const char *>(data), qsizetype(size));
    TInstanceMessage message;
    const TParseState state = ParseInstanceMessage(received, message);
    if (state != TParseState::Complete)
        return;
    // The running instance reads as bytes arrive: no part of a whole message is refused.
    for (qsizetype cut : {qsizetype(0), received.size() / 2, received.size() - 1}) {
        TInstanceMessage part;
        FUZZ_CHECK(ParseInstanceMessage(received.left(cut), part) == TParseState::Incomplete,
                   QString::number(cut));
    }
    FUZZ_CHECK(message.SenderFolder.isEmpty() || message.SenderFolder.startsWith(QLatin1Char('/')),
               message.SenderFolder);
    for (const QString &line : message.Lines) {
        FUZZ_CHECK(!line.contains(QChar(0)) && !line.contains(QLatin1Char('\r')) &&
                       !line.contains(QLatin1Char('\n')),
                   line);
    }
    // What the receiver read, sent again, reads the same (arguments beyond the size limit are
    // left off from the end).
    const QByteArray again =
        EncodeInstanceMessage(message.Lines, EncodeNativePath(message.SenderFolder));
    if (!again.isEmpty()) {
        TInstanceMessage second;
        FUZZ_CHECK(ParseInstanceMessage(again, second) == TParseState::Complete, QString());
        FUZZ_CHECK(second.SenderFolder == message.SenderFolder, second.SenderFolder);
        FUZZ_CHECK(second.Lines == message.Lines.mid(0, second.Lines.size()), QString());
    }
    const QStringList resolved = ResolveReceivedArguments(message.Lines, message.SenderFolder);
    FUZZ_CHECK(resolved.size() == message.Lines.size(), QString());
    FUZZ_CHECK(WithoutQtOptions(resolved).size() <= resolved.size(), QString());
}

std::span<const TFuzzTargetEntry> FuzzTargets() {
    static constexpr TFuzzTargetEntry targets[] = {
        {"message", FuzzMessage},          {"inflate", FuzzInflate},
        {"filename", FuzzMessageFileName}, {"safename", FuzzSafeName},
        {"instance", FuzzInstanceMessage},
    };
    return targets;
}

TFuzzTarget FindFuzzTarget(const char *name) {
    for (const TFuzzTargetEntry &entry : FuzzTargets()) {
        if (std::strcmp(entry.Name, name) == 0)
            return entry.Run;
    }
    return nullptr;
}

} // namespace tarvin::fuzz
