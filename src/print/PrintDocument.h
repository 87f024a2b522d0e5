#pragma once

#include <QString>

namespace tarvin {

class TGWMessage;

// What the print document is built from: the message and the printing window's settings.
struct TPrintSettings {
    const TGWMessage *Message = nullptr; // not owned
    bool HtmlMode = false;               // the loaded page is the message's HTML body
    QString FontName;                    // the plain-text view's font, when FontGiven
    int FontSize = 0;                    // whole points
    bool FontGiven = false;
    bool ShowSystemAttachments = false;
};

// The class names that the type-check errors carry.
inline constexpr const char *kPrinterClassName = "TfrmMessagePrinter";

// The print document's markup, built as text: every line ends in CR LF. A row builder that
// belongs to one message type raises
// "TfrmMessagePrinter.<builder>: invalid TGWMessage.MessageType = <type>" for another type.

enum class TRecipientKind { To = 0, CC = 1, BC = 2 };

// "&", "<" and ">" as entities; everything else unchanged.
QString PrintEscape(const QString &text);

// Date texts of the printout: short date and long time (no time at exactly midnight), short
// date only, long time only. A missing date (0) gives an empty text.
QString PrintDateTimeText(double value);
QString PrintDateText(double value);
QString PrintTimeText(double value);

// One row with a caption cell and a value cell.
QString NamedRow(const QString &caption, const QString &value);

QString GetFromRow(const TPrintSettings &settings);
QString GetSubjectRow(const TPrintSettings &settings);
QString GetDateRow(const TPrintSettings &settings);
// The row and the number of recipients of that kind (the row is used only when above 0).
QString GetRecipientRow(const TPrintSettings &settings, TRecipientKind kind, int &count);
QString GetTypeRows(const TPrintSettings &settings);
QString GetTimeRow(const TPrintSettings &settings);
QString GetPlaceRow(const TPrintSettings &settings);
QString GetStartRow(const TPrintSettings &settings);
QString GetDueRow(const TPrintSettings &settings);
QString GetPriorityRow(const TPrintSettings &settings);
QString GetCallerRow(const TPrintSettings &settings);
QString GetCompanyRow(const TPrintSettings &settings);
QString GetPhoneRow(const TPrintSettings &settings);
QString GetPhoneAttributeRows(const TPrintSettings &settings);
QString GetSeparatorRow();
// The body row and the length that decides whether it is used (above 0).
QString GetBodyRow(const TPrintSettings &settings, int &length);
// The attachment row and the number of names listed (the row is used only when above 0).
QString GetAttachmentsRow(const TPrintSettings &settings, int &count);
QString GetTable(const TPrintSettings &settings);
QString GetStyleSheet(const TPrintSettings &settings);

// The document title: sender, " - ", subject (not escaped).
QString PrintDocumentTitle(const TGWMessage &message);

} // namespace tarvin
