#pragma once

class QLabel;
class QString;
class QWidget;

namespace tarvin {

// Places controls at their designed positions, top to bottom. A control that needs more
// height than designed (a paragraph that wraps into more lines with the desktop's font)
// grows, and every control below it moves down by the same amount.
class TDesignedRows {
public:
    // Places `widget` at (left, designedTop + the growth so far) with the given width and at
    // least the designed height; word-wrapped labels get the height their text needs.
    void Place(QWidget *widget, int left, int designedTop, int width, int designedHeight);
    // Where a control designed at `designedTop` goes with the growth so far.
    int Top(int designedTop) const { return designedTop + m_growth; }
    // How much taller than designed the controls placed so far have become.
    int Growth() const { return m_growth; }

private:
    int m_growth = 0;
};

// A word-wrapped, top-left aligned label: the dialogs' paragraphs.
QLabel *NewParagraph(const QString &text, QWidget *parent);

// The height a control needs at the given width.
int NeededHeight(QWidget *widget, int width);

} // namespace tarvin
