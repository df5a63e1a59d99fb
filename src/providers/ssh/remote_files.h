#pragma once
// Another machine's files as the class readers see them, filled in batches:
// whatever they ask that is not known yet is noted and answered as absent
// for now; the next batch fetches all of it at once, in one round trip.
// Answers come from the other machine and are checked as untrusted input.

#include <compare>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "providers/linux/machine_files.h"

namespace vantrel::ssh {

class RemoteFiles : public linuxhost::MachineFiles {
public:
    enum class Ask : char { Read = 'R', List = 'L', Resolve = 'P', Exists = 'E' };
    struct Request {
        Ask ask;
        std::string path;
        auto operator<=>(const Request&) const = default;
    };

    std::optional<std::string> readFile(std::string_view path) const override;
    std::vector<std::string> list(std::string_view path) const override;
    bool exists(std::string_view path) const override;
    std::optional<std::string> resolve(std::string_view path) const override;

    // What was asked and not known since the last call.
    std::vector<Request> takeMisses();
    // Takes in the other machine's answer to `asked` (the fetch script's
    // output). Throws wbem::WbemError (ConnectionFailed) when it is not
    // well formed or incomplete; what was asked and not answered stays absent.
    void merge(const std::vector<Request>& asked, std::string_view answer);

private:
    template <typename Map>
    auto lookup(const Map& map, std::string_view path, Ask ask) const -> const typename Map::mapped_type*;

    mutable std::mutex mutex_;
    std::map<std::string, std::optional<std::string>, std::less<>> files_;
    std::map<std::string, std::vector<std::string>, std::less<>> folders_;
    std::map<std::string, std::optional<std::string>, std::less<>> resolved_;
    std::map<std::string, bool, std::less<>> exists_;
    mutable std::set<Request> misses_;
};

// The requests as the fetch script reads them: "R /path" a line, then "Z".
std::string requestLines(const std::vector<RemoteFiles::Request>& requests);

// The length of the complete answer at the start of `text` (through its
// "Z" line), or nullopt while it is still coming. Throws wbem::WbemError
// (ConnectionFailed) when it is not well formed.
std::optional<std::size_t> answerLength(std::string_view text);

// A read-only POSIX shell program that answers those lines with nothing but
// standard tools (sh builtins, base64, readlink, sudo -n for the firmware
// table), framed so that no file content is taken for framing.
extern const char* const kFetchScript;

}  // namespace vantrel::ssh
