#include "mail/GroupWiseCommands.h"

#include "base/Error.h"
#include "model/AbstractMessageItem.h"

#include <QStringList>

namespace tarvin {

QString QuoteGWText(const QString &text) {
    QString inner = text;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString GWCommand(const QString &name, std::initializer_list<TGWArgument> arguments) {
    QStringList parts;
    for (const TGWArgument &argument : arguments) {
        if (const int *number = std::get_if<int>(&argument))
            parts.append(QString::number(*number));
        else
            parts.append(QuoteGWText(std::get<QString>(argument)));
    }
    return name + QLatin1Char('(') + parts.join(QLatin1Char(';')) + QLatin1Char(')');
}

namespace {
QString newMessage() {
    return QString::fromLatin1(kGWNewMessageID);
}
} // namespace

QString EnvUserIDCommand() {
    return GWCommand(QStringLiteral("EnvUserID"), {1, 0});
}

QString ItemIsValidCommand(const QString &messageID) {
    return GWCommand(QStringLiteral("ItemIsValid"), {messageID});
}

QString ItemOpenCommand(const QString &messageID) {
    return GWCommand(QStringLiteral("ItemOpen"), {messageID});
}

QString ItemMessageIDFromViewCommand() {
    return GWCommand(QStringLiteral("ItemMessageIDFromView"));
}

QString ItemReplyCommand(TGWReplyTo replyTo, bool includeMessage) {
    return GWCommand(QStringLiteral("ItemReply"),
                     {static_cast<int>(replyTo), includeMessage ? 1 : 0, newMessage()});
}

QString ItemForwardFlatCommand() {
    return GWCommand(QStringLiteral("ItemForwardFlat"));
}

QString ItemForwardCommand() {
    return GWCommand(QStringLiteral("ItemForward"));
}

QString NewMailCommand() {
    return GWCommand(QStringLiteral("NewMail"));
}

QString ItemSetTextCommand(TGWTextField field, const QString &text) {
    return GWCommand(QStringLiteral("ItemSetText"), {newMessage(), static_cast<int>(field), text});
}

QString ItemAttachmentAddCommand(const QString &filePath) {
    return GWCommand(QStringLiteral("ItemAttachmentAdd"), {newMessage(), kGWAttachFile, filePath});
}

bool GWResultToBool(const QString &result) {
    // The client answers as message files write values: the same reading, blanks around it
    // allowed.
    try {
        return StrToBool(result.trimmed());
    } catch (const ConvertError &) {
        throw ConvertError(QStringLiteral("'%1' is not a valid boolean value").arg(result));
    }
}

} // namespace tarvin
