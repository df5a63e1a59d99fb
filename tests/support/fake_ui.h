#pragma once
// Test doubles shared by the core tests: a user interface that answers
// message boxes from a script and records every call, and a temporary folder.

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/ui_services.h"

namespace vantrel::test {

class FakeUi : public UiServices {
public:
    struct Message {
        std::string text, title;
        MsgIcon icon;
        MsgButtons buttons;
    };

    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override {
        messages.push_back({text, title, icon, buttons});
        if (!answers.empty()) {
            MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == MsgButtons::YesNo ? MsgAnswer::No : MsgAnswer::Ok;
    }
    void doEvents() override { ++eventRuns; }
    void beep() override { ++beeps; }
    void endProgram() override { ++endCalls; }
    int logicalDpiX() override { return dpi; }
    void popupMenu(PopupMenu menu) override { popups.push_back(menu); }

    std::deque<MsgAnswer> answers;
    std::vector<Message> messages;
    std::vector<PopupMenu> popups;
    int eventRuns = 0;
    int beeps = 0;
    int endCalls = 0;
    int dpi = 96;
};

class TempFolder {
public:
    TempFolder() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "vantrel-test-XXXXXX").string();
        path_ = mkdtemp(tmpl.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void writeBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace vantrel::test
