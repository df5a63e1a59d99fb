// Finding the folder of the mesh files by its marker file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "view/media_folder.h"

namespace vantrel::test {
namespace {

namespace fs = std::filesystem;

TEST(FindMediaFolder, FirstFolderHoldingTheMarkerWins) {
    const fs::path top = fs::temp_directory_path() / ("vantrel_media_" + std::to_string(::getpid()));
    fs::create_directories(top / "app" / "bin");
    fs::create_directories(top / "cwd");
    fs::create_directories(top / "installed");
    auto mark = [](const fs::path& folder) { std::ofstream(folder / "vm1.x") << "xof 0303txt 0032\n"; };
    const std::string t = top.string();
    const view::MediaSearch where{t + "/cwd", t + "/app/bin", t + "/installed"};

    EXPECT_EQ(view::FindMediaFolder("vm1.x", where), t + "/installed/");  // nowhere: the installed folder
    mark(top);
    EXPECT_EQ(view::FindMediaFolder("vm1.x", where), t + "/");  // a parent of the program folder
    mark(top / "app" / "bin");
    EXPECT_EQ(view::FindMediaFolder("vm1.x", where), t + "/app/bin/");  // the program folder itself
    mark(top / "cwd");
    EXPECT_EQ(view::FindMediaFolder("vm1.x", where), t + "/cwd/");  // the current folder comes first
    fs::create_directories(top / "app" / "vm2.x");  // a folder of that name is no marker
    EXPECT_EQ(view::FindMediaFolder("vm2.x", where), t + "/installed/");
    fs::remove_all(top);
}

}  // namespace
}  // namespace vantrel::test
