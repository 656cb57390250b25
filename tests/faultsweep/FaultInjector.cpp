// Preloaded into a program to fail one chosen call of the C library: the Nth file
// open, read, write, seek, flush, close, folder creation, removal or allocation made
// after the program first opens a given file. Without a call to fail it only counts.
//
//   OVRA_FAULT_ARM   the path whose first opening starts the counting
//   OVRA_FAULT_FAIL  "kind:n", the call to fail (kinds as in kKindNames, n from 1)
//   OVRA_FAULT_LOG   where the counts, the injected call and the streams still open
//                    when the program exits are written
//   OVRA_FAULT_WATCH a folder: streams opened below it must be closed before exit
//
// Preloaded ahead of AddressSanitizer's runtime (with verify_asan_link_order=0), so
// allocations reach the sanitizer's allocator through this library and every leak
// or bad access a failure path causes is still found. Built without sanitizers.
#include <dlfcn.h>
#include <fcntl.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <new>

namespace {

enum EKind { kOpen, kRead, kWrite, kSeek, kFlush, kClose, kFolder, kRemove, kAlloc, kKindCount };
const char* const kKindNames[kKindCount] = {"open", "read", "write", "seek", "flush", "close", "mkdir", "remove", "alloc"};

constexpr size_t kPathSize = 4096;
constexpr int kWatchSlots = 64;

struct SWatched
{
    FILE* pFile;
    char path[kPathSize];
};

struct SState
{
    bool bConfigured = false;
    bool bArmed = false;
    long counts[kKindCount] = {};
    int nFailKind = -1;
    long nFailAt = 0;
    char armPath[kPathSize] = {};
    char logPath[kPathSize] = {};
    char watchFolder[kPathSize] = {};
    SWatched watched[kWatchSlots] = {};
    FILE* readOnly[kWatchSlots] = {};
};

SState g_state;
// Calls the injector makes itself, or that a counted call makes inside the C library
// (operator new calling malloc), are not counted again.
__attribute__((tls_model("initial-exec"))) thread_local int t_nDepth = 0;

// dlsym may allocate before the real allocator is known: those few blocks come from here.
alignas(std::max_align_t) unsigned char g_arena[65536];
size_t g_nArenaUsed = 0;
__attribute__((tls_model("initial-exec"))) thread_local bool t_bResolving = false;

bool InArena(const void* p)
{
    return p >= g_arena && p < g_arena + sizeof g_arena;
}

void* ArenaAllocate(size_t size)
{
    const size_t rounded = (size + 15) & ~size_t{15};
    if (g_nArenaUsed + rounded > sizeof g_arena)
        return nullptr;
    void* p = g_arena + g_nArenaUsed;
    g_nArenaUsed += rounded;
    return p;
}

template <typename Fn>
Fn Real(Fn& slot, const char* name)
{
    if (!slot && !t_bResolving) {
        t_bResolving = true;
        slot = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, name));
        t_bResolving = false;
    }
    return slot;
}

#define REAL(name) Real(s_real_##name, #name)
#define DECLARE_REAL(ret, name, ...) ret (*s_real_##name)(__VA_ARGS__) = nullptr

DECLARE_REAL(void*, malloc, size_t);
DECLARE_REAL(void*, calloc, size_t, size_t);
DECLARE_REAL(void*, realloc, void*, size_t);
DECLARE_REAL(void, free, void*);
DECLARE_REAL(int, posix_memalign, void**, size_t, size_t);
DECLARE_REAL(void*, aligned_alloc, size_t, size_t);
DECLARE_REAL(FILE*, fopen, const char*, const char*);
DECLARE_REAL(FILE*, fopen64, const char*, const char*);
DECLARE_REAL(size_t, fread, void*, size_t, size_t, FILE*);
DECLARE_REAL(size_t, fwrite, const void*, size_t, size_t, FILE*);
DECLARE_REAL(int, fseek, FILE*, long, int);
DECLARE_REAL(int, fseeko, FILE*, off_t, int);
DECLARE_REAL(int, fseeko64, FILE*, off64_t, int);
DECLARE_REAL(int, fsetpos, FILE*, const fpos_t*);
DECLARE_REAL(int, fsetpos64, FILE*, const fpos64_t*);
DECLARE_REAL(int, fflush, FILE*);
DECLARE_REAL(int, fclose, FILE*);
DECLARE_REAL(int, open, const char*, int, ...);
DECLARE_REAL(int, open64, const char*, int, ...);
DECLARE_REAL(ssize_t, read, int, void*, size_t);
DECLARE_REAL(ssize_t, write, int, const void*, size_t);
DECLARE_REAL(int, close, int);
DECLARE_REAL(int, mkdir, const char*, mode_t);
DECLARE_REAL(int, remove, const char*);
DECLARE_REAL(int, unlink, const char*);
DECLARE_REAL(void*, _Znwm, size_t);
DECLARE_REAL(void*, _Znam, size_t);
DECLARE_REAL(void*, _ZnwmSt11align_val_t, size_t, std::align_val_t);
DECLARE_REAL(void*, _ZnamSt11align_val_t, size_t, std::align_val_t);

