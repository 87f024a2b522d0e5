#include "view/MessageContent.h"
#include "base/Error.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"
#include "model/MsgPropertyEncoder.h"
#include "view/AttachmentRules.h"

#include "ViewTestMessages.h"
#include "support/HostileFiles.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace tarvin;
using namespace tarvin::viewtest;

namespace {} // namespace

TEST(AttachmentList, InfosAndEntries) {
    auto message = Load(RichMail());
    auto infos = BuildAttachmentInfos(*message);
    ASSERT_EQ(infos.size(), 7u);
    EXPECT_EQ(infos[4].MessageId, "APPT.1");
    EXPECT_EQ(infos[4].MessageType, 1);

    // System attachments (HTML body, pictures, MIME copy) stay out unless asked for.
    auto entries = BuildAttachmentEntries(infos, false);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].Caption, "notes.txt");
    EXPECT_EQ(entries[0].ImageIndex, kExtensionImage);
    EXPECT_EQ(entries[0].Extension, ".txt");
    EXPECT_TRUE(entries[0].HasData);
    EXPECT_EQ(entries[1].Caption, "Appointment"); // embedded, no display name
    EXPECT_EQ(entries[1].ImageIndex, 1);
    EXPECT_EQ(entries[2].Caption, "lost.pdf");
    EXPECT_EQ(entries[2].ImageIndex, kNoDataImage);
    EXPECT_FALSE(entries[2].HasData);

    auto all = BuildAttachmentEntries(infos, true);
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[0].Caption, "TEXT.htm");
    EXPECT_EQ(all[0].Extension, ".htm");
    EXPECT_EQ(all[6].Caption, "Mime.822");
}

TEST(AttachmentList, EmbeddedMessageCaptionsAndBrokenData) {
    PmlWriter mail(mtMail);
    auto posted = std::make_shared<PmlWriter>(mtMail);
    posted->SetCore("boxtype", "3");
    mail.AddAttachment(PmlAttachment::Message("", posted));
    auto phone = std::make_shared<PmlWriter>(mtPhone);
    mail.AddAttachment(PmlAttachment::Message("Call from Dan", phone));
    PmlAttachment broken = PmlAttachment::Message("", posted);
    broken.Embedded.reset();
    broken.RawCData = QByteArray("<not a message");
    mail.AddAttachment(broken);
    auto message = Load(mail);
    auto infos = BuildAttachmentInfos(*message);
    auto entries = BuildAttachmentEntries(infos, false);
    ASSERT_EQ(entries.size(), 3u);
    // A posted mail is still captioned "Mail": captions never use the posted names.
    EXPECT_EQ(entries[0].Caption, "Mail");
    EXPECT_EQ(entries[0].ImageIndex, 0);
    EXPECT_EQ(entries[1].Caption, "Call from Dan");
    EXPECT_EQ(entries[1].ImageIndex, 4);
    // Data that is no message gets the greyed page instead of failing the whole list.
    EXPECT_EQ(entries[2].ImageIndex, kNoDataImage);
    EXPECT_EQ(entries[2].Caption, "File");
    EXPECT_FALSE(entries[2].HasData); // greyed like an attachment without data
}

TEST(HtmlBody, ExtractsBodyAndContentIdParts) {
    QTemporaryDir dir;
    const QString work = dir.path() + "/";
    auto message = Load(RichMail());
    const QString path = ExtractHtmlBody(*message, work);
    EXPECT_EQ(path, work + "text.htm");
    EXPECT_TRUE(ReadAll(path).contains("Hello <b>Bob</b>"));
    // The picture lies beside the body under its content id.
    EXPECT_EQ(ReadAll(work + "logo001"), PngBytes());
    // A content id without a matching attachment writes nothing.
    EXPECT_FALSE(QFile::exists(work + "missing002"));
    // A content id that names another folder stays inside the work folder.
    EXPECT_FALSE(QFile::exists(dir.path() + "/../escape"));
    EXPECT_TRUE(QFile::exists(work + ".._escape"));

    PmlWriter plain(mtMail);
    EXPECT_EQ(ExtractHtmlBody(*Load(plain), work), "");
}

