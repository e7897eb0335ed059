#include <gtest/gtest.h>

#include <windows.h>

#include "TempFolder.h"
#include "file_path.h"
#include "utf.h"

namespace {

using qssdk::file_path;

std::wstring w(const char* s) { return qssdk::utf8_to_utf16(s); }

TEST(FilePath, TurnsForwardSlashesIntoBackslashesAndNothingElse) {
    EXPECT_EQ(file_path("C:/dir/sub").wstring(), L"C:\\dir\\sub");
    EXPECT_EQ(file_path("a//b/./../c/").wstring(), L"a\\\\b\\.\\..\\c\\");
    EXPECT_EQ(file_path("").wstring(), L"");
    EXPECT_EQ(file_path("\xC3\xA9t\xC3\xA9/x").wstring(), L"\u00E9t\u00E9\\x");
}

TEST(FilePath, Join) {
    const struct {
        const char* left;
        const char* right;
        const char* joined;
    } cases[] = {
        {"a", "b", "a\\b"},   {"a\\", "b", "a\\b"}, {"a", "\\b", "a\\b"},     {"a\\", "\\b", "a\\b"},
        {"", "b", "b"},       {"", "\\b", "b"},     {"a", "", "a"},           {"a", "\\\\b", "a\\\\b"},
        {"", "", ""},         {"C:", "x", "C:\\x"}, {"a/b", "c/d", "a\\b\\c\\d"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(file_path(c.left).join(file_path(c.right)).wstring(), w(c.joined)) << c.left << " + " << c.right;
}

TEST(FilePath, Parent) {
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"C:\\dir\\sub", "C:\\dir"}, {"C:\\dir\\sub\\", "C:\\dir"}, {"C:\\dir", "C:"},     {"C:\\", ""},
        {"C:", ""},                  {"name", ""},                 {"\\", ""},            {"", ""},
        {"C:\\dir\\\\", "C:\\dir"},  {"\\\\server\\share", "\\\\server"},
    };
    for (const auto& c : cases) EXPECT_EQ(file_path(c.path).parent().wstring(), w(c.parent)) << c.path;
}

class CreateDirectories : public ::testing::Test {
protected:
    static bool isFolder(const file_path& path) {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }

    TempFolder temp_;
    const file_path root_ = file_path::from_wide(temp_ / L"tree");  // not made yet
};

TEST_F(CreateDirectories, MakesEveryMissingLevel) {
    const file_path deep = root_.join(file_path("a/b/c"));
    ASSERT_TRUE(deep.create_directories());
    EXPECT_TRUE(isFolder(root_.join(file_path("a"))));
    EXPECT_TRUE(isFolder(deep));
    EXPECT_TRUE(deep.create_directories()) << "an existing chain is fine";
}

TEST_F(CreateDirectories, AnExistingFileCountsAsPresent) {
    ASSERT_TRUE(root_.create_directories());
    const file_path file = root_.join(file_path("plain.txt"));
    HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
    EXPECT_TRUE(file.create_directories());
    EXPECT_FALSE(file.join(file_path("below")).create_directories()) << "a file cannot hold a folder";
}

TEST_F(CreateDirectories, FailsWithoutARootToBuildOn) {
    EXPECT_FALSE(file_path("").create_directories());
    // Drive letters that are not mapped in the prefix.
    EXPECT_FALSE(file_path("Q:\\pellux\\x").create_directories());
    EXPECT_FALSE(file_path("Q:").create_directories()) << "a lone missing drive has no parent to make";
}

}  // namespace
