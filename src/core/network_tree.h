#pragma once
// The network tree (and the Login dialog's tree of the same shape): one root
// "Network" and one item per shown node.

#include <string>

#include "core/mouse_button.h"
#include "core/program_state.h"

namespace vantrel {

inline constexpr const char* kNetworkRootKey = "1 node";

// Key of node i's item: "Node1 " followed by i.
std::string nodeItemKey(int node);

// Adds the root item to the network tree and, when `withLoginTree`, to the
// Login dialog's tree.
void addNetworkRoots(ProgramState& state, bool withLoginTree = true);
// Adds node i's items to both trees and records the local node.
void addNodeItems(ProgramState& state, int node);
// Builds both trees anew from the node table.
void rebuildNetworkTrees(ProgramState& state);
// After a network scan: creates every node's folder and builds both trees
// anew from the node table.
void buildNetworkTreeFromScan(ProgramState& state);
// Node i's items say its last result when the pointer rests on them.
void updateNodeToolTip(ProgramState& state, int node);
// Fills the scan dialog's grid with the node list.
void listNodes(ProgramState& state);

// Events of the network tree; the item they concern is the tree's selection.
void networkTreeClicked(ProgramState& state);
void networkTreeDoubleClicked(ProgramState& state);
void networkTreeMouseDown(ProgramState& state, MouseButton button);
void networkTreeLabelEdited(ProgramState& state, const std::string& newText);

// Node popup menu commands: "Rename Node", "Delete Node", "Jump Current Node".
void renameNode(ProgramState& state);
void deleteCurrentNode(ProgramState& state);
void jumpCurrentNode(ProgramState& state);

}  // namespace vantrel
