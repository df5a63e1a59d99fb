#pragma once
// What the desktop program's tests share: a UI that keeps its messages, and
// "Scan selected PC" answered from a profile.

#include <QCoreApplication>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "providers/profile/profile_provider.h"
#include "ui/desktop_app.h"
#include "ui/qt_ui_services.h"

namespace vantrel::test {

// Answers every message box with OK and keeps its text.
class MessageRecordingUi : public ui::QtUiServices {
public:
    std::vector<std::string> messages;
    MsgAnswer messageBox(const std::string& text, const std::string&, MsgIcon, MsgButtons) override {
        messages.push_back(text);
        return MsgAnswer::Ok;
    }
};

// Scans node `number` of the table as "Scan selected PC" does, answered from
// `profile`, and then runs the window's thread, where the notices arrive.
inline void scanNodeFromProfile(ui::DesktopSession& session, int number, const std::filesystem::path& profile) {
    session.hardware().provider =
        std::make_shared<wbem::ProfileProvider>(std::make_shared<const wbem::Profile>(wbem::loadProfile(profile)));
    session.hardware().remoteSource = ScanSource::Profile;
    session.state().domain.nodes.currentNode = number;
    session.scans().scanSelectedNode();
    session.scans().waitUntilFinished();
    QCoreApplication::processEvents();
}

}  // namespace vantrel::test
