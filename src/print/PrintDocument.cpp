#include "print/PrintDocument.h"

#include "base/Error.h"
#include "model/GWMessage.h"
#include "util/DateTime.h"

namespace tarvin {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Leading and trailing blanks and control characters removed.
QString TrimBlanks(const QString &text) {
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin).unicode() <= 0x20)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 0x20)
        --end;
    return text.mid(begin, end - begin);
}

const TGWMessage &MessageOf(const TPrintSettings &settings) {
    if (!settings.Message)
        throw Error(QStringLiteral("%1: message has not been assigned")
                        .arg(QLatin1String(kPrinterClassName)));
    return *settings.Message;
}

// The message, checked to be of the type a builder belongs to.
const TGWMessage &MessageOfType(const TPrintSettings &settings, TGWMessageType type,
                                const char *builder) {
    const TGWMessage &message = MessageOf(settings);
    if (message.MessageType != type)
        throw Error(QStringLiteral("%1.%2: invalid %3.MessageType = %4")
                        .arg(QLatin1String(kPrinterClassName), QLatin1String(builder),
                             QLatin1String(message.ClassName()))
                        .arg(int(message.MessageType)));
    return message;
}

template <class T> const T &ItemOf(const TGWMessage &message, const char *builder) {
    const T *item = message.ItemAs<T>();
    if (!item)
        throw Error(QStringLiteral("%1.%2: the message has no item properties")
                        .arg(QLatin1String(kPrinterClassName), QLatin1String(builder)));
    return *item;
}

// The delivery date of a received mail or phone message, else the creation date.
TDateTime ReceivedOrCreated(const TGWMessage &message) {
    const TMessageItem *item = dynamic_cast<const TMessageItem *>(message.Item.get());
    if (item && item->DateDelivered != 0 && message.CoreProperties.Boxtype == 1)
        return item->DateDelivered;
    return message.CoreProperties.DateCreate;
}

QString AttributeCell(bool set, const char *label) {
    return QStringLiteral("        <td>[") + (set ? QStringLiteral("*") : QStringLiteral(" ")) +
           QStringLiteral("] ") + QLatin1String(label) + QStringLiteral("</td>") + kCrLf;
}

QString AttributeRow(const QString &first, const QString &second) {
    return QStringLiteral("      <tr>") + kCrLf + QStringLiteral("        <td></td>") + kCrLf +
           first + second + QStringLiteral("      </tr>") + kCrLf;
}

QString Rule(const char *selector, std::initializer_list<QString> declarations) {
    QString text =
        QStringLiteral("      ") + QLatin1String(selector) + QStringLiteral(" {") + kCrLf;
    for (const QString &declaration : declarations)
        text += QStringLiteral("        ") + declaration + kCrLf;
    return text + QStringLiteral("      }") + kCrLf;
}

} // namespace

QString PrintEscape(const QString &text) {
    QString result;
    result.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('&'))
            result += QStringLiteral("&amp;");
        else if (c == QLatin1Char('<'))
            result += QStringLiteral("&lt;");
        else if (c == QLatin1Char('>'))
            result += QStringLiteral("&gt;");
        else
            result += c;
    }
    return result;
}

QString PrintDateTimeText(double value) {
    return value == 0 ? QString() : FormatDisplayDateTime(value);
}

QString PrintDateText(double value) {
    return value == 0 ? QString() : FormatShortDate(value);
}

QString PrintTimeText(double value) {
    return value == 0 ? QString() : FormatLongTime(value);
}

QString PrintDocumentTitle(const TGWMessage &message) {
    return message.CoreProperties.From + QStringLiteral(" - ") + message.CoreProperties.Subject;
}

QString NamedRow(const QString &caption, const QString &value) {
    return QStringLiteral("      <tr>\r\n        <td class=\"item-name\">") + caption +
           QStringLiteral("</td>\r\n        <td class=\"item-data\">") + value +
           QStringLiteral("</td>") + kCrLf + QStringLiteral("      </tr>") + kCrLf;
}

QString GetFromRow(const TPrintSettings &settings) {
    return NamedRow(QStringLiteral("From:"), PrintEscape(MessageOf(settings).CoreProperties.From));
}

QString GetSubjectRow(const TPrintSettings &settings) {
    return NamedRow(QStringLiteral("Subject:"),
                    PrintEscape(MessageOf(settings).CoreProperties.Subject));
}

QString GetDateRow(const TPrintSettings &settings) {
    const TGWMessage &message = MessageOf(settings);
    QString value;
    switch (message.MessageType) {
    case mtMail:
    case mtPhone:
        value = PrintDateTimeText(ReceivedOrCreated(message));
        break;
    case mtAppointment:
        value = PrintDateText(ItemOf<TAppointment>(message, "GetDateRow").StartDate);
        break;
    case mtNote:
        value = PrintDateTimeText(ItemOf<TNote>(message, "GetDateRow").StartDate);
        break;
    case mtTask:
        value = PrintDateTimeText(ItemOf<TTask>(message, "GetDateRow").StartDate);
        break;
    default:
        value = PrintDateTimeText(message.CoreProperties.DateCreate);
        break;
    }
    return NamedRow(QStringLiteral("Date:"), value);
}

