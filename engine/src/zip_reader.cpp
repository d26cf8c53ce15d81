#include "zip_reader.h"

#include <limits>

#include "file_system.h"
#include "log_system.h"
#include "wtimer.h"

namespace VQ {

namespace {

// Entry names longer than this cannot be looked up.
constexpr size_t MAX_ENTRY_NAME = 255;

}  // namespace

std::string& zipArchivePath()
{
    static std::string path;
    return path;
}

ZipReader::~ZipReader()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    for (unzFile handle : mPool)
        unzClose(handle);
    mPool.clear();
}

File* ZipReader::open(const std::string& path)
{
    if (zipArchivePath().empty())
        zipArchivePath() = contentRoot() + "data.zip";
    if (!mOpened) {
        // Most content has no ZIP archive, and every lookup the package
        // archive misses reaches this back end: an archive found absent is
        // not looked for again unless the archive path changes.
        if (!mAbsentPath.empty() && mAbsentPath == zipArchivePath())
            return nullptr;
        mPath = zipArchivePath();
        unzFile handle = unzOpen(mPath.c_str());
        if (!handle) {
            mAbsentPath = mPath;
            return nullptr;
        }
        mOpened = true;
        cacheFileLocationInfo(handle);
        releaseHandle(handle);
    }

    auto* file = new ZippedFile(acquireHandle(), *this);
    if (file->open(path))
        return file;
    delete file;
    return nullptr;
}

unzFile ZipReader::acquireHandle()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    if (!mOpened)
        return nullptr;
    if (mPool.empty())
        return unzOpen(mPath.c_str());
    unzFile handle = mPool.back();
    mPool.pop_back();
    return handle;
}

void ZipReader::releaseHandle(unzFile handle)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mPool.push_back(handle);
}

size_t ZipReader::pooledHandles()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mPool.size();
}

bool ZipReader::findPosition(const std::string& name, unz64_file_pos& position) const
{
    auto it = mPositions.find(name);
    if (it == mPositions.end())
        return false;
    position = it->second;
    return true;
}

void ZipReader::cacheFileLocationInfo(unzFile handle)
{
    WTimer timer;
    for (int result = unzGoToFirstFile(handle); result == UNZ_OK; result = unzGoToNextFile(handle)) {
        unz_file_info64 info;
        char name[MAX_ENTRY_NAME + 1] = {};
        if (unzGetCurrentFileInfo64(handle, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK)
            break;
        unz64_file_pos position;
        if (unzGetFilePos64(handle, &position) != UNZ_OK)
            break;
        // minizip leaves a name that fills the buffer unterminated; such a
        // name could never be asked for, so it is not recorded.
        if (info.size_filename > MAX_ENTRY_NAME)
            continue;
        mPositions[std::string(name, info.size_filename)] = position;
    }
    log(formatString("ZipReader::cacheFileLocationInfo: done in %.2f msec", timer.elapsedSeconds() * 1000.0));
}

ZippedFile::ZippedFile(unzFile handle, ZipReader& reader) : mHandle(handle), mReader(reader) {}

ZippedFile::~ZippedFile()
{
    close();
}

bool ZippedFile::open(const std::string& name)
{
    mName = !name.empty() && name[0] == '/' ? name.substr(1) : name;
    if (!mHandle || locate() != 0)
        return false;
    mOpen = unzOpenCurrentFile(mHandle) == UNZ_OK;
    return mOpen;
}

int ZippedFile::locate()
{
    // Entry names are compared byte for byte: on this platform the archive's
    // names and the engine's paths share one encoding.
    if (mName.size() > MAX_ENTRY_NAME)
        return 1;
    unz64_file_pos position;
    if (!mReader.findPosition(mName, position))
        return 1;
    // A failed jump would leave the handle on whatever entry it served
    // before, which must not be handed out under this name.
    const int moved = unzGoToFilePos64(mHandle, &position);
    if (moved != UNZ_OK)
        return moved;
    unz_file_info64 info;
    const int result = unzGetCurrentFileInfo64(mHandle, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (result != UNZ_OK)
        return result;
    if (info.uncompressed_size > uint64_t(std::numeric_limits<int32_t>::max()))
        return UNZ_BADZIPFILE;
    mSize = int32_t(info.uncompressed_size);
    return 0;
}

int32_t ZippedFile::read(void* buffer, int32_t count)
{
    if (!mOpen || count <= 0)
        return 0;
    int32_t result = unzReadCurrentFile(mHandle, buffer, unsigned(count));
    if (result > 0)
        mPosition += result;
    if (result >= 0 && mPosition >= mSize) {
        // The entry is complete: minizip checks its CRC only on closing it.
        mOpen = false;
        if (unzCloseCurrentFile(mHandle) != UNZ_OK)
            result = UNZ_CRCERROR;
    }
    if (result < 0)
        close();
    return result;
}

void ZippedFile::close()
{
    if (mOpen) {
        unzCloseCurrentFile(mHandle);
        mOpen = false;
    }
    if (mHandle) {
        mReader.releaseHandle(mHandle);
        mHandle = nullptr;
    }
}

}  // namespace VQ
