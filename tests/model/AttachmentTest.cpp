#include "TestHelpers.h"

#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "support/HostileFiles.h"
#include "support/PmlWriter.h"
#include "util/NumberFormat.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace tarvin;

namespace {

std::unique_ptr<TGWMessage> WithAttachments(const std::vector<PmlAttachment> &attachments) {
    PmlWriter writer;
    for (const PmlAttachment &a : attachments)
        writer.AddAttachment(a);
    auto msg = std::make_unique<TGWMessage>();
    msg->LoadFromXml(writer.ToXml());
    return msg;
}

QByteArray ReadFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Attachments, HandWrittenMailClassifiesEveryKind) {
    auto msg = LoadData("mail_full.pml");
    ASSERT_EQ(msg->Attachments.size(), 9u);
    const auto &a = msg->Attachments;
    EXPECT_TRUE(a[0]->IsHtmlBody && a[0]->IsSystem);
    EXPECT_TRUE(a[1]->IsImage && a[1]->IsSystem);
    EXPECT_TRUE(a[2]->IsMime822 && a[2]->IsSystem);
    EXPECT_TRUE(a[3]->IsHeader && a[3]->IsSystem);
    EXPECT_TRUE(a[4]->IsPart);
    EXPECT_FALSE(a[4]->IsSystem);
    EXPECT_FALSE(a[5]->IsSystem || a[5]->IsPart || a[5]->IsImage);
    EXPECT_EQ(a[7]->ObjectType, TObjectType::EmbeddedMessage);
    EXPECT_FALSE(a[7]->IsSystem);
    EXPECT_FALSE(a[8]->HasData());

    EXPECT_TRUE(msg->HasHtmlBody);
    EXPECT_EQ(msg->HtmlBodyAttachment, a[0].get());
    EXPECT_TRUE(msg->HasMime822);
    EXPECT_EQ(msg->Mime822Attachment, a[2].get());
    EXPECT_TRUE(msg->HasEmbeddedMessage);
}

TEST(Attachments, HandWrittenPayloadsDecodeToTheirContent) {
    auto msg = LoadData("mail_full.pml");
    const auto &a = msg->Attachments;
    EXPECT_EQ(a[0]->DataText(), "<html><body><p>Figures for the first quarter are below.</p>"
                                "<img src=\"cid:image001.png@01DA7420.5C1F3E10\"></body></html>");
    EXPECT_TRUE(a[1]->DataBytes().startsWith("\x89PNG\r\n\x1a\n"));
    EXPECT_EQ(a[1]->ContentIds(),
              QStringList({"image001.png@01DA7420.5C1F3E10", "second-id@example.org"}));
    EXPECT_EQ(a[0]->ContentIds(), QStringList({"body.htm@01DA7420"}));
    EXPECT_TRUE(a[5]->ContentIds().isEmpty());
    EXPECT_TRUE(a[2]->DataText().startsWith("From: Ellis Fenwick"));
    EXPECT_EQ(a[4]->DataText(), "Part one of the message.");
    // Base64 with line breaks; UTF-8 content.
    EXPECT_TRUE(a[5]->RawData().contains("\n"));
    EXPECT_TRUE(a[5]->DataText().contains(QString::fromUtf8("Größe der Abteilung")));
    EXPECT_TRUE(a[5]->DataText().endsWith("by the auditors.\r\n"));
    // Not UTF-8: Windows-1252.
    EXPECT_EQ(a[6]->DataText(), QString::fromUtf8("Café bill: € 5, “quoted”"));
    // No data at all.
    EXPECT_EQ(a[8]->RawData(), "");
    EXPECT_EQ(a[8]->DataText(), "");

    QStringList ids{"stale"};
    a[8]->ContentIds(ids);
    EXPECT_TRUE(ids.isEmpty());
}

