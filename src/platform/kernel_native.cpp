// Native stand-ins for the kernel and USER calls of the platform-neutral core.
#ifndef _WIN32
#include "platform/kernel_native.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

struct NativeGlobal {
    unsigned char* data;
    SIZE_T size;
    int locks;
};

namespace {

std::unordered_set<NativeGlobal*>& LiveGlobals()
{
    static std::unordered_set<NativeGlobal*> live;
    return live;
}

long failCountdown = -1;

bool AllocationFails()
{
    if (failCountdown < 0)
        return false;
    if (failCountdown == 0) {
        failCountdown = -1;
        return true;
    }
    --failCountdown;
    return false;
}

NativeGlobal* Known(HGLOBAL mem)
{
    if (mem == nullptr || LiveGlobals().count(mem) == 0)
        return nullptr;
    return mem;
}

}  // namespace

void NativeFailAllocation(long after) { failCountdown = after; }

long NativeLiveGlobals() { return static_cast<long>(LiveGlobals().size()); }

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes)
{
    if (AllocationFails())
        return nullptr;
    // Windows hands out a block even for 0 bytes when it is movable; keep a
    // real allocation so that the sanitizers see every access. calloc gives
    // large zeroed blocks without touching them.
    const SIZE_T capacity = bytes ? bytes : 1;
    auto* data = static_cast<unsigned char*>((flags & GMEM_ZEROINIT) ? std::calloc(1, capacity) : std::malloc(capacity));
    if (data == nullptr)
        return nullptr;
    auto* mem = new NativeGlobal{data, bytes, 0};
    LiveGlobals().insert(mem);
    return mem;
}

HGLOBAL GlobalReAlloc(HGLOBAL handle, SIZE_T bytes, UINT flags)
{
    NativeGlobal* mem = Known(handle);
    if (mem == nullptr || AllocationFails())
        return nullptr;
    if (bytes <= mem->size) {
        // Shrinking gives memory back; the C library may keep the data in
        // place, as Windows does (under AddressSanitizer it moves).
        auto* data = static_cast<unsigned char*>(std::realloc(mem->data, bytes ? bytes : 1));
        if (data == nullptr)
            return nullptr;
        mem->data = data;
        mem->size = bytes;
        return mem;
    }
    // Growing always moves the data, so that a pointer kept across the
    // reallocation is caught by AddressSanitizer.
    auto* data = static_cast<unsigned char*>(std::calloc(1, bytes));
    if (data == nullptr)
        return nullptr;
    std::memcpy(data, mem->data, mem->size);
    if (!(flags & GMEM_ZEROINIT))
        std::memset(data + mem->size, 0xCD, bytes - mem->size);
    std::free(mem->data);
    mem->data = data;
    mem->size = bytes;
    return mem;
}

void* GlobalLock(HGLOBAL handle)
{
    NativeGlobal* mem = Known(handle);
    if (mem == nullptr)
        return nullptr;
    ++mem->locks;
    return mem->data;
}

BOOL GlobalUnlock(HGLOBAL handle)
{
    NativeGlobal* mem = Known(handle);
    if (mem == nullptr || mem->locks == 0)
        return FALSE;
    return --mem->locks > 0;
}

HGLOBAL GlobalFree(HGLOBAL handle)
{
    NativeGlobal* mem = Known(handle);
    if (mem == nullptr)
        return handle;
    LiveGlobals().erase(mem);
    std::free(mem->data);
    delete mem;
    return nullptr;
}

SIZE_T GlobalSize(HGLOBAL handle)
{
    NativeGlobal* mem = Known(handle);
    return mem ? mem->size : 0;
}

HFILE _lopen(LPCSTR path, int mode)
{
    int flags = (mode & 3) == OF_WRITE ? O_WRONLY : (mode & 3) == OF_READWRITE ? O_RDWR : O_RDONLY;
    int fd = open(path, flags);
    return fd < 0 ? HFILE_ERROR : fd;
}

HFILE _lcreat(LPCSTR path, int /*attributes*/)
{
    int fd = open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
    return fd < 0 ? HFILE_ERROR : fd;
}

LONG _llseek(HFILE file, LONG offset, int origin)
{
    int whence = origin == FILE_CURRENT ? SEEK_CUR : origin == FILE_END ? SEEK_END : SEEK_SET;
    off_t at = lseek(file, offset, whence);
    // The old call reports positions as a 32-bit LONG; a file beyond that
    // cannot be addressed.
    if (at < 0 || at > 0x7FFFFFFF)
        return HFILE_ERROR;
    return static_cast<LONG>(at);
}

