#include "platform/crash_handler_posix.h"

#include <fcntl.h>
#include <link.h>
#include <pthread.h>
#include <signal.h>
#include <sys/syscall.h>
#include <sys/utsname.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <memory>
#include <string>

#include "log_system.h"

namespace VQ {

namespace {

const int kCrashSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT};
std::atomic<bool> gCrashing{false};

struct Registers {
    uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0, rbp = 0, rsp = 0, rip = 0;
    uint64_t r[8] = {};  // r8..r15
    uint64_t eflags = 0;
};

Registers readRegisters(const ucontext_t* context)
{
    Registers regs;
#if defined(__x86_64__)
    if (context) {
        const greg_t* g = context->uc_mcontext.gregs;
        regs.rax = g[REG_RAX];
        regs.rbx = g[REG_RBX];
        regs.rcx = g[REG_RCX];
        regs.rdx = g[REG_RDX];
        regs.rsi = g[REG_RSI];
        regs.rdi = g[REG_RDI];
        regs.rbp = g[REG_RBP];
        regs.rsp = g[REG_RSP];
        regs.rip = g[REG_RIP];
        regs.r[0] = g[REG_R8];
        regs.r[1] = g[REG_R9];
        regs.r[2] = g[REG_R10];
        regs.r[3] = g[REG_R11];
        regs.r[4] = g[REG_R12];
        regs.r[5] = g[REG_R13];
        regs.r[6] = g[REG_R14];
        regs.r[7] = g[REG_R15];
        regs.eflags = g[REG_EFL];
    }
#else
    (void)context;
#endif
    if (!regs.rsp)
        regs.rsp = reinterpret_cast<uint64_t>(__builtin_frame_address(0));
    return regs;
}

// Everything from here to the end of the report runs inside a signal
// handler that may have interrupted the allocator or a stdio call: it
// allocates nothing and writes with write(2) only. (An allocation here once
// hung the crashing game on the allocator's lock.)

// Pointers as the report has always shown them: upper-case hex digits, as
// wide as a pointer, with no "0x" of the C library's own.
#define VQ_HEX "%016llX"
#define VQ_HEX_ARG(value) static_cast<unsigned long long>(value)

void writeText(int fd, const char* text)
{
    writeAllRaw(fd, text, strlen(text));
}

void crashLog(const char* text)
{
    if (LogSystem* logSystem = LogSystem::instancePtr()) {
        logSystem->writeFromCrashHandler(text);
    } else {
        writeText(STDERR_FILENO, text);
        writeText(STDERR_FILENO, "\n");
    }
}

[[gnu::format(printf, 1, 2)]] void crashLogf(const char* format, ...)
{
    char text[FORMAT_BUFFER_SIZE];
    va_list args;
    va_start(args, format);
    if (vsnprintf(text, sizeof(text), format, args) < 0)
        text[0] = '\0';
    va_end(args);
    crashLog(text);
}

struct ModuleInfo {
    char name[512];  // longer paths are cut
    uint64_t base;   // load address of the first segment
    uint64_t end;
};

void setModuleName(ModuleInfo& module, const char* name, size_t length)
{
    if (length >= sizeof(module.name))
        length = sizeof(module.name) - 1;
    memcpy(module.name, name, length);
    module.name[length] = '\0';
}

// The program comes first in the loader's list, then the shared objects.
int collectModule(struct dl_phdr_info* info, size_t, void* data)
{
    auto* out = static_cast<std::pair<ModuleInfo*, size_t>*>(data);
    if (out->second >= 1024)
        return 1;
    uint64_t low = UINT64_MAX, high = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD)
            continue;
        const uint64_t start = info->dlpi_addr + ph.p_vaddr;
        low = start < low ? start : low;
        high = start + ph.p_memsz > high ? start + ph.p_memsz : high;
    }
    if (low == UINT64_MAX)
        return 0;
    ModuleInfo& module = out->first[out->second++];
    module.base = low;
    module.end = high;
    if (info->dlpi_name && info->dlpi_name[0]) {
        setModuleName(module, info->dlpi_name, strlen(info->dlpi_name));
    } else if (out->second == 1) {
        char path[4096];
        const ssize_t n = readlink("/proc/self/exe", path, sizeof(path));
        if (n > 0)
            setModuleName(module, path, size_t(n));
        else
            setModuleName(module, "(program)", 9);
    } else {
        setModuleName(module, "(unnamed)", 9);
    }
    return 0;
}

