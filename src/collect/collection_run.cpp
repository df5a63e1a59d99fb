#include "collect/collection_run.h"

#include <system_error>

#include "collect/catalogue.h"
#include "collect/collectors.h"
#include "collect/connection.h"
#include "collect/identity_queries.h"
#include "core/text_file.h"

namespace vantrel {

void collectReportText(ProgramState& state, HardwareSession& session) {
    session.ReportText.clear();
    session.SectionLines.clear();
    for (const auto& category : kCatalogue) {
        session.SectionLines.clear();
        session.listener->categoryStarted(category.number, static_cast<int>(kCategoryCount));
        runCollector(state, session, category);
        if (category.number >= static_cast<int>(kCategoryCount) - 1) state.ui->doEvents();
    }
}

namespace {

// Keeps every answer of the run in `answers` for as long as it lives.
class AnswerCapture {
public:
    AnswerCapture(HardwareSession& session, ScanAnswers& answers) : session_(session) {
        if (session.recorder) session.answers = &answers;
    }
    ~AnswerCapture() { session_.answers = nullptr; }
    AnswerCapture(const AnswerCapture&) = delete;
    AnswerCapture& operator=(const AnswerCapture&) = delete;

private:
    HardwareSession& session_;
};

void recordScan(const ProgramState& state, const HardwareSession& session, ScanAnswers&& answers) {
    const NodeTable& nodes = state.domain.nodes;
    if (!session.recorder || !nodes.isNode(nodes.currentNode)) return;
    CollectedScan scan;
    scan.node = nodes.node(nodes.currentNode).name;
    scan.address = nodes.node(nodes.currentNode).address;
    scan.source = state.domain.currentLogin.server.empty() && session.remoteSource != ScanSource::Profile
                      ? ScanSource::Local
                      : session.remoteSource;
    scan.time = std::chrono::system_clock::now();
    scan.reportText = session.ReportText;
    scan.answers = std::move(answers);
    session.recorder->record(scan);
}

}  // namespace

bool CollectHardware(ProgramState& state, HardwareSession& session) {
    ScanAnswers answers;
    {
        AnswerCapture capture(session, answers);
        collectReportText(state, session);
        collectIdentityAnswers(state, session);
    }
    const std::string tag = currentNodeTag(state);
    session.listener->statusChanged("Hardware data collected for " + tag);
    if (!WriteReport(state, session)) {
        session.listener->statusChanged("Unable to write the hardware report for " + tag);
        return false;
    }
    NodeTable& nodes = state.domain.nodes;
    if (nodes.isNode(nodes.currentNode)) nodes.node(nodes.currentNode).scanStatus = ScanStatus::Scanned;
    // After the report: a history that cannot be kept costs nothing of it.
    recordScan(state, session, std::move(answers));
    return true;
}

bool WriteReport(ProgramState& state, HardwareSession& session) {
    std::filesystem::path target = session.reportFileOverride;
    if (target.empty()) {
        const int i = state.domain.nodes.currentNode;
        if (!state.domain.nodes.isNode(i)) return false;
        const auto folder = state.folder.nodeFolder(state.domain.nodes.node(i).name);
        if (!folder) return false;
        std::error_code ec;
        std::filesystem::create_directory(*folder, ec);
        if (!std::filesystem::is_directory(*folder, ec)) return false;
        target = *folder / "report";
    }
    return writeFileAtomically(target, session.ReportText + kLineBreak);
}

}  // namespace vantrel
