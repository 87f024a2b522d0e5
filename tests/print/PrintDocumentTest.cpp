// The print document's markup, checked byte for byte.
#include "print/PrintDocument.h"

#include "base/Error.h"
#include "print/PrintTestMessages.h"
#include "util/DateTime.h"

#include <gtest/gtest.h>

namespace tarvin {
namespace {

using printtest::Load;
using printtest::Sample;

std::string S(const QString &text) {
    return text.toStdString();
}

QString Row(const char *caption, const QString &value) {
    return QStringLiteral("      <tr>\r\n        <td class=\"item-name\">") +
           QLatin1String(caption) + QStringLiteral("</td>\r\n        <td class=\"item-data\">") +
           value + QStringLiteral("</td>\r\n      </tr>\r\n");
}

const QString kSeparator = QStringLiteral(
    "      <tr>\r\n        <td class=\"separator\" colspan=\"3\"><br></td>\r\n      </tr>\r\n");

const QString kPlainBody = QStringLiteral(
    "      <tr>\r\n        <td class=\"message-body\" colspan=\"3\">First line<br>\r\n"
    "second&nbsp;&nbsp; line<br>\r\n&nbsp; indented\r\n        </td>\r\n      </tr>\r\n");

const QString kAttachments =
    QStringLiteral("      <tr>\r\n        <td class=\"attachment-list\" colspan=\"3\">"
                   "<b>Attachments: </b>report.txt</td>\r\n      </tr>\r\n");

QString Table(const QString &typeRows) {
    return QStringLiteral("    <table>\r\n") + Row("From:", "Ann Lee") + Row("To:", "Bob Stone") +
           Row("CC:", "carl@example.org") + typeRows + kSeparator + kPlainBody + kSeparator +
           kAttachments + QStringLiteral("    </table>\r\n");
}

double Date(const char *iso) {
    return IsoDateTimeToDateTime(QLatin1String(iso));
}

TEST(PrintDocument, TableOfEachTypeIsExact) {
    const QString subject = Row("Subject:", "Audit file 7");
    struct Case {
        TGWMessageType type;
        QString rows;
    };
    const QString phoneAttributes = QStringLiteral(
        "      <tr><td>&nbsp;</td><td>&nbsp;</td><td>&nbsp;</td></tr>\r\n"
        "      <tr>\r\n        <td></td>\r\n        <td>[*] Telephoned</td>\r\n"
        "        <td>[*] Please call</td>\r\n      </tr>\r\n"
        "      <tr>\r\n        <td></td>\r\n        <td>[ ] Will call again</td>\r\n"
        "        <td>[ ] Returned your call</td>\r\n      </tr>\r\n"
        "      <tr>\r\n        <td></td>\r\n        <td>[ ] Wants to see you</td>\r\n"
        "        <td>[ ] Came to see you</td>\r\n      </tr>\r\n"
        "      <tr>\r\n        <td></td>\r\n        <td>[ ] Urgent</td>\r\n        <td></td>\r\n"
        "      </tr>\r\n");
    const Case cases[] = {
        {mtMail, Row("Date:", FormatDisplayDateTime(Date("20240312T091600"))) + subject},
        {mtAppointment, Row("Date:", FormatShortDate(Date("20240320T140000"))) +
                            Row("Time:", FormatLongTime(Date("20240320T140000")) + " - " +
                                             FormatLongTime(Date("20240320T153000"))) +
                            subject + Row("Place:", "Room 4")},
        {mtTask, Row("Start:", FormatShortDate(Date("20240304T000000"))) +
                     Row("Due:", FormatShortDate(Date("20240315T000000"))) +
                     Row("Priority:", "A1") + subject},
        {mtNote, Row("Date:", FormatShortDate(Date("20240322T000000"))) + subject},
        {mtPhone, Row("Date:", FormatDisplayDateTime(Date("20240312T101000"))) +
                      Row("Caller:", "Dana Whitlock") + Row("Company:", "Brantford Ltd") +
                      Row("Phone:", "+44 20 7946 0018") + phoneAttributes},
        {mtDocumentReference,
         Row("Date:", FormatDisplayDateTime(Date("20240312T091500"))) + subject},
    };
    for (const Case &c : cases) {
        auto message = Load(Sample(c.type));
        TPrintSettings settings;
        settings.Message = message.get();
        EXPECT_EQ(S(GetTable(settings)), S(Table(c.rows))) << "type " << int(c.type);
    }
}

TEST(PrintDocument, StyleSheetCarriesTheFontOnlyInPlainTextMode) {
    const QString before =
        QStringLiteral("      body {\r\n        border: none;\r\n"
                       "        margin-top: 32px;\r\n"
                       "        margin-right: 64px;\r\n"
                       "        margin-bottom: 64px;\r\n"
                       "        margin-left: 32px;\r\n      }\r\n"
                       "      table {\r\n        border-collapse: collapse;\r\n");
    const QString after = QStringLiteral(
        "      }\r\n      tr {\r\n        vertical-align: text-top;\r\n      }\r\n"
        "      td.item-name {\r\n        padding-top: 2px;\r\n        padding-right: 8px;\r\n"
        "        padding-bottom: 2px;\r\n        padding-left: 0px;\r\n"
        "        font-weight: bolder;\r\n        width: 1%;\r\n      }\r\n"
        "      td.item-data {\r\n        padding-top: 2px;\r\n        padding-right: 8px;\r\n"
        "        padding-bottom: 2px;\r\n        padding-left: 0px;\r\n      }\r\n"
        "      td.message-body {\r\n      }\r\n"
        "      td.attachment-list {\r\n        padding-top: 2px;\r\n        padding-right: 0px;\r\n"
        "        padding-bottom: 2px;\r\n        padding-left: 0px;\r\n      }\r\n"
        "      td.separator {\r\n        border-top: none;\r\n        border-right: none;\r\n"
        "        border-bottom: 1px solid black;\r\n        border-left: none;\r\n"
        "        font-size: 25%;\r\n      }\r\n");
    TPrintSettings settings;
    EXPECT_EQ(S(GetStyleSheet(settings)),
              S(before +
                "        font-family: Arial, Verdana, Helvetica, sans-serif;\r\n"
                "        font-size: 10pt;\r\n" +
                after));
    settings.FontGiven = true;
    settings.FontName = QStringLiteral("DejaVu Sans Mono");
    settings.FontSize = 11;
    EXPECT_EQ(S(GetStyleSheet(settings)),
              S(before +
                "        font-family: \"DejaVu Sans Mono\", Arial, Verdana, Helvetica, "
                "sans-serif;\r\n        font-size: 11pt;\r\n" +
                after));
    settings.HtmlMode = true;
    EXPECT_EQ(S(GetStyleSheet(settings)), S(before + after));
}

TEST(PrintDocument, EscapingRecipientsAndDateRules) {
    PmlWriter writer(mtMail);
    writer.SetCore("from", "R&D <lab>")
        .SetCore("subject", "Q&A <final> \"x\"")
        .SetCore("boxtype", "2");
    writer.AddRecipient("  Ann\t", "ann@x", "0");
    writer.AddRecipient(" ", "\t", "0");
    writer.AddRecipient("", " bob@x ", "0");
    writer.AddRecipient("Eve & Co", "", "2");
    writer.SetPlainText(" \r\n\n  ");
    auto message = Load(writer);
    TPrintSettings settings;
    settings.Message = message.get();
    EXPECT_EQ(S(GetFromRow(settings)), S(Row("From:", "R&amp;D &lt;lab&gt;")));
    EXPECT_EQ(S(GetSubjectRow(settings)), S(Row("Subject:", "Q&amp;A &lt;final&gt; \"x\"")));
    EXPECT_EQ(S(PrintDocumentTitle(*message)), "R&D <lab> - Q&A <final> \"x\"");
    int count = -1;
    EXPECT_EQ(S(GetRecipientRow(settings, TRecipientKind::To, count)),
              S(Row("To:", "Ann; Not available; bob@x")));
    EXPECT_EQ(count, 3);
    GetRecipientRow(settings, TRecipientKind::CC, count);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(S(GetRecipientRow(settings, TRecipientKind::BC, count)),
              S(Row("BC:", "Eve &amp; Co")));
    // Box type 2: the creation date even though a delivery date is stored.
    EXPECT_EQ(S(GetDateRow(settings)),
              S(Row("Date:", FormatDisplayDateTime(Date("20240312T091500")))));
    // A body of blanks and line breaks: no body row, no separator.
    int length = -1;
    GetBodyRow(settings, length);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(GetTable(settings).count(QStringLiteral("separator")), 0);
    // HTML mode always has the (empty) body cell and its separator.
    settings.HtmlMode = true;
    const QString table = GetTable(settings);
    EXPECT_TRUE(table.contains(
        QStringLiteral("      <tr>\r\n        <td id=\"source-html\" class=\"message-body\" "
                       "colspan=\"3\">\r\n        </td>\r\n      </tr>\r\n")));
    EXPECT_EQ(table.count(QStringLiteral("class=\"separator\"")), 1);
}

TEST(PrintDocument, SystemAttachmentsAndTypesOutsideTheKnownOnes) {
    PmlWriter writer(mtMail);
    PmlAttachment system = PmlAttachment::File("Mime.822", "From: a\r\n\r\nx");
    system.System = QStringLiteral("true");
    writer.AddAttachment(system);
    auto message = Load(writer);
    TPrintSettings settings;
    settings.Message = message.get();
    int count = -1;
    GetAttachmentsRow(settings, count);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(GetTable(settings).contains(QStringLiteral("Attachments")));
    settings.ShowSystemAttachments = true;
    EXPECT_TRUE(GetTable(settings).contains(QStringLiteral("<b>Attachments: </b>Mime.822</td>")));

    // Types outside 0 to 5: From, recipients, body, attachments, but no type rows.
    message->MessageType = static_cast<TGWMessageType>(9);
    const QString table = GetTable(settings);
    EXPECT_FALSE(table.contains(QStringLiteral("Subject:")));
    EXPECT_FALSE(table.contains(QStringLiteral("Date:")));
    EXPECT_TRUE(table.contains(QStringLiteral("From:")));
    EXPECT_TRUE(table.contains(QStringLiteral("message-body")));
    try {
        GetCallerRow(settings);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(S(e.message()),
                  "TfrmMessagePrinter.GetCallerRow: invalid TGWMessage.MessageType = 9");
    }
    message->MessageType = mtMail;
    try {
        GetPriorityRow(settings);
        FAIL() << "no error";
    } catch (const Error &e) {
        EXPECT_EQ(S(e.message()),
                  "TfrmMessagePrinter.GetPriorityRow: invalid TGWMessage.MessageType = 0");
    }
}

} // namespace
} // namespace tarvin
