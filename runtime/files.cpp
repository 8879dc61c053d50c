// Files the runtime writes whole: pictures, animations, the run report. Each is written
// under a temporary name created exclusively beside its place and then moved there, so
// that a reader sees a whole file or the one it replaces, nothing already sitting at a
// name (a file, or a link to one elsewhere) is ever written through, and only a plain
// file is replaced.
#include <cstdio>
#include <string>

#include "runtime.h"

// The reason of a failed file call, in the words the C library uses for it, the same
// on every host.
const char* file_error_text(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return "No such file or directory";
        case ERROR_ACCESS_DENIED:
            return "Permission denied";
        case ERROR_WRITE_PROTECT:
            return "Read-only file system";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "No space left on device";
        case ERROR_FILENAME_EXCED_RANGE:
            return "File name too long";
        case ERROR_INVALID_NAME:
            return "Invalid file name";
        case ERROR_TOO_MANY_OPEN_FILES:
            return "Too many open files";
        case ERROR_NOT_ENOUGH_MEMORY:
            return "Not enough memory";
        default:
            return "Input/output error";
    }
}

// Why what has this name cannot be replaced by a picture, or nullptr when it can (a
// plain file that may be written, or nothing).
const char* file_not_replaceable(const char* path) {
    const DWORD kind = GetFileAttributesA(path);
    if (kind == INVALID_FILE_ATTRIBUTES) return nullptr;
    if (kind & FILE_ATTRIBUTE_DIRECTORY) return "is a folder";
    if (kind & FILE_ATTRIBUTE_DEVICE) return "is not a regular file";
    if (kind & FILE_ATTRIBUTE_READONLY) return "is read-only";
    return nullptr;
}

namespace {

// Writes `bytes` to a new file of a name no one else has, in the folder of `path`:
// created exclusively, so that nothing already there (a file, or a link to one
// elsewhere) is ever written through, and short, whatever the length of `path`. On
// failure returns false with the Win32 error.
bool write_temporary(const char* path, const void* bytes, size_t size, std::string* name, DWORD* error) {
    const char* base = path;
    for (const char* p = path; *p; ++p)
        if (*p == '/' || *p == '\\' || *p == ':') base = p + 1;
    static unsigned sequence = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char own[40];
        std::snprintf(own, sizeof own, "ZORVE-%lx-%x.partial", static_cast<unsigned long>(GetCurrentProcessId()),
                      sequence++);
        *name = std::string(path, static_cast<size_t>(base - path)) + own;
        HANDLE file = CreateFileA(name->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            *error = GetLastError();
            if (*error == ERROR_FILE_EXISTS || *error == ERROR_ALREADY_EXISTS) continue;  // someone else's
            return false;
        }
        DWORD written = 0;
        const bool whole = WriteFile(file, bytes, static_cast<DWORD>(size), &written, nullptr) && written == size;
        *error = whole ? 0 : GetLastError();
        const bool closed = CloseHandle(file) != 0;
        if (whole && !closed) *error = GetLastError();
        if (whole && closed) return true;
        DeleteFileA(name->c_str());
        return false;
    }
    return false;  // a hundred names taken: the last error says so
}

}  // namespace

const char* file_write_whole(const char* path, const void* bytes, size_t size) {
    if (const char* why = file_not_replaceable(path)) return why;
    std::string partial;
    DWORD error = 0;
    if (!write_temporary(path, bytes, size, &partial, &error)) return file_error_text(error);
    if (MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING)) return nullptr;
    error = GetLastError();
    DeleteFileA(partial.c_str());
    const char* why = file_not_replaceable(path);  // something else took the name meanwhile
    return why ? why : file_error_text(error);
}

const char FILE_NAMES_TAKEN[] = "every name is taken";

const char* file_write_numbered(const char* pattern, int last, const void* bytes, size_t size, std::string* name) {
    char numbered[64];
    std::snprintf(numbered, sizeof numbered, pattern, 1);
    *name = numbered;
    std::string partial;
    DWORD error = 0;
    if (!write_temporary(numbered, bytes, size, &partial, &error)) return file_error_text(error);
    // The number is taken in the same step as the file is moved there: a name another
    // program took meanwhile is never replaced, and the next one is tried. The search
    // starts where the names in use end.
    int n = 1;
    for (; n < last; ++n) {
        std::snprintf(numbered, sizeof numbered, pattern, n);
        if (GetFileAttributesA(numbered) == INVALID_FILE_ATTRIBUTES) break;
    }
    for (; n <= last; ++n) {
        std::snprintf(numbered, sizeof numbered, pattern, n);
        *name = numbered;
        if (MoveFileExA(partial.c_str(), numbered, 0)) return nullptr;
        error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS) break;
    }
    DeleteFileA(partial.c_str());
    return n > last ? FILE_NAMES_TAKEN : file_error_text(error);
}
