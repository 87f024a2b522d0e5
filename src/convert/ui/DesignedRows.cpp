#include "convert/ui/DesignedRows.h"

#include <QLabel>
#include <QWidget>
#include <algorithm>

namespace tarvin {

int NeededHeight(QWidget *widget, int width) {
    if (auto *label = qobject_cast<QLabel *>(widget); label && label->wordWrap())
        return label->heightForWidth(width);
    if (widget->hasHeightForWidth())
        return widget->heightForWidth(width);
    // Widgets placed by hand report no size hint; their minimum (a fixed size) counts then.
    return std::max(widget->sizeHint().height(), widget->minimumHeight());
}

void TDesignedRows::Place(QWidget *widget, int left, int designedTop, int width,
                          int designedHeight) {
    const int height = std::max(designedHeight, NeededHeight(widget, width));
    widget->setGeometry(left, designedTop + m_growth, width, height);
    m_growth += height - designedHeight;
}

QLabel *NewParagraph(const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace tarvin
