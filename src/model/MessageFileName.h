#pragma once

#include <QString>
#include <cstdint>

namespace tarvin {

// Bits of the flag word carried in message file names ("Subject[2241xxxxxxxx].pml").
enum TMessageFlag : uint16_t {
    mfMail = 0x0001, // item kind: the first set bit of 0x0001..0x0020 counts
    mfAppointment = 0x0002,
    mfTask = 0x0004,
    mfNote = 0x0008,
    mfPhone = 0x0010,
    mfDocumentReference = 0x0020,
    mfBoxType1 = 0x0040, // box type 1 (received); the first of 0x0040..0x0100 counts
    mfBoxType2 = 0x0080,
    mfBoxType4 = 0x0100,
    mfPriority1 = 0x0200, // priority 1; the first of 0x0200..0x0800 counts
    mfPriority2 = 0x0400,
    mfPriority3 = 0x0800,
    mfHasAttachments = 0x1000, // at least one attachment that is not a system attachment
    mfRead = 0x2000,
    mfReplied = 0x4000,
    mfForwarded = 0x8000,
};

constexpr uint16_t kItemKindMask = 0x003F;
constexpr uint16_t kBoxTypeMask = 0x01C0;
constexpr uint16_t kPriorityMask = 0x0E00;

// Splits a message file name (with extension, without folder) into its subject and the value
// of its bracketed flag code. No code (or a code that is not hexadecimal or exceeds 32 bits)
// gives 0; the subject keeps any blanks before the "[".
void ParseMessageFileName(const QString &fileName, QString &subject, uint32_t &flags);

// The flag word of a flag value: only the first set bit of each exclusive group (item kind,
// box type, priority) remains, the four single bits pass, bits above 0x8000 are dropped.
uint16_t NormalizeMessageFlags(uint32_t flags);

} // namespace tarvin
