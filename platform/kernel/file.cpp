// File attributes: what kind of thing a path names, without opening it (opening a pipe
// or a device can block, or have effects of its own).
#include <sys/stat.h>

#include "../win32.h"

extern "C" DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    struct stat info;
    if (!path || stat(path, &info) != 0) return INVALID_FILE_ATTRIBUTES;
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISREG(info.st_mode)) return FILE_ATTRIBUTE_NORMAL;
    // Pipes, sockets and devices: Win32 calls what is not a file or folder a device.
    return FILE_ATTRIBUTE_DEVICE;
}
