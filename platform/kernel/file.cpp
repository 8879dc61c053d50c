// Files: what kind of thing a path names, without opening it (opening a pipe or a
// device can block, or have effects of its own), and moving one into place.
#include <sys/stat.h>

#include <cstdio>

#include "../win32.h"

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    struct stat info;
    if (!path || stat(path, &info) != 0) return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISREG(info.st_mode)) return FILE_ATTRIBUTE_NORMAL;
    // Pipes, sockets and devices: Win32 calls what is not a file or folder a device.
    return FILE_ATTRIBUTE_DEVICE;
}

extern "C" BOOL WINAPI MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
    if (!existing || !target) return FALSE;
    struct stat info;
    if (!(flags & MOVEFILE_REPLACE_EXISTING) && stat(target, &info) == 0) return FALSE;
    // rename() replaces the target in one step: readers see the old file or the new one.
    return std::rename(existing, target) == 0 ? TRUE : FALSE;
}