QString GetRecipientRow(const TPrintSettings &settings, TRecipientKind kind, int &count) {
    static const char *const captions[] = {"To:", "CC:", "BC:"};
    QStringList names;
    for (const auto &recipient : MessageOf(settings).CoreProperties.Recipients) {
        if (recipient->TargetType != uint8_t(kind))
            continue;
        QString name = TrimBlanks(recipient->DisplayName);
        if (name.isEmpty())
            name = TrimBlanks(recipient->Address);
        if (name.isEmpty())
            name = QStringLiteral("Not available");
        names.append(name);
    }
    count = int(names.size());
    return NamedRow(QLatin1String(captions[int(kind)]),
                    PrintEscape(names.join(QStringLiteral("; "))));
}

QString GetTimeRow(const TPrintSettings &settings) {
    const auto &item =
        ItemOf<TAppointment>(MessageOfType(settings, mtAppointment, "GetTimeRow"), "GetTimeRow");
    return NamedRow(QStringLiteral("Time:"), PrintTimeText(item.StartDate) + QStringLiteral(" - ") +
                                                 PrintTimeText(item.EndDate));
}

QString GetPlaceRow(const TPrintSettings &settings) {
    const auto &item =
        ItemOf<TAppointment>(MessageOfType(settings, mtAppointment, "GetPlaceRow"), "GetPlaceRow");
    return NamedRow(QStringLiteral("Place:"), PrintEscape(item.Place));
}

QString GetStartRow(const TPrintSettings &settings) {
    const auto &item = ItemOf<TTask>(MessageOfType(settings, mtTask, "GetStartRow"), "GetStartRow");
    return NamedRow(QStringLiteral("Start:"), PrintDateTimeText(item.StartDate));
}

QString GetDueRow(const TPrintSettings &settings) {
    const auto &item = ItemOf<TTask>(MessageOfType(settings, mtTask, "GetDueRow"), "GetDueRow");
    return NamedRow(QStringLiteral("Due:"), PrintDateTimeText(item.DueDate));
}

QString GetPriorityRow(const TPrintSettings &settings) {
    const auto &item =
        ItemOf<TTask>(MessageOfType(settings, mtTask, "GetPriorityRow"), "GetPriorityRow");
    // As stored, not escaped.
    return NamedRow(QStringLiteral("Priority:"), item.Priority);
}

QString GetCallerRow(const TPrintSettings &settings) {
    const auto &item =
        ItemOf<TPhone>(MessageOfType(settings, mtPhone, "GetCallerRow"), "GetCallerRow");
    return NamedRow(QStringLiteral("Caller:"), PrintEscape(item.CallerName));
}

QString GetCompanyRow(const TPrintSettings &settings) {
    const auto &item =
        ItemOf<TPhone>(MessageOfType(settings, mtPhone, "GetCompanyRow"), "GetCompanyRow");
    return NamedRow(QStringLiteral("Company:"), PrintEscape(item.CallerCompany));
}

QString GetPhoneRow(const TPrintSettings &settings) {
    const auto &item =
        ItemOf<TPhone>(MessageOfType(settings, mtPhone, "GetPhoneRow"), "GetPhoneRow");
    return NamedRow(QStringLiteral("Phone:"), PrintEscape(item.PhoneNumber));
}

QString GetPhoneAttributeRows(const TPrintSettings &settings) {
    const auto &item = ItemOf<TPhone>(MessageOfType(settings, mtPhone, "GetPhoneAttributeRows"),
                                      "GetPhoneAttributeRows");
    const QString empty = QStringLiteral("        <td></td>") + kCrLf;
    return QStringLiteral("      <tr><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr>") + kCrLf +
           AttributeRow(AttributeCell(item.Telephoned, "Telephoned"),
                        AttributeCell(item.PleaseCall, "Please call")) +
           AttributeRow(AttributeCell(item.WillCall, "Will call again"),
                        AttributeCell(item.ReturnedCall, "Returned your call")) +
           AttributeRow(AttributeCell(item.WantsSee, "Wants to see you"),
                        AttributeCell(item.CameToSee, "Came to see you")) +
           AttributeRow(AttributeCell(item.Urgent, "Urgent"), empty);
}

QString GetTypeRows(const TPrintSettings &settings) {
    switch (MessageOf(settings).MessageType) {
    case mtMail:
    case mtNote:
    case mtDocumentReference:
        return GetDateRow(settings) + GetSubjectRow(settings);
    case mtAppointment:
        return GetDateRow(settings) + GetTimeRow(settings) + GetSubjectRow(settings) +
               GetPlaceRow(settings);
    case mtTask:
        return GetStartRow(settings) + GetDueRow(settings) + GetPriorityRow(settings) +
               GetSubjectRow(settings);
    case mtPhone:
        return GetDateRow(settings) + GetCallerRow(settings) + GetCompanyRow(settings) +
               GetPhoneRow(settings) + GetPhoneAttributeRows(settings);
    }
    return QString();
}

