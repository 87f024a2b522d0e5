#include "dialogs/ui/WindowDisabler.h"

#include <QApplication>

namespace tarvin {

void TWindowDisabler::DisableOthers(const QWidget *except) {
    EnableAll();
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window == except || !window->isVisible() || !window->isEnabled())
            continue;
        window->setEnabled(false);
        m_disabled.append(window);
    }
}

void TWindowDisabler::EnableAll() {
    for (const QPointer<QWidget> &window : m_disabled)
        if (window)
            window->setEnabled(true);
    m_disabled.clear();
}

} // namespace tarvin
