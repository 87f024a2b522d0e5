#include "search/ui/LogDisplayForm.h"

#include "base/DesktopServices.h"
#include "base/ui/WindowSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvin {

TLogDisplayForm::TLogDisplayForm(const QStringList &lines, QWidget *parent)
    : QDialog(parent), m_lines(lines), m_text(new QPlainTextEdit(this)),
      m_copy(new QPushButton(QStringLiteral("&Copy to clipboard"), this)),
      m_ok(new QPushButton(QStringLiteral("&OK"), this)) {
    setWindowTitle(QStringLiteral("File Search Log"));
    setWindowIcon(ProductIcon());
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        QStringLiteral("The following problems were encountered during the search:"), this));
    m_text->setReadOnly(true);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setPlainText(lines.join(QLatin1Char('\n')));
    layout->addWidget(m_text, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    m_ok->setDefault(true);
    connect(m_copy, &QPushButton::clicked, this,
            [this] { Desktop().SetClipboardText(m_lines.join(QLatin1Char('\n'))); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    resize(520, 300);
}

} // namespace tarvin
