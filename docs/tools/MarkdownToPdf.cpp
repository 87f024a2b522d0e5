// Build tool: typesets the user manual from Markdown with Qt's text document and PDF writer.
//   tarvin_markdown_pdf OUTPUT.pdf TITLE IMAGE_FOLDER SOURCE.md...
// The sources are joined in the order given. Each first-level heading starts a page; a
// paragraph that reads "[[contents]]" becomes the list of first- and second-level headings
// with their page numbers. Pictures are taken relative to IMAGE_FOLDER and shrunk to the
// text width; every page but the first carries its number at the foot.
#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextTable>
#include <QUrl>
#include <cstdio>

namespace {

constexpr int kResolution = 300;
const QString kContentsMarker = QStringLiteral("[[contents]]");

struct THeading {
    int Level;
    QString Text;
    int Page;
};

// Lengths in text formats (margins, indents, tab stops, borders) count in 1/96 inch whatever
// the writer's resolution.
double points(double pt) {
    return pt * 96.0 / 72.0;
}
// Device pixels of the PDF writer.
double devicePoints(double pt) {
    return pt * kResolution / 72.0;
}
double toUnits(double devicePixels) {
    return devicePixels * 96.0 / kResolution;
}

void fail(const QString &text) {
    std::fprintf(stderr, "tarvin_markdown_pdf: %s\n", qPrintable(text));
    std::exit(1);
}

// Heading sizes and spacing, body spacing, and a page break before every chapter.
void styleBlocks(QTextDocument &doc) {
    bool firstChapter = true;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat format = block.blockFormat();
        const int level = format.headingLevel();
        if (level > 0) {
            static const double sizes[] = {0, 22, 15, 12.5, 11, 11, 11};
            QTextCharFormat chars;
            chars.setFontPointSize(sizes[std::min(level, 6)]);
            chars.setFontWeight(QFont::Bold);
            chars.setForeground(QColor(level == 1 ? 0x1b3f6b : 0x20303f));
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(chars);
            cursor.clearSelection();
            format.setTopMargin(points(level == 1 ? 0 : 14));
            format.setBottomMargin(points(level == 1 ? 14 : 6));
            if (level == 1) {
                format.setPageBreakPolicy(firstChapter ? QTextFormat::PageBreak_Auto
                                                       : QTextFormat::PageBreak_AlwaysBefore);
                firstChapter = false;
            }
        } else if (!block.textList()) {
            format.setBottomMargin(points(6));
        }
        cursor.setBlockFormat(format);
    }
}

// Device pixels per unit of an image's width in the document. The units depend on the
// resolutions of the screen and of the PDF writer, so they are measured once on a picture.
double imageScale(QTextDocument &doc, const QTextBlock &block, double unitsWidth) {
    doc.documentLayout()->blockBoundingRect(block); // lays the block out
    const QTextLayout *layout = block.layout();
    if (!layout || layout->lineCount() == 0 || unitsWidth <= 0)
        return 1;
    return layout->lineAt(0).naturalTextWidth() / unitsWidth;
}

// Pictures at most as wide as the text, never enlarged.
void fitImages(QTextDocument &doc, const QString &imageFolder, double textWidth) {
    double scale = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat())
                continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QString path = imageFolder + QLatin1Char('/') + image.name();
            QImage picture(path);
            if (picture.isNull())
                fail(QStringLiteral("cannot read picture %1").arg(path));
            doc.addResource(QTextDocument::ImageResource, QUrl(image.name()), picture);
            QTextCursor cursor(&doc);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            image.setWidth(picture.width());
            image.setHeight(picture.height());
            if (scale == 0) {
                cursor.setCharFormat(image);
                scale = imageScale(doc, block, picture.width());
            }
            // The screenshots' own size (96 dots per inch), shrunk to the text width.
            double width = picture.width() * kResolution / 96.0 / scale;
            const double widest = textWidth / scale;
            if (width > widest)
                width = widest;
            image.setWidth(width);
            image.setHeight(width * picture.height() / picture.width());
            cursor.setCharFormat(image);
        }
    }
}

// Tables across the text width, with room around the cell text.
void styleTables(QTextDocument &doc) {
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextTable *table = cursor.currentTable();
        if (!table || table->firstPosition() != block.position())
            continue;
        QTextTableFormat format = table->format();
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        format.setCellPadding(points(2.5));
        format.setCellSpacing(0);
        format.setBorder(1);
        format.setBorderCollapse(true);
        format.setBorderBrush(QColor(0x9a, 0xa5, 0xb1));
        format.setBottomMargin(points(8));
        table->setFormat(format);
    }
}

int pageOf(double y, double pageHeight) {
    return int(y / pageHeight);
}

// Keeps each paragraph on one page, and a heading on the page of the paragraph after it, by
// starting them on a new page where they would be split. A paragraph split between pages
// would have its lines drawn into both PDF pages (the text layout draws the line before a
// page's clip too), so its text would be there twice, once hidden by the clip.
void keepParagraphsWhole(QTextDocument &doc, double pageHeight) {
    QAbstractTextDocumentLayout *layout = doc.documentLayout();
    auto firstLineTop = [&](const QTextBlock &block) {
        return layout->blockBoundingRect(block).top() +
               (block.layout()->lineCount() > 0 ? block.layout()->lineAt(0).rect().top() : 0);
    };
    auto lastLineBottom = [&](const QTextBlock &block) {
        const int lines = block.layout()->lineCount();
        return layout->blockBoundingRect(block).top() +
               (lines > 0 ? block.layout()->lineAt(lines - 1).rect().bottom() : 0) - 1;
    };
    auto breakBefore = [](const QTextBlock &block) {
        QTextBlockFormat format = block.blockFormat();
        format.setPageBreakPolicy(format.pageBreakPolicy() | QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).setBlockFormat(format);
    };
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (QTextCursor(block).currentTable() || !block.layout())
            continue;
        const int page = pageOf(firstLineTop(block), pageHeight);
        if (page != pageOf(lastLineBottom(block), pageHeight)) {
            breakBefore(block);
        } else if (block.blockFormat().headingLevel() > 0 && block.next().isValid() &&
                   !QTextCursor(block.next()).currentTable() &&
                   page != pageOf(firstLineTop(block.next()), pageHeight)) {
            breakBefore(block);
        }
    }
}

