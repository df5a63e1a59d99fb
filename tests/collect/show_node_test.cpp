#include <gtest/gtest.h>

#include "collect/collection_run.h"
#include "collect/show_node.h"
#include "core/network_tree.h"
#include "support/recording_dispatch.h"
#include "support/collect_fixture.h"

using namespace vantrel;
using test::NodeFixture;

namespace {

struct ShowFixture : ::testing::Test {
    test::TempFolder home;
    NodeFixture f{home.path()};
    std::vector<std::string> steps;

    void SetUp() override {
        f.session.provider = test::profileProviderFromFile(VANTREL_COLLECT_TEST_DATA "/office_pc.json");
        f.state.domain.currentLogin = CurrentLogin{"10.0.0.7", "admin", "secret"};
        f.state.showCurrentNode = makeShowCurrentNode(f.state, f.session);
        rebuildNetworkTrees(f.state);
    }
    // Double-clicks the node's item in the network tree.
    void doubleClickNode() {
        f.state.windows.main.networkTree.select(f.state.windows.main.networkTree.find(nodeItemKey(1)));
        networkTreeDoubleClicked(f.state);
    }
};

}  // namespace

TEST_F(ShowFixture, DoubleClickingAScannedNodeShowsItsSkeletonAndLoadsItsReport) {
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    test::RecordingDispatch dispatch;
    f.session.builders = dispatch.table;
    f.state.domain.nodes.currentNode = 0;
    doubleClickNode();
    EXPECT_EQ(f.state.domain.nodes.currentNode, 1);
    ASSERT_TRUE(f.state.windows.main.hardwareTree.find("1 node"));
    EXPECT_EQ(f.state.windows.main.hardwareTree.itemCount(), 33);
    ASSERT_FALSE(dispatch.calls.empty());
    EXPECT_EQ(dispatch.calls.size(), kBuilderCount);
    EXPECT_EQ(dispatch.find("build_cpu")->seen[0][1], "Example CPU 3000 MHz");
}

TEST_F(ShowFixture, ANodeNeverScannedShowsOnlyTheSkeleton) {
    test::RecordingDispatch dispatch;
    f.session.builders = dispatch.table;
    doubleClickNode();
    EXPECT_EQ(f.state.windows.main.hardwareTree.itemCount(), 33);
    EXPECT_TRUE(dispatch.calls.empty());
    EXPECT_TRUE(f.ui.messages.empty());
}

TEST_F(ShowFixture, TheModelStepsRunAroundTheTreeAndTheLoadWhenPresent) {
    ASSERT_TRUE(CollectHardware(f.state, f.session));
    f.session.resetModel = [&] {
        steps.push_back("reset, tree items " + std::to_string(f.state.windows.main.hardwareTree.itemCount()));
    };
    f.session.builders.set(BuilderId::build_baseboard, [&](NodeReport&) {
        steps.push_back("build, tree items " + std::to_string(f.state.windows.main.hardwareTree.itemCount()));
    });
    f.session.renderView = [&] { steps.push_back("render"); };
    f.state.windows.main.hardwareTree.addRoot("stale", "stale", ImageKey::Computer);
    const int eventsBefore = f.ui.eventRuns;
    doubleClickNode();
    EXPECT_EQ(steps, (std::vector<std::string>{"reset, tree items 1", "build, tree items 33", "render"}));
    EXPECT_EQ(f.ui.eventRuns - eventsBefore, 3);  // after the reset, inside the tree build, after the tree
}
