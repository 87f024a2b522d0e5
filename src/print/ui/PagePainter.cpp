#include "print/ui/PagePainter.h"

#include "base/Error.h"
#include "util/DateTime.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPdfWriter>
#include <QPrinter>
#include <algorithm>

namespace tarvin {

namespace {

// Pictures of pages are never made finer than this; beyond it only memory grows.
constexpr int kMaxRenderDpi = 600;

// Draws the page's text lines where the picture will show them (the text layer of the page).
void PaintTextLayer(QPainter &painter, QPdfDocument &document, int page, double scale) {
    const QString text = document.getAllText(page).text();
    qsizetype start = 0;
    painter.save();
    painter.setPen(Qt::black);
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text.at(end) != QLatin1Char('\r') &&
               text.at(end) != QLatin1Char('\n'))
            ++end;
        const QString line = text.mid(start, end - start);
        if (!line.trimmed().isEmpty()) {
            const QRectF box = document.getSelectionAtIndex(page, int(start), int(line.size()))
                                   .boundingRectangle();
            if (box.isValid()) {
                const QRectF target(box.x() * scale, box.y() * scale, box.width() * scale,
                                    box.height() * scale);
                QFont font = painter.font();
                font.setPixelSize(std::max(1, int(target.height() * 0.8)));
                painter.setFont(font);
                const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(line);
                painter.save();
                painter.translate(target.left(), target.bottom() - target.height() * 0.2);
                if (width > 0)
                    painter.scale(target.width() / width, 1.0);
                painter.drawText(QPointF(0, 0), line);
                painter.restore();
            }
        }
        start = end;
        while (start < text.size() &&
               (text.at(start) == QLatin1Char('\r') || text.at(start) == QLatin1Char('\n')))
            ++start;
    }
    painter.restore();
}

} // namespace

void PaintPageDecoration(QPainter &painter, const QRectF &paper, const QMarginsF &margins,
                         const TPageDecoration &decoration, int page, int count) {
    QFont font = painter.font();
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QRectF header(paper.left() + margins.left(), paper.top(),
                        paper.width() - margins.left() - margins.right(), margins.top());
    const QRectF footer(header.left(), paper.bottom() - margins.bottom(), header.width(),
                        margins.bottom());
    const QString right = PageNumberText(page, count);
    const QString date = QLocale::system().toString(decoration.Date, ShortDateFormat());
    const double rightWidth = QFontMetricsF(font, painter.device()).horizontalAdvance(right);
    const double dateWidth = QFontMetricsF(font, painter.device()).horizontalAdvance(date);
    const auto elided = [&](const QString &text, double width) {
        return QFontMetricsF(font, painter.device()).elidedText(text, Qt::ElideMiddle, width);
    };
    const double gap = painter.device()->logicalDpiX() / 4.0;
    painter.drawText(
        QRectF(header.left(), header.top(), header.width() - rightWidth - gap, header.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        elided(decoration.Title, header.width() - rightWidth - gap));
    painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter, right);
    painter.drawText(
        QRectF(footer.left(), footer.top(), footer.width() - dateWidth - gap, footer.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        elided(decoration.Address, footer.width() - dateWidth - gap));
    painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter, date);
}

QString PageNumberText(int page, int count) {
    return QStringLiteral("Page %1 of %2").arg(page).arg(count);
}

void PaintPdfPages(QPrinter &printer, const QByteArray &pdf, const TPageDecoration &decoration) {
    QByteArray data = pdf;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&buffer);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
        throw Error(QStringLiteral("The pages to print could not be prepared."));

    printer.setFullPage(true);
    const int count = document.pageCount();
    QPainter painter;
    if (!painter.begin(&printer))
        throw Error(printer.outputFileName().isEmpty()
                        ? QStringLiteral("The printer \"%1\" could not be started.")
                              .arg(printer.printerName())
                        : QStringLiteral("The file \"%1\" could not be written.")
                              .arg(printer.outputFileName()));
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    const double dpi = printer.resolution();
    const QMarginsF margins = printer.pageLayout().marginsPoints() * (dpi / 72.0);
    const double renderDpi = std::min<double>(dpi, kMaxRenderDpi);
    for (int page = 0; page < count; ++page) {
        if (page > 0 && !printer.newPage()) {
            painter.end();
            throw Error(QStringLiteral("Page %1 could not be started on \"%2\".")
                            .arg(page + 1)
                            .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                    : printer.outputFileName()));
        }
        const QSizeF points = document.pagePointSize(page);
        // The engine laid the page out on paper of the printer's size, so it fills the sheet;
        // should the sheet have changed since (in the preview), the page still fits on it.
        const double scale =
            std::min(paper.width() / points.width(), paper.height() / points.height());
        PaintTextLayer(painter, document, page, scale);
        const QSize pixels(qRound(points.width() * renderDpi / 72.0),
                           qRound(points.height() * renderDpi / 72.0));
        // On white and without an alpha channel, so the printed picture needs no mask.
        QImage image(pixels, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter onWhite(&image);
            onWhite.drawImage(0, 0, document.render(page, pixels));
        }
        const QRectF target(0, 0, points.width() * scale, points.height() * scale);
        painter.fillRect(target, Qt::white);
        painter.drawImage(target, image);
        PaintPageDecoration(painter, paper, margins, decoration, page + 1, count);
    }
    painter.end();
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        throw Error(QStringLiteral("The print system reported an error while printing to \"%1\".")
                        .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                                : printer.outputFileName()));
}

QByteArray DecorationOverlayPdf(const QByteArray &pdf, const QMarginsF &marginsPoints,
                                const TPageDecoration &decoration) {
    QByteArray data = pdf;
    QBuffer source(&data);
    source.open(QIODevice::ReadOnly);
    QPdfDocument document;
    document.load(&source);
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
        throw Error(QStringLiteral("The pages to print could not be prepared."));
    QByteArray overlay;
    QBuffer target(&overlay);
    target.open(QIODevice::WriteOnly);
    QPdfWriter writer(&target);
    writer.setCreator(QStringLiteral("Tarvin"));
    const int count = document.pageCount();
    const auto layoutFor = [&](int page) {
        return QPageLayout(QPageSize(document.pagePointSize(page), QPageSize::Point),
                           QPageLayout::Portrait, QMarginsF(), QPageLayout::Point);
    };
    writer.setPageLayout(layoutFor(0));
    QPainter painter;
    if (!painter.begin(&writer))
        throw Error(QStringLiteral("The pages to print could not be prepared."));
    const double scale = writer.resolution() / 72.0;
    for (int page = 0; page < count; ++page) {
        if (page > 0) {
            writer.setPageLayout(layoutFor(page));
            writer.newPage();
        }
        const QSizeF points = document.pagePointSize(page);
        const QRectF paper(0, 0, points.width() * scale, points.height() * scale);
        PaintPageDecoration(painter, paper, marginsPoints * scale, decoration, page + 1, count);
    }
    painter.end();
    return overlay;
}

} // namespace tarvin