// The allocator is looked up as a whole: a block is never freed by another
// allocator than the one it came from. False while it is not known yet.
bool ResolveAllocator()
{
    if (s_real_free)
        return true;
    if (t_bResolving)
        return false;
    t_bResolving = true;
    const auto m = reinterpret_cast<decltype(s_real_malloc)>(dlsym(RTLD_NEXT, "malloc"));
    const auto c = reinterpret_cast<decltype(s_real_calloc)>(dlsym(RTLD_NEXT, "calloc"));
    const auto r = reinterpret_cast<decltype(s_real_realloc)>(dlsym(RTLD_NEXT, "realloc"));
    const auto f = reinterpret_cast<decltype(s_real_free)>(dlsym(RTLD_NEXT, "free"));
    t_bResolving = false;
    if (!m || !c || !r || !f)
        return false;
    s_real_malloc = m;
    s_real_calloc = c;
    s_real_realloc = r;
    s_real_free = f;
    return true;
}

struct CDepth
{
    CDepth() { ++t_nDepth; }
    ~CDepth() { --t_nDepth; }
};

void CopyEnv(char* target, const char* name)
{
    const char* value = getenv(name);
    if (value)
        strncpy(target, value, kPathSize - 1);
}

void Configure()
{
    if (g_state.bConfigured)
        return;
    g_state.bConfigured = true;
    CopyEnv(g_state.armPath, "OVRA_FAULT_ARM");
    CopyEnv(g_state.logPath, "OVRA_FAULT_LOG");
    CopyEnv(g_state.watchFolder, "OVRA_FAULT_WATCH");
    const char* fail = getenv("OVRA_FAULT_FAIL");
    if (!fail)
        return;
    const char* colon = strchr(fail, ':');
    for (int kind = 0; colon && kind < kKindCount; ++kind) {
        if (strlen(kKindNames[kind]) == static_cast<size_t>(colon - fail) &&
            strncmp(fail, kKindNames[kind], static_cast<size_t>(colon - fail)) == 0) {
            g_state.nFailKind = kind;
            g_state.nFailAt = atol(colon + 1);
        }
    }
}

void Log(const char* text)
{
    if (g_state.logPath[0] == '\0')
        return;
    CDepth depth;
    const int fd = REAL(open)(g_state.logPath, O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd < 0)
        return;
    const size_t length = strlen(text);
    if (REAL(write)(fd, text, length) != static_cast<ssize_t>(length)) {
        // Nothing else to tell it to: the sweep notices the missing line.
    }
    REAL(close)(fd);
}

void CheckStreamsAtExit()
{
    char line[kPathSize + 64];
    for (const SWatched& slot : g_state.watched) {
        if (slot.pFile) {
            snprintf(line, sizeof line, "open-at-exit %s\n", slot.path);
            Log(line);
        }
    }
}

bool SameText(const char* a, const char* b)
{
    while (*a && *a == *b)
        ++a, ++b;
    return *a == *b;
}

void Arm(const char* path)
{
    if (g_state.bArmed || !path)
        return;
    Configure();
    if (g_state.armPath[0] == '\0' || !SameText(path, g_state.armPath))
        return;
    // Registered now, after the program's own static objects: runs before they are destroyed.
    atexit(CheckStreamsAtExit);
    g_state.bArmed = true;
}

// True when this call is the one to fail. Nothing here may call into the C library
// before the program is armed: a sanitizer still setting itself up intercepts it.
bool Counted(EKind kind, const char* what, size_t size = 0)
{
    if (!g_state.bArmed || t_nDepth > 0 || t_bResolving)
        return false;
    const long n = ++g_state.counts[kind];
    if (kind != g_state.nFailKind || n != g_state.nFailAt)
        return false;
    char line[kPathSize + 64];
    if (what)
        snprintf(line, sizeof line, "injected %s %ld %s\n", kKindNames[kind], n, what);
    else
        snprintf(line, sizeof line, "injected %s %ld %zu bytes\n", kKindNames[kind], n, size);
    Log(line);
    return true;
}

bool Watched(const char* path)
{
    const size_t length = strlen(g_state.watchFolder);
    return length > 0 && strncmp(path, g_state.watchFolder, length) == 0;
}

void Watch(FILE* file, const char* path)
{
    if (!file || !Watched(path))
        return;
    for (SWatched& slot : g_state.watched) {
        if (!slot.pFile) {
            slot.pFile = file;
            strncpy(slot.path, path, kPathSize - 1);
            return;
        }
    }
}

