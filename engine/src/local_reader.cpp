#include "local_reader.h"

#include <memory>

#include "file_system.h"
#include "local_file.h"

namespace VQ {

File* LocalReader::open(const std::string& path)
{
    auto file = std::make_unique<LocalFile>();
    if (file->open(contentRoot() + path))
        return file.release();
    if (!path.empty() && path[0] != '/' && file->open(path))
        return file.release();
    return nullptr;
}

}  // namespace VQ
