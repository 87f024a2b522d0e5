#include "explorer/MessageRowText.h"

#include "convert/FolderMarker.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using namespace tarvin;

namespace {

// Sets TZ for the life of the object and restores the earlier value.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char *zone) {
        if (const char *old = getenv("TZ"))
            m_old = QByteArray(old);
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_old)
            qputenv("TZ", *m_old);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    std::optional<QByteArray> m_old;
};

qint64 utcNanoseconds(int year, int month, int day, int hour, int minute, int second) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), Qt::UTC)
               .toMSecsSinceEpoch() *
           1000000;
}

struct NameCase {
    const char *name;
    const char *subject;
    uint16_t flags;
    int icon;
    int replyForward, boxType, attachment;
    bool bold;
};

} // namespace

TEST(MessageRowText, NamesGiveSubjectFlagsIconsAndGlyphs) {
    const NameCase cases[] = {
        // 12 digits: the first four are the flag word (mail, box type 1, priority 1, read).
        {"Budget review [2241a0f3c2d1].pml", "Budget review ", 0x2241, 11, kGlyphNone, kGlyphNone,
         kGlyphNone, false},
        // 4 digits: mail, box type 2, forwarded; unread.
        {"Budget review [8081].pml", "Budget review ", 0x8081, 8, kGlyphForwarded, kGlyphBoxType2,
         kGlyphNone, true},
        // mail and phone bits: mail wins; no box type bit gives the pen nib.
        {"Budget review [0011].pml", "Budget review ", 0x0001, 8, kGlyphNone, kGlyphBoxTypeOther,
         kGlyphNone, true},
        {"Notes [final].pml", "Notes ", 0, kIconNoFlags, kGlyphNone, kGlyphBoxTypeOther, kGlyphNone,
         true},
        // Task (first kind bit of 0x34), priority 1, attachment.
        {"[1234].pml", "", 0x1204, 20, kGlyphNone, kGlyphBoxTypeOther, kGlyphAttachment, true},
        {"a]b.pml", "a]b", 0, kIconNoFlags, kGlyphNone, kGlyphBoxTypeOther, kGlyphNone, true},
        // 8 bytes keep three digits (0x1a2: appointment, box type 2); 9 keep four.
        {"x[1a2b3c4d].pml", "x", 0x0082, 14, kGlyphNone, kGlyphBoxType2, kGlyphNone, true},
        {"x[1a2b-3c4d].pml", "x", 0x1201, 8, kGlyphNone, kGlyphBoxTypeOther, kGlyphAttachment,
         true},
        // 10 digits above 32 bits: no flag value.
        {"x[FFFFFFFFFF].pml", "x", 0, kIconNoFlags, kGlyphNone, kGlyphBoxTypeOther, kGlyphNone,
         true},
        // Replied and forwarded, box type 4, read, document reference.
        {"Plan [e120].PML", "Plan ", 0xe120, 72, kGlyphRepliedForwarded, kGlyphNone, kGlyphNone,
         false},
        {"Call [6110].pml", "Call ", 0x6110, 35, kGlyphReplied, kGlyphBoxType4, kGlyphNone, false},
    };
    for (const NameCase &c : cases) {
        SCOPED_TRACE(c.name);
        const TMessageNameInfo info = ParseRowName(QByteArray(c.name));
        EXPECT_EQ(info.Subject, QString::fromUtf8(c.subject));
        EXPECT_EQ(info.Flags, c.flags);
        EXPECT_EQ(RowIconIndex(info), c.icon);
        const TStatusGlyphs glyphs = StatusGlyphs(info.Flags);
        EXPECT_EQ(glyphs.ReplyForward, c.replyForward);
        EXPECT_EQ(glyphs.BoxType, c.boxType);
        EXPECT_EQ(glyphs.Attachment, c.attachment);
        EXPECT_EQ(IsBoldRow(info.Flags), c.bold);
    }
    // A name that is not UTF-8 still gives its code; the subject shows a replacement character.
    const TMessageNameInfo latin1 = ParseRowName(QByteArray("Caf\xe9 [2241].pml"));
    EXPECT_EQ(latin1.Flags, 0x2241);
    EXPECT_TRUE(latin1.Subject.startsWith(QStringLiteral("Caf")));
    EXPECT_TRUE(latin1.Subject.endsWith(QStringLiteral(" ")));
}

