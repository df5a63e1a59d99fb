#include "ui/desktop_export.h"

#include <QMetaObject>
#include <QObject>

#include "core/command.h"
#include "core/error.h"
#include "core/export_dialog.h"
#include "export/inventory_export.h"

namespace vantrel::ui {
namespace {

std::string outcomeText(const ExportChoice& choice, const InventoryExportResult& result) {
    std::string text = "Exported " + std::to_string(result.nodes) + (result.nodes == 1 ? " node" : " nodes") + " to " +
                       choice.folder;
    if (choice.html) text += " (" + std::to_string(result.pictures) + (result.pictures == 1 ? " picture)" : " pictures)");
    text += ".";
    for (const auto& problem : result.problems) text += "\nNo picture of " + problem;
    return text;
}

}  // namespace

DesktopExport::DesktopExport(ProgramState& state, QObject* context, std::function<void()> sync)
    : state_(state), context_(context), sync_(std::move(sync)) {}

DesktopExport::~DesktopExport() { wait(); }

void DesktopExport::wait() {
    if (worker_.joinable()) worker_.join();
}

void DesktopExport::post(std::function<void()> step) {
    QMetaObject::invokeMethod(
        context_,
        [this, step = std::move(step)] {
            step();
            if (sync_) sync_();
        },
        Qt::QueuedConnection);
}

void DesktopExport::start() {
    if (busy_) return;
    ExportChoice choice;
    try {
        choice = exportDialogChoice(state_);
    } catch (const CoreError& e) {
        state_.ui->messageBox(e.what(), kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    wait();
    busy_ = true;
    exportStarted(state_);
    InventoryExportRequest request;
    request.folder = choice.folder;
    request.html = choice.html;
    request.csv = choice.csv;
    request.json = choice.json;
    request.nodes = choice.nodes;
    request.workers = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    // The thread works on copies: the node table may change meanwhile.
    worker_ = std::thread([this, request, choice, folder = state_.folder, table = state_.domain.nodes,
                           background = state_.domain.settings.backgroundColor] {
        std::string outcome;
        bool failed = false;
        try {
            const auto result = exportInventory(folder, table, background, request, [this](int done, int total) {
                post([this, done, total] { exportProgress(state_, done, total); });
            });
            outcome = outcomeText(choice, result);
        } catch (const std::exception& e) {
            outcome = std::string("The export failed: ") + e.what();
            failed = true;
        }
        post([this, outcome, failed] {
            busy_ = false;
            exportFinished(state_, outcome);
            if (failed) state_.ui->messageBox(outcome, kMessageTitle, MsgIcon::Exclamation, MsgButtons::Ok);
        });
    });
}

}  // namespace vantrel::ui
