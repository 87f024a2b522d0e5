#include "util/NumberFormat.h"

#include <atomic>

namespace tarvin {

namespace {
std::atomic<char16_t> g_separator{u'.'};
}

QChar DecimalSeparator() {
    return QChar(g_separator.load());
}

void SetDecimalSeparator(QChar separator) {
    g_separator.store(separator.unicode());
}

} // namespace tarvin
