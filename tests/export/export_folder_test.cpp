// The export folder: written in place, the previous export's pages of
// removed nodes taken away, nothing else touched, no write through a link.

#include <unistd.h>

#include <gtest/gtest.h>

#include "export/export_error.h"
#include "export/export_folder.h"
#include "support/temp_folder.h"

using namespace vantrel;
namespace fs = std::filesystem;

TEST(ExportFolder, ASecondExportRemovesOnlyWhatTheFirstWroteAndDidNotWriteAgain) {
    test::TempFolder temp;
    const auto root = temp.path() / "site";
    {
        ExportFolder first(root);
        first.write("index.html", "one");
        first.write("nodes/old.html", "old");
        first.write("nodes/kept.html", "kept");
        first.finish();
    }
    test::writeBytes(root / "nodes" / "mine.html", "the user's own page");
    test::writeBytes(root / "notes.txt", "the user's notes");
    ExportFolder second(root);
    second.write("index.html", "two");
    second.write("nodes/kept.html", "kept again");
    second.finish();

    EXPECT_EQ(test::readBytes(root / "index.html"), "two");
    EXPECT_EQ(test::readBytes(root / "nodes" / "kept.html"), "kept again");
    EXPECT_FALSE(fs::exists(root / "nodes" / "old.html"));
    EXPECT_EQ(test::readBytes(root / "nodes" / "mine.html"), "the user's own page");
    EXPECT_EQ(test::readBytes(root / "notes.txt"), "the user's notes");
    EXPECT_EQ(test::readBytes(root / kExportManifest), "vantrel export 1\nindex.html\nnodes/kept.html\n");
}

TEST(ExportFolder, AManifestNamingOtherFilesRemovesNone) {
    test::TempFolder temp;
    const auto root = temp.path() / "site";
    fs::create_directories(root);
    test::writeBytes(temp.path() / "precious", "x");
    test::writeBytes(root / "notes.txt", "x");
    test::writeBytes(root / kExportManifest, "vantrel export 1\n../precious\nnotes.txt\n/etc/passwd\nnodes/../../precious\n");
    ExportFolder folder(root);
    folder.write("index.html", "page");
    folder.finish();
    EXPECT_TRUE(fs::exists(temp.path() / "precious"));
    EXPECT_TRUE(fs::exists(root / "notes.txt"));
}

TEST(ExportFolder, NeverWritesThroughALinkNorAnyNameOfItsOwnMaking) {
    test::TempFolder temp;
    const auto root = temp.path() / "site";
    const auto elsewhere = temp.path() / "elsewhere";
    fs::create_directories(root);
    fs::create_directories(elsewhere);
    fs::create_directory_symlink(elsewhere, root / "nodes");
    test::writeBytes(elsewhere / "target", "untouched");
    fs::create_symlink(elsewhere / "target", root / "index.html");

    ExportFolder folder(root);
    EXPECT_THROW(folder.write("nodes/a.html", "page"), ExportError);
    folder.write("index.html", "page");  // the link is replaced, its target kept
    EXPECT_EQ(test::readBytes(elsewhere / "target"), "untouched");
    EXPECT_FALSE(fs::is_symlink(root / "index.html"));
    for (const char* name : {"../x.html", "nodes/../../x.html", "nodes/A.html", "nodes/a.js", "/tmp/x.html", "nodes/.html"})
        EXPECT_THROW(folder.write(name, "x"), ExportError) << name;
    EXPECT_EQ(fs::directory_iterator(elsewhere)->path().filename(), "target");
}
