#pragma once

// The fuzz targets: each takes any bytes, runs them through one part of the program that reads
// untrusted input, and aborts (through FuzzCheck) when a rule that must hold for every input is
// broken. Errors the program reports (tarvin::Error) are expected results, not findings. The
// libFuzzer executables (fuzz_<name>, built with TARVIN_FUZZ) and the replay test over the
// corpus (fuzz_replay, every build) call the same functions.

#include <cstddef>
#include <cstdint>
#include <span>

namespace tarvin::fuzz {

using TFuzzTarget = void (*)(const uint8_t *data, size_t size);

struct TFuzzTargetEntry {
    const char *Name;
    TFuzzTarget Run;
};

// A message file's bytes: loaded, every field, attachment and embedded message read, its dates
// and file names worked out, its HTML body and attachments written into a scratch work folder.
void FuzzMessage(const uint8_t *data, size_t size);
// Lenient base64, zlib inflation (in memory, as text and into a stream) and the text decoding.
void FuzzInflate(const uint8_t *data, size_t size);
// Message file names: subject and flag code, the flag normaliser, the explorer's row values.
void FuzzMessageFileName(const uint8_t *data, size_t size);
// Names from message files made into names for the disk.
void FuzzSafeName(const uint8_t *data, size_t size);
// What a second start sends to the running viewer.
void FuzzInstanceMessage(const uint8_t *data, size_t size);

// Every target by name ("message", "inflate", "filename", "safename", "instance").
std::span<const TFuzzTargetEntry> FuzzTargets();
// The target of that name, or null.
TFuzzTarget FindFuzzTarget(const char *name);

// Sets up what every target expects once per process (locale, inflation limit, scratch folder).
void InitFuzzing();

} // namespace tarvin::fuzz
