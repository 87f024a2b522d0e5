#include "mail/SendMailHelper.h"

#include "mail/GroupWiseCommander.h"
#include "model/GWMessage.h"
#include "model/MsgPropertyEncoder.h"
#include "util/SafeFileName.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

namespace tarvin {

namespace {

const QString kCRLF = QStringLiteral("\r\n");

// Makes room for a new file at `path` without following a link: whatever entry is there (a
// file of an earlier action, a link) is removed first, so the file is always written anew.
void clearEntry(const QString &path) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        QFile::remove(path);
}

// `name` numbered for its `number`th use: "report (2).pdf".
QString numberedName(const QString &name, int number) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const bool hasExtension = dot > 0;
    const QString stem = hasExtension ? name.left(dot) : name;
    const QString extension = hasExtension ? name.mid(dot) : QString();
    return SafeNameWithSuffix(stem, QStringLiteral(" (%1)").arg(number) + extension);
}

// Without leading and trailing blanks and control characters.
QString trimBlanksAndControls(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first).unicode() <= 0x20)
        ++first;
    while (last > first && text.at(last - 1).unicode() <= 0x20)
        --last;
    return text.mid(first, last - first);
}

} // namespace

void ApplyMailCommand(TSendMailHelper &helper, TMailCommand command) {
    auto reply = [&helper](TGWReplyTo replyTo, bool includeMessage) {
        helper.Action = TMailActionKind::maReply;
        helper.ReplyTo = replyTo;
        helper.IncludeMessage = includeMessage;
    };
    switch (command) {
    case TMailCommand::Reply:
        helper.Action = TMailActionKind::maReply;
        break;
    case TMailCommand::ReplyToSenderInc:
        reply(rtSender, true);
        break;
    case TMailCommand::ReplyToSender:
        reply(rtSender, false);
        break;
    case TMailCommand::ReplyToAllInc:
        reply(rtAll, true);
        break;
    case TMailCommand::ReplyToAll:
        reply(rtAll, false);
        break;
    case TMailCommand::ForwardAsAttachment:
        helper.Action = TMailActionKind::maForwardAsAttachment;
        break;
    case TMailCommand::Forward:
        helper.Action = TMailActionKind::maForward;
        break;
    }
}

// ---- TSendMailHelper --------------------------------------------------------------------

TSendMailHelper::TSendMailHelper() : m_config(AppConfig()) {}

TSendMailHelper::~TSendMailHelper() = default;

QString TSendMailHelper::GetAddressList(const TAddressCollection &addresses) const {
    if (addresses.IsEmpty())
        return QString();
    QString list = addresses.Item(0).Address;
    for (int i = 1; i < addresses.Count(); ++i)
        list = QStringLiteral("%1; %2").arg(list, addresses.Item(i).Address);
    return list;
}

QString TSendMailHelper::GetMessageText(const QString &body) const {
    if (Action == TMailActionKind::maForwardAsAttachment)
        return m_config.IncludeViewerTrailer ? m_config.ViewerTrailer : QString();
    const QString header = kCRLF + kCRLF + QStringLiteral(">>> ") + SenderName + QLatin1Char(' ') +
                           FormatDisplayDateTime(CreateDate) + QStringLiteral(" >>>") + kCRLF;
    if (Action == TMailActionKind::maForward || IncludeMessage)
        return header + kCRLF + body;
    return header;
}

QString TSendMailHelper::GetSubject(const QString &subject) const {
    const QString prefix =
        Action == TMailActionKind::maReply ? m_config.SubjectReply : m_config.SubjectForward;
    if (subject.left(prefix.size()).compare(prefix, Qt::CaseInsensitive) == 0)
        return subject;
    return prefix + QLatin1Char(' ') + subject;
}

void TSendMailHelper::PrepareAttachments() {}

bool TSendMailHelper::IsGroupWiseInstalled() const {
    return tarvin::IsGroupWiseInstalled();
}

bool TSendMailHelper::IsGroupWiseRunning() const {
    return tarvin::IsGroupWiseRunning(m_socketPath);
}

bool TSendMailHelper::IsMailClientInstalled() const {
    return tarvin::IsMailClientInstalled();
}

QString TSendMailHelper::command(const QString &text, const QString &operation) {
    if (!m_commander) {
        m_commander = std::make_unique<TGroupWiseCommander>(m_socketPath);
        m_commander->SetTimeout(m_waitLimitMs);
    }
    const TGWReply reply = m_commander->Execute(text);
    CheckGWReply(reply, QLatin1String(ClassName()), operation);
    return reply.Result;
}

