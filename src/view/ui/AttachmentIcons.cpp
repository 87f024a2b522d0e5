#include "view/ui/AttachmentIcons.h"

#include "base/ui/WindowSupport.h"

#include "view/AttachmentRules.h"
#include "view/ViewTexts.h"
#include "view/ui/ViewImages.h"

#include <QApplication>
#include <QMimeDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace tarvin {

TAttachmentIcons::TAttachmentIcons() {
    Reset();
}

void TAttachmentIcons::Reset() {
    m_icons.clear();
    m_cache.clear();
    for (int i = 0; i < kFixedImageCount; ++i) {
        m_icons.emplace_back(AttachmentImage(i));
        m_cache.insert(QString::number(i), i);
    }
}

int TAttachmentIcons::IndexForExtension(const QString &extension) {
    const QString key = extension.toLower();
    auto found = m_cache.constFind(key);
    if (found != m_cache.constEnd())
        return found.value();
    m_icons.push_back(FileTypeIcon(extension));
    int index = int(m_icons.size()) - 1;
    m_cache.insert(key, index);
    return index;
}

QIcon TAttachmentIcons::FileTypeIcon(const QString &extension) {
    // The type follows from the name alone, so no probe file is needed.
    static QMimeDatabase database;
    static const bool themed = (UseStandardIconFallback(), true);
    Q_UNUSED(themed);
    const QMimeType type = database.mimeTypeForFile(QStringLiteral("virtual") + extension,
                                                    QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    if (icon.isNull())
        icon = GenericFileIcon();
    return icon;
}

QIcon TAttachmentIcons::GenericFileIcon() {
    static const QIcon icon = [] {
        QPixmap pixmap(32, 32);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        QPainterPath page;
        page.moveTo(7.5, 2.5);
        page.lineTo(19.5, 2.5);
        page.lineTo(25.5, 8.5);
        page.lineTo(25.5, 29.5);
        page.lineTo(7.5, 29.5);
        page.closeSubpath();
        painter.setPen(QPen(QColor(90, 90, 90), 1));
        painter.setBrush(Qt::white);
        painter.drawPath(page);
        QPainterPath corner;
        corner.moveTo(19.5, 2.5);
        corner.lineTo(19.5, 8.5);
        corner.lineTo(25.5, 8.5);
        painter.setBrush(QColor(220, 220, 220));
        painter.drawPath(corner);
        painter.setPen(QPen(QColor(150, 150, 150), 1));
        for (int y = 13; y <= 25; y += 3)
            painter.drawLine(QPointF(10.5, y + 0.5), QPointF(22.5, y + 0.5));
        return QIcon(pixmap);
    }();
    return icon;
}

void TCaptionDelegate::initStyleOption(QStyleOptionViewItem *option,
                                       const QModelIndex &index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QFontMetrics metrics(option->font);
    const QStringList lines = WrapCaption(option->text, m_width, [&metrics](const QString &s) {
        return metrics.horizontalAdvance(s);
    });
    option->text = lines.join(QChar::LineSeparator);
}

QSize TCaptionDelegate::sizeHint(const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const {
    if (!m_uniform)
        return QStyledItemDelegate::sizeHint(option, index);
    if (!m_cell.isValid() || m_cellFont != option.font) {
        // A caption that fills both lines, measured the way an item's own caption is.
        QStyleOptionViewItem sample = option;
        sample.features |= QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
        sample.decorationSize = option.decorationSize;
        const QFontMetrics metrics(option.font);
        QString line;
        while (metrics.horizontalAdvance(line + QLatin1Char('W')) <= m_width)
            line += QLatin1Char('W');
        sample.text = line + QChar::LineSeparator + line;
        const QWidget *widget = option.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        m_cell = style->sizeFromContents(QStyle::CT_ItemViewItem, &sample, QSize(), widget);
        m_cellFont = option.font;
    }
    return m_cell;
}

} // namespace tarvin