// Collected once per crash, before the report and the dump read it.
ModuleInfo gModules[1024];
size_t gModuleCount = 0;

void collectModules()
{
    std::pair<ModuleInfo*, size_t> data{gModules, 0};
    dl_iterate_phdr(collectModule, &data);
    gModuleCount = data.second;
}

uint64_t mainModuleBase()
{
    return gModuleCount ? gModules[0].base : 0;
}

// The bounds of each engine thread's stack, read when its handler stack is
// installed: reading them in the handler would go through the C library's
// own allocation (it parses /proc/self/maps for the main thread).
struct StackBounds {
    uint64_t top;
    uint64_t bottom;
    bool known;
};
thread_local StackBounds tStackBounds{0, 0, false};

void recordStackBounds()
{
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0)
        return;
    void* address = nullptr;
    size_t size = 0;
    const bool ok = pthread_attr_getstack(&attr, &address, &size) == 0;
    pthread_attr_destroy(&attr);
    if (!ok)
        return;
    tStackBounds.bottom = reinterpret_cast<uint64_t>(address);
    tStackBounds.top = tStackBounds.bottom + size;
    tStackBounds.known = true;
}

bool currentStackBounds(uint64_t& top, uint64_t& bottom)
{
    if (!tStackBounds.known)
        return false;
    top = tStackBounds.top;
    bottom = tStackBounds.bottom;
    return true;
}

void logExceptionRecord(uint64_t address, uint32_t code)
{
    const uint64_t base = mainModuleBase();
    crashLogf("ExceptionAddress:              0x" VQ_HEX, VQ_HEX_ARG(address));
    crashLogf("ExceptionCode:                 " VQ_HEX, VQ_HEX_ARG(code));
    crashLogf("ExceptionFlags:                " VQ_HEX, VQ_HEX_ARG(0));
    crashLogf("ExceptionAddress (0x00400000): 0x" VQ_HEX, VQ_HEX_ARG(address - base + 0x00400000));
}

// The stack is read raw, red zones included: the address checker must not
// take that for a fault of its own.
[[gnu::no_sanitize_address]] void copyRawMemory(void* destination, uint64_t source, size_t size)
{
    const volatile unsigned char* from = reinterpret_cast<const volatile unsigned char*>(source);
    unsigned char* to = static_cast<unsigned char*>(destination);
    for (size_t i = 0; i < size; ++i)
        to[i] = from[i];
}

void logStackDump(const Registers& regs)
{
    uint64_t top = 0, bottom = 0;
    currentStackBounds(top, bottom);
    crashLog("");
    crashLogf("Stack (top: 0x" VQ_HEX " bottom: 0x" VQ_HEX " size: 0x%08X):", VQ_HEX_ARG(top), VQ_HEX_ARG(bottom),
              static_cast<unsigned>(top - bottom));
    uint64_t address = regs.rsp;
    if (address > top || address < bottom) {
        crashLog("ERROR: Failed to dump stack");
        return;
    }
    while (address + 7 * 4 <= top) {
        uint32_t w[7];
        copyRawMemory(w, address, sizeof(w));
        crashLogf("0x" VQ_HEX ": 0x%08x 0x%08x 0x%08x 0x%08x 0x%08x 0x%08x 0x%08x", VQ_HEX_ARG(address), w[0], w[1],
                  w[2], w[3], w[4], w[5], w[6]);
        address += 7 * 4;
    }
}

void logModules()
{
    crashLog("");
    crashLog("Modules: ");
    for (size_t i = 0; i < gModuleCount; ++i) {
        const ModuleInfo& module = gModules[i];
        crashLogf("%s Handle (0x" VQ_HEX ") Address (0x" VQ_HEX "-0x" VQ_HEX ")", module.name, VQ_HEX_ARG(module.base),
                  VQ_HEX_ARG(module.base), VQ_HEX_ARG(module.end));
    }
}

