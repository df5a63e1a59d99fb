#include "agent/service_install.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "agent/unit_text.h"
#include "agent/users_file.h"

namespace vantrel::agent {

namespace fs = std::filesystem;

namespace {

void makeFolder(const fs::path& folder, fs::perms perms) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec) throw AgentError("Cannot create " + folder.string() + ": " + ec.message());
    fs::permissions(folder, perms, ec);
}

void writeFile(const fs::path& file, const std::string& text, mode_t mode) {
    const fs::path temp = file.string() + ".new";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    bool ok = fd >= 0 && ::fchmod(fd, mode) == 0;
    for (std::size_t done = 0; ok && done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    if (fd >= 0) ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw AgentError("Cannot write " + file.string());
    }
}

}  // namespace

void installService(const InstallPlan& plan, std::ostream& out) {
    const fs::path bin = plan.root / "usr/local/bin";
    const fs::path unitDir = plan.root / "etc/systemd/system";
    const fs::path configDir = plan.root / "etc/vantrel-agent";
    const fs::path stateDir = plan.root / "var/lib/vantrel-agent";
    makeFolder(bin, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                        fs::perms::others_exec);
    makeFolder(unitDir, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
    makeFolder(configDir, fs::perms::owner_all);
    makeFolder(stateDir, fs::perms::owner_all);

    const fs::path target = bin / "vantrel-agent";
    std::error_code ec;
    if (!fs::equivalent(plan.program, target, ec)) {
        std::ifstream in(plan.program, std::ios::binary);
        if (!in) throw AgentError("Cannot read the program " + plan.program.string());
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        writeFile(target, bytes, 0755);
    }
    writeFile(unitDir / "vantrel-agent.service", kUnitFileText, 0644);
    const fs::path users = configDir / "users";
    if (!fs::exists(users, ec)) writeFile(users, "", 0600);
    out << "Installed " << target.string() << " and " << (unitDir / "vantrel-agent.service").string() << "\n";

    if (plan.root == "/") {
        if (std::system("systemctl daemon-reload") != 0 ||
            std::system("systemctl enable --now vantrel-agent.service") != 0)
            throw AgentError("systemd did not take the service; see \"systemctl status vantrel-agent\"");
        out << "The service is enabled and started.\n";
    }
    out << "Add a user with: vantrel-agent adduser --users /etc/vantrel-agent/users NAME\n"
           "then: systemctl restart vantrel-agent; the certificate fingerprint is in \"journalctl -u vantrel-agent\".\n";
}

}  // namespace vantrel::agent
