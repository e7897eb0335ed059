#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <optional>
#include <stdexcept>
#include <thread>
#include <vector>

#include <windows.h>

#include "HostVersions.h"
#include "InstallStatus.h"
#include "PluginFile.h"
#include "System.h"
#include "FileBytes.h"
#include "TempFolder.h"
#include "installer_test_data.h"

namespace {

using namespace installer;
namespace status = installer::install_status;
using Folders = std::vector<std::wstring>;

Bytes payload() { return {testdata::plugin_payload_bin.begin(), testdata::plugin_payload_bin.end()}; }

void write_file(const std::wstring& path, const Bytes& bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    ASSERT_EQ(written, bytes.size());
    CloseHandle(file);
}

std::vector<std::wstring> folder_entries(const std::wstring& path) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

bool is_folder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring plugin_file(const std::wstring& folder) { return folder + L"\\Quillstone\\QSPellux.aex"; }

// ---- Host discovery ----

// A key of the test's own under HKLM, holding the hosts key; removed with everything in it afterwards.
class HostRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        name_ = L"run-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount64());
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, (std::wstring(tests_key) + L"\\" + name_).c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &root_, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(root_);
        HKEY tests = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, tests_key, 0, KEY_ALL_ACCESS, &tests) == ERROR_SUCCESS) {
            RegDeleteTreeW(tests, name_.c_str());
            RegCloseKey(tests);
        }
        RegDeleteKeyW(HKEY_LOCAL_MACHINE, tests_key);  // only once no other test's key is left in it
    }

    // A version key; with a value, its "PluginInstallPath" of the given type.
    void add_version(const std::wstring& version, std::optional<std::wstring> path = std::nullopt,
                     DWORD type = REG_SZ, const wchar_t* value_name = L"PluginInstallPath") {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(root_, (L"After Effects\\" + version).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &key, nullptr),
                  ERROR_SUCCESS);
        if (path) {
            const DWORD bytes = static_cast<DWORD>((path->size() + 1) * sizeof(wchar_t));
            ASSERT_EQ(RegSetValueExW(key, value_name, 0, type, reinterpret_cast<const BYTE*>(path->c_str()), bytes),
                      ERROR_SUCCESS);
        }
        RegCloseKey(key);
    }

    System::Places places() const {
        System::Places result;
        result.registry_root = root_;
        result.hosts_key = L"After Effects";
        return result;
    }

    static constexpr const wchar_t* tests_key = L"SOFTWARE\\QSPelluxTests";
    std::wstring name_;
    HKEY root_ = nullptr;
};

// The table's names, the newer versions' slots unnamed until found, and Custom.
std::array<std::string, System::slot_count> default_names() {
    std::array<std::string, System::slot_count> names{"CS3",    "CS4",      "CS5",    "CS55",  "CS6",   "CC",
                                                      "CC2014", "CC2015", "CC2015.3", "CC2017", "CC2018"};
    names[System::custom_slot] = "Custom";
    return names;
}

TEST_F(HostRegistry, EachListedVersionFillsItsSlotAndTheOldestAreSkipped) {
    const struct {
        const wchar_t* version;
        const wchar_t* path;
        int slot;  // -1: skipped
    } versions[] = {
        {L"8.0", L"C:\\AE\\8", -1},
        {L"9.0", L"C:\\AE\\9", -1},
        {L"10.0", L"C:\\AE\\10", -1},
        {L"10.5", L"C:\\AE\\10.5", -1},
        {L"11", L"C:\\AE\\CS6\\Plug-ins", 4},
        {L"12", L"C:/AE/CC/Plug-ins", 5},
        {L"13", L"C:\\AE\\2014", 6},
        {L"13.5", L"C:/AE/2015/", 7},
        {L"13.8", L"C:\\AE\\2015.3", 8},
        {L"14.0", L"\\\\server/share/AE 2017", 9},
        {L"15.0", L"C:\\AE\\2018", 10},
    };
    std::vector<std::wstring> expected(System::slot_count);
    for (const auto& v : versions) {
        add_version(v.version, v.path);
        if (v.slot < 0) continue;
        std::wstring path = v.path;
        std::replace(path.begin(), path.end(), L'/', L'\\');
        expected[static_cast<size_t>(v.slot)] = path;
    }
    System system(places());
    EXPECT_EQ(system.find_hosts(), expected);
    EXPECT_EQ(system.host_names(), default_names());
}