void logCrashReport(bool haveRecord, uint64_t address, uint32_t code, const Registers& regs)
{
    crashLog("");
    crashLog("***************************************");
    crashLog("* ERROR: Unhandled exception occured! *");
    crashLog("***************************************");
    crashLog("");
    if (haveRecord)
        logExceptionRecord(address, code);
    crashLog("");
    crashLog("Registers:");
    // The x86 names are kept; on a 64-bit machine each holds the whole
    // register, so nothing is cut.
    crashLogf("EDI: %08llX ESI: %08llX EBX: %08llX", (unsigned long long)regs.rdi,
                          (unsigned long long)regs.rsi, (unsigned long long)regs.rbx);
    crashLogf("EDX: %08llX ECX: %08llX EAX: %08llX", (unsigned long long)regs.rdx,
                          (unsigned long long)regs.rcx, (unsigned long long)regs.rax);
    crashLogf("EBP: %08llX EIP: %08llX ESP: %08llX", (unsigned long long)regs.rbp,
                          (unsigned long long)regs.rip, (unsigned long long)regs.rsp);
    logStackDump(regs);
    logModules();
}

// ---- "VQ.dmp": the minidump layout, so that common minidump readers open it.

class DumpWriter {
public:
    explicit DumpWriter(int fd) : mFd(fd) {}
    uint32_t offset() const { return mOffset; }
    void bytes(const void* data, size_t size)
    {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            ssize_t n = ::write(mFd, p, size);
            if (n <= 0) {
                mFailed = true;
                return;
            }
            p += n;
            size -= size_t(n);
            mOffset += uint32_t(n);
        }
    }
    void u16(uint16_t v) { bytes(&v, 2); }
    void u32(uint32_t v) { bytes(&v, 4); }
    void u64(uint64_t v) { bytes(&v, 8); }
    void zeros(size_t n)
    {
        static const char zero[256] = {};
        while (n) {
            size_t k = n < sizeof(zero) ? n : sizeof(zero);
            bytes(zero, k);
            n -= k;
        }
    }
    bool failed() const { return mFailed; }

private:
    int mFd;
    uint32_t mOffset = 0;
    bool mFailed = false;
};

constexpr uint32_t kContextSize = 1232;  // the AMD64 thread context
constexpr uint32_t kStreamCount = 4;
constexpr uint32_t kMaxStackBytes = 256 * 1024;

void writeContext(DumpWriter& w, const Registers& r)
{
    w.zeros(48);                         // parameter home area
    w.u32(0x00100003);                   // AMD64 context: control and integer
    w.u32(0);                            // MxCsr
    w.zeros(12);                         // segment registers
    w.u32(uint32_t(r.eflags));
    w.zeros(48);                         // debug registers
    const uint64_t order[] = {r.rax, r.rcx, r.rdx, r.rbx, r.rsp, r.rbp, r.rsi, r.rdi,
                              r.r[0], r.r[1], r.r[2], r.r[3], r.r[4], r.r[5], r.r[6], r.r[7], r.rip};
    for (uint64_t v : order)
        w.u64(v);
    w.zeros(kContextSize - 256);
}

