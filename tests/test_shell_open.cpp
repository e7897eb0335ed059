#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include <windows.h>

#include "shell_open.h"
#include "utf.h"

namespace {

// A folder of the temporary folder for one test, removed with what it holds.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::wstring& name) {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        path_ = std::wstring(temp) + name + L"-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~ScratchFolder() {
        // A program the shell started may still be running in the folder for a moment.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (;;) {
            for (const auto& file : files_) DeleteFileW(file.c_str());
            if (RemoveDirectoryW(path_.c_str()) || std::chrono::steady_clock::now() > deadline) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
    std::wstring file(const std::wstring& name) {
        files_.push_back(path_ + L"\\" + name);
        return files_.back();
    }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

bool waitForFile(const std::wstring& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

TEST(ShellOpen, OpensADocumentWithItsAssociatedProgram) {
    // A batch file is opened by running it: it leaves a marker beside itself.
    ScratchFolder folder(L"qs shell open \u00FC");
    const std::wstring script = folder.file(L"open me.cmd");
    const std::wstring marker = folder.file(L"opened.txt");
    {
        std::ofstream out(std::filesystem::path(script), std::ios::binary);
        out << "@echo opened> \"%~dp0opened.txt\"\r\n";
    }
    qssdk::shell_open(qssdk::utf16_to_utf8(script));
    EXPECT_TRUE(waitForFile(marker)) << "the batch file did not run";
}

TEST(ShellOpen, ATargetThatCannotBeOpenedIsIgnored) {
    // Silently: an error box would hold the call (and this test) until someone dismissed it.
    ScratchFolder folder(L"qs shell open missing");
    EXPECT_NO_THROW(qssdk::shell_open(qssdk::utf16_to_utf8(folder.file(L"no such document.qsx"))));
    EXPECT_NO_THROW(qssdk::shell_open("\xFF\xFE not text"));
}

}  // namespace
