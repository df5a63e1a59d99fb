// The name index that animation loading looks targets up in must find exactly
// what FindChildObject finds, while the file's frames and meshes are appended.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine3d/scene/frame_name_index.h"
#include "scene_builders.h"

namespace vantrel::engine3d {
namespace {

using namespace test;

MeshPtr meshNamed(const std::string& name) {
    auto m = std::make_shared<CD3DMesh>();
    m->ObjectName = name;
    return m;
}

void expectSameAsSearch(FrameNameIndex& index, const FramePtr& root, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        const D3DObjectRef searched = root->FindChildObject(name);
        const D3DObjectRef indexed = index.find(name);
        EXPECT_EQ(indexed.frame, searched.frame) << "'" << name << "'";
        EXPECT_EQ(indexed.mesh, searched.mesh) << "'" << name << "'";
    }
}

TEST(FrameNameIndexLookup, FindsWhatTheDepthFirstSearchFindsAsTheRootGrows) {
    // Few names, so that frames and meshes share them at every depth.
    const std::vector<std::string> names = {"", "a", "b", "c", "d", "e", "missing"};
    std::mt19937 random(7);
    auto pick = [&] { return names[random() % 6]; };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        auto root = frameNamed(round % 3 == 0 ? "a" : "");
        FrameNameIndex index(root);
        std::vector<FramePtr> frames{root};
        for (int step = 0; step < 30; ++step) {
            // Appends to the root, as loading does; subtrees are built before they hang.
            if (random() % 3 == 0) {
                root->AddMesh(meshNamed(pick()));
            } else {
                auto top = frameNamed(pick().c_str());
                for (int k = random() % 4; k > 0; --k) {
                    auto inner = frameNamed(pick().c_str(), top);
                    if (random() % 2) inner->AddMesh(meshNamed(pick()));
                    if (random() % 2) frameNamed(pick().c_str(), inner);
                    if (random() % 2) top->AddMesh(meshNamed(pick()));
                }
                root->AddChild(top);
            }
            expectSameAsSearch(index, root, names);
        }
    }
}

}  // namespace
}  // namespace vantrel::engine3d