QList<THeading> headings(QTextDocument &doc, double pageHeight) {
    QList<THeading> list;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const int level = block.blockFormat().headingLevel();
        if (level == 1 || level == 2) {
            const QRectF box = doc.documentLayout()->blockBoundingRect(block);
            const int page = int(box.top() / pageHeight) + 1;
            // The title page lists what follows it.
            if (page > 1)
                list.append({level, block.text(), page});
        }
    }
    return list;
}

// The word joiner that begins each line of the contents, so that a second pass finds them.
const QChar kContentsMark(0x2060);

// Fills the contents in place of the marker paragraph (or of the contents written by an
// earlier pass); returns false when there is no place for them.
bool writeContents(QTextDocument &doc, const QList<THeading> &list, double textWidth) {
    QTextBlock first;
    for (QTextBlock block = doc.begin(); block.isValid() && !first.isValid(); block = block.next())
        if (block.text().trimmed() == kContentsMarker || block.text().startsWith(kContentsMark))
            first = block;
    if (!first.isValid())
        return false;
    QTextBlock last = first;
    while (last.next().isValid() && last.next().text().startsWith(kContentsMark))
        last = last.next();
    QTextCursor cursor(&doc);
    cursor.setPosition(first.position());
    cursor.setPosition(last.position() + last.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    bool firstLine = true;
    for (const THeading &heading : list) {
        QTextBlockFormat format;
        // The tab stops at the right edge of the text; tab positions count from the block's
        // left margin, in 1/96 inch.
        const double indent = heading.Level == 1 ? 0 : points(14);
        format.setTabPositions(
            {QTextOption::Tab(toUnits(textWidth) - indent - points(1), QTextOption::RightTab)});
        format.setLeftMargin(indent);
        format.setTopMargin(heading.Level == 1 ? points(5) : 0);
        QTextCharFormat chars;
        chars.setFontWeight(heading.Level == 1 ? QFont::Bold : QFont::Normal);
        if (firstLine)
            cursor.setBlockFormat(format);
        else
            cursor.insertBlock(format);
        firstLine = false;
        cursor.insertText(kContentsMark + heading.Text + QLatin1Char('\t') +
                              QString::number(heading.Page),
                          chars);
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: %s OUTPUT.pdf TITLE IMAGE_FOLDER SOURCE.md...\n", argv[0]);
        return 2;
    }
    QString markdown;
    for (qsizetype i = 4; i < args.size(); ++i) {
        QFile file(args[i]);
        if (!file.open(QIODevice::ReadOnly))
            fail(QStringLiteral("cannot read %1").arg(args[i]));
        markdown += QString::fromUtf8(file.readAll()) + QStringLiteral("\n\n");
    }

    QPdfWriter writer(args[1]);
    writer.setResolution(kResolution);
    writer.setTitle(args[2]);
    writer.setCreator(QStringLiteral("Tarvin"));
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(22, 20, 22, 16), QPageLayout::Millimeter));
    const QRect paintRect = writer.pageLayout().paintRectPixels(kResolution);
    const double footer = devicePoints(24);
    const QSizeF pageSize(paintRect.width(), paintRect.height() - footer);

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    QFont font(QStringLiteral("DejaVu Sans"), 10);
    // No ligatures: "fi" stays two letters, so the PDF's text searches and copies as written.
    font.setStyleStrategy(QFont::PreferNoShaping);
    doc.setDefaultFont(font);
    doc.setDocumentMargin(0);
    doc.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);
    doc.setPageSize(pageSize);
    styleBlocks(doc);
    styleTables(doc);
    fitImages(doc, args[3], pageSize.width());

    // The contents first (their length moves the pages after them), then the page breaks,
    // then the contents again with the final page numbers.
    const bool contents = writeContents(doc, headings(doc, pageSize.height()), pageSize.width());
    keepParagraphsWhole(doc, pageSize.height());
    if (contents)
        writeContents(doc, headings(doc, pageSize.height()), pageSize.width());

    QPainter painter;
    if (!painter.begin(&writer))
        fail(QStringLiteral("cannot write %1").arg(args[1]));
    const int pages = doc.pageCount();
    QFont footFont = font;
    footFont.setPointSizeF(8.5);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        painter.save();
        painter.translate(0, -page * pageSize.height());
        // A line pushed onto the next page starts exactly at the page boundary; the page's
        // own rectangle, a hair smaller, leaves it to that page (else its text would be in
        // both pages of the PDF, once hidden by the clip).
        doc.drawContents(&painter, QRectF(0, page * pageSize.height() + 0.5, pageSize.width(),
                                          pageSize.height() - 1));
        painter.restore();
        if (page > 0) {
            painter.setFont(footFont);
            painter.setPen(QColor(0x55, 0x55, 0x55));
            const QRectF foot(0, paintRect.height() - footer * 0.6, pageSize.width(), footer * 0.6);
            painter.drawText(foot, Qt::AlignLeft | Qt::AlignBottom, args[2]);
            painter.drawText(foot, Qt::AlignRight | Qt::AlignBottom, QString::number(page + 1));
        }
    }
    painter.end();
    return 0;
}
