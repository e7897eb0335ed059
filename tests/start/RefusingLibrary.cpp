// A library that refuses to initialise as many times as the file named by PELLUX_START_REFUSALS says,
// counting it down, so a program that imports it fails to start exactly that often.
#include <windows.h>

extern "C" __declspec(dllexport) int refusing_library_loaded() { return 1; }

namespace {

// The count in the file, or 0 when there is none.
int refusalsLeft(const wchar_t* path) {
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    char text[16] = {};
    DWORD read = 0;
    ReadFile(file, text, sizeof text - 1, &read, nullptr);
    CloseHandle(file);
    int count = 0;
    for (DWORD i = 0; i < read && text[i] >= '0' && text[i] <= '9'; ++i) count = count * 10 + (text[i] - '0');
    return count;
}

void writeCount(const wchar_t* path, int count) {
    const HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    // Digits from the end of the buffer backwards.
    char text[16];
    char* first = text + sizeof text;
    do {
        *--first = static_cast<char>('0' + count % 10);
        count /= 10;
    } while (count > 0);
    const DWORD length = static_cast<DWORD>(text + sizeof text - first);
    DWORD written = 0;
    WriteFile(file, first, length, &written, nullptr);
    CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    // Kernel32 only, as befits code under the loader's lock.
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"PELLUX_START_REFUSALS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    const int left = refusalsLeft(path);
    if (left == 0) return TRUE;
    writeCount(path, left - 1);
    return FALSE;
}
