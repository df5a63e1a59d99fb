#include "ui/shared_store_watch.h"

#include "core/network_tree.h"

namespace vantrel::ui {

SharedStoreWatch::SharedStoreWatch(ProgramState& state, const std::string& target, std::function<void()> sync,
                                   QObject* parent)
    : QObject(parent), state_(state), sync_(std::move(sync)), reader_(state.folder, target), shower_(state.folder, target) {
    timer_.setInterval(kSharedStoreInterval);
    connect(&timer_, &QTimer::timeout, this, &SharedStoreWatch::readNow);
}

void SharedStoreWatch::start() {
    readNow();
    timer_.start();
}

SharedStoreWatch::~SharedStoreWatch() {
    if (worker_.joinable()) worker_.join();
}

void SharedStoreWatch::readNow() {
    if (reading_) return;
    if (worker_.joinable()) worker_.join();
    reading_ = true;
    worker_ = std::thread([this] {
        std::vector<NodeLastScan> last;
        bool ok = true;
        try {
            last = reader_.readLastScans();
        } catch (const std::exception&) {
            // The scans' recorder tells the user when the server is away;
            // the next reading tries again.
            ok = false;
        }
        QMetaObject::invokeMethod(this, [this, last = std::move(last), ok]() mutable { take(std::move(last), ok); },
                                  Qt::QueuedConnection);
    });
}

void SharedStoreWatch::take(std::vector<NodeLastScan> last, bool ok) {
    reading_ = false;
    ++readings_;
    lastAnswered_ = ok;
    if (!ok) return;
    ++answered_;
    const auto changed = takeLastScans(state_.domain.nodes, last);
    for (int node : changed) updateNodeToolTip(state_, node);
    if (!changed.empty() && sync_) sync_();
}

void SharedStoreWatch::refreshBeforeShowing(const std::string& node) {
    if (!lastAnswered_) return;
    try {
        shower_.refreshReport(node);
    } catch (const std::exception&) {
        lastAnswered_ = false;  // the report on disk is shown; the next reading tells whether the server is back
    }
}

}  // namespace vantrel::ui