bool writeMinidump(int fd, uint32_t threadId, uint64_t address, uint32_t code, const Registers& regs)
{
    const ModuleInfo* modules = gModules;
    const size_t moduleCount = gModuleCount;

    uint64_t top = 0, bottom = 0;
    uint64_t stackStart = regs.rsp;
    uint32_t stackSize = 0;
    if (currentStackBounds(top, bottom) && stackStart >= bottom && stackStart < top) {
        const uint64_t size = top - stackStart;
        stackSize = uint32_t(size > kMaxStackBytes ? kMaxStackBytes : size);
    }

    // Layout: header, directory, system info, exception, thread list,
    // module list, context, stack memory, module names.
    const uint32_t dirRva = 32;
    const uint32_t sysRva = dirRva + kStreamCount * 12;
    const uint32_t sysSize = 56;
    const uint32_t excRva = sysRva + sysSize;
    const uint32_t excSize = 168;
    const uint32_t thrRva = excRva + excSize;
    const uint32_t thrSize = 4 + 48;
    const uint32_t modRva = thrRva + thrSize;
    const uint32_t modSize = 4 + uint32_t(moduleCount) * 108;
    const uint32_t ctxRva = modRva + modSize;
    const uint32_t stackRva = ctxRva + kContextSize;
    const uint32_t namesRva = stackRva + stackSize;

    DumpWriter w(fd);
    w.u32(0x504D444D);  // "MDMP"
    w.u32(0xA793);
    w.u32(kStreamCount);
    w.u32(dirRva);
    w.u32(0);
    w.u32(uint32_t(time(nullptr)));
    w.u64(0);  // MiniDumpNormal

    const uint32_t dir[kStreamCount][3] = {
        {7, sysSize, sysRva}, {6, excSize, excRva}, {3, thrSize, thrRva}, {4, modSize, modRva}};
    for (const auto& d : dir) {
        w.u32(d[0]);
        w.u32(d[1]);
        w.u32(d[2]);
    }

    // System information: AMD64 on Linux (the platform id readers use for it).
    w.u16(9);
    w.u16(6);
    w.u16(0);
    w.bytes("\x01\x01", 2);  // processors, product type
    struct utsname uts {};
    uname(&uts);
    unsigned major = 0, minor = 0, build = 0;
    sscanf(uts.release, "%u.%u.%u", &major, &minor, &build);
    w.u32(major);
    w.u32(minor);
    w.u32(build);
    w.u32(0x8201);
    w.u32(0);  // no service-pack string
    w.u16(0);
    w.u16(0);
    w.zeros(24);

    // Exception.
    w.u32(threadId);
    w.u32(0);
    w.u32(code);
    w.u32(0);
    w.u64(0);
    w.u64(address);
    w.u32(0);
    w.u32(0);
    w.zeros(15 * 8);
    w.u32(kContextSize);
    w.u32(ctxRva);

    // Thread list: the crashing thread with its stack.
    w.u32(1);
    w.u32(threadId);
    w.u32(0);
    w.u32(0);
    w.u32(0);
    w.u64(0);
    w.u64(stackStart);
    w.u32(stackSize);
    w.u32(stackRva);
    w.u32(kContextSize);
    w.u32(ctxRva);

    // Module list; names are stored after the stack.
    w.u32(uint32_t(moduleCount));
    uint32_t nameRva = namesRva;
    for (size_t i = 0; i < moduleCount; ++i) {
        w.u64(modules[i].base);
        w.u32(uint32_t(modules[i].end - modules[i].base));
        w.u32(0);
        w.u32(0);
        w.u32(nameRva);
        w.zeros(52 + 8 + 8 + 8 + 8);
        nameRva += 4 + uint32_t(strlen(modules[i].name)) * 2 + 2;
    }

    writeContext(w, regs);
    if (stackSize) {
        static unsigned char stackCopy[kMaxStackBytes];
        copyRawMemory(stackCopy, stackStart, stackSize);
        w.bytes(stackCopy, stackSize);
    }

    for (size_t i = 0; i < moduleCount; ++i) {
        const char* name = modules[i].name;
        const size_t length = strlen(name);
        w.u32(uint32_t(length * 2));
        for (size_t k = 0; k < length; ++k)
            w.u16(static_cast<unsigned char>(name[k]));
        w.u16(0);
    }
    return !w.failed();
}

uint32_t currentThreadId()
{
    return uint32_t(syscall(SYS_gettid));
}

void handleCrash(int signal, uint32_t code, uint64_t address, const ucontext_t* context, bool haveRecord)
{
    const Registers regs = readRegisters(context);
    if (!address)
        address = regs.rip;

    collectModules();
    char text[FORMAT_BUFFER_SIZE];
    int fd = open("VQ.dmp", O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
        if (writeMinidump(fd, currentThreadId(), address, code, regs))
            formatToBuffer(text, "VQ dump created.\n");
        else
            formatToBuffer(text, "VQ MiniDumpWriteDump failed. Error: %u \n", unsigned(errno));
        close(fd);
    } else {
        formatToBuffer(text, "CreateFile failed. Error: %u \n", unsigned(errno));
    }
    writeText(STDOUT_FILENO, text);

    // No box from inside a signal handler: the windowing library is not
    // safe to enter here, so the box's text goes to the standard error.
    formatToBuffer(text, "Dump: Unhandled exception at 0x" VQ_HEX ". Exception code 0x" VQ_HEX "\n",
                   VQ_HEX_ARG(address), VQ_HEX_ARG(code));
    writeText(STDERR_FILENO, text);

    logCrashReport(haveRecord, address, code, regs);
    (void)signal;
}

