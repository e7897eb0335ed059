// The installer against planted libraries. It is run from a downloads folder and relaunches itself
// elevated, so any library it takes from its own folder runs with administrator rights. The built
// qsinstaller.exe may import only libraries the system always takes from its own folder, and a copy
// started beside libraries named like everything it or the kit can load, with the system's search order
// forced for those names, must load none of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "FileBytes.h"
#include "TempFolder.h"

namespace {

using namespace std::chrono_literals;

constexpr const wchar_t* installer_title = L"QS Pellux for After Effects Installer";
constexpr auto start_bound = 30s;
constexpr DWORD exit_bound_ms = 15000;

// The system's known libraries: always mapped from its own folder, whatever lies beside a program.
const std::set<std::string> always_from_system = {
    "advapi32.dll", "clbcatq.dll", "combase.dll", "comdlg32.dll", "coml2.dll",   "difxapi.dll", "gdi32.dll",
    "gdiplus.dll",  "imagehlp.dll", "imm32.dll",  "kernel32.dll", "msctf.dll",   "msvcrt.dll",  "normaliz.dll",
    "nsi.dll",      "ole32.dll",   "oleaut32.dll", "psapi.dll",   "rpcrt4.dll",  "sechost.dll", "setupapi.dll",
    "shcore.dll",   "shell32.dll", "shlwapi.dll", "user32.dll",   "wldap32.dll", "ws2_32.dll",
};

// Names of libraries the installer, the kit, or the system libraries under them may load by name at run
// time; none is a known library, so the system would look beside the program first. Not version.dll:
// Wine's own user32 imports it, and Wine's loader takes it from beside the program before the program's
// first instruction (the system's user32 is a known library with no such import).
const wchar_t* const planted_names[] = {
    L"d2d1.dll",    L"dwrite.dll",  L"wtsapi32.dll", L"windowscodecs.dll", L"uxtheme.dll",
    L"dwmapi.dll",  L"comctl32.dll", L"propsys.dll", L"dxgi.dll",          L"d3d11.dll",
    L"d3d10_1.dll", L"winmm.dll",   L"oleacc.dll",   L"msimg32.dll",       L"dbghelp.dll",
    L"userenv.dll", L"profapi.dll", L"cryptbase.dll", L"textinputframework.dll",
};

std::wstring bin_folder() {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring path(own);
    return path.substr(0, path.rfind(L'\\'));
}

std::string narrow(const std::wstring& ascii) {
    std::string text;
    for (wchar_t c : ascii) text += static_cast<char>(c);
    return text;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    return text;
}

// A record of the file's bytes at the offset, if the file holds it whole.
template <class Record>
bool read_record(const Bytes& file, size_t offset, Record& record) {
    if (offset > file.size() || file.size() - offset < sizeof record) return false;
    std::memcpy(&record, file.data() + offset, sizeof record);
    return true;
}

// Where the section that maps the relative address keeps its bytes in the file.
std::optional<size_t> file_offset(const Bytes& file, const std::vector<IMAGE_SECTION_HEADER>& sections, DWORD rva) {
    for (const IMAGE_SECTION_HEADER& s : sections) {
        const DWORD extent = std::max(s.Misc.VirtualSize, s.SizeOfRawData);
        if (rva >= s.VirtualAddress && rva - s.VirtualAddress < extent) {
            const size_t offset = size_t{s.PointerToRawData} + (rva - s.VirtualAddress);
            if (offset < file.size()) return offset;
        }
    }
    return std::nullopt;
}

// The names of the libraries in a 64-bit PE image's import directory, in lower case; nothing when the
// bytes are no well-formed image.
std::optional<std::vector<std::string>> imported_libraries(const Bytes& file) {
    IMAGE_DOS_HEADER dos{};
    if (!read_record(file, 0, dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) return std::nullopt;
    const size_t nt = static_cast<size_t>(dos.e_lfanew);
    IMAGE_NT_HEADERS64 headers{};
    if (!read_record(file, nt, headers) || headers.Signature != IMAGE_NT_SIGNATURE ||
        headers.OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR64_MAGIC ||
        headers.OptionalHeader.NumberOfRvaAndSizes <= IMAGE_DIRECTORY_ENTRY_IMPORT)
        return std::nullopt;
    std::vector<IMAGE_SECTION_HEADER> sections(headers.FileHeader.NumberOfSections);
    const size_t first_section = nt + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + headers.FileHeader.SizeOfOptionalHeader;
    for (size_t i = 0; i < sections.size(); ++i)
        if (!read_record(file, first_section + i * sizeof(IMAGE_SECTION_HEADER), sections[i])) return std::nullopt;

    std::vector<std::string> names;
    const IMAGE_DATA_DIRECTORY directory = headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) return names;
    const std::optional<size_t> table = file_offset(file, sections, directory.VirtualAddress);
    if (!table) return std::nullopt;
    // The table ends with an all-zero descriptor.
    for (size_t at = *table;; at += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        IMAGE_IMPORT_DESCRIPTOR descriptor{};
        if (!read_record(file, at, descriptor)) return std::nullopt;
        if (descriptor.Name == 0 && descriptor.FirstThunk == 0) return names;
        const std::optional<size_t> name = file_offset(file, sections, descriptor.Name);
        if (!name) return std::nullopt;
        const auto* text = reinterpret_cast<const char*>(file.data() + *name);
        const size_t length = strnlen(text, file.size() - *name);
        if (length == file.size() - *name) return std::nullopt;  // no terminating zero
        names.push_back(lower(std::string(text, length)));
    }
}

std::optional<std::vector<std::string>> imports_of(const std::wstring& path) {
    const std::optional<Bytes> bytes = read_file(path);
    if (!bytes) return std::nullopt;
    return imported_libraries(*bytes);
}

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring marker_of(const std::wstring& library) { return library + L".loaded"; }

// Wine takes its own libraries whatever lies beside a program. Its overrides for one program name make it
// look as the system does instead, beside the program first, for the given names (the variable
// WINEDLLOVERRIDES would not reach a program started from here). Removed again with the object.
class NativeFirst {
public:
    NativeFirst(const std::wstring& program_name, const std::vector<std::wstring>& libraries)
        : key_(L"Software\\Wine\\AppDefaults\\" + program_name) {
        HKEY overrides = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &overrides, nullptr) != ERROR_SUCCESS)
            return;
        static constexpr wchar_t order[] = L"native,builtin";
        set_ = true;
        for (const std::wstring& library : libraries)
            set_ = RegSetValueExW(overrides, library.substr(0, library.rfind(L'.')).c_str(), 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(order), sizeof order) == ERROR_SUCCESS &&
                   set_;
        RegCloseKey(overrides);
    }
    ~NativeFirst() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;

    bool set() const { return set_; }

