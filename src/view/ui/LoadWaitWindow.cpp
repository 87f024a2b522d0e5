#include "view/ui/LoadWaitWindow.h"

#include "base/VersionInfo.h"
#include "base/ui/WindowSupport.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvin {

TLoadWaitWindow::TLoadWaitWindow(const QString &fileName, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LoadWaitWindow"));
    setWindowTitle(ProductName());
    setWindowIcon(ProductIcon());
    setModal(false);
    auto *layout = new QVBoxLayout(this);
    m_text = new QLabel(QStringLiteral("Reading \"%1\"...").arg(fileName), this);
    m_text->setObjectName(QStringLiteral("lblLoadText"));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    layout->addWidget(m_text);
    auto *bar = new QProgressBar(this);
    bar->setRange(0, 0); // busy: no measure of how far the read has come
    bar->setTextVisible(false);
    layout->addWidget(bar);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumWidth(360);
    adjustSize();
    CentreOnScreen(this);
}

// Cancel, Esc and closing the window all end here.
void TLoadWaitWindow::reject() {
    if (!m_cancelled) {
        m_cancelled = true;
        emit Cancelled();
    }
    QDialog::reject();
}

} // namespace tarvin