// Gives the signal this action and lets this thread receive it.
void setActionAndUnblock(int signal, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal, &action, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, signal);
    pthread_sigmask(SIG_UNBLOCK, &unblock, nullptr);
}

// Restores the default action and raises the signal again, so that the
// process ends by the signal that brought it down.
void endProcessBySignal(int signal)
{
    setActionAndUnblock(signal, SIG_DFL);
    raise(signal);
}

// The report waits on nothing by design, but the loader's lock or a stream
// may still be held by a thread that can no longer let go of it. A crashed
// game must end rather than hang: past this many seconds the report is given
// up and the process ends by its signal.
constexpr unsigned kReportSeconds = 10;
std::atomic<int> gCrashSignal{0};

void reportTimedOut(int)
{
    const char text[] = "ERROR: crash report timed out\n";
    writeAllRaw(STDERR_FILENO, text, sizeof(text) - 1);
    endProcessBySignal(gCrashSignal.load());
}

void armReportWatchdog(int signal)
{
    gCrashSignal.store(signal);
    setActionAndUnblock(SIGALRM, reportTimedOut);
    alarm(kReportSeconds);
}

void crashSignalHandler(int signal, siginfo_t* info, void* rawContext)
{
    // A second fault (on this thread or another) while one is reported just
    // ends the process with the default action.
    if (gCrashing.exchange(true)) {
        endProcessBySignal(signal);
        return;
    }
    armReportWatchdog(signal);
    const ucontext_t* context = static_cast<const ucontext_t*>(rawContext);
    const uint32_t code = exceptionCodeForSignal(signal, info ? info->si_code : 0);
    uint64_t address = 0;
#if defined(__x86_64__)
    if (context)
        address = uint64_t(context->uc_mcontext.gregs[REG_RIP]);
#endif
    handleCrash(signal, code, address, context, true);
    endProcessBySignal(signal);
}

void terminateHandler()
{
    // An escaped exception: std::abort raises SIGABRT, which the handler
    // reports like any other fault.
    crashLog("ERROR: terminate called (uncaught exception)");
    abort();
}

struct AltStack {
    std::unique_ptr<char[]> memory;
    ~AltStack()
    {
        if (memory) {
            stack_t disable{};
            disable.ss_flags = SS_DISABLE;
            sigaltstack(&disable, nullptr);
        }
    }
};

thread_local AltStack tAltStack;

}  // namespace

uint32_t exceptionCodeForSignal(int signal, int code)
{
    switch (signal) {
    case SIGSEGV:
    case SIGBUS:
        return 0xC0000005;
    case SIGFPE:
        if (code == FPE_INTDIV)
            return 0xC0000094;
        if (code == FPE_INTOVF)
            return 0xC0000095;
        return 0xC0000090;
    case SIGILL:
        return 0xC000001D;
    case SIGTRAP:
        return 0x80000003;
    case SIGABRT:
        return 0x40000015;
    default:
        return 0xE0000000u | uint32_t(signal);
    }
}

void installCrashHandlerStackForThread()
{
    if (tAltStack.memory)
        return;
    recordStackBounds();
    const size_t size = 256 * 1024;  // the report formats lines on this stack
    tAltStack.memory.reset(new char[size]);
    stack_t stack{};
    stack.ss_sp = tAltStack.memory.get();
    stack.ss_size = size;
    sigaltstack(&stack, nullptr);
}

void installCrashHandler()
{
    installCrashHandlerStackForThread();
    for (int signal : kCrashSignals) {
        struct sigaction action {};
        action.sa_sigaction = crashSignalHandler;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(signal, &action, nullptr);
    }
    std::set_terminate(terminateHandler);
}

}  // namespace VQ