// Versions newer than the table's last, as current hosts have them, each get a slot of their own in
// version order, named by their key; other keys are left out, and so are folders that are not absolute.
TEST_F(HostRegistry, EveryNewerVersionGetsASlotOfItsOwn) {
    add_version(L"15.0", L"C:/AE/2018");
    for (int v = 16; v < 16 + static_cast<int>(host_slot::newer_count); ++v)
        add_version(std::to_wstring(v) + L".0", L"D:/AE/" + std::to_wstring(v));
    add_version(L"Beta", L"D:/AE/beta");            // not a version
    add_version(L"14", L"D:/AE/14");                // a version, but not newer than the table
    add_version(L"30.0", L"Plug-ins");              // not an absolute folder
    add_version(L"31.0", L"");                      // empty
    System system(places());
    const std::vector<std::wstring> folders = system.find_hosts();
    std::vector<std::wstring> expected(System::slot_count);
    std::array<std::string, System::slot_count> names = default_names();
    expected[10] = L"C:\\AE\\2018";
    for (std::size_t i = 0; i < host_slot::newer_count; ++i) {
        expected[host_slot::first_newer + i] = L"D:\\AE\\" + std::to_wstring(16 + i);
        names[host_slot::first_newer + i] = std::to_string(16 + i) + ".0";
    }
    EXPECT_EQ(folders, expected);
    EXPECT_EQ(system.host_names(), names);
}

TEST_F(HostRegistry, AVersionWithoutAStringPathLeavesItsSlotEmpty) {
    add_version(L"12");                                               // no value at all
    add_version(L"13", L"C:\\AE\\2014", REG_DWORD);                    // not a string
    add_version(L"13.5", L"C:\\AE\\2015", REG_SZ, L"PluginPath");     // another value
    add_version(L"16.0");                                             // a newer version without a path
    add_version(L"15.0", L"C:\\AE\\2018");
    System system(places());
    std::vector<std::wstring> expected(System::slot_count);
    expected[10] = L"C:\\AE\\2018";
    EXPECT_EQ(system.find_hosts(), expected);
    EXPECT_EQ(system.host_names(), default_names()) << "a version without a path names no slot";
}

// Values as people write them by hand, in quotes or with blanks around, name their folders.
TEST_F(HostRegistry, AValueInQuotesOrBlanksNamesItsFolder) {
    add_version(L"13.5", L"\"C:\\AE\\2015\"");
    add_version(L"14.0", L"  C:/AE/2017\t");
    add_version(L"15.0", L" \" C:\\AE\\2018 \" ");
    System system(places());
    std::vector<std::wstring> expected(System::slot_count);
    expected[7] = L"C:\\AE\\2015";
    expected[9] = L"C:\\AE\\2017";
    expected[10] = L"C:\\AE\\2018";
    EXPECT_EQ(system.find_hosts(), expected);
}

TEST_F(HostRegistry, NoHostsKeyFindsNothing) {
    System system(places());
    EXPECT_EQ(system.find_hosts(), std::vector<std::wstring>(System::slot_count));
    EXPECT_EQ(system.host_names(), default_names());
}

TEST_F(HostRegistry, LongPathsAreReadWhole) {
    const auto long_path = [](size_t length, wchar_t fill) {
        std::wstring path = L"C:\\";
        while (path.size() < length) path += (path.size() % 40 == 0) ? L'/' : fill;
        return path;
    };
    const std::wstring at_old_limit = long_path(127, L'a'), of_300 = long_path(300, L'b'), of_5000 = long_path(5000, L'c');
    add_version(L"12", at_old_limit);
    add_version(L"13", of_300);
    add_version(L"14.0", of_5000);
    System system(places());
    const std::vector<std::wstring> folders = system.find_hosts();
    const auto with_backslashes = [](std::wstring path) {
        std::replace(path.begin(), path.end(), L'/', L'\\');
        return path;
    };
    EXPECT_EQ(folders[5], with_backslashes(at_old_limit));
    EXPECT_EQ(folders[6], with_backslashes(of_300));
    EXPECT_EQ(folders[9], with_backslashes(of_5000));
    EXPECT_EQ(folders[6].size(), 300u);
}

// ---- Which slot each key fills, without the registry ----

