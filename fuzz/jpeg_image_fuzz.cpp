// JPEG decoding of arbitrary bytes, alone and as both images of a pair (the
// component and size checks of the alpha image).
#include <cstddef>
#include <cstdint>

#include "jpeg_image.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    VQ::JpegImage::Decoded single;
    VQ::JpegImage::decodeFile(data, size, single);
    // The first byte picks where the colour image ends and the alpha image
    // begins, so that pairs of different files are tried too.
    const size_t split = size > 1 ? 1 + (size - 1) * data[0] / 255 : size;
    VQ::JpegImage pair;
    pair.decode(data, split, data + split, size - split);
    return 0;
}
