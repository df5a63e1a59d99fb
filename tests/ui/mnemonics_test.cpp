// Choosing the panel buttons' Alt letters.

#include <gtest/gtest.h>

#include "ui/mnemonics.h"

namespace vantrel::ui {
namespace {

TEST(Mnemonics, EachButtonTakesItsFirstFreeLetterOrSharesItsFirst) {
    const std::vector<QString> captions = {"Scan", "Re-Scan", "Reset", "View", "Local", "3D", ""};
    const std::vector<int> expected = {0, 0, 1, 0, 0, 0, -1};
    // S, C, A, N and O are the section captions'; "Scan" has no free letter and
    // shares its S; "Re-Scan" takes R, so "Reset" takes E; an empty caption has none.
    EXPECT_EQ(chooseMnemonics(captions, {'S', 'C', 'A', 'N', 'O'}), expected);
    EXPECT_EQ(chooseMnemonics({"Lights", "Logins", "List"}, {'L', 'I', 'S', 'T'}), (std::vector<int>{2, 1, 0}));
}

}  // namespace
}  // namespace vantrel::ui
