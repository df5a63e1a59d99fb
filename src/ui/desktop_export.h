#pragma once
// The Export dialog's "Export": the chosen export written on a thread of its
// own (its pictures on worker threads, one GL context each), its progress
// and outcome handed to the window's thread for the dialog to show.

#include <atomic>
#include <functional>
#include <thread>

#include "core/program_state.h"

class QObject;

namespace vantrel::ui {

class DesktopExport {
public:
    // `context` is the window whose thread shows the progress; it must
    // outlive this object. `sync` brings the windows up to date with the core.
    DesktopExport(ProgramState& state, QObject* context, std::function<void()> sync);
    // Waits for an export under way: it never stops half-written.
    ~DesktopExport();

    // Checks the dialog's choice (a message box says what is missing) and
    // starts the export. Does nothing while one runs.
    void start();
    // From the start until the window's thread has taken the outcome.
    bool busy() const { return busy_; }
    void wait();

private:
    void post(std::function<void()> step);

    ProgramState& state_;
    QObject* context_;
    std::function<void()> sync_;
    std::thread worker_;
    std::atomic<bool> busy_{false};
};

}  // namespace vantrel::ui
