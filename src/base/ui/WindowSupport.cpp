#include "base/ui/WindowSupport.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>
#include <QWidget>

// Resources of a static library are registered explicitly; the call sits outside the
// namespace because it declares a global function.
static void InitBaseImages() {
    Q_INIT_RESOURCE(base_images);
}

namespace tarvin {

QPixmap RenderSvg(const QString &path, QSize size) {
    QSvgRenderer renderer(path);
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    if (!renderer.isValid())
        return pixmap;
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}

void UseStandardIconFallback() {
    if (QIcon::fallbackThemeName().isEmpty() ||
        QIcon::fallbackThemeName() == QLatin1String("hicolor"))
        QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
}

QIcon ProductIcon() {
    InitBaseImages();
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64, 128})
        icon.addPixmap(
            RenderSvg(QStringLiteral(":/tarvin/base/images/tarvin.svg"), QSize(size, size)));
    return icon;
}

void CentreOnScreen(QWidget *window) {
    QWidget *parent = window->parentWidget();
    QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

} // namespace tarvin
