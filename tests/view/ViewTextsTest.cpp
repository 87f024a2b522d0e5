#include "view/ViewTexts.h"
#include "view/AttachmentRules.h"

#include <gtest/gtest.h>

#include "support/QtPrinters.h"

using namespace tarvin;

namespace {
// Every character is 8 px wide: easy to reason about tab columns.
int Width8(const QString &text) {
    return int(text.size()) * 8;
}
} // namespace

TEST(TypeNames, PostedAndNotPosted) {
    EXPECT_EQ(MessageTypeName(0, 1), "Mail");
    EXPECT_EQ(MessageTypeName(0, 3), "Posted Message");
    EXPECT_EQ(MessageTypeName(1, 3), "Posted Appointment");
    EXPECT_EQ(MessageTypeName(2, 3), "Posted Task");
    EXPECT_EQ(MessageTypeName(3, 3), "Posted Reminder Note");
    EXPECT_EQ(MessageTypeName(3, 0), "Reminder Note");
    EXPECT_EQ(MessageTypeName(4, 3), "Posted Phone Message");
    EXPECT_EQ(MessageTypeName(4, 2), "Phone");
    EXPECT_EQ(MessageTypeName(5, 3), "Document Reference");
    EXPECT_EQ(MessageTypeName(6, 1), "");
}

TEST(TweakFormat, ValuesLineUpOnTheFifthStop) {
    // "From" is 32 px: column 1, so four more tabs; a 72 px label is in column 2.
    EXPECT_EQ(TweakFormat("From\tx", Width8), "From\t\t\t\t\tx");
    EXPECT_EQ(TweakFormat("Recipient\tx", Width8), "Recipient\t\t\t\tx");
    // A label ending exactly on a stop: its tab goes on to the next stop, as the view lays it out.
    EXPECT_EQ(TweakFormat("Subjects\tx", Width8), "Subjects\t\t\t\tx");
    // Tabs already doubled count as columns of their own.
    EXPECT_EQ(TweakFormat("A\t\tx", Width8), "A\t\t\t\t\tx");
    EXPECT_EQ(TweakFormat("A\t\t\t\t\t\tx", Width8), "A\t\t\t\t\t\tx");
    // A label past the fifth stop gets no extra tab.
    QString wide(45, QLatin1Char('w')); // 360 px
    EXPECT_EQ(TweakFormat(wide + "\tx", Width8), wide + "\tx");
}

TEST(TweakFormat, LineStartsAndMultipleLines) {
    // A lone tab at the start of a line is an indent of four spaces.
    EXPECT_EQ(TweakFormat("To:\n\tBob\n", Width8), "To:\n    Bob\n");
    // Two tabs at a line start are a column, not an indent.
    EXPECT_EQ(TweakFormat("a\n\t\tb", Width8), "a\n\t\t\t\t\tb");
    // Each line is measured from its own start.
    EXPECT_EQ(TweakFormat("Recipient\t1\nTo\t2", Width8), "Recipient\t\t\t\t1\nTo\t\t\t\t\t2");
    // An indented label is measured with its indent as shown, so its value is in the same
    // column as the others'.
    EXPECT_EQ(TweakFormat("To\t1\n\tRecipient\t\t2", Width8),
              "To\t\t\t\t\t1\n    Recipient\t\t\t\t2");
    // Earlier tabs on a line count as the stops they reach.
    EXPECT_EQ(TweakFormat("A\tB\tC", Width8), "A\t\t\t\t\tB\tC");
    EXPECT_EQ(TweakFormat("no tabs here", Width8), "no tabs here");
    EXPECT_EQ(TweakFormat("", Width8), "");
}

TEST(PropertiesText, NoneAndFileBlock) {
    EXPECT_EQ(PropertiesText("none", ""), "No properties are available for this message.");
    EXPECT_EQ(PropertiesText("  \n\t ", ""), "No properties are available for this message.");
    EXPECT_EQ(PropertiesText("none \n", "/m/a.pml"),
              "No properties are available for this message.\n\nMessage Properties\n"
              " File Name:\t/m/a.pml");
    // Blanks beside tabs become tabs; trailing white space goes.
    EXPECT_EQ(PropertiesText("Size \t12\t KB \t \n", ""), "Size\t\t12\t\tKB");
}

TEST(SaveLogText, StatusLines) {
    TDateTime date = EncodeDateTime(2024, 3, 5, 14, 30, 0);
    QString stamp = FormatShortDate(date) + " " + FormatLongTime(date);
    EXPECT_EQ(SaveLogText(date, 0, {}, true), "Date:\t" + stamp + "\nStatus:\tNormal");
    EXPECT_EQ(SaveLogText(date, -1, {}, true),
              "Date:\t" + stamp +
                  "\nStatus:\tOne or more errors occurred while saving a message attachment");
    EXPECT_EQ(SaveLogText(date, -1, {"first", "second"}, true),
              "Date:\t" + stamp + "\nStatus:\tOne or more errors occurred\nfirst\nsecond");
    EXPECT_EQ(SaveLogText(date, -1, {}, false),
              "Date:\t" + stamp + "\nStatus:\tOne or more errors occurred");
    EXPECT_TRUE(SaveLogText(date, 7, {}, false).endsWith("Status:\t7"));
    // A midnight save still shows its time.
    TDateTime midnight = EncodeDateTime(2024, 3, 5, 0, 0, 0);
    EXPECT_TRUE(SaveLogText(midnight, 0, {}, false).contains(FormatLongTime(midnight)));
}