void TSendMailHelper::ReleaseCommander() {
    m_commander.reset();
}

bool TSendMailHelper::IsMessageAvailable() {
    const QString operation = QStringLiteral("IsMessageAvailable");
    const QString result = command(ItemIsValidCommand(MessageId), operation);
    try {
        return GWResultToBool(result);
    } catch (const ConvertError &error) {
        throw Error(QStringLiteral("%1.%2: %3")
                        .arg(QLatin1String(ClassName()), operation, error.message()));
    }
}

QString TSendMailHelper::GetUserID() {
    return command(EnvUserIDCommand(), QStringLiteral("GetUserID"));
}

void TSendMailHelper::waitForView(const QString &expected, const QString &operation,
                                  const QString &what) {
    const QDeadlineTimer deadline(m_waitLimitMs);
    for (;;) {
        if (cancelled())
            throw TMailActionCancelled(QStringLiteral("%1.%2: Cancelled by the user.")
                                           .arg(QLatin1String(ClassName()), operation));
        if (command(ItemMessageIDFromViewCommand(), operation) == expected)
            return;
        if (deadline.hasExpired())
            throw Error(QStringLiteral("%1.%2: GroupWise did not show %3 within %4 seconds.")
                            .arg(QLatin1String(ClassName()), operation, what)
                            .arg(m_waitLimitMs / 1000.0));
        QThread::msleep(ulong(std::clamp<qint64>(deadline.remainingTime(), 0, kPollIntervalMs)));
    }
}

void TSendMailHelper::ExecuteNative() {
    const QString operation = QStringLiteral("ExecuteNative");
    command(ItemOpenCommand(MessageId), operation);
    waitForView(MessageId, operation, QStringLiteral("the message"));
    switch (Action) {
    case TMailActionKind::maReply:
        command(ItemReplyCommand(ReplyTo, IncludeMessage), operation);
        break;
    case TMailActionKind::maForward:
        command(ItemForwardFlatCommand(), operation);
        break;
    case TMailActionKind::maForwardAsAttachment:
        command(ItemForwardCommand(), operation);
        break;
    }
}

void TSendMailHelper::ExecuteNativeSimulate() {
    const QString operation = QStringLiteral("ExecuteNativeSimulate");
    const QString newMessage = QLatin1String(kGWNewMessageID);
    command(NewMailCommand(), operation);
    waitForView(newMessage, operation, QStringLiteral("the new mail"));
    command(ItemSetTextCommand(tfSubject, GetSubject(Subject)), operation);
    command(ItemSetTextCommand(tfMessage, GetMessageText(Body)), operation);
    switch (Action) {
    case TMailActionKind::maReply: {
        QString to = SenderAddress;
        QString cc;
        if (ReplyTo != rtSender) {
            to = QStringLiteral("%1; %2").arg(SenderAddress, GetAddressList(ToRecipients));
            cc = GetAddressList(CCRecipients);
        }
        command(ItemSetTextCommand(tfTo, to), operation);
        if (!cc.isEmpty())
            command(ItemSetTextCommand(tfCC, cc), operation);
        break;
    }
    case TMailActionKind::maForward:
        for (const QString &path : Attachments)
            command(ItemAttachmentAddCommand(path), operation);
        break;
    case TMailActionKind::maForwardAsAttachment:
        if (Attachments.isEmpty())
            throw Error(QStringLiteral("%1.%2: Attachments is empty")
                            .arg(QLatin1String(ClassName()), operation));
        command(ItemAttachmentAddCommand(Attachments.first()), operation);
        break;
    }
}

TMailClientMessage TSendMailHelper::MailClientMessage() const {
    TMailClientMessage message;
    if (Action == TMailActionKind::maReply) {
        message.To << SenderAddress;
        if (ReplyTo != rtSender) {
            for (const TAddressItem &item : ToRecipients)
                message.To << item.Address;
            for (const TAddressItem &item : CCRecipients)
                message.CC << item.Address;
        }
    } else {
        message.Attachments = Attachments;
    }
    message.Subject = GetSubject(Subject);
    message.Body = GetMessageText(Body);
    if (!message.Body.endsWith(QLatin1Char('\n')))
        message.Body += kCRLF;
    return message;
}

void TSendMailHelper::ExecuteMapi() {
    RunMailClient(m_mailClientProgram, XdgEmailArguments(MailClientMessage()), m_cancel);
}

