#pragma once
// What the hardware collection keeps for the whole run of the program, next
// to ProgramState: where management answers come from, the working texts of a
// collection run, the loaded report and the builders that show it.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "collect/collect_error.h"
#include "collect/node_report.h"
#include "collect/scan_answers.h"
#include "collect/scan_recorder.h"
#include "core/node_connections.h"
#include "core/scan_listener.h"
#include "wbem/services.h"

namespace vantrel {

struct HardwareSession {
    // Answers every connection; a new locator is made over it each time.
    std::shared_ptr<wbem::Provider> provider;
    // Told how the scan goes (categories, status texts, a refused connection);
    // never null.
    ScanListener* listener = &silentListener;
    // Called before a node elsewhere is contacted, with its server as the
    // login names it and how the user wants it reached, so that the provider
    // connects to it that way. Unset: every node is reached the one way.
    std::function<void(const std::string& server, const NodeConnection& connection)> prepareConnection;

    // Why the last connection test of this session failed; empty when it did not.
    std::string refusal;
    bool refusedLogin = false;  // the node refused the login itself

    // Working texts of a collection run.
    std::string ReportText;
    std::string SectionLines;
    // When set, the report is written to and read from this file instead of
    // the node's folder.
    std::filesystem::path reportFileOverride;

    // Told of every completed collection, after its report was written;
    // unset: nothing beyond the report is kept, and nothing more is asked.
    std::shared_ptr<ScanRecorder> recorder;
    // How nodes elsewhere answer this session, for the record ("Scan Local
    // PC" is always local).
    ScanSource remoteSource = ScanSource::Remote;
    // While a collection for the recorder runs: where every row the
    // queries deliver is kept.
    ScanAnswers* answers = nullptr;

    NodeReport report;
    BuilderTable builders;

    // Steps of showing a node that belong to the 3D model and view. Until
    // those exist, showing a node runs without them.
    std::function<void()> resetModel;
    std::function<void()> renderView;

private:
    inline static SilentScanListener silentListener;
};

}  // namespace vantrel
