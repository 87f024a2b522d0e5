#pragma once

#include <QByteArray>
#include <QDate>
#include <QMarginsF>
#include <QRectF>
#include <QString>

class QPainter;
class QPrinter;

namespace tarvin {

// What is written around every printed page: the document title on the left of the header,
// "Page p of P" on its right; the page address on the left of the footer, the date (short
// date format) on its right.
struct TPageDecoration {
    QString Title;
    QString Address;
    QDate Date;
};

// The header text on the right for page `page` (1-based) of `count`.
QString PageNumberText(int page, int count);

// Paints the pages of `pdf` (the HTML engine's rendering, one PDF page per printed page, laid
// out for the printer's page layout) onto `printer`, each page as a picture at the printer's
// resolution under the header and footer, with the page's text laid beneath the picture so
// that a PDF written from the print stays searchable. Raises Error with the reason when the
// pages cannot be read or the printer cannot be started or fails.
void PaintPdfPages(QPrinter &printer, const QByteArray &pdf, const TPageDecoration &decoration);

// Draws the header and footer of page `page` of `count` on `paper` (device pixels), in the
// top and bottom margins (device pixels).
void PaintPageDecoration(QPainter &painter, const QRectF &paper, const QMarginsF &margins,
                         const TPageDecoration &decoration, int page, int count);

// A PDF with one page per page of `pdf`, each of the same size, holding only that page's
// header and footer as text (`marginsPoints`: the page layout's margins in points), to be laid
// over the pages. Raises Error when the pages cannot be read.
QByteArray DecorationOverlayPdf(const QByteArray &pdf, const QMarginsF &marginsPoints,
                                const TPageDecoration &decoration);

} // namespace tarvin
