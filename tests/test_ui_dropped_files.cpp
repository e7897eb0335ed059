#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "dropped_files.h"

namespace {

using namespace qssdk::ui;

struct fake_files : file_query {
    path_kind kind_of(const std::wstring& path) const override {
        queried.push_back(path);
        const auto found = kinds.find(path);
        return found == kinds.end() ? path_kind::missing : found->second;
    }
    std::map<std::wstring, path_kind> kinds;
    mutable std::vector<std::wstring> queried;
};

TEST(UiDroppedFiles, KeepsTheFilesWholeWithBackslashesAndLeavesOutFoldersAndMissingPaths) {
    const std::wstring long_name = L"C:\\deep\\" + std::wstring(400, L'n') + L".png";
    fake_files files;
    files.kinds = {{L"C:\\maps\\diffuse.png", path_kind::file},
                   {L"C:\\maps", path_kind::folder},
                   {L"C:/maps/sub/bump.png", path_kind::file},
                   {long_name, path_kind::file}};
    const std::vector<std::wstring> names = {L"C:\\maps\\diffuse.png", L"C:\\maps", L"C:/maps/sub/bump.png",
                                             L"C:\\gone.png", long_name};

    const std::vector<qssdk::file_path> list = dropped_files(names, files);
    const std::vector<std::wstring> expected = {L"C:\\maps\\diffuse.png", L"C:\\maps\\sub\\bump.png", long_name};
    ASSERT_EQ(list.size(), expected.size());
    for (size_t i = 0; i < list.size(); ++i) EXPECT_EQ(list[i].wstring(), expected[i]);
    EXPECT_EQ(files.queried, names);  // each name asked about as it was dropped
}

TEST(UiDroppedFiles, OnlyFoldersGiveAnEmptyList) {
    fake_files files;
    files.kinds = {{L"C:\\a", path_kind::folder}};
    EXPECT_TRUE(dropped_files({L"C:\\a"}, files).empty());
}

}  // namespace
