// Converts a PNG into the engine's VQT texture format.
//
//   vqt_tool [--palette] <input.png> <output.vqt>
//
// Without --palette the pixels are stored as 32-bit RGBA (format 2, the
// width a multiple of 4); with it as indices into a palette of the image's
// own colours (format 3, at most 256 colours, the width a multiple of 16).
// The height must be a multiple of 8 either way.

#include <cstdio>
#include <cstring>
#include <string>

#include "image_writers.h"
#include "png_image.h"

int main(int argc, char** argv)
{
    bool palette = false;
    int first = 1;
    if (argc > 1 && strcmp(argv[1], "--palette") == 0) {
        palette = true;
        first = 2;
    }
    if (argc - first != 2) {
        fprintf(stderr, "usage: vqt_tool [--palette] <input.png> <output.vqt>\n");
        return 2;
    }
    const std::string input = argv[first];
    const std::string output = argv[first + 1];

    ImageWriters::Bytes png;
    if (!ImageWriters::readFile(input, png)) {
        fprintf(stderr, "vqt_tool: cannot read %s\n", input.c_str());
        return 1;
    }
    VQ::PngImage image;
    const VQ::DecodeStatus status = image.decode(png.data(), png.size());
    if (!status.isOk()) {
        fprintf(stderr, "vqt_tool: %s: %s\n", input.c_str(),
                status.reason.empty() ? "not a PNG that can be decoded" : status.reason.c_str());
        return 1;
    }
    const ImageWriters::Bytes rgba(image.getData(), image.getData() + image.getDataSize());
    ImageWriters::Bytes vqt;
    std::string error;
    if (!ImageWriters::writeVqt(palette ? 3 : 2, image.getWidth(), image.getHeight(), rgba, vqt, error)) {
        fprintf(stderr, "vqt_tool: %s: %s\n", input.c_str(), error.c_str());
        return 1;
    }
    if (!ImageWriters::writeFile(output, vqt)) {
        fprintf(stderr, "vqt_tool: cannot write %s\n", output.c_str());
        return 1;
    }
    return 0;
}
