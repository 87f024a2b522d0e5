#pragma once

#include <QList>
#include <QPointer>
#include <QWidget>

namespace tarvin {

// Disables the program's other top-level windows that are visible and enabled, and enables
// exactly those again later (a window closed in the meantime is skipped).
class TWindowDisabler {
public:
    ~TWindowDisabler() { EnableAll(); }

    void DisableOthers(const QWidget *except);
    void EnableAll();
    const QList<QPointer<QWidget>> &DisabledWindows() const { return m_disabled; }

private:
    QList<QPointer<QWidget>> m_disabled;
};

} // namespace tarvin
