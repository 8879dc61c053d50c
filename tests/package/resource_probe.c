/* Reads a program's resources as Windows does: its version information and its icon
 * resource 1 at the sizes windows and Explorer ask for. One line each:
 *   file version A.B.C.D
 *   product version TEXT
 *   icon N: WxH centre AARRGGBB      (or "icon N: none")
 *   resource_probe PROGRAM.exe */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

static void print_version(const char* path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    char* info = size ? malloc(size) : NULL;
    if (!info || !GetFileVersionInfoA(path, 0, size, info)) {
        printf("no version information\n");
        free(info);
        return;
    }
    VS_FIXEDFILEINFO* fixed = NULL;
    char* text = NULL;
    UINT length = 0;
    if (VerQueryValueA(info, "\\", (void**)&fixed, &length) && length >= sizeof *fixed)
        printf("file version %u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
               HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
    if (VerQueryValueA(info, "\\StringFileInfo\\040904B0\\ProductVersion", (void**)&text, &length))
        printf("product version %s\n", text);
    free(info);
}

/* The icon's size and its centre pixel, drawn on transparent black. */
static void print_icon(HMODULE module, int size) {
    HICON icon = (HICON)LoadImageA(module, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, 0);
    if (!icon) {
        printf("icon %d: none\n", size);
        return;
    }
    ICONINFO parts;
    BITMAP bitmap = {0};
    if (GetIconInfo(icon, &parts)) {
        GetObjectA(parts.hbmColor ? parts.hbmColor : parts.hbmMask, sizeof bitmap, &bitmap);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
    }
    BITMAPINFO info = {0};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ previous = SelectObject(dc, target);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, NULL, DI_NORMAL);
    GdiFlush();
    DWORD centre = ((DWORD*)bits)[(size / 2) * size + size / 2];
    SelectObject(dc, previous);
    DeleteObject(target);
    DeleteDC(dc);
    DestroyIcon(icon);
    printf("icon %d: %ldx%ld centre %08lX\n", size, (long)bitmap.bmWidth, (long)bitmap.bmHeight,
           (unsigned long)centre);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: resource_probe PROGRAM.exe\n");
        return 2;
    }
    print_version(argv[1]);
    HMODULE module = LoadLibraryExA(argv[1], NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        printf("cannot load %s\n", argv[1]);
        return 1;
    }
    const int sizes[] = {16, 32, 48, 256};
    for (int i = 0; i < 4; ++i) print_icon(module, sizes[i]);
    FreeLibrary(module);
    return 0;
}
