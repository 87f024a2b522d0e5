#include "view/AttachmentExport.h"
#include "model/Attachment.h"
#include "model/GWMessage.h"

#include "ViewTestMessages.h"
#include "support/QtPrinters.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace tarvin;
using namespace tarvin::viewtest;
using tarvin::testing::WriteTestFile;

namespace {

QStringList Entries(const QString &folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System | QDir::Hidden, QDir::Name);
}

// Two attachments that share a name, hostile names, binary data and an embedded message.
PmlWriter CollidingMail() {
    PmlWriter mail(mtMail);
    mail.SetCore("subject", "Names").SetMapi("COLL.1");
    mail.AddAttachment(PmlAttachment::File("report.txt", "first"));
    mail.AddAttachment(PmlAttachment::File("report.txt", "second"));
    mail.AddAttachment(PmlAttachment::File("../../escape.txt", "up"));
    mail.AddAttachment(PmlAttachment::File("..", "dots"));
    mail.AddAttachment(PmlAttachment::File("a/b:c*.bin", QByteArray("\0\1\2\xff", 4)));
    auto note = std::make_shared<PmlWriter>(mtNote);
    note->SetCore("subject", "Call back").SetMapi("NOTE.7");
    mail.AddAttachment(PmlAttachment::Message("Call back", note));
    return mail;
}

struct TScriptedQuestion {
    std::vector<TCollisionAnswer> Answers;
    QStringList Asked;
    TCollisionQuestion Ask() {
        return [this](const QString &path) {
            Asked << QFileInfo(path).fileName();
            if (Answers.empty()) {
                ADD_FAILURE() << "unexpected question for " << path.toStdString();
                return TCollisionAnswer{TCollisionChoice::Cancel, false};
            }
            TCollisionAnswer answer = Answers.front();
            Answers.erase(Answers.begin());
            return answer;
        };
    }
};

} // namespace

TEST(AttachmentFiles, SafeNamesAsTheViewerSavesThem) {
    auto message = Load(CollidingMail());
    const auto files = AttachmentFiles(BuildAttachmentInfos(*message), false);
    QStringList names;
    for (const TAttachmentFile &file : files)
        names << file.Name;
    ASSERT_EQ(names.size(), 6);
    EXPECT_EQ(names[0], "report.txt");
    EXPECT_EQ(names[1], "report.txt"); // made unique only where it is written
    EXPECT_EQ(names[2], ".._.._escape.txt");
    EXPECT_EQ(names[3], "File");
    EXPECT_EQ(names[4], "a_b_c_.bin");
    EXPECT_TRUE(names[5].startsWith("Call back[")) << names[5].toStdString();
    EXPECT_TRUE(names[5].endsWith("].pml")) << names[5].toStdString();
    EXPECT_TRUE(files[5].EmbeddedMessage);

    // System attachments only when shown; attachments without data never.
    auto rich = Load(RichMail());
    EXPECT_EQ(AttachmentFiles(BuildAttachmentInfos(*rich), false).size(), 2u);
    EXPECT_EQ(AttachmentFiles(BuildAttachmentInfos(*rich), true).size(), 6u);
    PmlWriter bare(mtMail);
    EXPECT_TRUE(AttachmentFiles(BuildAttachmentInfos(*Load(bare)), true).empty());
}

TEST(AttachmentFiles, NumberedNames) {
    EXPECT_EQ(NumberedName("report.txt", 2), "report (2).txt");
    EXPECT_EQ(NumberedName("archive.tar.gz", 3), "archive.tar (3).gz");
    EXPECT_EQ(NumberedName("README", 2), "README (2)");
    const QStringList taken = {"a.txt", "a (2).txt"};
    EXPECT_EQ(UniqueName("a.txt", [&](const QString &n) { return taken.contains(n); }),
              "a (3).txt");
    EXPECT_EQ(UniqueName("b.txt", [&](const QString &n) { return taken.contains(n); }), "b.txt");
    // A long name stays within the file system's limit with its number and extension.
    const QString longName = QString(300, QLatin1Char('x')) + ".txt";
    const QString numbered = NumberedName(longName, 12);
    EXPECT_LE(numbered.toUtf8().size(), 255);
    EXPECT_TRUE(numbered.endsWith(" (12).txt"));
}

