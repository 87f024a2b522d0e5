#include "explorer/ui/ExplorerImages.h"

#include "base/ui/WindowSupport.h"

// Resources of a static library are registered explicitly, outside the namespace.
static void InitExplorerImages() {
    Q_INIT_RESOURCE(explorer_images);
}

namespace tarvin {

namespace {
QString imagePath(TExplorerImage image) {
    static const char *const names[] = {"tb_open",        "tb_close",    "tb_find",
                                        "tb_quickviewer", "img_account", "warning"};
    return QStringLiteral(":/tarvin/explorer/images/") +
           QLatin1String(names[static_cast<int>(image)]) + QStringLiteral(".svg");
}
} // namespace

QPixmap ExplorerPixmap(TExplorerImage image, int size) {
    InitExplorerImages();
    return RenderSvg(imagePath(image), QSize(size, size));
}

QIcon ExplorerIcon(TExplorerImage image) {
    QIcon icon;
    icon.addPixmap(ExplorerPixmap(image, 22));
    icon.addPixmap(ExplorerPixmap(image, 44));
    return icon;
}

} // namespace tarvin