TEST(WindowTexts, TitleHintAndShortening) {
    EXPECT_EQ(ViewerTitle("Mail", "Ann Lee", "Tarvin"), "Mail From: Ann Lee");
    EXPECT_EQ(ViewerTitle("Mail", "", "Tarvin"), "Tarvin");
    EXPECT_EQ(ViewerTitle("", "Ann", "Tarvin"), "Tarvin");
    EXPECT_EQ(StatusHint(true, ""), "Attached message - ");
    EXPECT_EQ(StatusHint(true, "Hi"), "Attached message - Hi");
    EXPECT_EQ(StatusHint(false, "Hi"), "Hi");

    QString subject = "Quarterly figures for the northern region, final version";
    EXPECT_EQ(ShortenText(subject, 10000, Width8), subject);
    QString shortened = ShortenText(subject, 200, Width8);
    EXPECT_LE(Width8(shortened), 200);
    EXPECT_TRUE(shortened.contains("..."));
    EXPECT_TRUE(shortened.startsWith("Quarterly"));
    EXPECT_TRUE(shortened.endsWith("version"));
    EXPECT_EQ(Width8(shortened), 200); // as much as fits
    EXPECT_EQ(ShortenText(subject, 0, Width8), "...");
}

TEST(WindowTexts, CaptionsWrapOnTwoLines) {
    // 11 characters fit a line of 88 px.
    EXPECT_EQ(WrapCaption("notes.txt", 88, Width8), QStringList{"notes.txt"});
    EXPECT_EQ(WrapCaption("delivery-notes.txt", 88, Width8),
              (QStringList{"delivery-", "notes.txt"}));
    EXPECT_EQ(WrapCaption("Please sign contract", 88, Width8),
              (QStringList{"Please sign", "contract"}));
    // No break: cut where the line is full. Too long for two lines: the second keeps the end.
    EXPECT_EQ(WrapCaption("abcdefghijklmnop", 88, Width8), (QStringList{"abcdefghijk", "lmnop"}));
    const QStringList lines = WrapCaption("Quarterly report for the board 2026.pdf", 88, Width8);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Quarterly");
    EXPECT_TRUE(lines[1].endsWith("pdf")) << lines[1].toStdString();
    EXPECT_LE(Width8(lines[1]), 88);
}

TEST(AttachmentRules, ImageIndexAndCaptions) {
    // System attachments only when asked for; file without data: greyed page.
    EXPECT_EQ(AttachmentImageIndex(TObjectType::File, true, true, 6, false), kNotListed);
    EXPECT_EQ(AttachmentImageIndex(TObjectType::File, true, true, 6, true), kExtensionImage);
    EXPECT_EQ(AttachmentImageIndex(TObjectType::File, false, false, 6, false), kNoDataImage);
    EXPECT_EQ(AttachmentImageIndex(TObjectType::File, false, true, 6, false), kExtensionImage);
    // Embedded messages: the picture of their type, the greyed page without data.
    EXPECT_EQ(AttachmentImageIndex(TObjectType::EmbeddedMessage, false, true, 1, false), 1);
    EXPECT_EQ(AttachmentImageIndex(TObjectType::EmbeddedMessage, false, false, 6, false), 6);
    EXPECT_EQ(AttachmentImageIndex(TObjectType(5), false, true, 6, true), kNotListed);

    EXPECT_EQ(AttachmentCaption("Plan.pdf", TObjectType::File, 6), "Plan.pdf");
    EXPECT_EQ(AttachmentCaption("", TObjectType::File, 6), "File");
    EXPECT_EQ(AttachmentCaption("", TObjectType::EmbeddedMessage, 0), "Mail");
    EXPECT_EQ(AttachmentCaption("", TObjectType::EmbeddedMessage, 3), "Reminder Note");
    EXPECT_EQ(AttachmentCaption("", TObjectType::EmbeddedMessage, 6), "File");
}

TEST(AttachmentRules, SaveNames) {
    EXPECT_EQ(NameExtension("a.b.txt"), ".txt");
    EXPECT_EQ(NameExtension("noext"), "");
    EXPECT_EQ(NameExtension("dir.d/noext"), "");
    EXPECT_EQ(AttachmentSaveName("Report.pdf", "XYZ01.tmp"), "Report.pdf");
    EXPECT_EQ(AttachmentSaveName("Report", "XYZ01.pdf"), "XYZ01.pdf");
    EXPECT_EQ(AttachmentSaveName("Report.", "XYZ01.pdf"), "XYZ01.pdf"); // "." is no extension
    EXPECT_EQ(AttachmentSaveName("Report", "XYZ01"), "Report");
    EXPECT_EQ(AttachmentSaveName("", ""), "File");
    EXPECT_EQ(AttachmentSaveName("", "x.doc"), "x.doc");

    EXPECT_EQ(EmbeddedMessageSaveName("  Re: lunch?  ", "2241001a2b3c"),
              "Re_ lunch_[2241001a2b3c].pml");
    EXPECT_EQ(EmbeddedMessageSaveName("../../x", "0001"), ".._.._x[0001].pml");
    // A name too long for the file system loses the end of its subject, never its code.
    const QString longName = EmbeddedMessageSaveName(QString(300, QChar(0x00e9)), "2241001a2b3c");
    EXPECT_TRUE(longName.endsWith("\u00e9[2241001a2b3c].pml")) << longName.toStdString();
    EXPECT_LE(longName.toUtf8().size(), 255);
    EXPECT_GE(longName.toUtf8().size(), 254);
}