TEST(Attachments, EmbeddedMessageComesBackAsLoadableXml) {
    auto msg = LoadData("mail_full.pml");
    const TAttachment &embedded = *msg->Attachments[7];
    const QString xml = embedded.DataText();
    EXPECT_TRUE(xml.startsWith("<?xml version=\"1.0\"?>")) << xml.left(80).toStdString();
    EXPECT_TRUE(xml.contains("<msg>"));
    EXPECT_EQ(xml, embedded.RawData());
    EXPECT_FALSE(embedded.IsHtmlBody || embedded.IsImage || embedded.IsHeader ||
                 embedded.IsMime822 || embedded.IsPart);

    TGWMessage inner;
    inner.LoadFromXml(xml);
    EXPECT_EQ(inner.MessageType, mtMail); // "GW.MESSAGE.MAIL.Forwarded"
    EXPECT_EQ(inner.CoreProperties.Subject, "Budget");
    EXPECT_EQ(inner.Body.PlainText, "Budget draft attached.");
    ASSERT_EQ(inner.Attachments.size(), 1u);
    EXPECT_EQ(inner.Attachments[0]->DataText(), "Part one of the message.");
    // Boxtype 2: the creation date.
    EXPECT_DOUBLE_EQ(GetMessageDate(&inner), EncodeDateTime(2024, 3, 1, 8, 0, 0));

    // The outer tree is untouched and still serves its data.
    EXPECT_EQ(msg->Attachments[7]->DataNode->parent, msg->Attachments[7]->Node);
    EXPECT_EQ(msg->Attachments[4]->DataText(), "Part one of the message.");

    // The embedded message saves as a message file of its own.
    QTemporaryDir dir;
    inner.SaveToFile(dir.filePath("inner.pml"));
    TGWMessage reread;
    reread.LoadFromFile(dir.filePath("inner.pml"));
    EXPECT_EQ(reread.CoreProperties.Subject, "Budget");
    EXPECT_FALSE(reread.HasEmbeddedMessage);
}

TEST(Attachments, EmbeddedMessageKeepsNamespacesOfTheOuterMessage) {
    // Prefixes declared on the outer message and used inside the embedded one (an element
    // and an attribute) must be declared in the embedded message's own text.
    auto embedded = std::make_shared<PmlWriter>();
    embedded->SetCore("subject", "Inner").AddRawProps("<g:extra g:kind=\"x\">v</g:extra>");
    PmlWriter outer;
    outer.AddAttachment(PmlAttachment::Message("Fwd", embedded));
    QByteArray xml = outer.ToXml();
    const qsizetype root = xml.indexOf("<message") + 8;
    xml.insert(root, " xmlns:g=\"urn:g\"");
    TGWMessage msg;
    msg.LoadFromXml(xml);
    ASSERT_EQ(msg.Attachments.size(), 1u);
    const QString text = msg.Attachments[0]->DataText();
    TGWMessage inner;
    ASSERT_NO_THROW(inner.LoadFromXml(text)) << text.left(200).toStdString();
    EXPECT_TRUE(text.contains("xmlns:g=\"urn:g\"")) << text.left(200).toStdString();
    EXPECT_EQ(inner.CoreProperties.Subject, "Inner");
}

