#pragma once
// What a scan reports as it goes: the collection run and the connection test
// tell a listener, and whoever shows the scan (the scan dialog, the command
// line) turns that into bars, texts and pointers of its own.

#include <string>

namespace vantrel {

class ScanListener {
public:
    virtual ~ScanListener() = default;
    // Category `step` of `steps` is about to be collected (step from 1).
    virtual void categoryStarted(int step, int steps) = 0;
    // The scan's status text changed.
    virtual void statusChanged(const std::string& text) = 0;
    // The connection test was refused: the scan of this node stops here.
    virtual void connectionRefused() = 0;
    // The node's scan ended without a report: nothing of it stays on show.
    virtual void scanFailed() {}
};

// A listener that shows nothing.
class SilentScanListener : public ScanListener {
public:
    void categoryStarted(int, int) override {}
    void statusChanged(const std::string&) override {}
    void connectionRefused() override {}
};

}  // namespace vantrel
