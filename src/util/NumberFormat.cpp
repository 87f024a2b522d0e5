#include "util/NumberFormat.h"

#include <QLocale>
#include <atomic>

namespace tarvin {

namespace {
std::atomic<char16_t> g_separator{0};
}

QChar DecimalSeparator() {
    char16_t c = g_separator.load();
    if (c == 0) {
        QString point = QLocale::system().decimalPoint();
        return point.isEmpty() ? QChar('.') : point.at(0);
    }
    return QChar(c);
}

void SetDecimalSeparator(QChar separator) {
    g_separator.store(separator.unicode());
}

} // namespace tarvin
