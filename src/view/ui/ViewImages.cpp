#include "view/ui/ViewImages.h"

#include "base/ui/WindowSupport.h"

#include <array>

// Resources of a static library are registered explicitly; the call sits outside the
// namespace because it declares a global function.
static void InitViewImages() {
    Q_INIT_RESOURCE(view_images);
}

namespace tarvin {

namespace {

QPixmap RenderViewSvg(const QString &path, int size) {
    InitViewImages();
    return RenderSvg(path, QSize(size, size));
}

const std::array<const char *, kAttachmentImageCount> kAttachmentFiles = {
    "att_mail", "att_appointment", "att_task", "att_note", "att_phone", "att_docref", "att_nodata"};

const std::array<const char *, kToolbarImageCount> kToolbarFiles = {
    "tb_close",      "tb_reply",   "tb_forward", "tb_print",    "tb_message",
    "tb_properties", "tb_savelog", "tb_html",    "tb_plaintext"};

QString ImagePath(const char *name) {
    return QStringLiteral(":/tarvin/view/images/") + QLatin1String(name) + QStringLiteral(".svg");
}

} // namespace

QPixmap AttachmentImage(int index) {
    if (index < 0 || index >= kAttachmentImageCount)
        return QPixmap();
    return RenderViewSvg(ImagePath(kAttachmentFiles[static_cast<size_t>(index)]), 32);
}

QPixmap GenericFileImage() {
    return RenderViewSvg(ImagePath("file_generic"), 32);
}

QIcon ToolbarImage(int index) {
    if (index < 0 || index >= kToolbarImageCount)
        return QIcon();
    const QString path = ImagePath(kToolbarFiles[static_cast<size_t>(index)]);
    QIcon icon;
    icon.addPixmap(RenderViewSvg(path, 22));
    icon.addPixmap(RenderViewSvg(path, 44));
    return icon;
}

} // namespace tarvin
