#pragma once
// Base of the image decoders: a decoded image file held in memory until the
// main thread uploads it into a texture. Each file format derives from it;
// the decoding itself works on bytes in memory, so that the file-reading
// `load` is a thin layer over it and the decoders can be exercised alone.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace VQ {

class Image {
public:
    // Pixel kinds (the `kind` field); the texture turns them into formats.
    enum Kind : int32_t {
        KIND_DDS_OTHER = 0,  // DDS of a pixel format the engine does not use
        KIND_RGB = 1,        // R, G, B, 0xFF
        KIND_RGBA = 2,       // R, G, B, A
        KIND_PALETTE = 3,    // DDS with the palette flag: raw data
        KIND_DXT1 = 4,
        KIND_DXT3 = 5,
        KIND_DXT5 = 6,
    };

    // Larger than any texture the game asks the device for; a header that
    // claims more is refused before anything of that size is allocated.
    static constexpr uint32_t MAX_SIDE = 8192;

    virtual ~Image();

    // Reads and decodes the resource; 0 on success, 1 when the image stays
    // without data. A missing file is fatal.
    virtual int load(const std::string& name, const std::string& package) = 0;
    virtual uint8_t* getData();
    virtual uint32_t getWidth();
    virtual uint32_t getHeight();
    virtual uint32_t getDataSize();
    virtual uint32_t getExtra() = 0;

    int32_t getKind() const { return kind; }

    // Frees the pixel data (the texture does once it has uploaded it).
    void releaseData();

protected:
    int32_t kind = KIND_DDS_OTHER;
    std::unique_ptr<uint8_t[]> data;
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t dataSize = 0;
};

// What decoding bytes in memory came to. The file-reading `load` of each
// format turns a failure into the log line or the fatal report that format
// calls for, so the bytes-only path never logs and never stops the process.
struct DecodeStatus {
    enum Code { OK, FAILED, FATAL };
    Code code = OK;
    int line = 0;        // FATAL: the failing check's line in the fatal report
    std::string reason;  // FAILED and FATAL: what was wrong, for the log

    static DecodeStatus ok() { return {}; }
    static DecodeStatus failed(std::string why) { return {FAILED, 0, std::move(why)}; }
    static DecodeStatus fatal(int atLine, std::string why = {}) { return {FATAL, atLine, std::move(why)}; }
    bool isOk() const { return code == OK; }
};

// Little-endian 32-bit read from a byte buffer (no alignment needed).
inline uint32_t readLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// Reads resource (package, name) whole through the file system. A missing
// file logs "ERROR: file '%s' not found in package '%s'" and is fatal at the
// decoder's `fileTag` and `line`. False (with a warning) when the file was
// there but could not be read.
bool readImageFile(const std::string& name, const std::string& package, const char* fileTag, int line,
                   std::vector<char>& out);

// Reads the first `headSize` bytes (at most 8) of the resource and asks
// `matches` whether they are its format's signature. A missing file is
// fatal as in readImageFile, unless `missingIsFatal` is false: then the
// answer is false without a report.
bool probeImageFile(const std::string& name, const std::string& package, const char* fileTag, int line,
                    size_t headSize, bool (*matches)(const uint8_t*, size_t), bool missingIsFatal = true);

inline const uint8_t* asBytes(const std::vector<char>& bytes)
{
    return reinterpret_cast<const uint8_t*>(bytes.data());
}

// Turns a decode outcome into its report: a failure logs "ERROR: Failed to
// load <format> image '<name>': <reason>" and gives 1; a fatal outcome logs
// its reason the same way and stops with the fatal report (empty
// description) at `fileTag` and the outcome's line. 0 when decoded.
int reportDecodeStatus(const DecodeStatus& status, const char* format, const std::string& name,
                       const char* fileTag);

}  // namespace VQ