TEST(HtmlBody, PartCannotReplaceTheBody) {
    QTemporaryDir dir;
    const QString work = dir.path() + "/";
    PmlWriter mail(mtMail);
    PmlAttachment html = PmlAttachment::File("TEXT.htm", "<p>real body</p>");
    html.ContentIds = {"TEXT.HTM"};
    mail.AddAttachment(html);
    PmlAttachment fake = PmlAttachment::File("IMAGE.x", "<p>fake</p>");
    fake.FileName = "TEXT.HTM";
    mail.AddAttachment(fake);
    EXPECT_EQ(ReadAll(ExtractHtmlBody(*Load(mail), work)), "<p>real body</p>");
}

TEST(HtmlBody, EachPartIsWrittenOnceAndAllTogetherKeepToTheBudget) {
    // A part named 2,000 times was inflated and written 2,000 times. Now once, taken from the
    // message's budget, which also bounds all parts of one body together.
    QTemporaryDir dir;
    const QString work = dir.path() + "/";
    TGWMessage repeated;
    repeated.LoadFromXml(hostile::RepeatedContentIds(1 << 20, 2000));
    const qint64 before = repeated.InflateBudget()->Remaining();
    EXPECT_EQ(ReadAll(ExtractHtmlBody(repeated, work)), "<img src=\"part\">");
    EXPECT_EQ(QFileInfo(work + "part").size(), 1 << 20);
    EXPECT_EQ(before - repeated.InflateBudget()->Remaining(), (1 << 20) + 16);

    // Many different parts stop being written once the budget is spent; the body is shown.
    const qint64 saved = InflateMemoryLimit();
    SetInflateMemoryLimit(200); // fewer parts than showing a body writes at most
    TGWMessage many;
    many.LoadFromXml(hostile::ManyContentIds(500));
    SetInflateMemoryLimit(saved);
    QTemporaryDir other;
    EXPECT_EQ(ReadAll(ExtractHtmlBody(many, other.path() + "/")), "<p>many</p>");
    const qsizetype files = QDir(other.path()).entryList(QDir::Files).size();
    EXPECT_EQ(files, 1 + (200 - 11)); // the body and one byte per part while the budget lasts
    EXPECT_EQ(many.InflateBudget()->Remaining(), 0);
}

namespace {
// Sets the limits of what showing a body writes for one test.
struct TLimitsGuard {
    explicit TLimitsGuard(const TBodyExtractLimits &limits) { SetBodyExtractLimits(limits); }
    ~TLimitsGuard() { SetBodyExtractLimits(saved); }
    TBodyExtractLimits saved = BodyExtractLimits();
};
} // namespace