private:
    std::wstring key_;
    bool set_ = false;
};

std::wstring process_image(DWORD process) {
    const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
    if (!handle) return {};
    wchar_t path[MAX_PATH];
    DWORD size = MAX_PATH;
    const bool ok = QueryFullProcessImageNameW(handle, 0, path, &size) != 0;
    CloseHandle(handle);
    return ok ? std::wstring(path, size) : std::wstring();
}

// A visible installer window whose process runs the given program file.
HWND installer_window_of(const std::wstring& program) {
    struct search {
        const std::wstring& program;
        HWND found = nullptr;
    } s{program};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<search*>(param);
            wchar_t title[128] = {};
            GetWindowTextW(window, title, 128);
            if (!IsWindowVisible(window) || std::wstring(title) != installer_title) return TRUE;
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (_wcsicmp(process_image(process).c_str(), s->program.c_str()) != 0) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND wait_for_installer_window(const std::wstring& program) {
    const auto end = std::chrono::steady_clock::now() + start_bound;
    for (;;) {
        if (const HWND window = installer_window_of(program)) return window;
        if (std::chrono::steady_clock::now() >= end) return nullptr;
        std::this_thread::sleep_for(50ms);
    }
}

// A process handle that ends the process, if it still runs, when it goes.
class OwnedProcess {
public:
    explicit OwnedProcess(HANDLE handle) : handle_(handle) {}
    ~OwnedProcess() {
        if (!handle_) return;
        if (WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT) {
            TerminateProcess(handle_, 99);
            WaitForSingleObject(handle_, exit_bound_ms);
        }
        CloseHandle(handle_);
    }
    OwnedProcess(const OwnedProcess&) = delete;
    OwnedProcess& operator=(const OwnedProcess&) = delete;

    HANDLE get() const { return handle_; }
    std::optional<DWORD> exit_code(DWORD bound_ms = exit_bound_ms) const {
        if (!handle_ || WaitForSingleObject(handle_, bound_ms) != WAIT_OBJECT_0) return std::nullopt;
        DWORD code = 0;
        GetExitCodeProcess(handle_, &code);
        return code;
    }

private:
    HANDLE handle_;
};

TEST(InstallerLibraries, TheImportTableNamesOnlyLibrariesTheSystemAlwaysTakesFromItsOwnFolder) {
    const std::optional<std::vector<std::string>> imports = imports_of(bin_folder() + L"\\qsinstaller.exe");
    ASSERT_TRUE(imports) << "qsinstaller.exe is no readable 64-bit image";
    EXPECT_FALSE(imports->empty());
    for (const std::string& name : *imports)
        EXPECT_TRUE(always_from_system.count(name)) << "qsinstaller.exe imports " << name
                                                    << ", which the system would look for beside the program first";
}

TEST(InstallerLibraries, TheImportReaderSeesALibraryOutsideTheSystemsKnownOnes) {
    // The effect links OpenGL directly: the reader must name it, or the check above could pass on nothing.
    const std::optional<std::vector<std::string>> imports = imports_of(bin_folder() + L"\\QSPellux.aex");
    ASSERT_TRUE(imports);
    EXPECT_NE(std::find(imports->begin(), imports->end(), "opengl32.dll"), imports->end());
    EXPECT_NE(std::find(imports->begin(), imports->end(), "kernel32.dll"), imports->end());
    const Bytes not_an_image = {'M', 'Z', 0, 0};
    EXPECT_FALSE(imported_libraries(not_an_image));
}

TEST(InstallerLibraries, NoLibraryPlantedBesideTheInstallerIsLoaded) {
    // A browser names a second download of the same file so: a name of its own, which no other test runs.
    const std::wstring program_name = L"qsinstaller (1).exe";
    TempFolder downloads;
    const std::wstring program = downloads / program_name;
    ASSERT_TRUE(CopyFileW((bin_folder() + L"\\qsinstaller.exe").c_str(), program.c_str(), FALSE));
    const std::wstring plant = bin_folder() + L"\\planted_library.dll";
    std::vector<std::wstring> names;
    for (const wchar_t* name : planted_names) {
        ASSERT_TRUE(CopyFileW(plant.c_str(), (downloads / name).c_str(), FALSE)) << narrow(name);
        names.emplace_back(name);
    }
    const NativeFirst order(program_name, names);
    ASSERT_TRUE(order.set());
    // The plant gives itself away when loaded (by its full path, so no library of Wine's stands in).
    {
        const std::wstring probe = downloads / L"planted_probe.dll";
        ASSERT_TRUE(CopyFileW(plant.c_str(), probe.c_str(), FALSE));
        const HMODULE loaded = LoadLibraryW(probe.c_str());
        ASSERT_NE(loaded, nullptr);
        FreeLibrary(loaded);
        EXPECT_TRUE(exists(marker_of(probe))) << "the planted library leaves no marker";
    }

    // Started as a user would start it from the downloads folder: the copy relaunches itself elevated.
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, downloads.path().c_str(),
                               &startup, &started));
    CloseHandle(started.hThread);
    const OwnedProcess first(started.hProcess);
    EXPECT_EQ(first.exit_code(), std::optional<DWORD>(0)) << "the relaunch was not accepted";

    const HWND window = wait_for_installer_window(program);
    std::optional<DWORD> elevated_exit;
    if (window) {
        DWORD id = 0;
        GetWindowThreadProcessId(window, &id);
        const OwnedProcess elevated(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION,
                                                FALSE, id));
        // Answered once the window's loop runs: its painter and everything under it are made by then.
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, exit_bound_ms, &answer);
        PostMessageW(window, WM_CLOSE, 0, 0);
        elevated_exit = elevated.exit_code();
    }
    for (const std::wstring& name : names)
        EXPECT_FALSE(exists(marker_of(downloads / name))) << "the installer loaded the planted " << narrow(name);
    ASSERT_NE(window, nullptr) << "no installer window";
    EXPECT_EQ(elevated_exit, std::optional<DWORD>(0));
}

}  // namespace
