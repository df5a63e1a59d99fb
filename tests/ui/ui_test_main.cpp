// GoogleTest main for the widget tests: one QApplication for the whole run.
// The main window holds an OpenGL view, which needs an X server: without one
// the tests run themselves again under xvfb-run, and only when that is not
// installed fall back to Qt's offscreen platform (where the view cannot exist).

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("VANTREL_UI_TESTS_UNDER_XVFB")) {
        setenv("VANTREL_UI_TESTS_UNDER_XVFB", "1", 1);
        std::vector<char*> args = {const_cast<char*>("xvfb-run"), const_cast<char*>("-a"), const_cast<char*>("-s"),
                                   const_cast<char*>("-screen 0 1280x1024x24")};
        for (int i = 0; i < argc; ++i) args.push_back(argv[i]);
        args.push_back(nullptr);
        execvp("xvfb-run", args.data());
    }
    if (!std::getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
