// Movable memory blocks. A handle names a block whose storage may move while it is
// unlocked; here it never moves, but locks are counted as Win32 counts them.
#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "../win32.h"

namespace {

struct Block {
    void* data;
    SIZE_T size;
    unsigned locks;
    bool moveable;
};

// Handles are addresses of Block records; the set of live ones refuses stale handles.
std::unordered_map<HGLOBAL, Block*>& blocks() {
    // Never destroyed: blocks stay valid until the process is gone, exit handlers
    // included.
    static auto& b = *new std::unordered_map<HGLOBAL, Block*>;
    return b;
}

Block* find(HGLOBAL mem) {
    auto& b = blocks();
    auto it = b.find(mem);
    return it == b.end() ? nullptr : it->second;
}

}  // namespace

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes) {
    void* data = std::malloc(bytes ? bytes : 1);
    if (!data) return nullptr;
    if (flags & GMEM_ZEROINIT) std::memset(data, 0, bytes);
    auto* block = new Block{data, bytes, 0, (flags & GMEM_MOVEABLE) != 0};
    HGLOBAL handle = block->moveable ? static_cast<HGLOBAL>(block) : data;
    blocks()[handle] = block;
    return handle;
}

LPVOID WINAPI GlobalLock(HGLOBAL mem) {
    Block* b = find(mem);
    if (!b) return nullptr;
    if (b->moveable && b->locks < 0xFF) ++b->locks;
    return b->data;
}

BOOL WINAPI GlobalUnlock(HGLOBAL mem) {
    Block* b = find(mem);
    if (!b || !b->moveable || b->locks == 0) return FALSE;
    return --b->locks != 0;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL mem) {
    Block* b = find(mem);
    if (!b) return mem;  // failure: the handle is returned
    blocks().erase(mem);
    std::free(b->data);
    delete b;
    return nullptr;
}

}  // extern "C"