TEST(Attachments, ClassificationRules) {
    PmlAttachment html = PmlAttachment::File("text.HTM", "<p>x</p>");
    PmlAttachment htmlNotSystem = PmlAttachment::File("TEXT.htm", "<p>y</p>");
    htmlNotSystem.System = QStringLiteral("false");
    PmlAttachment part = PmlAttachment::File("Part.12", "p");
    PmlAttachment partLetters = PmlAttachment::File("Part.txt", "p");
    PmlAttachment partSigned = PmlAttachment::File("part.1.2-3+4", "p");
    PmlAttachment header = PmlAttachment::File("HEADER.TXT", "h");
    PmlAttachment image = PmlAttachment::File("image.gif", "i");
    PmlAttachment explicitSystem = PmlAttachment::File("notes.txt", "n");
    explicitSystem.System = QStringLiteral("1");
    PmlAttachment typed3 = PmlAttachment::File("TEXT.htm", "z");
    typed3.ObjType = QStringLiteral("3");
    PmlAttachment mime = PmlAttachment::File("MIME.822", "m");

    auto msg = WithAttachments({html, htmlNotSystem, part, partLetters, partSigned, header, image,
                                explicitSystem, typed3, mime});
    const auto &a = msg->Attachments;
    EXPECT_TRUE(a[0]->IsHtmlBody);
    EXPECT_TRUE(a[0]->IsSystem);
    EXPECT_EQ(a[0]->ObjectType, TObjectType::File);
    EXPECT_TRUE(a[1]->IsHtmlBody);
    EXPECT_FALSE(a[1]->IsSystem);
    EXPECT_TRUE(a[2]->IsPart);
    EXPECT_FALSE(a[2]->IsSystem);
    EXPECT_FALSE(a[3]->IsPart || a[3]->IsSystem);
    EXPECT_TRUE(a[4]->IsPart);
    EXPECT_TRUE(a[5]->IsHeader && a[5]->IsSystem);
    EXPECT_TRUE(a[6]->IsImage && a[6]->IsSystem);
    EXPECT_TRUE(a[7]->IsSystem);
    EXPECT_FALSE(a[7]->IsImage);
    // Another object type: no name flags, never the HTML body.
    EXPECT_EQ(int(a[8]->ObjectType), 3); // kept as stored
    EXPECT_FALSE(a[8]->IsHtmlBody || a[8]->IsSystem);
    EXPECT_TRUE(a[9]->IsMime822);
    // The last HTML body wins.
    EXPECT_EQ(msg->HtmlBodyAttachment, a[1].get());
    EXPECT_EQ(msg->Mime822Attachment, a[9].get());
    EXPECT_FALSE(msg->HasEmbeddedMessage);

    // The extension's own "." must be the process's decimal separator: with "," (conversion
    // mode on such a locale) no name is a part.
    const QChar saved = DecimalSeparator();
    SetDecimalSeparator(QLatin1Char(','));
    auto commas = WithAttachments({PmlAttachment::File("Part.1", "p")});
    EXPECT_FALSE(commas->Attachments[0]->IsPart);
    SetDecimalSeparator(saved);
    auto dots = WithAttachments({PmlAttachment::File("Part.1,5", "p")});
    EXPECT_FALSE(dots->Attachments[0]->IsPart);
}

TEST(Attachments, MimeCopyIsNotTakenFromAnHtmlBodyOrEmbeddedMessage) {
    PmlAttachment embedded =
        PmlAttachment::Message("TEXT.htm", std::make_shared<PmlWriter>(PmlWriter(mtNote)));
    auto msg = WithAttachments({embedded});
    EXPECT_TRUE(msg->HasEmbeddedMessage);
    EXPECT_FALSE(msg->HasHtmlBody);
    EXPECT_EQ(msg->HtmlBodyAttachment, nullptr);
    TGWMessage inner;
    inner.LoadFromXml(msg->Attachments[0]->DataText());
    EXPECT_EQ(inner.MessageType, mtNote);
}

TEST(Attachments, SavingWritesTheFileOrNothing) {
    QTemporaryDir dir;
    QByteArray binary;
    for (int i = 0; i < 70000; ++i)
        binary.append(char((i * 131) % 256));
    PmlAttachment file = PmlAttachment::File("data.bin", binary);
    file.LineLength = 64;
    PmlAttachment empty = PmlAttachment::File("empty.txt", "");
    empty.HasData = false;
    PmlAttachment corrupt = PmlAttachment::File("bad.txt", "");
    corrupt.RawCData = QByteArray("AAAAAAAAAAAA");
    PmlAttachment message = PmlAttachment::Message("Fwd", std::make_shared<PmlWriter>());

    auto msg = WithAttachments({file, empty, corrupt, message});
    const auto &a = msg->Attachments;

    const QString path = dir.filePath("data.bin");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(200000, 'x'));
    old.close();
    a[0]->SaveDataToFile(path);
    EXPECT_EQ(ReadFile(path), binary); // replaced, not appended to
    EXPECT_EQ(a[0]->DataBytes(), binary);

    a[1]->SaveDataToFile(dir.filePath("empty.txt"));
    EXPECT_FALSE(QFile::exists(dir.filePath("empty.txt")));
    EXPECT_FALSE(a[1]->HasData());

    EXPECT_EQ(ErrorOf([&] { a[2]->SaveDataToFile(dir.filePath("bad.txt")); }), "data error");
    EXPECT_EQ(ErrorOf([&] { a[2]->DataText(); }), "data error");

    a[3]->SaveDataToFile(dir.filePath("fwd.pml"));
    EXPECT_FALSE(QFile::exists(dir.filePath("fwd.pml")));

    EXPECT_TRUE(ErrorOf([&] {
                    a[0]->SaveDataToFile(dir.filePath("missing/dir/x"));
                }).startsWith("Cannot create file"));

    // A link at the path is never written through, and a named pipe never blocks the save.
    const QString target = dir.filePath("target.txt");
    ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
    ASSERT_TRUE(QFile::link(target, dir.filePath("link.bin")));
    EXPECT_TRUE(ErrorOf([&] {
                    a[0]->SaveDataToFile(dir.filePath("link.bin"));
                }).startsWith("Cannot create file"));
    EXPECT_EQ(QFileInfo(target).size(), 0);
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("pipe.bin")).constData(), 0600), 0);
    EXPECT_TRUE(ErrorOf([&] {
                    a[0]->SaveDataToFile(dir.filePath("pipe.bin"));
                }).startsWith("Cannot create file"));
}

