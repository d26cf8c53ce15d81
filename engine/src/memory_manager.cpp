#include "memory_manager.h"

#include <cstdio>

namespace VQ {

void MemoryManager::addAllocation(const void* address, size_t size, int line, const char* file)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mAllocations[address] = Allocation{size, line, file ? file : ""};
}

void MemoryManager::removeAllocation(const void* address)
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    mAllocations.erase(address);
}

size_t MemoryManager::allocationCount() const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    return mAllocations.size();
}

void MemoryManager::dumpLeaks(const std::string& path) const
{
    std::lock_guard<std::recursive_mutex> lock(mMutex);
    FILE* file = std::fopen(path.c_str(), "a");
    if (!file)
        return;
    std::fputs("*******************************\n", file);
    std::fputs("***** MEMORY MANAGED DUMP *****\n", file);
    for (const auto& [address, allocation] : mAllocations)
        std::fprintf(file, "WARNING: Possible memory leak at %s:%i, size %zu bytes, ptr %p \n",
                     allocation.file.c_str(), allocation.line, allocation.size, address);
    if (mAllocations.empty())
        std::fputs("MemoryManager: Memory Leaks not found\n", file);
    else
        std::fprintf(file, "WARNING: Found %i possible memory leaks\n", static_cast<int>(mAllocations.size()));
    std::fputs("************* END *************\n", file);
    std::fputs("*******************************\n", file);
    std::fclose(file);
}

}  // namespace VQ
