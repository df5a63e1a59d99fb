#pragma once
// The network tree TreeView1 (and the Login dialog's tree of the same shape):
// one root "Network" and one item per shown node.

#include <string>

#include "core/program_state.h"

namespace vantrel {

inline constexpr const char* kNetworkRootKey = "1 node";

// Key of node i's item: "Node1 " followed by i.
std::string nodeItemKey(int node);
// Label of a node by NodeLabelMode; nothing for an unknown mode.
std::optional<std::string> nodeLabel(const NodeRecord& node, const std::string& labelMode);

// Adds the root item to the network tree and, when `withLoginTree`, to the
// Login dialog's tree.
void addNetworkRoots(ProgramState& state, bool withLoginTree = true);
// Adds node i's items to both trees and records the local node.
void addNodeItems(ProgramState& state, int node);
// Builds both trees anew from the node table.
void rebuildtree(ProgramState& state);
// Builds the network tree from a fresh network scan (names, "pc" images) and
// creates every node's folder. The caller has emptied the tree.
void createnwtree(ProgramState& state);
// Fills the scan dialog's grid with the node list.
void listnodes(ProgramState& state);

// Events of TreeView1. The selected item is TreeView1's selection.
void TreeView1_Click(ProgramState& state);
void TreeView1_DblClick(ProgramState& state);
void TreeView1_MouseDown(ProgramState& state, int button);  // 2: right button
void TreeView1_AfterLabelEdit(ProgramState& state, const std::string& newText);

// Node popup menu commands.
void mnuRename_Click(ProgramState& state);
void mnudelnode_Click(ProgramState& state);
void mnujump_Click(ProgramState& state);

}  // namespace vantrel