TEST(Attachments, CorruptPayloadFailsOnlyWhenDecoded) {
    // The load succeeds; the damage shows when the data is asked for.
    auto msg = LoadData("broken/attachment_corrupt_payload.pml");
    ASSERT_EQ(msg->Attachments.size(), 1u);
    EXPECT_TRUE(msg->Attachments[0]->HasData());
    EXPECT_EQ(ErrorOf([&] { msg->Attachments[0]->DataText(); }), "data error");
    QTemporaryDir dir;
    EXPECT_EQ(ErrorOf([&] { msg->Attachments[0]->SaveDataToFile(dir.filePath("d.txt")); }),
              "data error");
}

TEST(Attachments, SafeNamesStayInsideTheFolder) {
    PmlAttachment traversal = PmlAttachment::File("report", "r");
    traversal.FileName = QStringLiteral("../../etc/passwd");
    PmlAttachment dots = PmlAttachment::File("..", "d");
    dots.FileName = QString();
    PmlAttachment plain = PmlAttachment::File("plan.pdf", "p");
    auto msg = WithAttachments({traversal, dots, plain});
    EXPECT_EQ(msg->Attachments[0]->SafeName(), ".._.._etc_passwd");
    EXPECT_EQ(msg->Attachments[1]->SafeName(), "File");
    EXPECT_EQ(msg->Attachments[2]->SafeName(), "plan.pdf");

    // Content ids name the images written beside the HTML body.
    QTemporaryDir dir;
    const QString written = msg->Attachments[0]->SaveDataToFolder(dir.path(), "../up/cid:1@x");
    EXPECT_EQ(written, dir.filePath(".._up_cid_1@x"));
    EXPECT_EQ(ReadFile(written), "r");
    EXPECT_EQ(msg->Attachments[1]->SaveDataToFolder(dir.path()), dir.filePath("File"));
    EXPECT_EQ(SafeMessageFileComponent("."), "File");
    EXPECT_EQ(msg->AttachmentByFileName("plan.pdf"), msg->Attachments[2].get());
    EXPECT_EQ(msg->AttachmentByFileName("PLAN.pdf"), nullptr);
}

TEST(Attachments, LargeAttachmentComesBackWhole) {
    // 20 MB of varied content, well past libxml2's 10 MB text node limit without HUGE.
    QByteArray big(20 * 1024 * 1024, Qt::Uninitialized);
    uint32_t state = 12345;
    for (qsizetype i = 0; i < big.size(); ++i) {
        state = state * 1103515245u + 12345u;
        big[i] = char(state >> 24);
    }
    QTemporaryDir dir;
    PmlWriter writer;
    writer.AddAttachment(PmlAttachment::File("big.bin", big));
    const QString pml = dir.filePath("big.pml");
    ASSERT_TRUE(writer.WriteFile(pml));
    ASSERT_GT(QFileInfo(pml).size(), 20 * 1024 * 1024);

    TGWMessage msg;
    msg.LoadFromFile(pml);
    ASSERT_EQ(msg.Attachments.size(), 1u);
    const QString out = dir.filePath("big.bin");
    msg.Attachments[0]->SaveDataToFile(out);
    EXPECT_TRUE(ReadFile(out) == big);
    EXPECT_TRUE(msg.Attachments[0]->DataBytes() == big);
}

