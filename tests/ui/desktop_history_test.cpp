// The desktop program keeps every scan in the folder's history, says once
// when it cannot, and loses no scan while other programs read and write
// the same history.

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "core/home_lock.h"
#include "engine3d/math/d3d_math.h"
#include "engine3d/scene/cd3d_pick.h"
#include "engine3d/scene/frame_path.h"
#include "model/change_marks.h"
#include "providers/profile/profile_provider.h"
#include "store/home_store.h"
#include "support/run_program.h"
#include "support/workstation_profiles.h"
#include "desktop_test_support.h"
#include "ui/desktop_app.h"
#include "ui/desktop_view.h"
#include "ui/history_dialog.h"
#include "ui/main_window.h"
#include "ui/qt_ui_services.h"
#include "ui/scene_view_widget.h"
#include "ui/view_panel.h"

namespace vantrel::ui {
namespace {

const std::string kSettings = "admin\r\nsecret\r\n25\r\n0\r\n0\r\n0\r\nNAME\r\n0\r\nroot\\cimv2\r\n";
const std::string kTable = "WS-7\r\n10.213.9.7\r\nWS-7\r\nTrue\r\n\r\n\r\nFalse\r\n"
                           "WS-8\r\n10.213.9.8\r\nWS-8\r\nTrue\r\n\r\n\r\nFalse\r\n";

struct DesktopHistory : ::testing::Test {
    test::TempFolder home;
    test::TempFolder io;
    test::MessageRecordingUi ui;

    void SetUp() override {
        test::writeBytes(home.path() / "vantrel.ini", kSettings);
        test::writeBytes(home.path() / "lg.ini", kTable);
    }
    // Scans node `number` from `profile` as "Scan selected PC" does.
    static void scanNode(DesktopSession& session, int number, const std::filesystem::path& profile) {
        test::scanNodeFromProfile(session, number, profile);
        ASSERT_EQ(session.state().domain.nodes.node(number).scanStatus.value(), ScanStatus::Scanned);
    }
};

TEST_F(DesktopHistory, EveryScanIsKeptWithWhatChanged) {
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    scanNode(session, 1, test::workstationProfile());
    scanNode(session, 1, test::writeChangedWorkstation(io.path()));
    session.main().close();
    const auto scans = openHomeStore(ProgramFolder(home.path()))->listScans("WS-7");
    ASSERT_EQ(scans.size(), 2u);
    EXPECT_EQ(scans[0].source, "profile");
    EXPECT_EQ(scans[1].summary, "Disk Drive: 1 added, 1 removed; Memory: 1 removed; Video: 1 added");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(DesktopHistory, AHistoryThatCannotBeKeptIsSaidOnce) {
    test::writeBytes(home.path() / "inventory.db", std::string(8192, '\x33'));
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    scanNode(session, 1, test::workstationProfile());
    scanNode(session, 2, test::workstationProfile());
    QCoreApplication::processEvents();
    session.main().close();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].rfind("The scan history is not kept (", 0), 0u) << ui.messages[0];
    EXPECT_TRUE(std::filesystem::exists(home.path() / "WS-8" / "report"));
}

// The desktop program holds its folder, so a second scanning program is told
// so and leaves it alone; the history is read while the desktop scans, and
// another program writing into the same history at once loses no scan.
TEST_F(DesktopHistory, WhileTheDesktopScansNoScanIsLost) {
    constexpr int kRounds = 6;
    HomeLock lock(ProgramFolder(home.path()).lockFile(), "vantrel (the desktop program)");
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    std::vector<test::ProgramRun> readers;
    test::ProgramRun refused{};
    std::thread others([&] {
        SqliteInventoryStore secondWriter(inventoryFile(ProgramFolder(home.path())));
        for (int i = 0; i < kRounds; ++i) {
            CollectedScan scan;
            scan.node = "WS-8";
            scan.time = std::chrono::system_clock::now();
            scan.reportText = "Sound\r\n1\r\nCard " + std::to_string(i);
            secondWriter.recordScan(scan);
            readers.push_back(test::runProgram(VANTREL_CLI_PATH, {"--home", home.path().string(), "history", "WS-8"},
                                               io.path()));
        }
        refused = test::runProgram(VANTREL_CLI_PATH,
                                   {"--home", home.path().string(), "scan", "--node", "WS-8", "--profile",
                                    test::workstationProfile().string()},
                                   io.path());
    });
    for (int i = 0; i < kRounds; ++i) scanNode(session, 1, test::workstationProfile());
    others.join();
    QCoreApplication::processEvents();
    session.main().close();

    for (std::size_t i = 0; i < readers.size(); ++i) {
        EXPECT_EQ(readers[i].status, 0) << readers[i].err;
        EXPECT_GE(std::count(readers[i].out.begin(), readers[i].out.end(), '\n'), static_cast<long>(i) + 1);
    }
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("is in use by vantrel (the desktop program)"), std::string::npos) << refused.err;
    auto store = openHomeStore(ProgramFolder(home.path()));
    EXPECT_EQ(store->listScans("WS-7").size(), static_cast<std::size_t>(kRounds));
    EXPECT_EQ(store->listScans("WS-8").size(), static_cast<std::size_t>(kRounds));
    EXPECT_TRUE(ui.messages.empty());
}

