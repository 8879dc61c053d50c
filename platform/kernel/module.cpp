// Modules: only the program's own, the executable file it was started from. Win32 has
// one module per executable or library loaded; a program here loads none of ours.
#include "module.h"

#include <unistd.h>

#include "../presenter.h"

namespace zp {

std::string program_file() {
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

std::string program_name() {
    const std::string file = program_file();
    return file.substr(file.find_last_of('/') + 1);
}

}  // namespace zp

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR name) {
    static HINSTANCE__ program;
    return name ? nullptr : &program;
}
