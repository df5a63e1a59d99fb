// The main window's place between runs: the file and the fitting to a screen.

#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "ui/window_geometry.h"

namespace vantrel::ui {
namespace {

TEST(WindowGeometry, FitsIntoTheAvailableScreen) {
    const QRect screen(0, 20, 1280, 780);
    struct Case {
        const char* what;
        QRect wanted, fitted;
    };
    const Case cases[] = {
        {"inside stays", {100, 100, 800, 600}, {100, 100, 800, 600}},
        {"too large shrinks", {0, 0, 1650, 1170}, {0, 20, 1280, 780}},
        {"off the right moves in", {1000, 100, 800, 600}, {480, 100, 800, 600}},
        {"above the top moves down", {50, -300, 800, 600}, {50, 20, 800, 600}},
        {"left of the screen moves in", {-900, 200, 800, 600}, {0, 200, 800, 600}},
    };
    for (const auto& c : cases) EXPECT_EQ(fitToAvailable(c.wanted, screen), c.fitted) << c.what;
}

TEST(WindowGeometry, ReadsWhatWasWrittenAndRefusesWhatIsNotAPlace) {
    test::TempFolder dir;
    const auto file = dir.path() / "window.ini";
    EXPECT_FALSE(readWindowGeometry(file));
    ASSERT_TRUE(writeWindowGeometry(file, QRect(-5, 12, 900, 640)));
    EXPECT_EQ(readWindowGeometry(file), QRect(-5, 12, 900, 640));
    for (const char* text : {"", "1 2 3", "1 2 3 4 5", "a b c d", "0 0 0 600", "0 0 800 -1"}) {
        test::writeBytes(file, text);
        EXPECT_FALSE(readWindowGeometry(file)) << '"' << text << '"';
    }
    test::writeBytes(file, std::string(10000, '1'));
    EXPECT_FALSE(readWindowGeometry(file));
}

}  // namespace
}  // namespace vantrel::ui
