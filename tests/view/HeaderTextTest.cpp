#include "view/HeaderText.h"

#include "model/GWMessage.h"
#include "support/PmlWriter.h"
#include "util/DateTime.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace tarvin;

namespace {

std::string S(const QString &s) {
    return s.toStdString();
}

TDateTime At(int y, int mo, int d, int h, int mi, int s = 0) {
    return EncodeDateTime(y, mo, d, h, mi, s);
}

} // namespace

TEST(HeaderText, DurationTextNamesDaysHoursAndMinutes) {
    const TDateTime ten = At(2026, 3, 10, 10, 0);
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 10, 11, 30))), " (1 Hour 30 Minutes)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 12, 10, 0))), " (2 Days)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 10, 10, 45))), " (45 Minutes)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 11, 11, 0))), " (1 Day 1 Hour)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 11, 10, 1))), " (1 Day 1 Minute)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 13, 12, 2))), " (3 Days 2 Hours 2 Minutes)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 10, 11, 0))), " (1 Hour)");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 10, 10, 1))), " (1 Minute)");
}

TEST(HeaderText, DurationTextIsEmptyUnderAMinuteAndDropsSeconds) {
    const TDateTime ten = At(2026, 3, 10, 10, 0);
    EXPECT_EQ(S(DurationText(ten, ten)), "");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 10, 10, 0, 59))), "");
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 10, 10, 2, 59))), " (2 Minutes)");
    // Whole days without hours or minutes still count.
    EXPECT_EQ(S(DurationText(ten, At(2026, 3, 11, 10, 0, 30))), " (1 Day)");
}

TEST(HeaderText, DurationTextIgnoresTheOrderOfTheDates) {
    const TDateTime start = At(2026, 3, 10, 10, 0);
    const TDateTime end = At(2026, 3, 11, 11, 30);
    EXPECT_EQ(S(DurationText(end, start)), S(DurationText(start, end)));
    EXPECT_EQ(S(DurationText(end, start)), " (1 Day 1 Hour 30 Minutes)");
}

TEST(HeaderText, DurationTextRoundsToWholeSeconds) {
    // 89.6 s rounds to 90 s: one minute; 119.6 s rounds to 120 s: two minutes.
    const TDateTime start = At(2026, 3, 10, 10, 0);
    EXPECT_EQ(S(DurationText(start, start + 119.6 / 86400.0)), " (2 Minutes)");
    EXPECT_EQ(S(DurationText(start, start + 89.6 / 86400.0)), " (1 Minute)");
}

TEST(HeaderText, WhenTextHasLongDateAtLongTimeAndDuration) {
    const TDateTime start = At(2026, 12, 10, 10, 0);
    const QString expected = QLocale::system().toString(QDate(2026, 12, 10), QLocale::LongFormat) +
                             QStringLiteral(" at ") + FormatLongTime(start) +
                             QStringLiteral(" (1 Hour 30 Minutes)");
    EXPECT_EQ(S(WhenText(start, At(2026, 12, 10, 11, 30))), S(expected));
    EXPECT_FALSE(WhenText(start, start).contains(QLatin1Char('(')));
}

TEST(HeaderText, DateTextLeavesOutMidnightAndMissingDates) {
    const TDateTime midnight = At(2026, 5, 4, 0, 0);
    EXPECT_EQ(S(HeaderDateText(midnight)), S(FormatShortDate(midnight)));
    const TDateTime morning = At(2026, 5, 4, 9, 30, 15);
    EXPECT_EQ(S(HeaderDateText(morning)),
              S(FormatShortDate(morning) + QLatin1Char(' ') + FormatLongTime(morning)));
    // One second after midnight keeps its time.
    EXPECT_NE(S(HeaderDateText(At(2026, 5, 4, 0, 0, 1))), S(FormatShortDate(midnight)));
    EXPECT_EQ(S(HeaderDateText(0)), "");
    EXPECT_EQ(S(HeaderShortDateText(morning)), S(FormatShortDate(morning)));
    EXPECT_EQ(S(HeaderShortDateText(0)), "");
}

TEST(HeaderText, RecipientEntryFallsBackToAddressThenNotAvailable) {
    EXPECT_EQ(S(RecipientEntryText(QStringLiteral("  Ellis Fenwick\t"), QStringLiteral("e@x"))),
              "Ellis Fenwick");
    EXPECT_EQ(S(RecipientEntryText(QStringLiteral(" \x01\r\n"), QStringLiteral(" e@x\x7f"))),
              "e@x");
    EXPECT_EQ(S(RecipientEntryText(QString(), QStringLiteral("\t \x02"))), "Not available");
    EXPECT_EQ(S(RecipientEntryText(QString(), QString())), "Not available");
    // Inner blanks stay.
    EXPECT_EQ(S(RecipientEntryText(QStringLiteral("Ann  Lee"), QString())), "Ann  Lee");
}

TEST(HeaderText, RecipientEntriesFilterByTypeInStoredOrder) {
    PmlWriter w(mtMail);
    w.AddRecipient(QStringLiteral("Ann"), QStringLiteral("ann@x"), QStringLiteral("0"));
    w.AddRecipient(QStringLiteral("Carl"), QStringLiteral("carl@x"), QStringLiteral("1"));
    w.AddRecipient(QString(), QStringLiteral("bob@x"), QStringLiteral("0"));
    w.AddRecipient(QString(), QString(), QStringLiteral("2"));
    w.AddRecipient(QStringLiteral("Dora"), QString(), QStringLiteral("0"));
    TGWMessage msg;
    msg.LoadFromXml(w.ToXml());
    EXPECT_EQ(S(RecipientEntries(msg, 0).join(QLatin1Char('|'))), "Ann|bob@x|Dora");
    EXPECT_EQ(S(RecipientEntries(msg, 1).join(QLatin1Char('|'))), "Carl");
    EXPECT_EQ(S(RecipientEntries(msg, 2).join(QLatin1Char('|'))), "Not available");
}

TEST(HeaderText, LineBreaksOfEveryKindBecomeLineFeeds) {
    EXPECT_EQ(S(NormalizeLineBreaks(QStringLiteral("a\r\nb\rc\nd\u2028e"))), "a\nb\nc\nd\ne");
    EXPECT_EQ(S(NormalizeLineBreaks(QStringLiteral("a\r\n\r\nb"))), "a\n\nb");
}

TEST(HeaderText, PhoneAttributesInFixedOrder) {
    TPhoneAttributes a;
    EXPECT_EQ(S(PhoneAttributesText(a)), "");
    a.Urgent = true;
    a.Telephoned = true;
    a.CameToSee = true;
    EXPECT_EQ(S(PhoneAttributesText(a)), "Telephoned, Came to see you, Urgent");
    TPhoneAttributes all{true, true, true, true, true, true, true};
    EXPECT_EQ(S(PhoneAttributesText(all)),
              "Telephoned, Please call, Will call again, Returned your call, Wants to see you, "
              "Came to see you, Urgent");
}
