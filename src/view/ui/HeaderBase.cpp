#include "view/ui/HeaderBase.h"

#include "view/HeaderText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

namespace tarvin {

namespace {

// The panel's font: the desktop's general font at 8 pt.
QFont PanelFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(8);
    return font;
}

// Sets a flag for its lifetime, also when an exception passes.
class FlagGuard {
public:
    explicit FlagGuard(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagGuard() { m_flag = false; }
    FlagGuard(const FlagGuard &) = delete;
    FlagGuard &operator=(const FlagGuard &) = delete;

private:
    bool &m_flag;
};

} // namespace

// ---------------------------------------------------------------------------------------------

TUnicodeLabel::TUnicodeLabel(QWidget *parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

void TUnicodeLabel::SetCaption(const QString &text) {
    m_caption = text;
    setText(NormalizeLineBreaks(text));
}

void TUnicodeLabel::paintEvent(QPaintEvent *event) {
    const QFontMetrics metrics(font());
    const QRect area = contentsRect();
    const QStringList lines = text().split(QLatin1Char('\n'));
    bool fits = true;
    for (const QString &line : lines)
        fits = fits && metrics.horizontalAdvance(line) <= area.width();
    if (fits) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setPen(palette().color(foregroundRole()));
    int y = area.top();
    for (const QString &line : lines) {
        painter.drawText(QRect(area.left(), y, area.width(), metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop,
                         metrics.elidedText(line, Qt::ElideRight, area.width()));
        y += metrics.height();
    }
}

// ---------------------------------------------------------------------------------------------

TFrmHeader::TFrmHeader(QWidget *parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(220, 220, 220));
    // The background is always light grey: a dark theme's light text colour would not read
    // on it.
    if (pal.color(QPalette::WindowText).lightness() > 160)
        pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);
    setFont(PanelFont());
    resize(443, m_designHeight);
    setFixedHeight(m_designHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

TFrmHeader::~TFrmHeader() = default;

void TFrmHeader::SetDesignHeight(int height) {
    m_designHeight = height;
    setFixedHeight(height);
}

QLabel *TFrmHeader::AddCaption(const QString &name, const QString &text, int top, int right) {
    auto *label = new QLabel(this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    QFont bold = font();
    bold.setBold(true);
    label->setFont(bold);
    label->setText(text);
    AutoSizeLabel(label);
    // Captions end 4 px left of the value column.
    if (right < 0)
        right = m_valueLeft - 4;
    label->move(right - label->width(), top);
    AddControl(label, top);
    return label;
}

TUnicodeLabel *TFrmHeader::AddValue(const QString &name, int top, int left) {
    auto *label = new TUnicodeLabel(this);
    label->setObjectName(name);
    AutoSizeLabel(label);
    label->move(left < 0 ? m_valueLeft : left, top);
    AddControl(label, top);
    return label;
}

QLabel *TFrmHeader::AddDateLabel() {
    auto *label = new QLabel(this);
    label->setObjectName(QStringLiteral("LblDate"));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    AutoSizeLabel(label);
    label->move(width() - label->width() - 6, 8);
    m_dateLabel = label;
    AddControl(label, 8);
    return label;
}

void TFrmHeader::AddControl(QWidget *control, int designTop) {
    m_controls.push_back(control);
    m_designTops[control] = designTop;
}

void TFrmHeader::AddCommonRows() {
    AddCaption(QStringLiteral("LblFrom"), QStringLiteral("From:"), 8);
    AddValue(QStringLiteral("LblFromValue"), 8);
    AddDateLabel();
    AddCaption(QStringLiteral("LblTo"), QStringLiteral("To:"), 32);
    AddValue(QStringLiteral("LblToValue"), 32);
    AddCaption(QStringLiteral("LblCC"), QStringLiteral("CC:"), 56);
    AddValue(QStringLiteral("LblCCValue"), 56);
    AddCaption(QStringLiteral("LblBC"), QStringLiteral("BC:"), 80);
    AddValue(QStringLiteral("LblBCValue"), 80);
}

QWidget *TFrmHeader::Control(const QString &name) const {
    for (QWidget *control : m_controls)
        if (control->objectName() == name)
            return control;
    return nullptr;
}

TUnicodeLabel *TFrmHeader::ValueLabel(const QString &name) const {
    return qobject_cast<TUnicodeLabel *>(Control(name));
}

void TFrmHeader::AutoSizeLabel(QLabel *label) {
    const QFontMetrics fm(label->font());
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    int width = 0;
    for (const QString &line : lines)
        width = std::max(width, fm.horizontalAdvance(line));
    if (label->text().isEmpty())
        width = fm.horizontalAdvance(QLatin1Char(' '));
    const int height = fm.height() * static_cast<int>(lines.size());
    if (label->alignment() & Qt::AlignRight) {
        // A right-aligned label keeps its right edge.
        const int right = label->x() + label->width();
        label->setGeometry(right - width, label->y(), width, height);
    } else {
        label->resize(width, height);
    }
}

void TFrmHeader::SetValueText(QLabel *label, const QString &text) {
    if (auto *unicode = qobject_cast<TUnicodeLabel *>(label))
        unicode->SetCaption(text);
    else
        label->setText(NormalizeLineBreaks(text));
    AutoSizeLabel(label);
}

void TFrmHeader::SetMessage(const TGWMessage *msg) {
    if (msg == m_message)
        return;
    m_message = msg;
    RefreshPanel();
}

void TFrmHeader::RefreshPanel() {
    const FlagGuard updating(m_updating);

    for (QWidget *control : m_controls)
        control->setVisible(true);
    for (QWidget *control : m_controls) {
        if (!control->objectName().endsWith(QLatin1String("Value")))
            continue;
        if (auto *label = qobject_cast<QLabel *>(control))
            SetValueText(label, QString());
        else if (auto *list = qobject_cast<QComboBox *>(control))
            list->setCurrentIndex(-1);
    }
    if (m_message)
        UpdateValues();
    ArrangeRows();
}

bool TFrmHeader::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        for (const RecipientList &entry : m_recipientLists) {
            if (watched == entry.list->view()) {
                event->accept();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFrmHeader::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    if (!m_updating && !m_arranging)
        ArrangeRows();
}

void TFrmHeader::ArrangeRows() {
    if (!m_message)
        return;
    const FlagGuard arranging(m_arranging);
    // Values cut to fit on an earlier pass get their whole width back first.
    for (QWidget *control : m_controls)
        if (auto *label = qobject_cast<TUnicodeLabel *>(control))
            AutoSizeLabel(label);
    ChooseLabelOrList();
    LayoutRows();
}

QComboBox *TFrmHeader::RecipientsListFor(TUnicodeLabel *valueLabel) {
    // "Cbo" followed by the value label's name without its "Lbl" prefix.
    const QString name = QStringLiteral("Cbo") + valueLabel->objectName().mid(3);
    for (const RecipientList &entry : m_recipientLists)
        if (entry.list->objectName() == name)
            return entry.list;
    auto *list = new QComboBox(this);
    list->setObjectName(name);
    list->setEditable(false);
    list->setFont(QApplication::font());
    list->move(valueLabel->x(), valueLabel->y());
    list->setVisible(false);
    // The open list closes itself on Esc while the key is still offered to shortcuts; taking
    // the offer keeps the window's Esc (close the window) from running as well.
    list->view()->installEventFilter(this);
    m_recipientLists.push_back({list, valueLabel});
    m_controls.push_back(list);
    m_designTops[list] = m_designTops[valueLabel];
    return list;
}

void TFrmHeader::FillRecipients(int recipientType, TUnicodeLabel *valueLabel) {
    QComboBox *list = RecipientsListFor(valueLabel);
    list->clear();
    const QStringList entries =
        m_message ? RecipientEntries(*m_message, recipientType) : QStringList();
    list->addItems(entries);
    if (list->count() > 0)
        list->setCurrentIndex(0);
    SetValueText(valueLabel, entries.join(QStringLiteral("; ")));
}

void TFrmHeader::ChooseLabelOrList() {
    const int limit = width() * 3 / 4;
    bool anyList = false;
    for (const RecipientList &entry : m_recipientLists) {
        if (entry.valueLabel->width() > limit) {
            entry.valueLabel->setVisible(false);
            // The list reaches from 3 px above its row to the top of the next one.
            const int rowHeight = QFontMetrics(entry.valueLabel->font()).height() + 5;
            entry.list->resize(std::min(limit, 280),
                               std::min(entry.list->sizeHint().height(), rowHeight + 3));
            entry.list->setVisible(true);
            anyList = true;
        } else {
            entry.valueLabel->setVisible(true);
            entry.list->setVisible(false);
        }
    }
    m_rowSpacing = anyList ? 5 : 4;
}

bool TFrmHeader::IsValueLabel(const QWidget *control) {
    return qobject_cast<const QLabel *>(control) &&
           control->objectName().endsWith(QLatin1String("Value"));
}

bool TFrmHeader::IsCaption(const QWidget *control) const {
    return qobject_cast<const QLabel *>(control) && control != m_dateLabel &&
           !IsValueLabel(control);
}

int TFrmHeader::IndexOf(const QWidget *control) const {
    const auto it = std::find(m_controls.begin(), m_controls.end(), control);
    return it == m_controls.end() ? -1 : static_cast<int>(it - m_controls.begin());
}

QWidget *TFrmHeader::CaptionOf(QWidget *valueLabel) const {
    // The control directly before a value label is its caption, unless it is itself a
    // value label.
    const int index = IndexOf(valueLabel);
    if (index <= 0)
        return nullptr;
    QWidget *before = m_controls[index - 1];
    return IsCaption(before) ? before : nullptr;
}

void TFrmHeader::LayoutRows() {
    m_dateLabel->move(width() - m_dateLabel->width() - 6, 4);

    int y = 4;
    int newHeight = height();
    int rowEnd = -1;
    const int count = static_cast<int>(m_controls.size());
    for (int i = 0; i < count; ++i) {
        QWidget *value = m_controls[i];
        if (!IsValueLabel(value))
            continue;
        auto *label = static_cast<QLabel *>(value);
        QWidget *caption = CaptionOf(value);

        if (label->text().isEmpty()) {
            label->setVisible(false);
            if (caption)
                caption->setVisible(false);
        } else {
            if (rowEnd < 0 || i > rowEnd) {
                // This value opens a row: the labels after it that share its design top
                // follow it left to right.
                const int designTop = m_designTops.at(caption ? caption : value);
                rowEnd = i;
                for (int j = i + 1; j < count; ++j) {
                    QWidget *next = m_controls[j];
                    if (!qobject_cast<QLabel *>(next) || next == m_dateLabel)
                        continue;
                    if (m_designTops.at(next) != designTop)
                        break;
                    QWidget *before = m_controls[j - 1];
                    const int gap = IsCaption(before) ? 4 : IsValueLabel(before) ? 8 : 0;
                    next->move(before->x() + before->width() + gap, y);
                    rowEnd = j;
                }
            }
            if (caption)
                caption->move(caption->x(), y);
            label->move(label->x(), y);
            for (const RecipientList &entry : m_recipientLists)
                if (entry.valueLabel == label)
                    entry.list->move(label->x(), y - 3);
        }

        if (i == rowEnd) {
            newHeight = y + label->height() + 6;
            y += label->height() + m_rowSpacing;
        }
    }
    ClipValues();
    if (newHeight != height())
        setFixedHeight(newHeight);
}

void TFrmHeader::ClipValues() {
    // Values beside the date (the sender) stop 8 px short of it, the others 6 px short of the
    // panel's edge; a cut value ends in "..." and has its whole text as tool tip.
    const QRect date = m_dateLabel->geometry();
    for (QWidget *control : m_controls) {
        auto *label = qobject_cast<TUnicodeLabel *>(control);
        if (!label || label->isHidden() || label->text().isEmpty())
            continue;
        const bool besideDate =
            label->y() <= date.bottom() && label->geometry().bottom() >= date.top();
        const int right = besideDate ? date.left() - 8 : width() - 6;
        const int room = std::max(0, right - label->x());
        const bool cut = label->width() > room;
        if (cut)
            label->resize(room, label->height());
        label->setToolTip(cut ? label->text() : QString());
    }
}

} // namespace tarvin