TEST(HostSlots, VersionNumbersAndTheirOrder) {
    const struct {
        const wchar_t* key;
        bool version;
    } keys[] = {{L"16", true},   {L"16.0", true}, {L"2025.1", true}, {L"007", true},   {L"", false},
                {L"16.", false}, {L".5", false},  {L"16.0.1", false}, {L"v16", false}, {L"16 ", false},
                {L"Beta", false}, {L"1-2", false}, {L"\u0661\u0666", false}};
    for (const auto& k : keys) EXPECT_EQ(is_version_number(k.key), k.version) << testing::PrintToString(std::wstring(k.key));
    EXPECT_LT(compare_versions(L"15.0", L"16"), 0);
    EXPECT_EQ(compare_versions(L"16", L"16.0"), 0);
    EXPECT_GT(compare_versions(L"13.10", L"13.8"), 0) << "by value, not by spelling";
    EXPECT_GT(compare_versions(L"100", L"99.9"), 0);
    EXPECT_GT(compare_versions(L"123456789012345678901234567890", L"123456789012345678901234567889"), 0);
    EXPECT_EQ(compare_versions(L"0016.00", L"16"), 0);
    for (const wchar_t* absolute : {L"C:\\AE", L"z:\\", L"\\\\server\\share"}) EXPECT_TRUE(is_absolute_folder(absolute));
    for (const wchar_t* relative : {L"", L"AE", L"C:AE", L"\\AE", L"\\\\\\x", L"1:\\AE"}) EXPECT_FALSE(is_absolute_folder(relative));
}

TEST(HostSlots, NewerVersionsInVersionOrderTheNewestWhenTooMany) {
    std::vector<HostKey> keys = {
        {L"13.5", L"C:/AE/2015"}, {L"17.0", L"D:\\17"}, {L"16", L"D:\\16"}, {L"16.1", L"D:\\16.1"},
        {L"Next", L"D:\\next"},  {L"10.0", L"C:\\AE\\10"}, {L"13.5", L"relative"}, {L"16", L"D:\\16 again"},
    };
    HostSlots slots = assign_host_slots(keys);
    EXPECT_EQ(slots.folders[7], L"C:\\AE\\2015") << "a later key without an absolute folder counts as none";
    EXPECT_EQ(slots.folders[2], L"");
    const std::size_t n = host_slot::first_newer;
    EXPECT_EQ(slots.folders[n], L"D:\\16 again") << "a later key of the same version wins";
    EXPECT_EQ(slots.names[n], "16");
    EXPECT_EQ(slots.names[n + 1], "16.1");
    EXPECT_EQ(slots.names[n + 2], "17.0");
    EXPECT_EQ(slots.folders[n + 2], L"D:\\17");
    EXPECT_EQ(slots.names[n + 3], "");
    EXPECT_EQ(slots.folders[host_slot::custom], L"");

    // More newer versions than slots, enumerated newest first: the newest keep their slots, oldest first.
    keys.clear();
    const int extra = 3;
    for (int v = 40 + static_cast<int>(host_slot::newer_count) + extra - 1; v >= 40; --v)
        keys.push_back({std::to_wstring(v), L"E:\\" + std::to_wstring(v)});
    slots = assign_host_slots(keys);
    for (std::size_t i = 0; i < host_slot::newer_count; ++i)
        EXPECT_EQ(slots.names[n + i], std::to_string(40 + extra + static_cast<int>(i))) << i;
}

// The machine's own hosts key, written in the test prefix and removed again.
TEST(HostDiscovery, TheDefaultPlacesReadTheMachinesHostsKey) {
    const wchar_t* key_path = L"SOFTWARE\\Adobe\\After Effects\\15.0";
    HKEY key = nullptr;
    DWORD disposition = 0;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition),
              ERROR_SUCCESS);
    if (disposition != REG_CREATED_NEW_KEY) {
        RegCloseKey(key);
        GTEST_SKIP() << "the prefix has a hosts key of its own; it is left alone";
    }
    const std::wstring path = L"C:/Hosts/" + std::to_wstring(GetCurrentProcessId());
    RegSetValueExW(key, L"PluginInstallPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    System system;
    const std::vector<std::wstring> folders = system.find_hosts();
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, key_path);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\After Effects");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe");
    EXPECT_EQ(folders[10], L"C:\\Hosts\\" + std::to_wstring(GetCurrentProcessId()));
}

// ---- Install worker ----

