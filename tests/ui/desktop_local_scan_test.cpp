// The desktop program collects the local computer from its own hardware and
// leaves other nodes to a remote provider, which it does not have yet.

#include <gtest/gtest.h>

#include "collect/collection_run.h"
#include "collect/connection.h"
#include "support/fake_ui.h"
#include "support/temp_folder.h"
#include "ui/desktop_app.h"
#include "ui/qt_ui_services.h"

namespace vantrel::ui {
namespace {

TEST(DesktopLocalScan, TheLocalComputerIsReadFromThisMachine) {
    test::TempFolder dir;
    QtUiServices ui;
    DesktopSession session(dir.path(), ui);
    ProgramState& state = session.state();
    NodeRecord local;
    local.name = "LOCAL";
    state.domain.nodes.currentNode = state.domain.nodes.append(local);

    // "Scan Local PC": empty server, user and password.
    state.domain.currentLogin = CurrentLogin{"", "", ""};
    collectReportText(state, session.hardware());
    const std::string& report = session.hardware().ReportText;
    EXPECT_EQ(report.rfind("Baseboard\r\n", 0), 0u);
    EXPECT_NE(report.find("\r\nOS\r\n1\r\n"), std::string::npos) << report;

    // A node elsewhere on the network has nobody to answer for it.
    state.domain.currentLogin = CurrentLogin{"10.0.0.1", "admin", "secret"};
    TestConnection(state, session.hardware());
    EXPECT_TRUE(state.domain.accessDeniedFlag);
}

}  // namespace
}  // namespace vantrel::ui
