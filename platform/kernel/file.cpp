// Files: what kind of thing a path names, without opening it (opening a pipe or a
// device can block, or have effects of its own), new files created exclusively, and
// moving one into place. Failures set the calling thread's last error as Win32 does.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "../win32.h"

namespace {

thread_local DWORD last_error = 0;

// The Win32 error a failed call of the C library stands for, as Win32 reports it for
// the same failure (Wine's answers where the documentation is silent).
DWORD error_of(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return ERROR_PATH_NOT_FOUND;
        case EEXIST:
            return ERROR_FILE_EXISTS;
        case EACCES:
        case EPERM:
        case EISDIR:
        case EBUSY:
            return ERROR_ACCESS_DENIED;
        case EROFS:
            return ERROR_WRITE_PROTECT;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return ERROR_DISK_FULL;
        case ENAMETOOLONG:
            return ERROR_FILENAME_EXCED_RANGE;
        case EMFILE:
        case ENFILE:
            return ERROR_TOO_MANY_OPEN_FILES;
        case ENOMEM:
            return ERROR_NOT_ENOUGH_MEMORY;
        case EINVAL:
            return ERROR_INVALID_NAME;
        case EBADF:
            return ERROR_INVALID_HANDLE;
        case EIO:
            return ERROR_WRITE_FAULT;
        default:
            return ERROR_GEN_FAILURE;
    }
}

BOOL fail(DWORD error) {
    last_error = error;
    return FALSE;
}

// File handles are descriptors in a form no pointer takes (pointers are aligned), so
// that a handle of another kind is refused.
HANDLE handle_of(int fd) { return reinterpret_cast<HANDLE>((static_cast<intptr_t>(fd) << 2) | 2); }
int fd_of(HANDLE handle) {
    const intptr_t v = reinterpret_cast<intptr_t>(handle);
    return handle != INVALID_HANDLE_VALUE && v > 0 && (v & 3) == 2 ? static_cast<int>(v >> 2) : -1;
}

// Moves `existing` to `target` only if nothing has that name, in one step: a name
// taken meanwhile by another program is never replaced.
bool move_without_replacing(const char* existing, const char* target) {
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, existing, AT_FDCWD, target, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;  // EINVAL: the file system cannot
#endif
    // A second name, then the first one goes: link() never replaces what it finds.
    if (link(existing, target) == 0) {
        unlink(existing);
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != ENOSYS && errno != EMLINK) return false;
    // A file system without hard links (a web page's has none, and says EMLINK): the
    // check and the move are two steps there.
    struct stat info;
    if (lstat(target, &info) == 0) {
        errno = EEXIST;
        return false;
    }
    return std::rename(existing, target) == 0;
}

}  // namespace

extern "C" {

DWORD WINAPI GetLastError(void) { return last_error; }
void WINAPI SetLastError(DWORD error) { last_error = error; }
DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    struct stat info;
    if (!path || stat(path, &info) != 0) {
        last_error = path ? error_of(errno) : ERROR_INVALID_PARAMETER;
        return INVALID_FILE_ATTRIBUTES;
    }
    if (S_ISDIR(info.st_mode)) return FILE_ATTRIBUTE_DIRECTORY;
    // A file nobody may write to is read-only, as Wine shows it.
    if (S_ISREG(info.st_mode))
        return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) ? FILE_ATTRIBUTE_NORMAL : FILE_ATTRIBUTE_READONLY;
    // Pipes, sockets and devices: Win32 calls what is not a file or folder a device.
    return FILE_ATTRIBUTE_DEVICE;
}

BOOL WINAPI MoveFileExA(LPCSTR existing, LPCSTR target, DWORD flags) {
    if (!existing || !target) return fail(ERROR_INVALID_PARAMETER);
    if (!(flags & MOVEFILE_REPLACE_EXISTING)) {
        if (move_without_replacing(existing, target)) return TRUE;
        return fail(errno == EEXIST ? ERROR_ALREADY_EXISTS : error_of(errno));
    }
    // rename() replaces the target in one step: readers see the old file or the new one.
    if (std::rename(existing, target) == 0) return TRUE;
    return fail(errno == ENOENT && access(existing, F_OK) != 0 ? ERROR_FILE_NOT_FOUND : error_of(errno));
}

BOOL WINAPI DeleteFileA(LPCSTR path) {
    if (!path) return fail(ERROR_INVALID_PARAMETER);
    if (unlink(path) == 0) return TRUE;
    return fail(errno == ENOENT ? ERROR_FILE_NOT_FOUND : error_of(errno));
}

HANDLE WINAPI CreateFileA(LPCSTR path, DWORD access, DWORD, void*, DWORD disposition, DWORD, HANDLE) {
    if (!path || access != GENERIC_WRITE || disposition != CREATE_NEW) {
        last_error = ERROR_INVALID_PARAMETER;
        return INVALID_HANDLE_VALUE;
    }
    // O_EXCL with O_CREAT never follows a link at the name: whatever is there, the call
    // fails and leaves it as it is.
    const int fd = open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        last_error = error_of(errno);
        return INVALID_HANDLE_VALUE;
    }
    return handle_of(fd);
}

BOOL WINAPI WriteFile(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, void* overlapped) {
    if (written) *written = 0;
    const int fd = fd_of(file);
    if (fd < 0) return fail(ERROR_INVALID_HANDLE);
    if (overlapped || (!data && count)) return fail(ERROR_INVALID_PARAMETER);
    const char* p = static_cast<const char*>(data);
    DWORD done = 0;
    while (done < count) {
        const ssize_t n = write(fd, p + done, count - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (written) *written = done;
            return fail(n == 0 ? ERROR_DISK_FULL : error_of(errno));
        }
        done += static_cast<DWORD>(n);
    }
    if (written) *written = done;
    return TRUE;
}

BOOL WINAPI CloseHandle(HANDLE handle) {
    const int fd = fd_of(handle);
    if (fd < 0) return fail(ERROR_INVALID_HANDLE);
    // A write that the file system reports only now (a full disk over the network)
    // fails the close.
    if (close(fd) != 0 && errno != EINTR) return fail(error_of(errno));
    return TRUE;
}

}  // extern "C"
