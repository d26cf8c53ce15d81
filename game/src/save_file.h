#pragma once
// The checksummed container of every file the game keeps between runs, in
// the per-user save folder: a 32-bit sum of the payload bytes, a 32-bit tag
// (the platform code in the high 16 bits, 65 in the low 16 bits) and the
// payload of 1 to 65,536 bytes, all little-endian. A file is always written
// whole and crash-safely: after a failure the old file is still there.

#include <cstddef>
#include <cstdint>
#include <string>

namespace SaveFile {

constexpr size_t HEADER_BYTES = 8;
constexpr size_t MAX_PAYLOAD_BYTES = 65536;

// The sum of the bytes, each unsigned, modulo 2^32.
uint32_t checksum(const void* data, size_t length);
// The tag of this build: PlatformConfig's platform code * 65536 + 65.
uint32_t tag();
// The save folder (created when missing) followed by the bare file name.
std::string path(const std::string& name);

// True when the file could NOT be written (one "ERROR: " line then names
// the file and the reason, and the old file is left as it was); false when
// the new file is in place. A payload the reader could not take back
// (empty, or over MAX_PAYLOAD_BYTES) is refused.
bool write(const std::string& name, const void* data, size_t length);

// Copies min(capacity, payload) bytes (the whole payload when capacity is
// 0) and returns that count; -1, copying nothing, for a missing file, one
// shorter than 9 bytes, a payload over MAX_PAYLOAD_BYTES, or a checksum or
// tag that does not match.
int read(const std::string& name, void* buffer, size_t capacity);

// The file's length minus 8, unverified; -1 when it cannot be opened or its
// length is not that of a readable save file.
int payloadSize(const std::string& name);

}  // namespace SaveFile
