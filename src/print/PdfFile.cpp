// qpdf's own pointer type is not used here; its transition warning is not needed.
#define POINTERHOLDER_TRANSITION 4

#include "print/PdfFile.h"

#include "base/Error.h"

#include <QFile>
#include <QSaveFile>
#include <exception>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFEFStreamObjectHelper.hh>
#include <qpdf/QPDFEmbeddedFileDocumentHelper.hh>
#include <qpdf/QPDFFileSpecObjectHelper.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>
#include <qpdf/QUtil.hh>

namespace tarvin {

namespace {

void loadPdf(QPDF &pdf, const char *description, const QByteArray &data) {
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile(description, data.constData(), size_t(data.size()));
}

void overlayPages(QPDF &pdf, QPDF &overlay) {
    std::vector<QPDFPageObjectHelper> pages = QPDFPageDocumentHelper(pdf).getAllPages();
    std::vector<QPDFPageObjectHelper> top = QPDFPageDocumentHelper(overlay).getAllPages();
    for (size_t i = 0; i < pages.size() && i < top.size(); ++i) {
        QPDFPageObjectHelper &page = pages[i];
        QPDFObjectHandle form = pdf.copyForeignObject(top[i].getFormXObjectForPage());
        QPDFObjectHandle resources = page.getAttribute("/Resources", true);
        if (!resources.isDictionary()) {
            resources = QPDFObjectHandle::newDictionary();
            page.getObjectHandle().replaceKey("/Resources", resources);
        }
        if (!resources.getKey("/XObject").isDictionary())
            resources.replaceKey("/XObject", QPDFObjectHandle::newDictionary());
        int suffix = 0;
        const std::string name = resources.getUniqueResourceName("/Fx", suffix);
        resources.getKey("/XObject").replaceKey(name, form);
        const std::string placement = page.placeFormXObject(
            form, name, page.getTrimBox().getArrayAsRectangle(), true, true, true);
        // The page's own drawing keeps to itself; the overlay then draws in the page's space.
        page.addPageContents(QPDFObjectHandle::newStream(&pdf, "q\n"), true);
        page.addPageContents(QPDFObjectHandle::newStream(&pdf, "\nQ\nq\n" + placement + "\nQ\n"),
                             false);
    }
}

void embedFiles(QPDF &pdf, const std::vector<TPdfEmbeddedFile> &files) {
    if (files.empty())
        return;
    QPDFEmbeddedFileDocumentHelper embedded(pdf);
    for (const TPdfEmbeddedFile &file : files) {
        // The whole file, read now: a file that cannot be read fails here, not while writing.
        QFile source(file.SourcePath);
        if (!source.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("Cannot open file \"%1\". %2")
                            .arg(file.SourcePath, source.errorString()));
        const QByteArray bytes = source.readAll();
        if (source.error() != QFileDevice::NoError)
            throw Error(QStringLiteral("Cannot read file \"%1\". %2")
                            .arg(file.SourcePath, source.errorString()));
        auto stream = QPDFEFStreamObjectHelper::createEFStream(
            pdf, std::string(bytes.constData(), size_t(bytes.size())));
        const QString date = PdfDateText(file.Date);
        if (!date.isEmpty()) {
            stream.setCreationDate(date.toStdString());
            stream.setModDate(date.toStdString());
        }
        const std::string name = file.Name.toUtf8().toStdString();
        auto spec = QPDFFileSpecObjectHelper::createFileSpec(pdf, name, stream);
        // /F for older readers: the name as a text string too (UTF-16 where needed).
        spec.getObjectHandle().replaceKey("/F", QPDFObjectHandle::newUnicodeString(name));
        if (!file.Description.isEmpty())
            spec.setDescription(file.Description.toUtf8().toStdString());
        embedded.replaceEmbeddedFile(name, spec);
    }
}

} // namespace

QString PdfDateText(TDateTime value) {
    if (value == 0)
        return QString();
    const DateTimeParts parts = DecodeDateTime(value);
    return QString::asprintf("D:%04d%02d%02d%02d%02d%02d", parts.year, parts.month, parts.day,
                             parts.hour, parts.minute, parts.second);
}

void WriteDecoratedPdf(const QByteArray &pages, const QByteArray &overlay,
                       const std::vector<TPdfEmbeddedFile> &files, const QString &path,
                       const QString &title) {
    QByteArray output;
    try {
        QPDF pdf;
        loadPdf(pdf, "pages", pages);
        QPDF top;
        if (!overlay.isEmpty()) {
            loadPdf(top, "overlay", overlay);
            overlayPages(pdf, top);
        }
        embedFiles(pdf, files);
        if (!title.isEmpty()) {
            QPDFObjectHandle trailer = pdf.getTrailer();
            QPDFObjectHandle info = trailer.getKey("/Info");
            if (!info.isDictionary()) {
                info = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
                trailer.replaceKey("/Info", info);
            }
            info.replaceKey("/Title",
                            QPDFObjectHandle::newUnicodeString(title.toUtf8().toStdString()));
        }
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setStaticID(false);
        writer.setObjectStreamMode(qpdf_o_generate);
        writer.write();
        std::unique_ptr<Buffer> buffer(writer.getBuffer());
        output = QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                            qsizetype(buffer->getSize()));
    } catch (const std::exception &e) {
        throw Error(QStringLiteral("The PDF file \"%1\" could not be made. %2")
                        .arg(path, QString::fromLocal8Bit(e.what())));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size() || !file.commit())
        throw Error(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace tarvin
