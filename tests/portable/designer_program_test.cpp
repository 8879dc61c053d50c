// The built cordelune.exe on Windows: it starts, shows its graphics window, and the Run
// menu's Quit ends it with status 0. (Off Windows the desktop tests run the program.)
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

constexpr WPARAM MENU_QUIT = 8;

// cordelune.exe is built at the top of the build folder, this program in tests/.
std::string program_path() {
    char self[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n);
    path.erase(path.find_last_of("\\/"));
    path.erase(path.find_last_of("\\/") + 1);
    return path + "cordelune.exe";
}

// Sleeps for up to ms, or until the handle is signalled, while answering messages other
// programs send to this one's windows: a starting program's activation waits for them.
// Posted messages stay queued for the tests that own them.
bool wait_answering(HANDLE handle, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        if (handle && WaitForSingleObject(handle, 0) == WAIT_OBJECT_0) return true;
        if (GetTickCount() - start >= ms) return false;
        Sleep(10);
    }
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK find_graphics_window(HWND window, LPARAM param) {
    Search* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[64] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner == search->process && std::string(title) == "ZORVE Graphics") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

TEST(DesignerProgram, StartsAndQuitsFromTheRunMenu) {
    std::string path = program_path();
    ASSERT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    Search search = {process.dwProcessId, nullptr};
    for (int i = 0; i < 200 && !search.found; ++i) {
        wait_answering(nullptr, 50);
        EnumWindows(find_graphics_window, reinterpret_cast<LPARAM>(&search));
    }
    EXPECT_NE(search.found, nullptr) << "no graphics window appeared";
    if (search.found) {
        RECT client;
        GetClientRect(search.found, &client);
        EXPECT_GT(client.right, 0);
        wait_answering(nullptr, 300);  // a few frames of the running animation
        PostMessageA(search.found, WM_COMMAND, MENU_QUIT, 0);
    }
    const bool ended = wait_answering(process.hProcess, 10000);
    EXPECT_TRUE(ended) << "the program did not end after Quit";
    if (!ended) TerminateProcess(process.hProcess, 99);
    DWORD status = 99;
    GetExitCodeProcess(process.hProcess, &status);
    EXPECT_EQ(status, 0u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace

#endif
