#include "core/button_panels.h"

#include "core/program_state.h"

namespace vantrel {

const std::array<ButtonDef, kButtonCount> kButtons = {{
    {"Scan", "Scan Network", Panel::Network, "scan", MenuCommand::NetworkScan},
    {"Re-Scan", "Re-Scan Network", Panel::Network, "rescan", MenuCommand::Rescan},
    {"Reset", "Reset virtual view", Panel::Pc, "reset", MenuCommand::ResetModel},
    {"View", "View all hardware available in virtual mode", Panel::Pc, "view", MenuCommand::TestView},
    {"Selected", "Scan Selected PC", Panel::Nodes, "selected", MenuCommand::ScanSelected},
    {"Local", "Scan Local PC", Panel::Nodes, "local", MenuCommand::ScanLocal},
    {"In", "Zoom In", Panel::Zoom, "zoom_in", MenuCommand::ZoomIn},
    {"Out", "Zoom Out", Panel::Zoom, "zoom_out", MenuCommand::ZoomOut},
    {"Color", "Background Color", Panel::Configure, "color", MenuCommand::BackgroundColor},
    {"Lights", "Switch virtual lights On/Off", Panel::Configure, "lights", MenuCommand::Lights},
    {"Statistics", "Node Statistics", Panel::Admin, "statistics", MenuCommand::Statistics},
    {"Logins", "Logins", Panel::Admin, "logins", MenuCommand::Logins},
    {"List", "List", Panel::Nodes, "list", MenuCommand::ScanList},
    {"Help", "Online User Guide", Panel::Support, "help", MenuCommand::Help},
    {"Settings", "Settings", Panel::Configure, "settings", MenuCommand::Settings},
    {"Web", "Vantrel home page", Panel::Support, "web", MenuCommand::Web},
    {"3D", "Show/Hide XYZ", Panel::Configure, "axes", MenuCommand::Axes},
    {"Base", "Show or Hide base", Panel::Configure, "base", MenuCommand::Base},
    {"", "Set Current Node Login", Panel::BesideNetworkTree, "login_set", MenuCommand::SetNodeLogin},
    {"", "Reset Current Node Login", Panel::BesideNetworkTree, "login_reset", MenuCommand::ResetNodeLogin},
}};

void sectionCaptionClicked(ProgramState& state, Section section) {
    MainWindowState& main = state.windows.main;
    switch (section) {
        case Section::Main: state.ui->popupMenu(PopupMenu::Main); break;
        case Section::Network: state.ui->popupMenu(PopupMenu::Network); break;
        case Section::Nodes: state.ui->popupMenu(PopupMenu::Nodes); break;
        case Section::Pc: state.ui->popupMenu(PopupMenu::Pc); break;
        case Section::Administrator: state.ui->popupMenu(PopupMenu::Administrator); break;
        case Section::Configure: state.ui->popupMenu(PopupMenu::Configure); break;
        case Section::Home: main.supportPanelShown = false; break;
        case Section::Support: main.supportPanelShown = true; break;
    }
}

}  // namespace vantrel