TEST(HtmlBody, ABodyOverItsLimitIsRefusedWithoutFillingTheWorkFolder) {
    // A body bomb was written until the message's whole budget (1 GiB) was spent, and then
    // reported as "insufficient memory". Now it stops at the body's own limit, says what was
    // too large, and leaves nothing behind.
    TBodyExtractLimits limits;
    limits.BodyBytes = 1 << 20;
    TLimitsGuard guard(limits);
    QTemporaryDir dir;
    const QString work = dir.path() + "/";
    TGWMessage bomb;
    bomb.LoadFromXml(hostile::BodyBomb(8 << 20));
    const qint64 before = bomb.InflateBudget()->Remaining();
    try {
        ExtractHtmlBody(bomb, work);
        ADD_FAILURE() << "no error";
    } catch (const Error &error) {
        EXPECT_EQ(error.message(), "the HTML body is larger than 1 MiB");
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_LE(before - bomb.InflateBudget()->Remaining(), 1 << 20);

    // A body of exactly the limit is shown.
    TGWMessage fits;
    fits.LoadFromXml(hostile::BodyBomb(1 << 20));
    EXPECT_EQ(QFileInfo(ExtractHtmlBody(fits, work)).size(), 1 << 20);
}

TEST(HtmlBody, PartsAreWrittenUpToTheirNumberAndSize) {
    // 60,000 content ids made as many files (seconds of file creation before the body was
    // shown); now the parts after the first `Parts` stay unresolved.
    TBodyExtractLimits limits;
    limits.Parts = 100;
    limits.PartBytes = 512 << 10;
    TLimitsGuard guard(limits);
    QTemporaryDir dir;
    TGWMessage many;
    many.LoadFromXml(hostile::ManyContentIds(500));
    EXPECT_EQ(ReadAll(ExtractHtmlBody(many, dir.path() + "/")), "<p>many</p>");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1 + 100);
    EXPECT_TRUE(QFile::exists(dir.path() + "/p99"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/p100"));

    // What the parts write together is bounded too: the part that passes the bound is
    // removed again and the rest are left out; the message's budget keeps what is not used.
    limits.PartBytes = 600 << 10;
    SetBodyExtractLimits(limits);
    QTemporaryDir other;
    TGWMessage big;
    big.LoadFromXml(hostile::PartBombs(4, 256 << 10));
    const qint64 before = big.InflateBudget()->Remaining();
    EXPECT_EQ(ReadAll(ExtractHtmlBody(big, other.path() + "/")), "<p>parts</p>");
    EXPECT_EQ(QDir(other.path()).entryList(QDir::Files), QStringList({"b0", "b1", "text.htm"}));
    EXPECT_LE(before - big.InflateBudget()->Remaining(), (600 << 10) + 12);
}

TEST(Attachments, WriteForOpeningAndSaveEmbedded) {
    QTemporaryDir dir;
    const QString work = dir.path() + "/";
    auto message = Load(RichMail());
    auto infos = BuildAttachmentInfos(*message);
    EXPECT_EQ(WriteAttachmentForOpening(*infos[3].Attachment, work), work + "notes.txt");
    EXPECT_EQ(ReadAll(work + "notes.txt"), "some notes\n");

    const QString name = EmbeddedMessageFileName(infos[4]);
    EXPECT_TRUE(name.startsWith("Appointment["));
    EXPECT_TRUE(name.endsWith("].pml"));
    EXPECT_EQ(name.size(), QString("Appointment[").size() + 12 + 5);

    const QString saved = work + name;
    SaveEmbeddedMessage(*infos[4].Attachment, saved);
    TGWMessage reloaded;
    reloaded.LoadFromFile(saved);
    EXPECT_EQ(reloaded.MessageType, mtAppointment);
    EXPECT_EQ(reloaded.CoreProperties.Subject, "Review");
    // The saved file carries the message date as its file time.
    TMsgPropertyEncoder encoder;
    encoder.SetMessage(&reloaded);
    EXPECT_EQ(QFileInfo(saved).lastModified().toMSecsSinceEpoch(),
              DateTimeToUnixMSecs(encoder.MessageDate()));
}

TEST(PropertiesAndSaveLog, FromTheMessage) {
    auto message = Load(RichMail());
    EXPECT_EQ(MessagePropertiesText(*message, ""), "From:\tAnn Lee\nSubject:\tQuarterly figures");
    EXPECT_TRUE(MessagePropertiesText(*message, "/a/b.pml").endsWith(" File Name:\t/a/b.pml"));
    PmlWriter bare(mtNote);
    EXPECT_EQ(MessagePropertiesText(*Load(bare), ""),
              "No properties are available for this message.");

    PmlWriter logged(mtMail);
    logged.SetSaveLog("20240305T143000", "-1").AddLogItem("Attachment a.doc failed");
    const QString log = MessageSaveLogText(*Load(logged));
    EXPECT_TRUE(log.contains("\nStatus:\tOne or more errors occurred\n")) << log.toStdString();
    EXPECT_TRUE(log.endsWith("\nAttachment a.doc failed")) << log.toStdString();
}
