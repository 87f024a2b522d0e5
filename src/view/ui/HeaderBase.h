#pragma once

#include <QLabel>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <map>
#include <vector>

class QComboBox;

namespace tarvin {

class TGWMessage;

// A label that shows message text as plain Unicode text, never as markup. CR, LF, CR LF and
// U+2028 all break the line. The label is sized to its text by its owner (AutoSize).
class TUnicodeLabel : public QLabel {
    Q_OBJECT
public:
    explicit TUnicodeLabel(QWidget *parent = nullptr);

    // The text as given; the label shows it with every line break made a LF.
    void SetCaption(const QString &text);
    const QString &Caption() const { return m_caption; }

protected:
    // A line wider than the label ends in "..." rather than being cut off.
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_caption;
};

// The strip above a message body that shows the header fields of the message. Rows of
// caption and value labels are laid out by their control order and design tops; rows with
// empty values take no space, and recipient rows too wide for the panel become drop-down
// lists. One subclass per message type fills the values.
class TFrmHeader : public QWidget {
    Q_OBJECT
public:
    explicit TFrmHeader(QWidget *parent = nullptr);
    ~TFrmHeader() override;

    // Shows the message (not owned; it must outlive its display here). Setting the message
    // already shown does nothing.
    void SetMessage(const TGWMessage *msg);
    const TGWMessage *Message() const { return m_message; }

    // Clears and refills every value from the message and lays the rows out again.
    void RefreshPanel();

    bool Updating() const { return m_updating; }
    // 4 px between rows, 5 while any recipients list is shown.
    int RowSpacing() const { return m_rowSpacing; }

    // The height the panel was designed with for its type.
    int DesignHeight() const { return m_designHeight; }

    // Child controls in control order (captions, value labels, the date label, check box and
    // recipients lists once created).
    const std::vector<QWidget *> &Controls() const { return m_controls; }
    QWidget *Control(const QString &name) const;

protected:
    // Copies the message's values into the value labels; only called with a message set.
    virtual void UpdateValues() = 0;
    // Chooses label or list for each recipient row, then lays out the rows.
    virtual void ArrangeRows();

    // Builders used by the subclasses' constructors, in control order.
    // A caption ends at `right` (default: 4 px left of the value column); a value starts at
    // `left` (default: the value column).
    QLabel *AddCaption(const QString &name, const QString &text, int top, int right = -1);
    TUnicodeLabel *AddValue(const QString &name, int top, int left = -1);
    QLabel *AddDateLabel();
    void AddControl(QWidget *control, int designTop);
    // Adds the three common rows (From, date, To, CC, BC).
    void AddCommonRows();

    // The value column: captions end 4 px left of it.
    void SetValueColumn(int left) { m_valueLeft = left; }
    void SetDesignHeight(int height);

    TUnicodeLabel *ValueLabel(const QString &name) const;
    // Fills the rows every panel has: sender, date and the three recipient rows.
    void FillCommonValues();
    QLabel *DateLabel() const { return m_dateLabel; }

    // Fills one recipient row from the message's recipients of the type (0 To, 1 CC, 2 BC)
    // into the value label and its recipients list.
    void FillRecipients(int recipientType, TUnicodeLabel *valueLabel);

    // Sets a value label's text and sizes the label to it.
    void SetValueText(QLabel *label, const QString &text);

    // Sizes a label to its text: the widest line, one line height per line; an empty text
    // takes the width of one blank.
    static void AutoSizeLabel(QLabel *label);
    // Shortens values that would run under the date or past the panel's edge.
    void ClipValues();

    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct RecipientList {
        QComboBox *list;
        TUnicodeLabel *valueLabel;
    };

    QComboBox *RecipientsListFor(TUnicodeLabel *valueLabel);
    void ChooseLabelOrList();
    void LayoutRows();
    static bool IsValueLabel(const QWidget *control);
    bool IsCaption(const QWidget *control) const;
    QWidget *CaptionOf(QWidget *valueLabel) const;
    int IndexOf(const QWidget *control) const;

    const TGWMessage *m_message = nullptr;
    bool m_updating = false;
    bool m_arranging = false;
    int m_rowSpacing = 4;
    int m_valueLeft = 60;
    int m_designHeight = 137;
    QLabel *m_dateLabel = nullptr;
    std::vector<QWidget *> m_controls;
    std::map<const QWidget *, int> m_designTops;
    std::vector<RecipientList> m_recipientLists;
};

} // namespace tarvin
