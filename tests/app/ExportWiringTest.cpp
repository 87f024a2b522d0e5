#define POINTERHOLDER_TRANSITION 4

#include "app/ui/ExportWiring.h"
#include "app/ui/FeatureWiring.h"
#include "support/PmlWriter.h"
#include "support/RecordingDesktop.h"
#include "support/TestFiles.h"
#include "support/ViewerOpen.h"
#include "support/Wait.h"
#include "view/ui/SaveAllAttachments.h"
#include "view/ui/TarvinForm.h"
#include "view/ui/TarvinFrame.h"
#include "view/ui/ViewerActionHandler.h"
#include "view/ui/ViewerWindows.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfDocument>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>

using namespace tarvin;
using tarvin::testing::WaitFor;

namespace {

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// An HTML mail with a binary file, a hostile name, an embedded message and a file without data.
PmlWriter MailWithAttachments() {
    PmlWriter mail(mtMail);
    mail.SetCore("from", "Ann Lee").SetCore("subject", "Quarterly: figures/2026").SetMapi("EXP.1");
    mail.SetPlainText("Plain body");
    mail.AddAttachment(PmlAttachment::File(
        "TEXT.htm", "<html><body><p>Hello <b>Bob</b>, the figures.</p></body></html>"));
    QByteArray binary;
    for (int i = 0; i < 5000; ++i)
        binary.append(char((i * 131) & 0xff));
    mail.AddAttachment(PmlAttachment::File("figures.bin", binary));
    mail.AddAttachment(PmlAttachment::File("../../up:and*out.txt", "hostile\r\n"));
    auto note = std::make_shared<PmlWriter>(mtNote);
    note->SetCore("subject", "Call back").SetMapi("NOTE.9");
    mail.AddAttachment(PmlAttachment::Message("Call back", note));
    PmlAttachment empty = PmlAttachment::File("lost.pdf", QByteArray());
    empty.HasData = false;
    mail.AddAttachment(empty);
    return mail;
}

std::map<QString, QByteArray> EmbeddedFiles(const QString &pdfPath) {
    std::map<QString, QByteArray> result;
    QPDF pdf;
    pdf.processFile(QFile::encodeName(pdfPath).constData());
    for (const auto &[key, spec] : QPDFEmbeddedFileDocumentHelper(pdf).getEmbeddedFiles()) {
        auto data = spec->getEmbeddedFileStream().getStreamData(qpdf_dl_generalized);
        result[QString::fromStdString(spec->getFilename())] = QByteArray(
            reinterpret_cast<const char *>(data->getBuffer()), qsizetype(data->getSize()));
    }
    return result;
}

QString PdfText(const QString &path) {
    QPdfDocument document;
    document.load(path);
    QString text;
    for (int page = 0; page < document.pageCount(); ++page)
        text += document.getAllText(page).text() + "\n";
    return text;
}

} // namespace

// A viewer window on a mail with attachments, in a folder of the test's own; every dialog
// answered by the recording desktop.
class ExportWiring : public ::testing::Test {
protected:
    void SetUp() override { ConnectViewerWindows(viewers); }
    TTarvinForm *OpenMail() {
        if (!MailWithAttachments().WriteFile(path))
            return nullptr;
        return tarvin::testing::OpenAndWait(viewers, path);
    }

    QTemporaryDir dir;
    tarvin::testing::TRecordingDesktop desktop;
    const QString path = dir.filePath("mail.pml");
    TViewerWindows viewers;
};

