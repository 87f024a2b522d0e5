#include "view/ui/HtmlBody.h"

#include "base/Error.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tarvin {

namespace {
THtmlBodyFactory &InstalledFactory() {
    static THtmlBodyFactory factory;
    return factory;
}
} // namespace

void SetHtmlBodyFactory(THtmlBodyFactory factory) {
    InstalledFactory() = std::move(factory);
}

IHtmlBody *NewHtmlBody(QWidget *parent) {
    if (InstalledFactory())
        return InstalledFactory()(parent);
    if (tarvin_linked_html_body)
        return tarvin_linked_html_body(parent);
    throw Error(QStringLiteral("The HTML engine is not available"));
}

THtmlRemoteContentBar::THtmlRemoteContentBar(QWidget *parent) : QFrame(parent) {
    setObjectName(QStringLiteral("RemoteContentBar"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 2, 2);
    layout->setSpacing(8);
    m_label = new QLabel(QStringLiteral("Remote content in this message was blocked."), this);
    m_label->setForegroundRole(QPalette::ToolTipText);
    m_button = new QPushButton(QStringLiteral("Load remote content"), this);
    m_button->setObjectName(QStringLiteral("LoadRemoteContent"));
    m_button->setAutoDefault(false);
    m_button->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_button);
    connect(m_button, &QPushButton::clicked, this, &THtmlRemoteContentBar::LoadClicked);
}

} // namespace tarvin
