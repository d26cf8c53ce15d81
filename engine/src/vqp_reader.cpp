#include "vqp_reader.h"

#include <algorithm>

#include "fatal_error.h"
#include "file_system.h"
#include "log_system.h"
#include "wtimer.h"

namespace VQ {

namespace {

bool readWord(LocalFile& stream, uint32_t& word)
{
    unsigned char bytes[4];
    if (stream.read(bytes, 4) != 4)
        return false;
    word = vqp::readLE32(bytes);
    return true;
}

}  // namespace

VQPReader::VQPReader() : VQPReader(contentRoot() + "/data.vqp") {}

VQPReader::VQPReader(const std::string& archivePath) : mStream(std::make_unique<LocalFile>())
{
    log(formatString("sizeof(TableEntry) = %i", int(vqp::ENTRY_BYTES)));
    if (!mStream->open(archivePath)) {
        rejectArchive();
        return;
    }
    if (!readWord(*mStream, mHeaderWord0) || !readWord(*mStream, mHeaderWord1) || !readWord(*mStream, mCount)) {
        rejectArchive();
        return;
    }
    initHashTable();
}

VQPReader::~VQPReader()
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mStream->close();
}

void VQPReader::rejectArchive()
{
    // Every lookup then fails and the next back end answers.
    mTable.clear();
    mStream->close();
    log("ERROR: Failed to open VQP archive.");
}

void VQPReader::initHashTable()
{
    log(formatString("VQP Archive total files: %i", int(mCount)));
    log(formatString("VQP Hash table size: %lld", static_cast<long long>(uint64_t(mCount) * 140)));
    WTimer timer;

    mStream->seek(int32_t(vqp::HEADER_BYTES));
    mTable.clear();
    if (mCount == 0)
        assertFailed("VQ", "VQP must contain at least one file", "vqp_reader", 54);

    // The table is checked against the archive's real size before anything
    // is allocated for it: a damaged count must not drive an allocation or a
    // read past the end.
    const uint64_t archiveBytes = uint64_t(std::max(mStream->size(), 0));
    if (vqp::tableEndOffset(mCount) > archiveBytes) {
        rejectArchive();
        return;
    }
    std::vector<unsigned char> bytes(size_t(mCount) * vqp::ENTRY_BYTES);
    if (mStream->read(bytes.data(), int32_t(bytes.size())) != int32_t(bytes.size()) ||
        !mTable.decode(bytes.data(), mCount, archiveBytes)) {
        rejectArchive();
        return;
    }

    log(formatString("hash table loaded in %.2f", double(timer.elapsedSeconds())));
    log("initHashTable done");
}

File* VQPReader::open(const std::string& path)
{
    // The table never changes after construction, so no lock is needed.
    const TableEntry* entry = mTable.find(path);
    if (!entry)
        return nullptr;
    auto* file = new VQPFile(*mStream, mMutex, entry->offset, entry->size);
    file->open(path);
    return file;
}

VQPFile::VQPFile(LocalFile& stream, std::recursive_mutex& mutex, uint32_t start, uint32_t size)
    : mStream(stream), mMutex(mutex), mStart(int32_t(start)), mSize(int32_t(size))
{
}

bool VQPFile::open(const std::string&)
{
    return true;
}

int32_t VQPFile::read(void* buffer, int32_t count)
{
    const int32_t wanted = std::min(count, mSize - mPosition);
    if (wanted <= 0)
        return 0;
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mStream.seek(mStart + mPosition);
    const int32_t got = mStream.read(buffer, wanted);
    mPosition += got;
    return got;
}

int32_t VQPFile::seek(int32_t position)
{
    mPosition = std::clamp(position, 0, std::max(mSize - 1, 0));
    return 0;
}

}  // namespace VQ
