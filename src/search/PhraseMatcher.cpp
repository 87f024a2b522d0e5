#include "search/PhraseMatcher.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace tarvin {

unsigned char TPhraseMatcher::FoldByte(unsigned char byte) {
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7))
        return static_cast<unsigned char>(byte + 0x20);
    switch (byte) {
    case 0x8A: // S caron
    case 0x8C: // OE
    case 0x8E: // Z caron
        return static_cast<unsigned char>(byte + 0x10);
    case 0x9F: // Y diaeresis
        return 0xFF;
    default:
        return byte;
    }
}

TPhraseMatcher::TPhraseMatcher(const QString &phrase, bool ignoreCase)
    : m_phrase(phrase.toUtf8()), m_ignoreCase(ignoreCase) {
    for (int b = 0; b < 256; ++b)
        m_fold[size_t(b)] =
            ignoreCase ? FoldByte(static_cast<unsigned char>(b)) : static_cast<unsigned char>(b);
    for (char &c : m_phrase)
        c = char(m_fold[static_cast<unsigned char>(c)]);
    const size_t m = Length();
    // Shift for each folded byte: the distance from its last place before the phrase's end.
    std::array<size_t, 256> folded;
    folded.fill(m);
    for (size_t i = 0; i + 1 < m; ++i)
        folded[static_cast<unsigned char>(m_phrase[qsizetype(i)])] = m - 1 - i;
    // Raw bytes index the table; a byte that folds to the phrase's last byte has shift 0 and
    // stops the skip loop, after which the phrase moves on by the last byte's own shift.
    const unsigned char last = m > 0 ? static_cast<unsigned char>(m_phrase[qsizetype(m - 1)]) : 0;
    m_lastSkip = folded[last];
    for (int b = 0; b < 256; ++b)
        m_shift[size_t(b)] = m_fold[size_t(b)] == last ? 0 : folded[m_fold[size_t(b)]];
}

bool TPhraseMatcher::Find(const unsigned char *data, size_t length) const {
    const size_t m = Length();
    if (m == 0)
        return true;
    if (length < m)
        return false;
    const auto *phrase = reinterpret_cast<const unsigned char *>(m_phrase.constData());
    if (m == 1 && !m_ignoreCase)
        return std::memchr(data, phrase[0], length) != nullptr;
    const unsigned char *const limit = data + (length - m); // the last start position
    // The skip loop runs three shifts per round while they cannot pass the limit.
    const unsigned char *const fastLimit = length >= 3 * m ? limit - 2 * m : data;
    const size_t *const shift = m_shift.data();
    const unsigned char *p = data;
    for (;;) {
        size_t k;
        while (p < fastLimit) {
            if ((k = shift[p[m - 1]]) == 0)
                goto candidate;
            p += k;
            if ((k = shift[p[m - 1]]) == 0)
                goto candidate;
            p += k;
            if ((k = shift[p[m - 1]]) == 0)
                goto candidate;
            p += k;
        }
        while (p <= limit) {
            if ((k = shift[p[m - 1]]) == 0)
                goto candidate;
            p += k;
        }
        return false;
    candidate:
        // The last byte matches; compare the rest.
        if (m_ignoreCase) {
            size_t i = 0;
            while (i + 1 < m && m_fold[p[i]] == phrase[i])
                ++i;
            if (i + 1 == m)
                return true;
        } else if (std::memcmp(p, phrase, m - 1) == 0) {
            return true;
        }
        p += m_lastSkip;
    }
}

int TPhraseMatcher::FindInFile(int fd, std::vector<unsigned char> &buffer,
                               const std::atomic<bool> &stop) const {
    const size_t m = Length();
    if (m == 0)
        return 1;
    // A block is never shorter than the phrase, so the bytes kept from one block and the next
    // block always hold any occurrence that spans them.
    const size_t block = std::max(kBlockSize, m + 1);
    if (buffer.size() < block + m)
        buffer.resize(block + m);
    size_t kept = 0;
    while (!stop.load(std::memory_order_relaxed)) {
        const ssize_t got = ::read(fd, buffer.data() + kept, block);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            return 0;
        const size_t filled = kept + size_t(got);
        if (Find(buffer.data(), filled))
            return 1;
        // Keep the last m - 1 bytes: an occurrence may start there.
        kept = std::min(filled, m - 1);
        std::memmove(buffer.data(), buffer.data() + filled - kept, kept);
    }
    return 0;
}

} // namespace tarvin
