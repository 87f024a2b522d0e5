#include "dialogs/ui/SplashScreen.h"

#include "base/ui/WindowSupport.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLayout>
#include <QPushButton>

namespace tarvin {

TSplashScreen::TSplashScreen(QWidget *owner) : TAboutBoxForm(owner) {
    setObjectName(QStringLiteral("SplashScreen"));
    setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    setModal(false);
    ButtonRow()->hide();
    OkButton()->setEnabled(false);
    ContentPanel()->setFrameStyle(QFrame::Panel | QFrame::Raised);
    ContentPanel()->setLineWidth(3);
    ContentPanel()->layout()->setContentsMargins(3, 3, 3, 3);
    // Exactly as high as the content panel: the button row is cut off.
    setFixedHeight(height() - ButtonRow()->height());
    CentreOnScreen(this);
}

void TSplashScreen::showEvent(QShowEvent *event) {
    m_disabler.DisableOthers(this);
    TAboutBoxForm::showEvent(event);
}

void TSplashScreen::hideEvent(QHideEvent *event) {
    TAboutBoxForm::hideEvent(event);
    m_disabler.EnableAll();
}

} // namespace tarvin
