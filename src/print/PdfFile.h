#pragma once

#include "util/DateTime.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace tarvin {

// A file to embed in a PDF: its name there, where its bytes are read from, and its date.
struct TPdfEmbeddedFile {
    QString Name;       // shown by PDF readers; unique within the document
    QString SourcePath; // read when the PDF is written
    TDateTime Date = 0; // creation and modification date (0: none)
    QString Description;
};

// "D:YYYYMMDDHHmmSS" for a date (no zone: message dates have none); "" for 0.
QString PdfDateText(TDateTime value);

// Writes `pages` (a PDF) with each page of `overlay` drawn over the page of the same number
// (an overlay with fewer pages leaves the rest alone) and every file embedded, to `path`
// (written whole or not at all), with `title` (when given) as the document's title. Uses
// libqpdf; raises Error with the reason.
void WriteDecoratedPdf(const QByteArray &pages, const QByteArray &overlay,
                       const std::vector<TPdfEmbeddedFile> &files, const QString &path,
                       const QString &title = QString());

} // namespace tarvin
