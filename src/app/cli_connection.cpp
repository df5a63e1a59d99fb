#include "app/cli_connection.h"

#include <algorithm>

namespace vantrel::cli {

OptionTaken ConnectionOptions::take(const std::vector<std::string>& args, std::size_t& i) {
    const std::string& option = args[i];
    if (option == "--insecure-http" || option == "--negotiate-http" || option == "--negotiate") {
        (option == "--insecure-http" ? insecureHttp : option == "--negotiate" ? negotiateHttps : negotiateHttp) = true;
        given_.push_back(option);
        return OptionTaken::Taken;
    }
    if (option == "--accept-new-host-key") {
        acceptNewHostKey = true;
        given_.push_back(option);
        return OptionTaken::Taken;
    }
    if (option == "--ssh") ssh = true;
    std::string* value = option == "--server" || option == "--ssh" ? &server
                         : option == "--identity" ? &identity
                         : option == "--user"     ? &user
                         : option == "--password" ? &password
                         : option == "--trust"    ? &trustFile
                                                  : nullptr;
    if (!value) return OptionTaken::NotMine;
    if (i + 1 >= args.size()) return OptionTaken::MissingValue;
    *value = args[++i];
    given_.push_back(option);
    return OptionTaken::Taken;
}

bool ConnectionOptions::given(const std::string& option) const {
    return std::find(given_.begin(), given_.end(), option) != given_.end();
}

std::optional<std::string> ConnectionOptions::conflict() const {
    if (given("--ssh") && given("--server")) return "--ssh and --server exclude each other";
    if (ssh && (!trustFile.empty() || insecureHttp || negotiateHttp || negotiateHttps))
        return "--ssh excludes --trust, --negotiate, --negotiate-http and --insecure-http";
    if (!ssh && (!identity.empty() || acceptNewHostKey)) return "--identity and --accept-new-host-key need --ssh";
    if (insecureHttp + negotiateHttp + negotiateHttps > 1)
        return "--negotiate, --negotiate-http and --insecure-http exclude each other";
    if (!remote() && (!trustFile.empty() || insecureHttp || negotiateHttp || negotiateHttps))
        return "--trust, --negotiate, --negotiate-http and --insecure-http need --server";
    return std::nullopt;
}

std::string connectionFailureReason(const std::string& user, const std::string& server,
                                    const std::optional<wbem::WbemError>& cause) {
    const std::string why = cause ? std::string(": ") + cause->what() : std::string();
    if (!cause || cause->code() == wbem::ErrorCode::AccessDenied)
        return (user.empty() ? "access denied by " + server : "access denied to " + user + " at " + server) + why;
    // The cause names what happened (no answer, an untrusted certificate, an unusable answer).
    return "the connection to " + server + " failed" + why;
}

}  // namespace vantrel::cli