UINT _lread(HFILE file, void* buffer, UINT bytes)
{
    UINT done = 0;
    auto* out = static_cast<unsigned char*>(buffer);
    while (done < bytes) {
        ssize_t got = read(file, out + done, bytes - done);
        if (got < 0)
            return static_cast<UINT>(HFILE_ERROR);
        if (got == 0)
            break;
        done += static_cast<UINT>(got);
    }
    return done;
}

UINT _lwrite(HFILE file, LPCSTR buffer, UINT bytes)
{
    UINT done = 0;
    while (done < bytes) {
        ssize_t put = write(file, buffer + done, bytes - done);
        if (put <= 0)
            return static_cast<UINT>(HFILE_ERROR);
        done += static_cast<UINT>(put);
    }
    return done;
}

HFILE _lclose(HFILE file) { return close(file) == 0 ? 0 : HFILE_ERROR; }

struct NativeWindow {
    NativeWindow* parent;
    int id;
    LONG_PTR userData;
    std::vector<NativeWindow*> children;
    std::vector<std::pair<std::string, LPARAM>> items;
};

namespace {

std::unordered_set<NativeWindow*>& LiveWindows()
{
    static std::unordered_set<NativeWindow*> live;
    return live;
}

NativeWindow* KnownWindow(HWND window)
{
    if (window == nullptr || LiveWindows().count(window) == 0)
        return nullptr;
    return window;
}

}  // namespace

HWND NativeCreateWindow(HWND parent, int id)
{
    auto* window = new NativeWindow{KnownWindow(parent), id, 0, {}, {}};
    if (window->parent)
        window->parent->children.push_back(window);
    LiveWindows().insert(window);
    return window;
}

void NativeDestroyWindow(HWND handle)
{
    NativeWindow* window = KnownWindow(handle);
    if (window == nullptr)
        return;
    while (!window->children.empty())
        NativeDestroyWindow(window->children.back());
    if (window->parent) {
        auto& siblings = window->parent->children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), window), siblings.end());
    }
    LiveWindows().erase(window);
    delete window;
}

BOOL IsWindow(HWND window) { return KnownWindow(window) != nullptr; }

HWND GetDlgItem(HWND handle, int id)
{
    NativeWindow* window = KnownWindow(handle);
    if (window == nullptr)
        return nullptr;
    for (NativeWindow* child : window->children)
        if (child->id == id)
            return child;
    return nullptr;
}

LONG_PTR GetWindowLongPtrA(HWND handle, int index)
{
    NativeWindow* window = KnownWindow(handle);
    return window && index == GWLP_USERDATA ? window->userData : 0;
}

LONG_PTR SetWindowLongPtrA(HWND handle, int index, LONG_PTR value)
{
    NativeWindow* window = KnownWindow(handle);
    if (window == nullptr || index != GWLP_USERDATA)
        return 0;
    LONG_PTR previous = window->userData;
    window->userData = value;
    return previous;
}

// A list box without sorting: the messages the block store sends, with the
// results a real one gives.
LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    NativeWindow* window = KnownWindow(handle);
    if (window == nullptr)
        return 0;
    auto& items = window->items;
    const bool inRange = wParam < items.size();
    switch (message) {
    case LB_ADDSTRING:
        items.emplace_back(lParam ? reinterpret_cast<const char*>(lParam) : "", 0);
        return static_cast<LRESULT>(items.size() - 1);
    case LB_DELETESTRING:
        if (!inRange)
            return LB_ERR;
        items.erase(items.begin() + static_cast<std::ptrdiff_t>(wParam));
        return static_cast<LRESULT>(items.size());
    case LB_RESETCONTENT:
        items.clear();
        return 0;
    case LB_GETCOUNT:
        return static_cast<LRESULT>(items.size());
    case LB_GETITEMDATA:
        return inRange ? items[wParam].second : LB_ERR;
    case LB_SETITEMDATA:
        if (!inRange)
            return LB_ERR;
        items[wParam].second = lParam;
        return 0;
    default:
        return 0;
    }
}

// No screen natively: tools that need a size pass their own.
int GetSystemMetrics(int /*index*/) { return 0; }
#endif
