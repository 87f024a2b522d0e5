#pragma once

#include "util/DateTime.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace tarvin {

class TGWMessage;

// The ELF hash of the System V ABI over `bytes` (unsigned 32-bit; result below 2^28).
uint32_t ElfHash(QByteArrayView bytes);

// Builds the 12-digit code of a message file name (4 digits flag word, 8 digits hash of the
// message identifier) from a loaded message, and gives a written file the message date.
class TMsgPropertyEncoder {
public:
    // Describes `message` (not owned); a different message clears the cached values and
    // computes the message date.
    void SetMessage(const TGWMessage *message);
    const TGWMessage *Message() const { return m_message; }

    // The flag word (cached once non-zero).
    uint16_t GetFlags();
    // The ELF hash of the identifier without "." (cached once non-zero).
    uint32_t GetHash();
    // "%.4x%.8x" of GetFlags and GetHash: twelve lower-case hexadecimal digits.
    QString GetIdentifier();
    // Sets the last-write time of the existing file at `path` to the message date, taking the
    // stored date-time as if it were UTC; the access time stays. Returns whether it was set.
    bool SetFileDate(const QString &path) const;

    TDateTime MessageDate() const { return m_messageDate; }

private:
    const TGWMessage *m_message = nullptr;
    uint16_t m_flags = 0;
    uint32_t m_hash = 0;
    TDateTime m_messageDate = 0;
};

} // namespace tarvin
