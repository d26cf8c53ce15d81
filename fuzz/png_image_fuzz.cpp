// PNG decoding of arbitrary bytes: every colour transform, the padding.
#include <cstddef>
#include <cstdint>

#include "png_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VQ::PngImage image;
    if (image.decode(data, size).isOk())
        image.padToPowerOfTwo();
    return 0;
}