TEST(Attachments, PayloadInflatingPastTheCapFailsInMemoryOnly) {
    const qint64 saved = InflateMemoryLimit();
    SetInflateMemoryLimit(4 * 1024 * 1024);
    auto msg = WithAttachments({PmlAttachment::File("zeros.bin", QByteArray(16 * 1024 * 1024, 0))});
    EXPECT_EQ(ErrorOf([&] { msg->Attachments[0]->DataText(); }), "insufficient memory");
    // Written to a file it streams without the cap.
    QTemporaryDir dir;
    msg->Attachments[0]->SaveDataToFile(dir.filePath("zeros.bin"));
    EXPECT_EQ(QFileInfo(dir.filePath("zeros.bin")).size(), 16 * 1024 * 1024);
    SetInflateMemoryLimit(saved);
}

namespace {

struct BudgetScope {
    qint64 saved = InflateMemoryLimit();
    explicit BudgetScope(qint64 limit) { SetInflateMemoryLimit(limit); }
    ~BudgetScope() { SetInflateMemoryLimit(saved); }
};

struct StreamLimitsScope {
    TStreamLimits saved = StreamLimits();
    explicit StreamLimitsScope(const TStreamLimits &limits) { SetStreamLimits(limits); }
    ~StreamLimitsScope() { SetStreamLimits(saved); }
};

} // namespace

TEST(InflateBudget, AllFieldsOfOneMessageShareOneBudgetAndStayBytes) {
    // Five fields of 900 MB each took 6.7 GB: each was inflated at load with a cap of its own,
    // and kept as UTF-16 text. Now a load looks at the start of each value only, and values
    // asked for share the message's budget. Scaled down: a budget of 4 MiB, fields of 1.5 MiB.
    BudgetScope budget(4 << 20);
    TGWMessage three;
    three.LoadFromXml(hostile::FieldBombs(3, 3 << 19));
    ASSERT_EQ(three.Fields.size(), 3u);
    const qint64 looked = (4 << 20) - three.InflateBudget()->Remaining();
    EXPECT_EQ(looked, 3 * TField::kKeptBytes);
    EXPECT_EQ(three.Fields[0]->ValueBytes(), QByteArray(3 << 19, '\0')); // inflated when asked
    EXPECT_EQ(three.Fields[1]->ValueBytes().size(), 3 << 19);
    EXPECT_EQ(ErrorOf([&] { three.Fields[2]->ValueBytes(); }), "insufficient memory");
    EXPECT_EQ(three.InflateBudget()->Remaining(), 0);

    // Small values are kept whole; embedded messages read for a message share its budget.
    TGWMessage small;
    small.LoadFromXml(PmlWriter().AddField("f", "4", "tiny").ToXml());
    EXPECT_EQ(small.Fields[0]->Value(), "tiny");
    TGWMessage embedded;
    embedded.ShareInflateBudget(three);
    EXPECT_EQ(ErrorOf([&] { embedded.LoadFromXml(PmlWriter().AddField("f", "4", "x").ToXml()); }),
              "insufficient memory");
}

TEST(InflateBudget, InflatingIntoAFileKeepsToTheStreamLimitsAndLeavesNoPartialFile) {
    auto msg = WithAttachments({PmlAttachment::File("zeros.bin", QByteArray(8 << 20, 0))});
    QTemporaryDir dir;
    const QString path = dir.filePath("zeros.bin");
    {
        StreamLimitsScope limits({1 << 20, 0});
        EXPECT_EQ(ErrorOf([&] { msg->Attachments[0]->SaveDataToFile(path); }),
                  "Cannot write file \"" + path + "\". The content is larger than 1 MiB.");
        EXPECT_FALSE(QFile::exists(path));
    }
    {
        // More free space asked for than any file system has.
        StreamLimitsScope limits({qint64(4) << 30, qint64(1) << 62});
        EXPECT_EQ(ErrorOf([&] { msg->Attachments[0]->SaveDataToFile(path); }),
                  "Cannot write file \"" + path +
                      "\". Less than 4294967296 GiB would be left free on its file system.");
        EXPECT_FALSE(QFile::exists(path));
    }
    // Within the limits, a budget given takes what was written.
    TInflateBudget budget(9 << 20);
    msg->Attachments[0]->SaveDataToFile(path, &budget);
    EXPECT_EQ(QFileInfo(path).size(), 8 << 20);
    EXPECT_EQ(budget.Remaining(), 1 << 20);
    EXPECT_EQ(ErrorOf([&] { msg->Attachments[0]->SaveDataToFile(path, &budget); }),
              "insufficient memory");
    EXPECT_FALSE(QFile::exists(path));
}