void TSendMailHelper::Send(TSendMode mode) {
    if (mode != TSendMode::smNative && mode != TSendMode::smSimulate &&
        mode != TSendMode::smMailClient)
        return;
    PrepareAttachments();
    switch (mode) {
    case TSendMode::smNative:
        ExecuteNative();
        break;
    case TSendMode::smSimulate:
        ExecuteNativeSimulate();
        break;
    default:
        ExecuteMapi();
        break;
    }
}

// ---- TGWMessageSendMailHelper -----------------------------------------------------------

TGWMessageSendMailHelper::TGWMessageSendMailHelper(const TGWMessage *message) : m_message(message) {
    Account = message->ID.Account;
    MessageId = message->ID.Mapi;
    const TCoreProperties &core = message->CoreProperties;
    CreateDate = core.DateCreate;
    Subject = core.Subject;
    SenderName = core.Sender.DisplayName;
    SenderAddress = core.Sender.EmailAddress;
    for (const auto &recipient : core.Recipients) {
        if (!Account.isEmpty() && recipient->DisplayName.compare(Account, Qt::CaseInsensitive) == 0)
            continue;
        if (recipient->TargetType == rtTo)
            ToRecipients.Add(recipient->DisplayName, recipient->Address);
        else if (recipient->TargetType == rtCC)
            CCRecipients.Add(recipient->DisplayName, recipient->Address);
    }
    Body = message->Body.PlainText;
}

TGWMessageSendMailHelper::~TGWMessageSendMailHelper() = default;

void TGWMessageSendMailHelper::AdoptMessageCopy(std::unique_ptr<TGWMessage> copy) {
    m_copy = std::move(copy);
    m_message = m_copy.get();
}

void TGWMessageSendMailHelper::SetWorkFolder(const QString &folder) {
    if (folder.isEmpty() || folder == m_workFolder)
        return;
    m_workFolder = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

void TGWMessageSendMailHelper::PrepareAttachments() {
    if (Action != TMailActionKind::maReply && !m_message)
        throw Error(QStringLiteral("%1.PrepareAttachments: the message is not available")
                        .arg(QLatin1String(ClassName())));
    switch (Action) {
    case TMailActionKind::maReply:
        break;
    case TMailActionKind::maForward:
        ExtractAttachments();
        break;
    case TMailActionKind::maForwardAsAttachment: {
        if (m_workFolder.isEmpty())
            throw Error(QStringLiteral("%1.PrepareAttachments: WorkFolder is empty")
                            .arg(QLatin1String(ClassName())));
        const QString path = m_workFolder + SafeNameWithSuffix(trimBlanksAndControls(Subject),
                                                               QStringLiteral(".pml"));
        clearEntry(path);
        m_message->SaveToFile(path);
        Attachments = QStringList{path};
        break;
    }
    }
}

void TGWMessageSendMailHelper::ExtractAttachments() {
    if (m_workFolder.isEmpty())
        throw Error(QStringLiteral("%1.ExtractAttachments: WorkFolder is empty")
                        .arg(QLatin1String(ClassName())));
    if (!m_message)
        return;
    QSet<QString> written;
    // A name not yet written in this run.
    auto freshName = [&written](const QString &name) {
        QString candidate = name;
        for (int number = 2; written.contains(candidate); ++number)
            candidate = numberedName(name, number);
        written.insert(candidate);
        return candidate;
    };
    for (const auto &attachment : m_message->Attachments) {
        if (!attachment->HasData() || (attachment->IsSystem && !attachment->IsHtmlBody))
            continue;
        if (attachment->ObjectType == TObjectType::File) {
            const QString path = m_workFolder + freshName(attachment->SafeName());
            clearEntry(path);
            attachment->SaveDataToFile(path);
            Attachments.append(path);
        } else if (attachment->ObjectType == TObjectType::EmbeddedMessage) {
            TGWMessage embedded;
            embedded.LoadFromXml(attachment->DataText());
            TMsgPropertyEncoder encoder;
            encoder.SetMessage(&embedded);
            const QString name = SafeNameWithSuffix(trimBlanksAndControls(attachment->DisplayName),
                                                    QLatin1Char('[') + encoder.GetIdentifier() +
                                                        QStringLiteral("].pml"));
            const QString path = m_workFolder + freshName(name);
            clearEntry(path);
            embedded.SaveToFile(path);
            encoder.SetFileDate(path);
            Attachments.append(path);
        }
    }
}

} // namespace tarvin
