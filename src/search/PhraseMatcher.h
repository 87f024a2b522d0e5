#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <atomic>
#include <cstddef>
#include <vector>

namespace tarvin {

// Finds a phrase in raw file bytes with a Boyer-Moore-Horspool skip table. With ignore case
// both the phrase and the file bytes are lower-cased byte by byte as the Windows-1252 code page
// does it (A-Z, the accented capitals 0xC0-0xDE but 0xD7, and 0x8A, 0x8C, 0x8E, 0x9F), so a
// phrase always finds its own bytes and ASCII letters match in either case.
class TPhraseMatcher {
public:
    // The phrase is taken in the system code page (UTF-8).
    TPhraseMatcher(const QString &phrase, bool ignoreCase);

    bool IsEmpty() const { return m_phrase.isEmpty(); }
    size_t Length() const { return size_t(m_phrase.size()); }

    // True when data[0, length) holds the phrase.
    bool Find(const unsigned char *data, size_t length) const;

    // Reads the open file from its current position to the end in large blocks and tells
    // whether the phrase occurs, also across block boundaries. Reading stops at the first
    // occurrence or when `stop` becomes true. Returns -1 with errno set when a read fails,
    // else 1 (found) or 0.
    // `buffer` is working space that the caller keeps between files.
    int FindInFile(int fd, std::vector<unsigned char> &buffer, const std::atomic<bool> &stop) const;

    // The lower-casing used for ignore case.
    static unsigned char FoldByte(unsigned char byte);

    // Bytes read per block.
    static constexpr size_t kBlockSize = 128 * 1024;

private:
    QByteArray m_phrase; // folded when ignoring case
    bool m_ignoreCase;
    std::array<unsigned char, 256> m_fold{};
    std::array<size_t, 256> m_shift{}; // by raw byte; 0 where it folds to the last byte
    size_t m_lastSkip = 1;
};

} // namespace tarvin
