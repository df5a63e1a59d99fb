#pragma once
// The user interface double of every test and benchmark: it answers message
// boxes from a script and records every call.

#include <deque>
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

}  // namespace vantrel::test
