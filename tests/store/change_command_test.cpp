// The user's change command: the JSON arrives whole on its standard input,
// its exit status comes back, and one that reads nothing cannot end us.

#include <gtest/gtest.h>

#include "store/change_command.h"
#include "support/temp_folder.h"

using namespace vantrel;

TEST(ChangeCommand, GetsTheInputAndGivesItsStatus) {
    test::TempFolder dir;
    const auto out = dir.path() / "got";
    const std::string input = "{\"node\": \"PC-A\"}\n" + std::string(300000, 'x');  // more than a pipe holds
    EXPECT_EQ(runChangeCommand("cat > '" + out.string() + "'", input), 0);
    EXPECT_EQ(test::readBytes(out), input);
    EXPECT_EQ(runChangeCommand("exit 3", "{}"), 3);
    EXPECT_EQ(runChangeCommand("exec true", input), 0);  // closes its input unread
    EXPECT_EQ(runChangeCommand("kill -9 $$", "{}"), -1);
}
