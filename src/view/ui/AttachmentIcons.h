#pragma once

#include <QFont>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QStyledItemDelegate>
#include <vector>

namespace tarvin {

// The attachment list's pictures: the seven fixed ones (embedded message types and the
// page without data) followed by file-type icons, one per extension, added on first use.
class TAttachmentIcons {
public:
    TAttachmentIcons();

    // Back to the seven fixed pictures; forgets every extension.
    void Reset();
    // The index of the icon for a file extension (dot included, any case), adding it on a
    // miss.
    int IndexForExtension(const QString &extension);
    const QIcon &Icon(int index) const { return m_icons.at(size_t(index)); }
    int Count() const { return int(m_icons.size()); }

    // The icon the desktop shows for files with this extension: the MIME type's theme
    // icon, its generic icon, or the bundled page.
    static QIcon FileTypeIcon(const QString &extension);
    // The bundled picture of a plain page, for types without a theme icon.
    static QIcon GenericFileIcon();

private:
    std::vector<QIcon> m_icons;
    QHash<QString, int> m_cache; // lower-case extension -> index
};

// Draws the attachment list's captions on up to two lines of the cell width, the second one
// shortened in the middle when the name is longer still.
//
// Each item is as wide as its caption. With uniform cells every item instead takes the size of
// a full two-line caption, worked out once from the font: a list of tens of thousands of items
// is then laid out without measuring a single caption (only the items on screen are drawn).
class TCaptionDelegate : public QStyledItemDelegate {
public:
    TCaptionDelegate(int textWidth, QObject *parent)
        : QStyledItemDelegate(parent), m_width(textWidth) {}

    void SetUniformCells(bool uniform) { m_uniform = uniform; }
    bool UniformCells() const { return m_uniform; }
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    int m_width;
    bool m_uniform = false;
    // The uniform cell and the font it was worked out for.
    mutable QSize m_cell;
    mutable QFont m_cellFont;
};

} // namespace tarvin
