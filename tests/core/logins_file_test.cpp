#include "core/logins_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/fake_ui.h"
#include "support/temp_folder.h"

namespace vantrel {
namespace {

using test::TempFolder;

std::vector<NodeRecord> readAll(const std::filesystem::path& path) {
    std::vector<NodeRecord> out;
    readLoginsFile(path, [&out](NodeRecord r) { out.push_back(std::move(r)); });
    return out;
}

std::string lines(int n, const std::string& end = "\r\n") {
    std::string s;
    for (int i = 1; i <= n; ++i) s += "line" + std::to_string(i) + end;
    return s;
}

TEST(LoginsFile, CountsOnlyCompleteRecords) {
    TempFolder dir;
    const auto path = dir.path() / "lg.ini";
    struct Case {
        std::string bytes;
        std::size_t nodes;
    };
    const std::vector<Case> cases{
        {"", 0},
        {lines(6), 0},
        {lines(7), 1},
        {lines(14), 2},
        {lines(16), 2},
        {lines(14, "\n"), 2},                 // LF only
        {lines(13) + "line14", 2},            // no line break after the last line
        {std::string(7, '\n'), 1},            // seven empty lines are one (empty) node
        {std::string("\x00\xff\r\x01\n\x80\x81\r\n\r\r\r\n", 13), 0},  // binary garbage: six lines
    };
    for (const auto& c : cases) {
        test::writeBytes(path, c.bytes);
        EXPECT_EQ(readAll(path).size(), c.nodes) << c.bytes;
    }
}

TEST(LoginsFile, StripsSpacesAndDecodesOldEncodings) {
    TempFolder dir;
    const auto path = dir.path() / "lg.ini";
    test::writeBytes(path, "  PC-7  \r\n10.0.0.7\r\nCaf\xe9\r\nTrue\r\n user \r\n pw \r\nFalse\r\n");
    const auto nodes = readAll(path);
    ASSERT_EQ(nodes.size(), 1U);
    EXPECT_EQ(nodes[0].name, "PC-7");
    EXPECT_EQ(nodes[0].displayName, "Caf\xc3\xa9");
    EXPECT_EQ(nodes[0].loginUser, "user");
    EXPECT_EQ(nodes[0].loginPassword, "pw");
    EXPECT_EQ(nodes[0].scanStatus, ScanStatus::NotScanned);
}

TEST(LoginsFile, HugeFilesAndLongLinesAreRead) {
    TempFolder dir;
    const auto path = dir.path() / "lg.ini";
    // 100 MB: one very long name line and six short ones, twice over.
    const std::string longLine(50 * 1024 * 1024 - 20, 'x');
    std::string bytes;
    for (int r = 0; r < 2; ++r) bytes += longLine + "\r\na\r\nb\r\nc\r\nd\r\ne\r\nf\r\n";
    test::writeBytes(path, bytes);
    const auto nodes = readAll(path);
    ASSERT_EQ(nodes.size(), 2U);
    EXPECT_EQ(nodes[1].name.size(), longLine.size());
    EXPECT_EQ(nodes[1].scanStatus.text(), "f");
}

TEST(LoginsFile, WritesEveryFieldAsItStands) {
    NodeTable table;
    table.append({"PC-1", "10.0.0.1", "PC-1", NodeEnabled::Shown, "", "", ScanStatus::NotScanned, {}});
    table.append({"PC-2", "10.0.0.2", "PC-2", NodeEnabled::Jump, "adm", "pw", ScanStatus::Scanned, {}});
    table.append({"PC-3", "10.0.0.3", "Accounts desk", NodeEnabled::Hidden, "u", "p", ScanStatus::AccessDenied, {}});
    EXPECT_EQ(formatLoginsFile(table),
              "PC-1\r\n10.0.0.1\r\nPC-1\r\nTrue\r\n\r\n\r\nFalse\r\n"
              "PC-2\r\n10.0.0.2\r\nPC-2\r\nJump\r\nadm\r\npw\r\nScanned\r\n"
              "PC-3\r\n10.0.0.3\r\nAccounts desk\r\nFalse\r\nu\r\np\r\nAccess denied\r\n");
    EXPECT_EQ(formatLoginsFile(NodeTable{}), "");
}

TEST(LoginsFile, WrittenFileIsPrivateAndSurvivesLineBreaksInFields) {
    TempFolder dir;
    const auto path = dir.path() / "lg.ini";
    NodeTable table;
    table.append({"PC\r\n1", "10.0.0.1", "A\nB", NodeEnabled::Shown, "u", "p\rq", ScanStatus::NotScanned, {}});
    table.append({"PC-2", "10.0.0.2", "PC-2", NodeEnabled::Shown, "", "", ScanStatus::NotScanned, {}});
    ASSERT_TRUE(writeLoginsFile(path, table));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600);
    const auto nodes = readAll(path);
    ASSERT_EQ(nodes.size(), 2U);
    EXPECT_EQ(nodes[0].loginPassword, "p q");
    EXPECT_EQ(nodes[1].name, "PC-2");
    // No temporary file is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace vantrel