// The screen box of every vertex under a frame, in the view's pixels.
struct ScreenBox {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
};

void addToBox(const engine3d::FramePtr& frame, const engine3d::RenderDevice& device, ScreenBox& box) {
    using namespace engine3d;
    const D3DMATRIX viewProj = device.GetTransform(D3DTS_VIEW) * device.GetTransform(D3DTS_PROJECTION);
    const auto viewport = device.GetViewport();
    for (DWORD m = 0; m < frame->GetChildMeshCount(); ++m) {
        const auto& geometry = *frame->GetChildMesh(m)->mesh;
        for (std::size_t v = 0; v < geometry.vertexCount(); ++v) {
            const D3DVECTOR world = D3DXVec3TransformCoord(geometry.position(v), frame->GetUpdatedMatrix());
            const D3DVECTOR ndc = D3DXVec3TransformCoord(world, viewProj);
            const float x = (ndc.x + 1) / 2 * float(viewport.Width), y = (1 - ndc.y) / 2 * float(viewport.Height);
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
        }
    }
    for (DWORD c = 0; c < frame->GetChildFrameCount(); ++c) addToBox(frame->GetChildFrame(c), device, box);
}

// After a service visit took a memory module out, "Compare with previous"
// shows the module where it was as a ghost, lists it in the hardware tree,
// and a click on the ghost names the module and when it was last seen.
TEST_F(DesktopHistory, CompareWithPreviousShowsTheRemovedModuleAsAGhostThatAClickNames) {
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&session.main()));
    scanNode(session, 1, test::workstationProfile());
    scanNode(session, 1, test::writeChangedWorkstation(io.path()));
    view::SceneView& view = *session.view().sceneView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view.ModelReady; }, 20000));

    session.main().menuAction(MenuCommand::CompareWithPrevious)->trigger();
    ASSERT_TRUE(ui.messages.empty()) << ui.messages.front();
    const auto scans = openHomeStore(ProgramFolder(home.path()))->listScans("WS-7");
    ASSERT_EQ(scans.size(), 2u);
    const std::string removed = "Removed: DIMM 2: 8 GiB Example Memory EXM-8G (serial M-0002) (last seen " +
                                timeText(scans[0].time) + ")";
    const TreeControl& tree = session.state().windows.main.hardwareTree;
    bool listed = false;
    for (int i = 0; i < tree.itemCount(); ++i) listed = listed || tree.item(i).text == removed;
    EXPECT_TRUE(listed) << removed;

    const model::VirtualPc& pc = session.virtualPc();
    const engine3d::FramePtr ghost = pc.MemoryModuleFrame[2];
    ASSERT_TRUE(ghost->Enabled);
    EXPECT_EQ(ghost->Tint, model::kRemovedGhost);

    // A point of the view where the ghost is the nearest thing.
    engine3d::RenderDevice& device = session.view().util()->device();
    pc.SceneRoot->UpdateFrames();
    ScreenBox box;
    addToBox(ghost, device, box);
    ASSERT_LT(box.left, box.right);
    std::optional<QPoint> onGhost;
    for (int y = int(box.top); y <= int(box.bottom) && !onGhost; ++y)
        for (int x = int(box.left); x <= int(box.right) && !onGhost; ++x) {
            engine3d::CD3DPick pick(device);
            if (!pick.ViewportPick(pc.PcRoot, float(x), float(y)) || pick.FindNearest() < 0) continue;
            const auto hit = pick.GetFrame(static_cast<engine3d::DWORD>(pick.FindNearest()));
            if (!engine3d::framePath(ghost, hit).empty()) onGhost = QPoint(x, y);
        }
    ASSERT_TRUE(onGhost) << "the ghost is hidden everywhere";

    QWidget* widget = session.main().sceneView()->view();
    for (auto [type, buttons] : {std::pair{QEvent::MouseButtonPress, Qt::MouseButtons(Qt::LeftButton)},
                                 std::pair{QEvent::MouseButtonRelease, Qt::MouseButtons(Qt::NoButton)}}) {
        QMouseEvent event(type, QPointF(*onGhost), widget->mapToGlobal(QPointF(*onGhost)), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    EXPECT_EQ(session.main().sceneView()->partLabel()->text().toStdString(), removed);
    session.main().close();
}

// History lists the node's scans newest first; the one chosen shows its own
// tree and model. With one scan there is nothing to compare, and the user is
// told so.
TEST_F(DesktopHistory, HistoryShowsTheChosenScansTreeAndModel) {
    DesktopSession session(home.path(), ui);
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&session.main()));
    scanNode(session, 1, test::workstationProfile());
    session.main().menuAction(MenuCommand::CompareWithPrevious)->trigger();
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], "WS-7 has one scan only: nothing to compare it with.");
    scanNode(session, 1, test::writeChangedWorkstation(io.path()));
    const model::VirtualPc& pc = session.virtualPc();
    ASSERT_FALSE(pc.MemoryModuleFrame[2]->Enabled);  // the last scan is shown

    session.main().menuAction(MenuCommand::History, PopupMenu::Pc)->trigger();
    auto* dialog = session.main().findChild<HistoryDialog*>();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    QStringList rows;
    for (int i = 0; i < dialog->list()->count(); ++i) rows << dialog->list()->item(i)->text();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].endsWith("profile   Disk Drive: 1 added, 1 removed; Memory: 1 removed; Video: 1 added"))
        << rows[0].toStdString();
    EXPECT_TRUE(rows[1].endsWith("profile   first scan")) << rows[1].toStdString();
    // The older scan, chosen with the keyboard.
    QTest::keyClick(dialog->list(), Qt::Key_Down);
    QTest::keyClick(dialog->list(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pc.MemoryModuleFrame[2]->Enabled; }, 5000));
    EXPECT_EQ(session.main().findChild<HistoryDialog*>(), nullptr);
    // The first scan: both modules, no marks, and its two memory items in the tree.
    EXPECT_TRUE(pc.changeMarks.empty());
    const TreeControl& tree = session.state().windows.main.hardwareTree;
    EXPECT_EQ(tree.item(tree.at("6 node")).children.size(), 2u);
    EXPECT_EQ(ui.messages.size(), 1u);
    // The node's report file still holds the last scan.
    EXPECT_NE(test::readBytes(home.path() / "WS-7" / "report").find("Example Graphics 500"), std::string::npos);
    session.main().close();
}

}  // namespace
}  // namespace vantrel::ui
