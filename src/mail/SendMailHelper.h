#pragma once

#include "base/Error.h"
#include "mail/Config.h"
#include "mail/GroupWiseCommands.h"
#include "mail/MailClient.h"
#include "util/DateTime.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace tarvin {

class TGWMessage;
class TGroupWiseCommander;

// What a mail action does with a saved message.
enum class TMailActionKind : uint8_t { maReply = 0, maForward = 1, maForwardAsAttachment = 2 };

// How a mail action is carried out (the outcome of the checks before it).
enum class TSendMode : uint8_t {
    smNone = 0,       // no way, or the user cancelled
    smRetry = 1,      // the user changes the GroupWise login and tries again
    smNative = 2,     // GroupWise opens the item and replies or forwards itself
    smSimulate = 3,   // a new GroupWise mail composed from the saved message
    smMailClient = 4, // the desktop's mail client composes the mail
};

// The seven reply and forward actions a viewer offers.
enum class TMailCommand : uint8_t {
    Reply,               // "Reply": the reply dialog asks whom and whether to quote
    ReplyToSenderInc,    // "Reply to Sender (Include Message)"
    ReplyToSender,       // "Reply to Sender"
    ReplyToAllInc,       // "Reply to All (Include Message)"
    ReplyToAll,          // "Reply to All"
    ForwardAsAttachment, // "Forward as Attachment"
    Forward,             // "Forward"
};

// One address of a recipient list.
struct TAddressItem {
    QString Name;
    QString Address;
};

// An ordered list of addresses.
class TAddressCollection {
public:
    void Add(const QString &name, const QString &address) { m_items.push_back({name, address}); }
    int Count() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }
    const TAddressItem &Item(int index) const { return m_items.at(size_t(index)); }
    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<TAddressItem> m_items;
};

// Raised when the user cancelled a mail action while it waited for GroupWise.
class TMailActionCancelled : public Error {
public:
    using Error::Error;
};

// The data and the steps of one mail action. Created for the action and freed after it; the
// GroupWise commander is created at the first command and released with the helper.
//
// The checks and Send() block while they talk to GroupWise or start the mail client: run them
// on a worker thread. A waiting loop ends after WaitLimit() or when the cancel flag is set.
class TSendMailHelper {
public:
    static constexpr int kDefaultWaitLimitMs = 30000;
    static constexpr int kPollIntervalMs = 100;

    TSendMailHelper();
    virtual ~TSendMailHelper();
    TSendMailHelper(const TSendMailHelper &) = delete;
    TSendMailHelper &operator=(const TSendMailHelper &) = delete;

    QString Account;   // the account the message was saved from
    QString MessageId; // the message's identifier in GroupWise
    TDateTime CreateDate = 0;
    QString Subject;
    QString SenderName;
    QString SenderAddress;
    TAddressCollection ToRecipients;
    TAddressCollection CCRecipients;
    QString Body;
    QStringList Attachments; // files to attach to a forward
    TMailActionKind Action = TMailActionKind::maReply;
    TGWReplyTo ReplyTo = rtSender;
    bool IncludeMessage = false;

    virtual const char *ClassName() const { return "TSendMailHelper"; }

    // The addresses of a list, separated by "; ".
    virtual QString GetAddressList(const TAddressCollection &addresses) const;
    // The text of the new mail made from a body: the ">>> sender date >>>" header and, for
    // forwards and replies with the message, the body; for forwards as attachment the trailer.
    virtual QString GetMessageText(const QString &body) const;
    // The subject with the reply or forward prefix, unless it already starts with it.
    virtual QString GetSubject(const QString &subject) const;
    // Writes the files a forward attaches; nothing here.
    virtual void PrepareAttachments();

