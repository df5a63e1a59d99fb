#pragma once
// What the core asks of the user interface. The Qt layer implements it with
// real message boxes and event processing; tests script the answers.

#include <string>
#include <string_view>

#include "core/menus.h"

namespace vantrel {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

inline constexpr const char* kMessageTitle = "Message from Vantrel";

class UiServices {
public:
    virtual ~UiServices() = default;
    virtual MsgAnswer messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    // Let pending window events run (repaints, input).
    virtual void doEvents() = 0;
    // Sound the system beep (before a network error). Silent where there is no sound.
    virtual void beep() {}
    // End the program at once: no further window events, no other window asked.
    virtual void endProgram() = 0;
    // Logical pixels per inch across the screen.
    virtual int logicalDpiX() = 0;
    // Open a popup menu at the mouse position.
    virtual void popupMenu(PopupMenu menu) = 0;
};

}  // namespace vantrel
