// VQT decoding of arbitrary bytes: header checks and the untiling.
#include <cstddef>
#include <cstdint>

#include "vqt_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VQ::VQTImage image;
    image.decode(data, size);
    return 0;
}
