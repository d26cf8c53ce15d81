#include "image.h"

#include "fatal_error.h"
#include "log_system.h"

namespace VQ {

Image::~Image() = default;

uint8_t* Image::getData()
{
    return data.get();
}

uint32_t Image::getWidth()
{
    return width;
}

uint32_t Image::getHeight()
{
    return height;
}

uint32_t Image::getDataSize()
{
    return dataSize;
}

void Image::releaseData()
{
    data.reset();
}

int reportDecodeStatus(const DecodeStatus& status, const char* format, const std::string& name,
                       const char* fileTag)
{
    if (status.isOk())
        return 0;
    if (!status.reason.empty())
        log(formatString("ERROR: Failed to load %s image '%s': %s", format, name.c_str(), status.reason.c_str()));
    if (status.code == DecodeStatus::FATAL)
        assertFailed("VQ", "", fileTag, status.line);
    return 1;
}

}  // namespace VQ
