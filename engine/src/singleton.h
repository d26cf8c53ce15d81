#pragma once
// Base of every process-wide manager. Instances are created and destroyed
// explicitly at fixed points of start-up and shut-down, never lazily, so a
// manager used outside its lifetime is a fatal error rather than a silent
// construction at an unexpected time.

#include <typeinfo>

namespace VQ {

// Reports "Singleton not initialized: <type>" through the fatal report.
void reportMissingSingleton(const std::type_info& type);

template <typename T>
class Singleton {
public:
    // The base pointer is stored: the derived object is not yet (or no
    // longer) a T while this constructor (destructor) runs.
    Singleton() { sInstance = this; }
    virtual ~Singleton()
    {
        if (sInstance == this)
            sInstance = nullptr;
    }
    Singleton(const Singleton&) = delete;
    Singleton& operator=(const Singleton&) = delete;

    static void checkInstance()
    {
        if (!sInstance)
            reportMissingSingleton(typeid(T));
    }

    // The checked access every caller uses: stops with the fatal report when
    // the manager does not exist.
    static T* instance()
    {
        checkInstance();
        return static_cast<T*>(sInstance);
    }

    static T* instancePtr() { return static_cast<T*>(sInstance); }
    static bool exists() { return sInstance != nullptr; }

private:
    static inline Singleton* sInstance = nullptr;
};

}  // namespace VQ
