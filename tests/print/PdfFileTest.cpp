#define POINTERHOLDER_TRANSITION 4

#include "print/PdfFile.h"
#include "base/Error.h"
#include "util/DateTime.h"

#include "support/TestFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

using namespace tarvin;
using tarvin::testing::WriteTestFile;

namespace {

// A PDF of `count` pages of 200 x 300 points, each drawing `text` with a standard font.
QByteArray MakePdf(int count, const std::string &text) {
    QPDF pdf;
    pdf.emptyPDF();
    QPDFPageDocumentHelper pages(pdf);
    for (int i = 0; i < count; ++i) {
        QPDFObjectHandle font = pdf.makeIndirectObject(
            QPDFObjectHandle::parse("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"));
        QPDFObjectHandle resources = QPDFObjectHandle::newDictionary();
        resources.replaceKey("/Font", QPDFObjectHandle::newDictionary());
        resources.getKey("/Font").replaceKey("/F1", font);
        QPDFObjectHandle page = pdf.makeIndirectObject(
            QPDFObjectHandle::parse("<< /Type /Page /MediaBox [0 0 200 300] >>"));
        page.replaceKey("/Resources", resources);
        page.replaceKey("/Contents", QPDFObjectHandle::newStream(&pdf, "BT /F1 12 Tf 20 150 Td (" +
                                                                           text + ") Tj ET"));
        pages.addPage(QPDFPageObjectHelper(page), false);
    }
    QPDFWriter writer(pdf);
    writer.setOutputMemory();
    writer.write();
    std::unique_ptr<Buffer> buffer(writer.getBuffer());
    return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                      qsizetype(buffer->getSize()));
}

QByteArray ReadAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct TReadBack {
    QByteArray Data;
    long long Size = -1;
    std::string ModDate, Description;
};

// The embedded files of a PDF by name, read with libqpdf.
std::map<QString, TReadBack> EmbeddedFiles(QPDF &pdf) {
    std::map<QString, TReadBack> result;
    QPDFEmbeddedFileDocumentHelper helper(pdf);
    for (const auto &[key, spec] : helper.getEmbeddedFiles()) {
        QPDFEFStreamObjectHelper stream(spec->getEmbeddedFileStream());
        std::shared_ptr<Buffer> data = stream.getObjectHandle().getStreamData(qpdf_dl_generalized);
        TReadBack item;
        item.Data = QByteArray(reinterpret_cast<const char *>(data->getBuffer()),
                               qsizetype(data->getSize()));
        item.Size = (long long)stream.getSize();
        item.ModDate = stream.getModDate();
        item.Description = spec->getDescription();
        result[QString::fromStdString(spec->getFilename())] = item;
    }
    return result;
}

} // namespace

TEST(PdfFile, EmbeddedFilesReadBackByteExact) {
    QTemporaryDir folder;
    QByteArray binary;
    for (int i = 0; i < 70000; ++i)
        binary.append(char((i * 7919) & 0xff));
    const QString a = WriteTestFile(folder.filePath("a"), binary);
    const QString b = WriteTestFile(folder.filePath("b"), QByteArray());
    const QString c = WriteTestFile(folder.filePath("c"), "Grüße\r\n");
    const TDateTime date = EncodeDateTime(2026, 3, 14, 9, 26, 53);
    std::vector<TPdfEmbeddedFile> files = {
        {"figures.bin", a, date, "figures.bin"},
        {"empty.txt", b, date, QString()},
        {"Grüße [0000deadbeef].pml", c, 0, "Grüße"},
    };
    const QString out = folder.filePath("out.pdf");
    WriteDecoratedPdf(MakePdf(2, "Body text"), MakePdf(2, "Page header"), files, out,
                      "Ann - Grüße");

    QPDF pdf;
    pdf.processFile(out.toUtf8().constData());
    EXPECT_EQ(pdf.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value(), "Ann - Grüße");
    auto embedded = EmbeddedFiles(pdf);
    ASSERT_EQ(embedded.size(), 3u);
    EXPECT_EQ(embedded["figures.bin"].Data, binary);
    EXPECT_EQ(embedded["figures.bin"].Size, binary.size());
    EXPECT_EQ(embedded["figures.bin"].ModDate, "D:20260314092653");
    EXPECT_EQ(embedded["empty.txt"].Data, QByteArray());
    EXPECT_EQ(embedded["empty.txt"].Size, 0);
    EXPECT_EQ(embedded["Grüße [0000deadbeef].pml"].Data, ReadAll(c));
    EXPECT_EQ(embedded["Grüße [0000deadbeef].pml"].ModDate, "");
    EXPECT_EQ(embedded["Grüße [0000deadbeef].pml"].Description, "Grüße");

    // Each page draws its own content and then the overlay's page as a form.
    auto pages = QPDFPageDocumentHelper(pdf).getAllPages();
    ASSERT_EQ(pages.size(), 2u);
    for (auto &page : pages) {
        EXPECT_EQ(page.getFormXObjects().size(), 1u);
        std::string content;
        for (auto &stream : page.getPageContents())
            content += stream.getStreamData(qpdf_dl_generalized)->getSize() ? "x" : "";
        EXPECT_FALSE(content.empty());
    }
}

TEST(PdfFile, NoAttachmentsNoOverlayAndFailures) {
    QTemporaryDir folder;
    const QString out = folder.filePath("plain.pdf");
    WriteDecoratedPdf(MakePdf(1, "Only"), QByteArray(), {}, out);
    QPDF pdf;
    pdf.processFile(out.toUtf8().constData());
    EXPECT_FALSE(QPDFEmbeddedFileDocumentHelper(pdf).hasEmbeddedFiles());
    EXPECT_EQ(QPDFPageDocumentHelper(pdf).getAllPages().size(), 1u);

    // Damaged pages, a missing attachment file and an unwritable target are errors, and no
    // file is left half-written.
    const QString broken = folder.filePath("broken.pdf");
    EXPECT_THROW(WriteDecoratedPdf("not a pdf", QByteArray(), {}, broken), Error);
    EXPECT_THROW(WriteDecoratedPdf(MakePdf(1, "x"), QByteArray(),
                                   {{"gone.txt", folder.filePath("gone"), 0, QString()}}, broken),
                 Error);
    EXPECT_FALSE(QFile::exists(broken));
    EXPECT_THROW(
        WriteDecoratedPdf(MakePdf(1, "x"), QByteArray(), {}, folder.filePath("no/such/x.pdf")),
        Error);
}