    bool IsGroupWiseInstalled() const;
    bool IsGroupWiseRunning() const;
    // "ItemIsValid" for MessageId; a failure raises "<class>.IsMessageAvailable: <reason>".
    bool IsMessageAvailable();
    // "EnvUserID(1;0)"; a failure raises "<class>.GetUserID: <reason>".
    QString GetUserID();
    bool IsMailClientInstalled() const;

    // PrepareAttachments, then the action in the mode: ExecuteNative, ExecuteNativeSimulate or
    // ExecuteMapi. Modes 0 and 1 do nothing.
    void Send(TSendMode mode);
    void ExecuteNative();
    void ExecuteNativeSimulate();
    void ExecuteMapi();

    // Closes the connection to GroupWise; the next command opens a new one. The connection
    // belongs to the thread that made it: call this on that thread before another one goes on.
    void ReleaseCommander();

    // The mail handed to the mail client by ExecuteMapi.
    TMailClientMessage MailClientMessage() const;

    // The "Send Mail" settings (prefixes and trailer); AppConfig() when the helper was made.
    const TConfig &Config() const { return m_config; }
    void SetConfig(const TConfig &config) { m_config = config; }
    // The command channel's socket; empty for the client's usual one.
    void SetSocketPath(const QString &path) { m_socketPath = path; }
    // Checked by the waiting loops; set it from another thread to stop the action.
    void SetCancelFlag(const std::atomic_bool *cancel) { m_cancel = cancel; }
    int WaitLimit() const { return m_waitLimitMs; }
    void SetWaitLimit(int milliseconds) { m_waitLimitMs = milliseconds; }
    void SetMailClientProgram(const QString &program) { m_mailClientProgram = program; }

protected:
    bool cancelled() const { return m_cancel && m_cancel->load(); }

private:
    // Runs one command; a failure raises "<class>.<operation>: <reason>".
    QString command(const QString &text, const QString &operation);
    // Asks for the item in GroupWise's active view until it is `expected`, at most
    // WaitLimit(); `what` names the awaited item in the time-out error.
    void waitForView(const QString &expected, const QString &operation, const QString &what);

    TConfig m_config;
    QString m_socketPath;
    const std::atomic_bool *m_cancel = nullptr;
    int m_waitLimitMs = kDefaultWaitLimitMs;
    QString m_mailClientProgram = QLatin1String(kMailClientProgram);
    std::unique_ptr<TGroupWiseCommander> m_commander;
};

// The helper made from a loaded message.
class TGWMessageSendMailHelper : public TSendMailHelper {
public:
    // Fills the fields from the message (not owned, must outlive the helper). Recipients whose
    // display name is the saving account are left out of both lists.
    explicit TGWMessageSendMailHelper(const TGWMessage *message);
    ~TGWMessageSendMailHelper() override;

    const char *ClassName() const override { return "TGWMessageSendMailHelper"; }

    const TGWMessage *Message() const { return m_message; }
    // Reads attachments from an own copy of the message from now on (for a worker thread, so
    // that the window may drop its message meanwhile); null lets go of the message. The fields
    // stay as they are.
    void AdoptMessageCopy(std::unique_ptr<TGWMessage> copy);

    // The folder the files are written to, ending in "/"; "" until set.
    QString WorkFolder() const { return m_workFolder; }
    void SetWorkFolder(const QString &folder);

    // Forward: ExtractAttachments; forward as attachment: the whole message as "<subject>.pml".
    void PrepareAttachments() override;
    // Writes the file attachments (system attachments only for the HTML body) and embedded
    // messages into the work folder and lists them in Attachments. Names from the message are
    // made safe; a name already written in this run gets " (2)", " (3)" ... before its
    // extension.
    void ExtractAttachments();

private:
    const TGWMessage *m_message;
    std::unique_ptr<TGWMessage> m_copy;
    QString m_workFolder;
};

// Sets the helper's Action, and for the replies other than Reply its reply target and quoting.
void ApplyMailCommand(TSendMailHelper &helper, TMailCommand command);

} // namespace tarvin
