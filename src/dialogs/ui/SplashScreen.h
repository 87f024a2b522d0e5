#pragma once

#include "dialogs/ui/AboutBoxForm.h"
#include "dialogs/ui/WindowDisabler.h"

namespace tarvin {

// The start-up window: the about box's content without frame and button row. While shown
// it disables the program's other windows.
class TSplashScreen : public TAboutBoxForm {
    Q_OBJECT
public:
    explicit TSplashScreen(QWidget *owner = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    TWindowDisabler m_disabler;
};

} // namespace tarvin
