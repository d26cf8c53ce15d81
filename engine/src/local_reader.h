#pragma once
// The loose-file back end: a path is looked for under the content root, then
// as given (relative to the working folder).

#include "file.h"

namespace VQ {

class LocalReader : public FileReader {
public:
    // content root + path first ("/config.lua" -> "./media//config.lua"); then
    // the path itself, but only when it is relative, so that a resource path
    // never reaches outside into the file system's root.
    File* open(const std::string& path) override;
};

}  // namespace VQ
