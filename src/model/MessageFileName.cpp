#include "model/MessageFileName.h"

#include <QByteArray>

namespace tarvin {

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Keeps only the first set bit of `mask` within `value`.
uint32_t firstBitOf(uint32_t value, uint32_t mask) {
    const uint32_t bits = value & mask;
    return bits & (~bits + 1);
}

} // namespace

void ParseMessageFileName(const QString &fileName, QString &subject, uint32_t &flags) {
    subject.clear();
    flags = 0;
    if (fileName.isEmpty())
        return;
    QByteArray rest = fileName.toUtf8();
    const qsizetype dot = rest.lastIndexOf('.');
    if (dot >= 0)
        rest.truncate(dot);
    QByteArray code;
    const qsizetype open = rest.lastIndexOf('[');
    if (!rest.isEmpty() && open >= 0 && rest.lastIndexOf(']') == rest.size() - 1) {
        code = rest.mid(open + 1, rest.size() - open - 2);
        rest.truncate(open);
    }
    // Codes of earlier writers: 8 characters carry 3 flag digits, 9 and 12 carry 4.
    switch (code.size()) {
    case 8:
        code.truncate(3);
        break;
    case 9:
    case 12:
        code.truncate(4);
        break;
    default:
        break;
    }
    bool valid = !code.isEmpty();
    for (char c : code) {
        if (!isHexDigit(c)) {
            valid = false;
            break;
        }
    }
    subject = QString::fromUtf8(rest);
    if (!valid)
        return;
    uint64_t value = 0;
    for (char c : code) {
        const int digit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = value * 16 + uint64_t(digit);
        if (value > 0xFFFFFFFFull)
            return; // too large: no flags
    }
    flags = uint32_t(value);
}

uint16_t NormalizeMessageFlags(uint32_t flags) {
    return uint16_t(firstBitOf(flags, kItemKindMask) | firstBitOf(flags, kBoxTypeMask) |
                    firstBitOf(flags, kPriorityMask) |
                    (flags & (mfHasAttachments | mfRead | mfReplied | mfForwarded)));
}

} // namespace tarvin