class Install : public ::testing::Test {
protected:
    // The common folder is asked for with forward slashes, as the shell may hand it.
    System::Places places(HMODULE module = nullptr) const {
        System::Places result;
        result.hosts_key = L"SOFTWARE\\QSPelluxTests\\none";
        result.plugin_module = module;
        result.common_data_folder = [base = temp_.path()] { return base + L"/common/data"; };
        return result;
    }
    std::wstring common_folder() const { return temp_ / L"common\\data\\Quillstone"; }
    std::wstring target(const std::wstring& name) const {
        const std::wstring folder = temp_ / name;
        CreateDirectoryW(folder.c_str(), nullptr);
        return folder;
    }
    static System::Progress run(System& system, Folders folders) {
        system.start_install(std::move(folders)).join();
        return system.progress();
    }

    TempFolder temp_;
};

TEST_F(Install, WritesThePluginIntoEveryChosenFolder) {
    System system(places());
    EXPECT_EQ(system.progress().plugin_status, std::vector<std::uint32_t>(System::slot_count, 0u))
        << "one untouched target per slot at first";
    const Folders folders = {L"", target(L"a"), L"", target(L"b b"), target(L"c")};
    const System::Progress result = run(system, folders);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.plugin_status, (std::vector<std::uint32_t>{0, 2, 0, 2, 2}));
    for (const std::wstring& folder : {folders[1], folders[3], folders[4]}) {
        EXPECT_EQ(read_file(plugin_file(folder)), payload());
        EXPECT_EQ(folder_entries(folder + L"\\Quillstone"), std::vector<std::wstring>{L"QSPellux.aex"})
            << "no temporary file is left";
    }
    EXPECT_TRUE(is_folder(common_folder()));
    EXPECT_EQ(folder_entries(common_folder()), std::vector<std::wstring>{}) << "nothing is written there";
}

TEST_F(Install, AnEmptyListStillMakesTheCommonFolder) {
    System system(places());
    const System::Progress result = run(system, {});
    EXPECT_TRUE(result.done);
    EXPECT_TRUE(result.plugin_status.empty());
    EXPECT_TRUE(is_folder(common_folder()));

    System::Places nowhere = places();
    nowhere.common_data_folder = [] { return std::wstring(); };
    System without_common(std::move(nowhere));
    EXPECT_TRUE(run(without_common, {target(L"a")}).done) << "a missing common folder is skipped";
}

// A run stopped before its first target writes nothing at all, not even the common folder: a stopped run
// writes only the targets its page names.
TEST_F(Install, AStoppedRunWritesNothingItsPageDoesNotName) {
    System* self = nullptr;
    System::Places stopped_first = places();
    stopped_first.start_thread = [&self](std::function<void()> work) {
        self->stop_run();
        return std::thread(std::move(work));
    };
    System system(std::move(stopped_first));
    self = &system;
    const Folders folders = {target(L"a"), target(L"b")};
    const System::Progress result = run(system, folders);
    EXPECT_TRUE(result.done);
    EXPECT_EQ(result.plugin_status, (std::vector<std::uint32_t>{0, 0}));
    for (const std::wstring& folder : folders) EXPECT_EQ(folder_entries(folder), std::vector<std::wstring>{});
    EXPECT_FALSE(is_folder(temp_ / L"common")) << "a run stopped before its first target made a folder";
}

TEST_F(Install, AnOlderPluginIsReplacedWhole) {
    const std::wstring folder = target(L"a");
    CreateDirectoryW((folder + L"\\Quillstone").c_str(), nullptr);
    write_file(plugin_file(folder), Bytes(payload().size() * 3, 0x5A));
    System system(places());
    EXPECT_EQ(run(system, {folder}).plugin_status, std::vector<std::uint32_t>{2});
    EXPECT_EQ(read_file(plugin_file(folder)), payload()) << "the new file is exactly the plug-in, no tail left over";
}