void Unwatch(FILE* file)
{
    for (SWatched& slot : g_state.watched) {
        if (slot.pFile == file)
            slot.pFile = nullptr;
    }
}

// Streams opened only for reading: losing their close loses nothing, which the log says.
void Remember(FILE* file, const char* mode)
{
    if (!file || mode[0] != 'r' || strchr(mode, '+'))
        return;
    for (FILE*& slot : g_state.readOnly) {
        if (!slot) {
            slot = file;
            return;
        }
    }
}

void Forget(FILE* file)
{
    for (FILE*& slot : g_state.readOnly) {
        if (slot == file)
            slot = nullptr;
    }
}

const char* StreamText(FILE* file, const char* call)
{
    for (FILE* slot : g_state.readOnly) {
        if (slot == file) {
            static char text[64];
            snprintf(text, sizeof text, "%s of a read-only stream", call);
            return text;
        }
    }
    return call;
}

void MarkError(FILE* file, int error)
{
    // What the library does itself when the system call under it fails.
    if (file)
        file->_flags |= _IO_ERR_SEEN;
    errno = error;
}

template <typename Fn>
FILE* OpenStream(Fn real, const char* path, const char* mode)
{
    Arm(path);
    if (Counted(kOpen, path)) {
        errno = EACCES;
        return nullptr;
    }
    FILE* file;
    {
        CDepth depth;
        file = real(path, mode);
    }
    if (g_state.bArmed) {
        Watch(file, path);
        Remember(file, mode);
    }
    return file;
}

void WriteCounts()
{
    if (!g_state.bArmed)
        return;
    char line[128];
    for (int kind = 0; kind < kKindCount; ++kind) {
        snprintf(line, sizeof line, "count %s %ld\n", kKindNames[kind], g_state.counts[kind]);
        Log(line);
    }
}

__attribute__((destructor)) void AtUnload()
{
    WriteCounts();
}

// False for the allocation to fail.
bool AllocationAllowed(size_t size)
{
    return !Counted(kAlloc, nullptr, size);
}

// The console is not part of the extraction path: its streams are never failed.
bool IsConsole(FILE* file)
{
    return !file || file == stdin || file == stdout || file == stderr;
}

} // namespace