QString GetSeparatorRow() {
    return QStringLiteral(
        "      <tr>\r\n        <td class=\"separator\" colspan=\"3\"><br></td>\r\n"
        "      </tr>\r\n");
}

QString GetBodyRow(const TPrintSettings &settings, int &length) {
    QString cell;
    if (settings.HtmlMode) {
        cell =
            QStringLiteral("        <td id=\"source-html\" class=\"message-body\" colspan=\"3\">") +
            kCrLf + QStringLiteral("        </td>") + kCrLf;
        length = int(cell.size());
    } else {
        QString text = MessageOf(settings).Body.PlainText;
        length = int(TrimBlanks(text).size());
        text = PrintEscape(text);
        text.replace(QStringLiteral("\n"), QStringLiteral("<br>\r\n"));
        text.replace(QStringLiteral("  "), QStringLiteral("&nbsp;&nbsp; "));
        text.replace(QStringLiteral("\n "), QStringLiteral("\n&nbsp; "));
        cell = QStringLiteral("        <td class=\"message-body\" colspan=\"3\">") + text + kCrLf +
               QStringLiteral("        </td>") + kCrLf;
    }
    return QStringLiteral("      <tr>") + kCrLf + cell + QStringLiteral("      </tr>") + kCrLf;
}

QString GetAttachmentsRow(const TPrintSettings &settings, int &count) {
    QStringList names;
    for (const auto &attachment : MessageOf(settings).Attachments) {
        if (attachment->IsSystem && !settings.ShowSystemAttachments)
            continue;
        names.append(attachment->DisplayName);
    }
    count = int(names.size());
    return QStringLiteral("      <tr>\r\n        <td class=\"attachment-list\" colspan=\"3\">"
                          "<b>Attachments: </b>") +
           PrintEscape(names.join(QStringLiteral(", "))) + QStringLiteral("</td>") + kCrLf +
           QStringLiteral("      </tr>") + kCrLf;
}

QString GetTable(const TPrintSettings &settings) {
    QString table = QStringLiteral("    <table>") + kCrLf + GetFromRow(settings);
    for (TRecipientKind kind : {TRecipientKind::To, TRecipientKind::CC, TRecipientKind::BC}) {
        int count = 0;
        const QString row = GetRecipientRow(settings, kind, count);
        if (count > 0)
            table += row;
    }
    table += GetTypeRows(settings);
    int length = 0;
    const QString body = GetBodyRow(settings, length);
    if (length > 0)
        table += GetSeparatorRow() + body;
    int count = 0;
    const QString attachments = GetAttachmentsRow(settings, count);
    if (count > 0)
        table += GetSeparatorRow() + attachments;
    return table + QStringLiteral("    </table>") + kCrLf;
}

QString GetStyleSheet(const TPrintSettings &settings) {
    const QString p = QStringLiteral("padding-");
    QString table = Rule("table", {QStringLiteral("border-collapse: collapse;")});
    if (!settings.HtmlMode) {
        const QString name = settings.FontGiven
                                 ? QLatin1Char('"') + settings.FontName + QStringLiteral("\", ")
                                 : QString();
        const int size = settings.FontGiven ? settings.FontSize : 10;
        table = Rule("table", {QStringLiteral("border-collapse: collapse;"),
                               QStringLiteral("font-family: ") + name +
                                   QStringLiteral("Arial, Verdana, Helvetica, sans-serif;"),
                               QStringLiteral("font-size: %1pt;").arg(size)});
    }
    return Rule("body",
                {QStringLiteral("border: none;"), QStringLiteral("margin-top: 32px;"),
                 QStringLiteral("margin-right: 64px;"), QStringLiteral("margin-bottom: 64px;"),
                 QStringLiteral("margin-left: 32px;")}) +
           table + Rule("tr", {QStringLiteral("vertical-align: text-top;")}) +
           Rule("td.item-name",
                {p + QStringLiteral("top: 2px;"), p + QStringLiteral("right: 8px;"),
                 p + QStringLiteral("bottom: 2px;"), p + QStringLiteral("left: 0px;"),
                 QStringLiteral("font-weight: bolder;"), QStringLiteral("width: 1%;")}) +
           Rule("td.item-data",
                {p + QStringLiteral("top: 2px;"), p + QStringLiteral("right: 8px;"),
                 p + QStringLiteral("bottom: 2px;"), p + QStringLiteral("left: 0px;")}) +
           Rule("td.message-body", {}) +
           Rule("td.attachment-list",
                {p + QStringLiteral("top: 2px;"), p + QStringLiteral("right: 0px;"),
                 p + QStringLiteral("bottom: 2px;"), p + QStringLiteral("left: 0px;")}) +
           Rule("td.separator",
                {QStringLiteral("border-top: none;"), QStringLiteral("border-right: none;"),
                 QStringLiteral("border-bottom: 1px solid black;"),
                 QStringLiteral("border-left: none;"), QStringLiteral("font-size: 25%;")});
}

} // namespace tarvin
