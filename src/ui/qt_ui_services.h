#pragma once
// The core's view of the user interface, implemented with Qt.

#include <functional>
#include <string>

#include "core/ui_services.h"

class QWidget;

namespace vantrel::ui {

class QtUiServices : public UiServices {
public:
    MsgAnswer messageBox(const std::string& text, const std::string& title, MsgIcon icon,
                         MsgButtons buttons) override;
    void doEvents() override;
    void beep() override;
    void endProgram() override;
    int logicalDpiX() override;
    void popupMenu(PopupMenu menu) override;

    // Brings every window up to date with the core's state; runs before
    // pending events are processed, so progress shows while commands work.
    void setSync(std::function<void()> sync) { sync_ = std::move(sync); }
    void setPopupHandler(std::function<void(PopupMenu)> handler) { popup_ = std::move(handler); }
    void setDialogParent(QWidget* parent) { parent_ = parent; }
    bool ended() const { return ended_; }
    void sync() {
        if (sync_) sync_();
    }

private:
    std::function<void()> sync_;
    std::function<void(PopupMenu)> popup_;
    QWidget* parent_ = nullptr;
    bool ended_ = false;
};

}  // namespace vantrel::ui
