#pragma once
// "vantrel-agent install": the program, its systemd unit, a private users
// file and state folder in their places; then systemd is told, when the
// target is this system's own root.

#include <filesystem>
#include <ostream>

namespace vantrel::agent {

struct InstallPlan {
    std::filesystem::path root = "/";  // another folder: lay the files out there only
    std::filesystem::path program;     // the file to install as /usr/local/bin/vantrel-agent
};

// Throws AgentError. Tells the user what was done and what to do next.
void installService(const InstallPlan& plan, std::ostream& out);

}  // namespace vantrel::agent