extern "C" {

// Until the next allocator is known (the dynamic linker allocates while it looks it
// up, and so does a sanitizer setting itself up) blocks come from the arena.
void* malloc(size_t size)
{
    if (!ResolveAllocator())
        return ArenaAllocate(size);
    if (!AllocationAllowed(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return s_real_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    // The arena is zero-filled and never reused.
    if (!ResolveAllocator())
        return ArenaAllocate(count * size);
    if (!AllocationAllowed(count * size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return s_real_calloc(count, size);
}

void* realloc(void* address, size_t size)
{
    if (InArena(address)) {
        // The old size is unknown; the arena's end bounds the copy.
        void* moved = malloc(size);
        if (moved) {
            const size_t available = static_cast<size_t>(g_arena + sizeof g_arena - static_cast<unsigned char*>(address));
            memcpy(moved, address, size < available ? size : available);
        }
        return moved;
    }
    if (!ResolveAllocator())
        return address ? nullptr : ArenaAllocate(size);
    if (!AllocationAllowed(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return s_real_realloc(address, size);
}

void free(void* address)
{
    // Before the allocator is known every block comes from the arena.
    if (!address || InArena(address) || !ResolveAllocator())
        return;
    s_real_free(address);
}

int posix_memalign(void** result, size_t alignment, size_t size)
{
    if (!AllocationAllowed(size))
        return ENOMEM;
    return REAL(posix_memalign)(result, alignment, size);
}

void* aligned_alloc(size_t alignment, size_t size)
{
    if (!AllocationAllowed(size)) {
        errno = ENOMEM;
        return nullptr;
    }
    return REAL(aligned_alloc)(alignment, size);
}

FILE* fopen(const char* path, const char* mode)
{
    return OpenStream(REAL(fopen), path, mode);
}

FILE* fopen64(const char* path, const char* mode)
{
    return OpenStream(REAL(fopen64), path, mode);
}

size_t fread(void* buffer, size_t size, size_t count, FILE* file)
{
    if (!IsConsole(file) && Counted(kRead, "fread")) {
        MarkError(file, EIO);
        return 0;
    }
    CDepth depth;
    return REAL(fread)(buffer, size, count, file);
}

size_t fwrite(const void* bytes, size_t size, size_t count, FILE* file)
{
    if (!IsConsole(file) && Counted(kWrite, "fwrite")) {
        MarkError(file, ENOSPC);
        return 0;
    }
    CDepth depth;
    return REAL(fwrite)(bytes, size, count, file);
}

int fseek(FILE* file, long offset, int whence)
{
    if (!IsConsole(file) && Counted(kSeek, "fseek")) {
        errno = EIO;
        return -1;
    }
    CDepth depth;
    return REAL(fseek)(file, offset, whence);
}

int fseeko(FILE* file, off_t offset, int whence)
{
    if (!IsConsole(file) && Counted(kSeek, "fseeko")) {
        errno = EIO;
        return -1;
    }
    CDepth depth;
    return REAL(fseeko)(file, offset, whence);
}

int fseeko64(FILE* file, off64_t offset, int whence)
{
    if (!IsConsole(file) && Counted(kSeek, "fseeko64")) {
        errno = EIO;
        return -1;
    }
    CDepth depth;
    return REAL(fseeko64)(file, offset, whence);
}

int fsetpos(FILE* file, const fpos_t* position)
{
    if (!IsConsole(file) && Counted(kSeek, "fsetpos")) {
        errno = EIO;
        return -1;
    }
    CDepth depth;
    return REAL(fsetpos)(file, position);
}

int fsetpos64(FILE* file, const fpos64_t* position)
{
    if (!IsConsole(file) && Counted(kSeek, "fsetpos64")) {
        errno = EIO;
        return -1;
    }
    CDepth depth;
    return REAL(fsetpos64)(file, position);
}

int fflush(FILE* file)
{
    if (!IsConsole(file) && Counted(kFlush, StreamText(file, "fflush"))) {
        MarkError(file, EIO);
        return EOF;
    }
    CDepth depth;
    return REAL(fflush)(file);
}

int fclose(FILE* file)
{
    const bool fail = !IsConsole(file) && Counted(kClose, StreamText(file, "fclose"));
    Unwatch(file);
    Forget(file);
    int result;
    {
        CDepth depth;
        result = REAL(fclose)(file);
    }
    // The stream is gone either way, as with a real failure; only the result differs.
    if (fail) {
        errno = EIO;
        return EOF;
    }
    return result;
}

int open(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
    va_end(args);
    Arm(path);
    if (Counted(kOpen, path)) {
        errno = EACCES;
        return -1;
    }
    return REAL(open)(path, flags, mode);
}

int open64(const char* path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? static_cast<mode_t>(va_arg(args, int)) : 0;
    va_end(args);
    Arm(path);
    if (Counted(kOpen, path)) {
        errno = EACCES;
        return -1;
    }
    return REAL(open64)(path, flags, mode);
}

ssize_t read(int fd, void* buffer, size_t size)
{
    if (fd > 2 && Counted(kRead, "read")) {
        errno = EIO;
        return -1;
    }
    return REAL(read)(fd, buffer, size);
}

ssize_t write(int fd, const void* bytes, size_t size)
{
    if (fd > 2 && Counted(kWrite, "write")) {
        errno = ENOSPC;
        return -1;
    }
    return REAL(write)(fd, bytes, size);
}

int close(int fd)
{
    const bool fail = fd > 2 && Counted(kClose, "close");
    const int result = REAL(close)(fd);
    if (fail) {
        errno = EIO;
        return -1;
    }
    return result;
}

int mkdir(const char* path, mode_t mode)
{
    if (Counted(kFolder, path)) {
        errno = EACCES;
        return -1;
    }
    return REAL(mkdir)(path, mode);
}

int remove(const char* path)
{
    if (Counted(kRemove, path)) {
        errno = EACCES;
        return -1;
    }
    CDepth depth;
    return REAL(remove)(path);
}

int unlink(const char* path)
{
    if (Counted(kRemove, path)) {
        errno = EACCES;
        return -1;
    }
    return REAL(unlink)(path);
}

} // extern "C"

// operator new reaches the allocator without malloc under AddressSanitizer, so it is
// a fault point of its own; the malloc it calls otherwise is not counted twice.
void* operator new(size_t size)
{
    if (!AllocationAllowed(size))
        throw std::bad_alloc();
    CDepth depth;
    return REAL(_Znwm)(size);
}

void* operator new[](size_t size)
{
    if (!AllocationAllowed(size))
        throw std::bad_alloc();
    CDepth depth;
    return REAL(_Znam)(size);
}

void* operator new(size_t size, std::align_val_t alignment)
{
    if (!AllocationAllowed(size))
        throw std::bad_alloc();
    CDepth depth;
    return REAL(_ZnwmSt11align_val_t)(size, alignment);
}

void* operator new[](size_t size, std::align_val_t alignment)
{
    if (!AllocationAllowed(size))
        throw std::bad_alloc();
    CDepth depth;
    return REAL(_ZnamSt11align_val_t)(size, alignment);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](size_t size, const std::nothrow_t&) noexcept
{
    try {
        return operator new[](size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