// "Quillstone" already a plain file (named as such, with the folder creation's own error, not as the
// missing path the file's creation inside it would report), a drive the prefix does not map, a name
// Windows refuses.
TEST_F(Install, AFolderThatCannotHoldThePluginIsNamedAndLeavesNothing) {
    const std::wstring blocked = target(L"blocked");
    write_file(blocked + L"\\Quillstone", {1, 2, 3});
    const Folders folders = {blocked, L"Q:\\pellux\\hosts", temp_ / L"bad|name"};
    System system(places());
    const System::Progress result = run(system, folders);
    EXPECT_EQ(result.plugin_status, (std::vector<std::uint32_t>{41, 40, 40}));
    EXPECT_EQ(result.system_error[0], static_cast<std::uint32_t>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(folder_entries(blocked), std::vector<std::wstring>{L"Quillstone"});
    EXPECT_EQ(read_file(blocked + L"\\Quillstone"), (Bytes{1, 2, 3}));
    EXPECT_EQ(folder_entries(temp_.path()), (std::vector<std::wstring>{L"blocked", L"common"}));
    EXPECT_TRUE(result.done);
}

// A folder without write access (the system's own folder of the kernel's objects, which not even the
// administrator may add to): the failed creation of the plug-in's folder is the cause reported, with its
// own error, not the missing path the file's creation would meet next.
TEST_F(Install, AFolderWithoutWriteAccessReportsTheFolderCreationsOwnError) {
    const std::wstring read_only = L"Z:\\sys";
    ASSERT_TRUE(is_folder(read_only));
    ASSERT_FALSE(CreateDirectoryW((read_only + L"\\Quillstone").c_str(), nullptr));
    const DWORD refused = GetLastError();
    ASSERT_NE(refused, static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    System system(places());
    const System::Progress result = run(system, {read_only});
    EXPECT_EQ(result.plugin_status, std::vector<std::uint32_t>{40});
    EXPECT_EQ(result.system_error, std::vector<std::uint32_t>{refused});
}

TEST_F(Install, APluginHeldOpenByTheHostFailsAndStaysIntact) {
    const std::wstring folder = target(L"a");
    CreateDirectoryW((folder + L"\\Quillstone").c_str(), nullptr);
    const Bytes old_plugin(1000, 0x33);
    write_file(plugin_file(folder), old_plugin);
    HANDLE held = CreateFileW(plugin_file(folder).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    System system(places());
    const System::Progress result = run(system, {folder});
    CloseHandle(held);
    EXPECT_EQ(result.plugin_status, std::vector<std::uint32_t>{status::write_failed});
    ASSERT_EQ(result.system_error.size(), 1u);
    EXPECT_NE(result.system_error[0], 0u) << "the system's reason is kept";
    EXPECT_EQ(read_file(plugin_file(folder)), old_plugin);
    EXPECT_EQ(folder_entries(folder + L"\\Quillstone"), std::vector<std::wstring>{L"QSPellux.aex"});
}

// A run that was killed while writing leaves its temporary file; the next run clears such files away
// before it writes, and leaves files of other names alone.
TEST_F(Install, TemporaryFilesOfAnEarlierRunAreRemovedFirst) {
    const std::wstring folder = target(L"a");
    const std::wstring quillstone = folder + L"\\Quillstone";
    CreateDirectoryW(quillstone.c_str(), nullptr);
    const std::vector<std::wstring> leftovers = {L"QSPellux.aex.4242-17.tmp", L"QSPellux.aex.1-2.tmp"};
    const std::vector<std::wstring> others = {L"QSPellux.aex.old", L"QSPellux.aex.12.tmp", L"QSPellux.aex.a-1.tmp",
                                              L"Other.aex.1-2.tmp", L"QSPellux.aex.1-2.tmp.bak"};
    for (const auto& names : {leftovers, others})
        for (const std::wstring& name : names) write_file(quillstone + L"\\" + name, Bytes(3000, 0x11));
    System system(places());
    EXPECT_EQ(run(system, {folder}).plugin_status, std::vector<std::uint32_t>{status::installed});
    std::vector<std::wstring> expected = others;
    expected.push_back(L"QSPellux.aex");
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(folder_entries(quillstone), expected);
    EXPECT_EQ(read_file(plugin_file(folder)), payload());

    const struct {
        const wchar_t* name;
        bool temporary;
    } names[] = {{L"QSPellux.aex.12-34.tmp", true}, {L"QSPellux.aex.12-.tmp", false}, {L"QSPellux.aex.-34.tmp", false},
                 {L"QSPellux.aex.12-34.TMP", false}, {L"QSPellux.aex.1-2-3.tmp", false}, {L"QSPellux.aex", false},
                 {L"qspellux.aex.1-2.tmp", false}};
    for (const auto& n : names) EXPECT_EQ(is_temporary_name(L"QSPellux.aex", n.name), n.temporary) << testing::PrintToString(std::wstring(n.name));
}

TEST_F(Install, TheSizeShownIsThatOfThePluginCarried) {
    EXPECT_EQ(System(places()).plugin_size(), payload().size());
    EXPECT_EQ(System(places(GetModuleHandleW(L"kernel32.dll"))).plugin_size(), 0u);
}

TEST_F(Install, AProgramWithoutThePluginResourceGives20) {
    const std::wstring folder = target(L"a");
    System system(places(GetModuleHandleW(L"kernel32.dll")));
    const System::Progress result = run(system, {folder});
    EXPECT_EQ(result.plugin_status, std::vector<std::uint32_t>{status::resource_not_found});
    ASSERT_EQ(result.system_error.size(), 1u);
    EXPECT_TRUE(result.system_error[0] == ERROR_RESOURCE_TYPE_NOT_FOUND ||
                result.system_error[0] == ERROR_RESOURCE_NAME_NOT_FOUND)
        << result.system_error[0];
    EXPECT_FALSE(read_file(plugin_file(folder)));
}

TEST_F(Install, ARetryKeepsTheCodesOfSkippedTargetsAndNewTargetsStartUntouched) {
    System system(places());
    EXPECT_EQ(run(system, {target(L"a"), L"Q:\\missing", target(L"b")}).plugin_status,
              (std::vector<std::uint32_t>{2, 40, 2}));
    EXPECT_EQ(run(system, {L"", target(L"c"), L""}).plugin_status, (std::vector<std::uint32_t>{2, 2, 2}));
    EXPECT_EQ(run(system, {L""}).plugin_status, std::vector<std::uint32_t>{2});
    EXPECT_EQ(run(system, {L"", L"", L"", L""}).plugin_status, (std::vector<std::uint32_t>{2, 0, 0, 0}))
        << "entries dropped by a shorter run come back untouched";
    EXPECT_THROW(system.start_install(Folders(System::slot_count + 1, target(L"a"))), std::length_error);
    EXPECT_TRUE(system.progress().done) << "a refused run changes nothing";
}

TEST_F(Install, TheInstallerCarriesTheBuiltPluginByteForByte) {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring bin = std::wstring(own).substr(0, std::wstring(own).rfind(L'\\'));
    HMODULE installer = LoadLibraryExW((bin + L"\\qsinstaller.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(installer, nullptr);
    const std::optional<Bytes> plugin = read_file(bin + L"\\QSPellux.aex");
    ASSERT_TRUE(plugin);
    const std::wstring folder = target(L"a");
    {
        System system(places(installer));
        EXPECT_EQ(system.plugin_size(), plugin->size()) << "the figures shown come from the plug-in carried";
        EXPECT_EQ(run(system, {folder}).plugin_status, std::vector<std::uint32_t>{2});
    }
    FreeLibrary(installer);
    const std::optional<Bytes> written = read_file(plugin_file(folder));
    ASSERT_TRUE(written);
    EXPECT_EQ(written->size(), plugin->size());
    EXPECT_TRUE(*written == *plugin);
}

// The window's tick starts a run, polls until done and starts the next: done must never be seen before
// every status has its last value, nor linger from the previous run.
TEST_F(Install, APollingReaderNeverSeesDoneBeforeTheStatusesSettle) {
    const Folders good = {target(L"a"), target(L"b"), target(L"c")};
    const std::wstring bad = temp_ / L"bad|name";
    Folders wide(13);
    for (size_t i = 0; i < wide.size(); i += 2) wide[i] = good[i % 3];
    wide[5] = bad;
    // Consecutive runs end with different statuses, so a stale flag shows.
    const std::vector<Folders> runs = {good, {L"", bad, good[0]}, wide, {}, {good[1]}};
    System system(places());
    std::vector<std::uint32_t> model(13, 0);
    const auto stop = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
    int finished = 0;
    while (std::chrono::steady_clock::now() < stop && finished < 5000 && !HasFailure()) {
        const Folders& folders = runs[static_cast<size_t>(finished) % runs.size()];
        model.resize(folders.size(), 0);
        for (size_t i = 0; i < folders.size(); ++i)
            if (!folders[i].empty()) model[i] = folders[i] == bad ? status::file_not_created : status::installed;
        std::thread worker = system.start_install(folders);
        for (;;) {
            const System::Progress seen = system.progress();
            EXPECT_EQ(seen.plugin_status.size(), folders.size());
            if (seen.done) {
                EXPECT_EQ(seen.plugin_status, model) << "run " << finished;
                break;
            }
            std::this_thread::yield();
        }
        worker.join();
        ++finished;
    }
    EXPECT_GE(finished, static_cast<int>(runs.size())) << "every kind of run was seen";
}

}  // namespace
