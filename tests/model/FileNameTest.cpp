#include "TestHelpers.h"

#include "model/GWMessage.h"
#include "model/MessageFileName.h"
#include "model/MsgPropertyEncoder.h"
#include "support/PmlWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>

using namespace tarvin;

namespace {

struct Parsed {
    QString subject;
    uint32_t flags = 0;
};

Parsed Parse(const QString &name) {
    Parsed p;
    p.subject = QStringLiteral("stale");
    p.flags = 0xDEAD;
    ParseMessageFileName(name, p.subject, p.flags);
    return p;
}

std::unique_ptr<TGWMessage> FromWriter(const PmlWriter &writer) {
    auto msg = std::make_unique<TGWMessage>();
    msg->LoadFromXml(writer.ToXml());
    return msg;
}

} // namespace

TEST(MessageFileNames, CodesOfEveryLength) {
    Parsed p = Parse("Quarterly figures [2241a3b4c5d6].pml");
    EXPECT_EQ(p.subject, "Quarterly figures ");
    EXPECT_EQ(p.flags, 0x2241u);
    EXPECT_EQ(Parse("Old[2410abcd].pml").flags, 0x241u);   // 8 digits: first 3
    EXPECT_EQ(Parse("Old[22410abcd].pml").flags, 0x2241u); // 9: first 4
    EXPECT_EQ(Parse("x[1f].pml").flags, 0x1fu);            // other lengths: whole
    EXPECT_EQ(Parse("x[FFFFFFFF].pml").flags, 0xFFFu);
    EXPECT_EQ(Parse("x[fffffffff0].pml").flags, 0u); // 10 digits above 32 bits
    EXPECT_EQ(Parse("x[0ffffffff].pml").flags, 0x0fffu);
    EXPECT_EQ(Parse("x[00000000ffffffff].pml").flags, 0xffffffffu);
}

TEST(MessageFileNames, NamesWithoutAValidCode) {
    Parsed p = Parse("Plain subject.pml");
    EXPECT_EQ(p.subject, "Plain subject");
    EXPECT_EQ(p.flags, 0u);
    p = Parse("Subject [2241] tail.pml");
    EXPECT_EQ(p.subject, "Subject [2241] tail");
    EXPECT_EQ(p.flags, 0u);
    // Not hexadecimal: dropped, yet the subject still ends before "[".
    p = Parse("Minutes [draft].pml");
    EXPECT_EQ(p.subject, "Minutes ");
    EXPECT_EQ(p.flags, 0u);
    p = Parse("Empty code [].pml");
    EXPECT_EQ(p.subject, "Empty code ");
    EXPECT_EQ(p.flags, 0u);
    p = Parse("[2241a3b4c5d6].pml");
    EXPECT_EQ(p.subject, "");
    EXPECT_EQ(p.flags, 0x2241u);
    p = Parse("");
    EXPECT_EQ(p.subject, "");
    EXPECT_EQ(p.flags, 0u);
    // Only the last "." starts the extension, and only the last "[" the code.
    p = Parse("v1.2 [a] [2001].pml");
    EXPECT_EQ(p.subject, "v1.2 [a] ");
    EXPECT_EQ(p.flags, 0x2001u);
    p = Parse("No extension[0041]");
    EXPECT_EQ(p.subject, "No extension");
    EXPECT_EQ(p.flags, 0x41u);
    // Non-ASCII subjects come back as text.
    p = Parse(QString::fromUtf8("Größe – Überblick [2001].pml"));
    EXPECT_EQ(p.subject, QString::fromUtf8("Größe – Überblick "));
}

TEST(MessageFileNames, NormalizingKeepsTheFirstBitOfEachGroup) {
    EXPECT_EQ(NormalizeMessageFlags(0x2241), 0x2241);
    EXPECT_EQ(NormalizeMessageFlags(0x0011), 0x0001); // mail before phone
    EXPECT_EQ(NormalizeMessageFlags(0x0030), 0x0010);
    EXPECT_EQ(NormalizeMessageFlags(0x01C0), 0x0040);
    EXPECT_EQ(NormalizeMessageFlags(0x0180), 0x0080);
    EXPECT_EQ(NormalizeMessageFlags(0x0C00), 0x0400);
    EXPECT_EQ(NormalizeMessageFlags(0xF000), 0xF000);
    EXPECT_EQ(NormalizeMessageFlags(0xFFFF), 0xF241);
    EXPECT_EQ(NormalizeMessageFlags(0x12340004), 0x0004); // high bits dropped
}

