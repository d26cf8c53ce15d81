#pragma once
// Small shared helpers: lock guard over an optional mutex, owning-pointer
// reset, the per-user data folder, and UTF-8 / UTF-16 conversion.

#include <string>

namespace VQ {

// Locks on construction and unlocks on destruction when the mutex pointer is
// not null.
template <typename Mutex>
class ScopedLock {
public:
    explicit ScopedLock(Mutex* mutex) : mMutex(mutex)
    {
        if (mMutex)
            mMutex->lock();
    }
    ~ScopedLock()
    {
        if (mMutex)
            mMutex->unlock();
    }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    Mutex* mMutex;
};

template <typename T>
void deleteAndNull(T*& pointer)
{
    if (pointer) {
        delete pointer;
        pointer = nullptr;
    }
}

constexpr const char* DEFAULT_COMPANY_PATH = "Penmorrow/Tessaly";

// The per-user folder for save files: $XDG_DATA_HOME (else ~/.local/share),
// the company path and the application name, ending in '/'. Every folder
// along it is created when missing. A null company path takes the default.
std::string userDataDirectory(const char* applicationName, const char* companyPath);

// UTF-8 to UTF-16 and back; invalid input is replaced (U+FFFD), never thrown.
std::u16string utf8ToWide(const std::string& text);
std::string wideToUtf8(const std::u16string& text);
// True when the text was valid UTF-8 (the conversion replaced nothing).
bool isValidUtf8(const std::string& text);

}  // namespace VQ