// "Export as PDF..." of a viewer window: the print document as text, the header and footer,
// and every attachment with data embedded byte for byte as the viewer's "Save As..." saves it.
TEST_F(ExportWiring, ViewerExportEmbedsWhatSaveAsWrites) {
    TTarvinForm *window = OpenMail();
    ASSERT_NE(window, nullptr);
    TTarvinFrame *frame = window->Viewer();
    QAction *exportPdf = window->Actions()->actExportPdf;
    ASSERT_TRUE(exportPdf->isEnabled());
    EXPECT_EQ(exportPdf->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));

    const QString pdf = dir.filePath("out/record.pdf");
    QDir().mkpath(dir.filePath("out"));
    desktop.FileAnswers.push_back(pdf);
    exportPdf->trigger();
    ASSERT_EQ(desktop.FileRequests.size(), 1u);
    EXPECT_EQ(desktop.FileRequests[0].SuggestedName, "Quarterly_ figures_2026.pdf");
    ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(pdf); }));
    EXPECT_TRUE(desktop.Messages.empty()) << desktop.MessageTexts().join("\n").toStdString();

    const QString text = PdfText(pdf);
    for (const char *expected : {"From:", "Ann Lee", "Subject:", "Quarterly: figures/2026",
                                 "the figures.", "Attachments:", "Page 1 of 1", "mail.pml"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                                << text.toStdString();

    // Each listed attachment with data, saved through the viewer's own "Save As...".
    const auto embedded = EmbeddedFiles(pdf);
    int compared = 0;
    for (int row = 0; row < int(frame->AttachmentEntries().size()); ++row) {
        if (!frame->AttachmentEntries()[size_t(row)].HasData)
            continue;
        frame->SelectAttachment(row);
        const QString saved = dir.filePath(QStringLiteral("saved%1").arg(row));
        desktop.FileAnswers.push_back(saved);
        frame->SaveSelectedAttachmentAs();
        const QString name = desktop.FileRequests.back().SuggestedName;
        ASSERT_TRUE(embedded.count(name)) << name.toStdString();
        EXPECT_EQ(embedded.at(name), ReadAll(saved)) << name.toStdString();
        ++compared;
    }
    // The HTML body (listed: the window shows system attachments), the two files and the
    // embedded message; the attachment without data is left out.
    EXPECT_EQ(compared, 4);
    EXPECT_EQ(embedded.size(), 4u);
    EXPECT_TRUE(embedded.count(".._.._up_and_out.txt"));
}

// "Save All Attachments...": a name that exists is asked about once for all.
TEST_F(ExportWiring, SaveAllAttachmentsAsksBeforeReplacing) {
    TTarvinForm *window = OpenMail();
    ASSERT_NE(window, nullptr);
    QAction *saveAll = window->Actions()->actSaveAllAttachments;
    ASSERT_TRUE(saveAll->isEnabled());

    const QString out = dir.filePath("out");
    tarvin::testing::WriteTestFile(out + "/figures.bin", "old");
    tarvin::testing::WriteTestFile(out + "/.._.._up_and_out.txt", "old too");
    desktop.FileAnswers.push_back(out);
    desktop.DialogRuns.push_back([](QObject *dialog) {
        auto *question = qobject_cast<TFileExistsDialog *>(dialog);
        EXPECT_NE(question, nullptr);
        if (!question)
            return 0;
        question->ApplyToAllBox()->setChecked(true);
        return TFileExistsDialog::ResultFor(TCollisionChoice::KeepBoth);
    });
    saveAll->trigger();
    EXPECT_EQ(desktop.Dialogs.size(), 1u);
    EXPECT_TRUE(desktop.Messages.empty()) << desktop.MessageTexts().join("\n").toStdString();
    EXPECT_EQ(ReadAll(out + "/figures.bin"), "old");
    EXPECT_EQ(ReadAll(out + "/figures (2).bin").size(), 5000);
    EXPECT_EQ(ReadAll(out + "/.._.._up_and_out.txt"), "old too");
    EXPECT_EQ(ReadAll(out + "/.._.._up_and_out (2).txt"), "hostile\r\n");
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 6);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 2);
}

// Several message files: a folder, one PDF each under unique names, failures at the end.
TEST_F(ExportWiring, SeveralFilesGoToOneFolderWithFailuresReported) {
    PmlWriter plain(mtMail);
    plain.SetCore("subject", "No attachments").SetPlainText("Just text");
    QDir().mkpath(dir.filePath("a"));
    QDir().mkpath(dir.filePath("b"));
    ASSERT_TRUE(plain.WriteFile(dir.filePath("a/same.pml")));
    ASSERT_TRUE(MailWithAttachments().WriteFile(dir.filePath("b/same.pml")));
    tarvin::testing::WriteTestFile(dir.filePath("broken.pml"), "<message");
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    desktop.FileAnswers.push_back(out);
    QWidget owner;
    ExportMessageFiles(
        &owner,
        {dir.filePath("a/same.pml"), dir.filePath("broken.pml"), dir.filePath("b/same.pml")},
        false);
    ASSERT_TRUE(WaitFor([&] { return !desktop.Messages.empty(); }));
    ASSERT_EQ(desktop.Messages.size(), 1u);
    EXPECT_EQ(desktop.Messages[0].Kind, TMessageKind::Error);
    EXPECT_TRUE(desktop.Messages[0].Text.startsWith("2 PDF files were written"))
        << desktop.Messages[0].Text.toStdString();
    EXPECT_TRUE(desktop.Messages[0].Text.contains("broken.pml"));
    EXPECT_EQ(QDir(out).entryList(QDir::Files), (QStringList{"same (2).pdf", "same.pdf"}));
    EXPECT_TRUE(EmbeddedFiles(out + "/same.pdf").empty());
    // System attachments (the HTML body) stay out, as the list's pane does not show them.
    EXPECT_EQ(EmbeddedFiles(out + "/same (2).pdf").size(), 3u);
}