TEST(FlagEncoder, ElfHashOfTheIdentifier) {
    EXPECT_EQ(ElfHash(""), 0u);
    EXPECT_EQ(ElfHash("a"), 0x61u);
    EXPECT_EQ(ElfHash("abcdefghijklmnopqrstuvwxyz0123456789"), 0x67d7f09u);
    EXPECT_EQ(ElfHash("4A1B2C3Ddom1po1100111@1"), 0x5ee9161u);

    auto msg = LoadData("mail_full.pml");
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(msg.get());
    EXPECT_EQ(encoder.GetHash(), 0x5ee9161u); // dots removed first
    // Received, priority 1, a real attachment, read, replied.
    EXPECT_EQ(encoder.GetFlags(), 0x0001 | 0x0040 | 0x0200 | 0x1000 | 0x2000 | 0x4000);
    EXPECT_EQ(encoder.GetIdentifier(), "724105ee9161");
    EXPECT_EQ(encoder.GetIdentifier().size(), 12);
    // The code parses back to the flag word.
    Parsed p = Parse("Quarterly figures [" + encoder.GetIdentifier() + "].pml");
    EXPECT_EQ(NormalizeMessageFlags(p.flags), encoder.GetFlags());
}

TEST(FlagEncoder, FlagsFollowTypeBoxPriorityAndState) {
    // A received, read mail with priority 1 and nothing else: 0x2241.
    auto mail = FromWriter(PmlWriter(mtMail)
                               .SetCore("boxtype", "1")
                               .SetCore("priority", "1")
                               .SetCore("read", "true")
                               .SetMapi("..."));
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(mail.get());
    EXPECT_EQ(encoder.GetFlags(), 0x2241);
    // An identifier of dots hashes as the empty text.
    EXPECT_EQ(encoder.GetHash(), 0u);
    EXPECT_EQ(encoder.GetIdentifier(), "224100000000");

    auto task = FromWriter(PmlWriter(mtTask)
                               .SetCore("boxtype", "4")
                               .SetCore("priority", "3")
                               .SetCore("read", "false")
                               .SetItem("forwarded", "true")
                               .SetItem("replied", "1"));
    encoder.SetMessage(task.get());
    EXPECT_EQ(encoder.GetFlags(), 0x0004 | 0x0100 | 0x0800 | 0x4000 | 0x8000);

    // Box type 3 and priority 0 set nothing; system attachments do not count.
    auto docref = FromWriter(PmlWriter(mtDocumentReference)
                                 .SetCore("boxtype", "3")
                                 .SetCore("priority", "0")
                                 .SetCore("read", "false")
                                 .AddAttachment(PmlAttachment::File("TEXT.htm", "<p/>")));
    encoder.SetMessage(docref.get());
    EXPECT_EQ(encoder.GetFlags(), 0x0020);

    auto note = FromWriter(PmlWriter(mtNote).SetCore("boxtype", "2").SetCore("read", "false"));
    encoder.SetMessage(note.get());
    EXPECT_EQ(encoder.GetFlags(), 0x0008 | 0x0080 | 0x0400);
    auto phone = FromWriter(
        PmlWriter(mtPhone)
            .SetCore("read", "false")
            .AddAttachment(PmlAttachment::Message("Fwd", std::make_shared<PmlWriter>())));
    encoder.SetMessage(phone.get());
    EXPECT_EQ(encoder.GetFlags(), 0x0010 | 0x0040 | 0x0400 | 0x1000);
    auto appointment = FromWriter(PmlWriter(mtAppointment).SetCore("read", "false"));
    encoder.SetMessage(appointment.get());
    EXPECT_EQ(encoder.GetFlags(), 0x0002 | 0x0040 | 0x0400);
}

TEST(FlagEncoder, FileDateIsTheMessageDateAsIfUtc) {
    QTemporaryDir dir;
    const QString path = dir.filePath("msg.pml");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
    f.close();
    // A known access time that must survive.
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);

    auto msg = LoadData("appointment.pml"); // 2024-03-20 14:00:00
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(msg.get());
    EXPECT_DOUBLE_EQ(encoder.MessageDate(), EncodeDateTime(2024, 3, 20, 14, 0, 0));
    EXPECT_TRUE(encoder.SetFileDate(path));
    struct stat st {};
    ASSERT_EQ(stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec,
              QDateTime(QDate(2024, 3, 20), QTime(14, 0), Qt::UTC).toSecsSinceEpoch());
    EXPECT_EQ(st.st_atim.tv_sec, 1000000000);
    // A missing file is not created.
    EXPECT_FALSE(encoder.SetFileDate(dir.filePath("absent.pml")));
    EXPECT_FALSE(QFile::exists(dir.filePath("absent.pml")));
}
