#include <gtest/gtest.h>

#include <string>

#include <windows.h>
#include <wtsapi32.h>

#include "qs_exception.h"
#include "system_library.h"

namespace {

std::wstring own_folder() {
    wchar_t own[MAX_PATH];
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    const std::wstring path(own);
    return path.substr(0, path.rfind(L'\\'));
}

// A copy of the planted library beside this program, under a name no system library has; gone afterwards.
class LibraryBesideTheProgram {
public:
    LibraryBesideTheProgram() {
        copied_ = CopyFileW((own_folder() + L"\\planted_library.dll").c_str(), path_.c_str(), FALSE) != 0;
    }
    ~LibraryBesideTheProgram() {
        DeleteFileW(path_.c_str());
        DeleteFileW((path_ + L".loaded").c_str());
    }
    LibraryBesideTheProgram(const LibraryBesideTheProgram&) = delete;
    LibraryBesideTheProgram& operator=(const LibraryBesideTheProgram&) = delete;

    bool copied() const { return copied_; }

private:
    std::wstring path_ = own_folder() + L"\\qs_beside_only.dll";
    bool copied_ = false;
};

TEST(SystemLibrary, ALibraryBesideTheProgramIsNeverTaken) {
    const LibraryBesideTheProgram plant;
    ASSERT_TRUE(plant.copied());
    // The ordinary search finds it beside the program...
    const HMODULE ordinary = LoadLibraryW(L"qs_beside_only.dll");
    ASSERT_NE(ordinary, nullptr);
    FreeLibrary(ordinary);
    // ...the system folder's does not.
    try {
        qssdk::system_library library(L"qs_beside_only.dll", "planted library");
        FAIL() << "took the library beside the program";
    } catch (const qs_exception& e) {
        EXPECT_STREQ(e.what(), "unable to load the planted library qs_beside_only.dll (error 126)");
    }
}

TEST(SystemLibrary, ALibraryOfTheSystemFolderGivesItsEntryPoints) {
    const qssdk::system_library library(L"wtsapi32.dll", "session library");
    const auto registration = library.entry_point<decltype(&WTSRegisterSessionNotification)>("WTSRegisterSessionNotification");
    EXPECT_NE(registration, nullptr);
    try {
        library.entry_point<decltype(&WTSRegisterSessionNotification)>("QsNoSuchEntry");
        FAIL() << "resolved an entry point that does not exist";
    } catch (const qs_exception& e) {
        EXPECT_STREQ(e.what(), "the session library has no entry point QsNoSuchEntry");
    }
}

}  // namespace