TEST(SaveAllAttachments, WritesEverythingInsideTheFolderWithoutAsking) {
    QTemporaryDir root;
    const QString folder = root.filePath("out");
    QDir().mkpath(folder);
    auto message = Load(CollidingMail());
    TScriptedQuestion question;
    TSaveAllAttachments save(folder, question.Ask());
    save.Save(*message, false);
    EXPECT_TRUE(save.Failures().isEmpty()) << save.Failures().join("\n").toStdString();
    EXPECT_TRUE(question.Asked.isEmpty());
    EXPECT_EQ(save.Saved().size(), 6);
    const QStringList entries = Entries(folder);
    EXPECT_EQ(entries.size(), 6) << entries.join(", ").toStdString();
    EXPECT_EQ(ReadAll(folder + "/report.txt"), "first");
    EXPECT_EQ(ReadAll(folder + "/report (2).txt"), "second");
    EXPECT_EQ(ReadAll(folder + "/.._.._escape.txt"), "up");
    EXPECT_EQ(ReadAll(folder + "/File"), "dots");
    EXPECT_EQ(ReadAll(folder + "/a_b_c_.bin"), QByteArray("\0\1\2\xff", 4));
    // Nothing beside the folder.
    EXPECT_EQ(Entries(root.path()), QStringList{"out"});

    // The embedded message is the file the viewer's "Save As..." writes.
    const auto infos = BuildAttachmentInfos(*message);
    const auto files = AttachmentFiles(infos, false);
    const QString viewerCopy = root.filePath("viewer.pml");
    SaveEmbeddedMessage(*files[5].Attachment, viewerCopy);
    EXPECT_EQ(ReadAll(folder + "/" + files[5].Name), ReadAll(viewerCopy));
    EXPECT_EQ(QFileInfo(folder + "/" + files[5].Name).lastModified(),
              QFileInfo(viewerCopy).lastModified());
}

TEST(SaveAllAttachments, CollisionsAreAskedAndAnswered) {
    QTemporaryDir folder;
    auto message = Load(CollidingMail());
    WriteTestFile(folder.filePath("report.txt"), "old");
    WriteTestFile(folder.filePath("File"), "old file");
    WriteTestFile(folder.filePath("a_b_c_.bin"), "old bin");
    {
        // Keep both (twice: both attachments named so meet the old file), then Skip, then
        // Replace, each for one name.
        TScriptedQuestion question;
        question.Answers = {{TCollisionChoice::KeepBoth, false},
                            {TCollisionChoice::KeepBoth, false},
                            {TCollisionChoice::Skip, false},
                            {TCollisionChoice::Replace, false}};
        TSaveAllAttachments save(folder.path(), question.Ask());
        save.Save(*message, false);
        EXPECT_EQ(question.Asked, (QStringList{"report.txt", "report.txt", "File", "a_b_c_.bin"}));
        EXPECT_EQ(ReadAll(folder.filePath("report.txt")), "old");
        EXPECT_EQ(ReadAll(folder.filePath("report (2).txt")), "first");
        EXPECT_EQ(ReadAll(folder.filePath("report (3).txt")), "second");
        EXPECT_EQ(ReadAll(folder.filePath("File")), "old file");
        EXPECT_EQ(ReadAll(folder.filePath("a_b_c_.bin")), QByteArray("\0\1\2\xff", 4));
        EXPECT_EQ(save.Skipped().size(), 1);
        EXPECT_TRUE(save.Failures().isEmpty());
    }
    {
        // A second run: one answer for all; nothing else is asked.
        TScriptedQuestion question;
        question.Answers = {{TCollisionChoice::Skip, true}};
        TSaveAllAttachments save(folder.path(), question.Ask());
        save.Save(*message, false);
        EXPECT_EQ(question.Asked.size(), 1);
        EXPECT_TRUE(save.Saved().isEmpty());
        EXPECT_EQ(save.Skipped().size(), 6);
    }
    {
        // Cancel stops the run where it is.
        TScriptedQuestion question;
        question.Answers = {{TCollisionChoice::Cancel, true}};
        TSaveAllAttachments save(folder.path(), question.Ask());
        save.Save(*message, false);
        save.Save(*message, false);
        EXPECT_TRUE(save.Cancelled());
        EXPECT_EQ(question.Asked.size(), 1);
        EXPECT_TRUE(save.Saved().isEmpty());
    }
}

TEST(SaveAllAttachments, ReplacingNeverWritesThroughALinkOrOverAFolder) {
    QTemporaryDir root;
    const QString folder = root.filePath("out");
    QDir().mkpath(folder + "/File"); // a folder where ".." would be saved
    const QString outside = WriteTestFile(root.filePath("secret.txt"), "keep");
    ASSERT_EQ(
        ::symlink(outside.toUtf8().constData(), (folder + "/report.txt").toUtf8().constData()), 0);
    auto message = Load(CollidingMail());
    TScriptedQuestion question;
    question.Answers = {{TCollisionChoice::Replace, true}};
    TSaveAllAttachments save(folder, question.Ask());
    save.Save(*message, false);
    EXPECT_EQ(ReadAll(outside), "keep");
    EXPECT_FALSE(QFileInfo(folder + "/report.txt").isSymLink());
    EXPECT_EQ(ReadAll(folder + "/report.txt"), "first");
    ASSERT_EQ(save.Failures().size(), 1);
    EXPECT_TRUE(save.Failures()[0].contains("is a folder")) << save.Failures()[0].toStdString();
    EXPECT_TRUE(QFileInfo(folder + "/File").isDir());
}
