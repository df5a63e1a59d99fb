#pragma once
// The desktop program's eye on the shared store: every few seconds the last
// scan of every node is read on a thread of its own (the window never waits
// for the server) and taken into the node table on the window's thread; a
// node about to be shown gets its report from the store first when another
// program scanned it since.
//
// A timer rather than LISTEN/NOTIFY: one indexed query a few seconds apart
// costs the server next to nothing, needs no trigger in the schema and
// works the same through connection poolers, and a console shows a scan a
// few seconds late at most.

#include <QObject>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "core/program_state.h"
#include "store/shared_inventory_view.h"

namespace vantrel::ui {

inline constexpr std::chrono::milliseconds kSharedStoreInterval{5000};

class SharedStoreWatch : public QObject {
    Q_OBJECT
public:
    // `sync` brings the windows up to date after the table changed.
    SharedStoreWatch(ProgramState& state, const std::string& target, std::function<void()> sync,
                     QObject* parent = nullptr);
    // Waits for a reading under way.
    ~SharedStoreWatch() override;

    // After the start-up loaded the node table: the first reading, and the timer.
    void start();
    void setInterval(std::chrono::milliseconds interval) { timer_.setInterval(interval); }
    // Starts a reading unless one is under way.
    void readNow();
    // From the start of a reading until the window's thread took it.
    bool reading() const { return reading_; }
    // Readings taken so far, and how many of them reached the store.
    int readings() const { return readings_; }
    int answered() const { return answered_; }

    // Before `node` is shown. Only while the last reading reached the store,
    // so that a server that went away never holds up the window.
    void refreshBeforeShowing(const std::string& node);

private:
    void take(std::vector<NodeLastScan> last, bool ok);

    ProgramState& state_;
    std::function<void()> sync_;
    SharedInventoryView reader_;   // the reading thread's connection
    SharedInventoryView shower_;   // the window thread's connection
    QTimer timer_;
    std::thread worker_;
    std::atomic<bool> reading_{false};
    bool lastAnswered_ = false;
    int readings_ = 0;
    int answered_ = 0;
};

}  // namespace vantrel::ui
