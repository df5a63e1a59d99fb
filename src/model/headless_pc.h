#pragma once
// The virtual PC without a window: assembled on the recording device, with a
// report applied through the same steps as showing a stored node in the
// desktop program. The command line draws it and the export takes its
// pictures from it.

#include <filesystem>
#include <memory>
#include <string>

#include "collect/hardware_session.h"
#include "core/program_state.h"
#include "engine3d/device/recording_device.h"
#include "model/builders.h"
#include "model/virtual_pc.h"

namespace vantrel::model {

class HeadlessPc {
public:
    // A program state with one node named nodeName, shown by its name;
    // `ui` hears what showing a report has to say.
    HeadlessPc(std::unique_ptr<UiServices> ui, const std::string& home, const std::string& nodeName);

    // Assembles the model from the media folder; false when there is none.
    bool assemble();
    // Reset, hardware tree, report through the builders, picture: what
    // double-clicking a scanned node does, with the report read from file.
    void showReport(const std::filesystem::path& file);
    // The same for a report held in memory (a stored scan's); nothing is
    // written anywhere.
    void showReportText(const std::string& text);
    // The "Test View" menu item.
    void showAllParts();
    // The node shown next (its name labels the hardware tree's root).
    void nameNode(const std::string& nodeName);

    VirtualPc pc;
    engine3d::RecordingDevice device;
    const TreeControl& hardwareTree() const { return state_.windows.main.hardwareTree; }

private:
    std::unique_ptr<UiServices> ui_;
    ProgramState state_;
    HardwareSession session_;
    BuildTarget target_{pc, state_.windows.main.hardwareTree};
};

}  // namespace vantrel::model