TEST(MessageRowText, IconIndexForEveryKindAndPriority) {
    struct Kind {
        uint16_t bit;
        int unread[4]; // no priority, priority 1, 2, 3
    };
    const Kind kinds[] = {
        {0x0000, {9, 9, 10, 11}},   {0x0001, {8, 8, 9, 10}},    {0x0002, {14, 14, 15, 16}},
        {0x0004, {20, 20, 21, 22}}, {0x0008, {26, 26, 27, 28}}, {0x0010, {32, 32, 33, 34}},
    };
    const uint16_t priorities[4] = {0, 0x0200, 0x0400, 0x0800};
    for (const Kind &kind : kinds) {
        for (int p = 0; p < 4; ++p) {
            SCOPED_TRACE(testing::Message() << "kind " << kind.bit << " priority " << p);
            EXPECT_EQ(MessageIconIndex(kind.bit | priorities[p]), kind.unread[p]);
            EXPECT_EQ(MessageIconIndex(kind.bit | priorities[p] | 0x2000), kind.unread[p] + 3);
        }
    }
    // Priority 1 wins over the others; a document reference ignores priority and read.
    EXPECT_EQ(MessageIconIndex(0x0001 | 0x0200 | 0x0800), 8);
    EXPECT_EQ(MessageIconIndex(0x0020 | 0x0800 | 0x2000), 72);
}

TEST(MessageRowText, DateTextFollowsTheFolderState) {
    ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
    TMessageRow row;
    row.CreationTime = utcNanoseconds(2024, 1, 15, 8, 30, 5);
    row.LastWriteTime = utcNanoseconds(2024, 7, 1, 10, 0, 0) + 999999; // below one millisecond
    const TDateTextFormatter formatter;
    EXPECT_EQ(formatter.RowText(row, TFolderDateMode::NotConverted),
              FormatDisplayDateTime(EncodeDateTime(2024, 1, 15, 9, 30, 5)));
    EXPECT_EQ(formatter.RowText(row, TFolderDateMode::ConvertedUtc),
              FormatDisplayDateTime(EncodeDateTime(2024, 7, 1, 12, 0, 0)));
    EXPECT_EQ(formatter.RowText(row, TFolderDateMode::ConvertedLocal),
              FormatDisplayDateTime(EncodeDateTime(2024, 7, 1, 10, 0, 0)));
    // Exactly midnight shows the date alone.
    row.LastWriteTime = utcNanoseconds(2024, 7, 1, 0, 0, 0);
    EXPECT_EQ(formatter.RowText(row, TFolderDateMode::ConvertedLocal),
              FormatShortDate(EncodeDateTime(2024, 7, 1, 0, 0, 0)));
    // A zero time has no text where it would be converted from UTC.
    row.CreationTime = 0;
    EXPECT_TRUE(formatter.RowText(row, TFolderDateMode::NotConverted).isEmpty());
    // Before 1970 the milliseconds round down, not towards zero.
    row.LastWriteTime = -1;
    EXPECT_EQ(formatter.RowText(row, TFolderDateMode::ConvertedLocal),
              FormatDisplayDateTime(EncodeDateTime(1969, 12, 31, 23, 59, 59, 999)));
}

TEST(MessageRowText, FolderDateModeFromTheMarker) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(FolderDateMode(dir.path(), true), TFolderDateMode::NotConverted);
    WriteFolderMarker(dir.path(), true);
    EXPECT_EQ(FolderDateMode(dir.path(), false), TFolderDateMode::ConvertedUtc);
    WriteFolderMarker(dir.path(), false);
    EXPECT_EQ(FolderDateMode(dir.path(), true), TFolderDateMode::ConvertedLocal);
    QFile marker(MarkerFilePath(dir.path()));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly | QIODevice::Truncate));
    marker.write("[File Options]\r\n");
    marker.close();
    EXPECT_EQ(FolderDateMode(dir.path(), true), TFolderDateMode::ConvertedUtc);
    EXPECT_EQ(FolderDateMode(dir.path(), false), TFolderDateMode::ConvertedLocal);
}

TEST(MessageRowText, CountText) {
    EXPECT_EQ(MessageCountText(0), QStringLiteral("0 messages"));
    EXPECT_EQ(MessageCountText(1), QStringLiteral("1 message"));
    EXPECT_EQ(MessageCountText(100000), QStringLiteral("100000 messages"));
}
