// DDS reading of arbitrary bytes; a loaded DXT image must hold its whole
// first level, which the upload copies.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dds_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VQ::DDSImage image;
    if (!image.decode(data, size).isOk())
        return 0;
    const uint64_t levelZero = VQ::DDSImage::levelZeroSize(image.getKind(), image.getWidth(), image.getHeight());
    if (levelZero > image.getDataSize())
        abort();
    // Touch the first level as the upload does, for AddressSanitizer.
    volatile uint8_t sum = 0;
    for (uint64_t i = 0; i < levelZero; ++i)
        sum = sum + image.getData()[i];
    return 0;
}
