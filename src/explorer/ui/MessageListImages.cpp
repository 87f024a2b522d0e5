#include "explorer/ui/MessageListImages.h"

#include "base/ui/WindowSupport.h"

#include <QFile>
#include <array>

// Resources of a static library are registered explicitly; the call sits outside the
// namespace because it declares a global function.
static void InitExplorerImages() {
    Q_INIT_RESOURCE(explorer_images);
}

namespace tarvin {

namespace {

constexpr int kItemIconCount = 98;
constexpr int kStatusGlyphCount = 11;

template <size_t N>
const QPixmap &cachedPicture(std::array<QPixmap, N> &cache, std::array<bool, N> &loaded, int index,
                             const char *prefix, QSize size) {
    static const QPixmap none;
    if (index < 0 || index >= int(N))
        return none;
    const size_t at = size_t(index);
    if (!loaded[at]) {
        loaded[at] = true;
        InitExplorerImages();
        const QString path = QStringLiteral(":/tarvin/explorer/images/%1_%2.svg")
                                 .arg(QLatin1String(prefix))
                                 .arg(index, 2, 10, QLatin1Char('0'));
        if (QFile::exists(path))
            cache[at] = RenderSvg(path, size);
    }
    return cache[at];
}

} // namespace

const QPixmap &MessageItemIcon(int index) {
    static std::array<QPixmap, kItemIconCount> cache;
    static std::array<bool, kItemIconCount> loaded{};
    return cachedPicture(cache, loaded, index, "item", QSize(kItemIconSize, kItemIconSize));
}

const QPixmap &MessageStatusGlyph(int index) {
    static std::array<QPixmap, kStatusGlyphCount> cache;
    static std::array<bool, kStatusGlyphCount> loaded{};
    return cachedPicture(cache, loaded, index, "status",
                         QSize(kStatusGlyphWidth, kStatusGlyphHeight));
}

} // namespace tarvin
