#include "agent/users_file.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace vantrel::agent {

namespace {

void initSodium() {
    if (sodium_init() < 0) throw AgentError("The password library cannot start");
}

constexpr std::uintmax_t kMaxUsersFileBytes = 1u << 20;

}  // namespace

bool isValidUserName(std::string_view name) {
    if (name.empty() || name.size() > 64) return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
                        c == '_' || c == '-' || c == '@' || c == '\\';
        if (!ok) return false;
    }
    return true;
}

std::string hashPassword(std::string_view password) {
    initSodium();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, password.data(), password.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw AgentError("Not enough memory to hash the password");
    return out;
}

bool passwordMatches(const std::string& hash, std::string_view password) {
    initSodium();
    return crypto_pwhash_str_verify(hash.c_str(), password.data(), password.size()) == 0;
}

UserHashes loadUsers(const std::filesystem::path& file) {
    const std::string name = file.string();
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0) throw AgentError("Cannot read the users file " + name);
    if (!S_ISREG(st.st_mode)) throw AgentError("The users file " + name + " is not a regular file");
    if (st.st_mode & (S_IRWXG | S_IRWXO))
        throw AgentError("The users file " + name + " can be read by others; make it private (chmod 600)");
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxUsersFileBytes)
        throw AgentError("The users file " + name + " is too large");
    std::ifstream in(file);
    if (!in) throw AgentError("Cannot read the users file " + name);
    UserHashes users;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        const auto colon = line.find(':');
        if (colon == std::string::npos || !isValidUserName(line.substr(0, colon)) ||
            line.compare(colon + 1, 9, "$argon2id") != 0)
            throw AgentError(name + ":" + std::to_string(number) + ": not a \"name:hash\" line");
        users[line.substr(0, colon)] = line.substr(colon + 1);
    }
    return users;
}

void addUser(const std::filesystem::path& file, std::string_view name, std::string_view password) {
    if (!isValidUserName(name))
        throw AgentError("A user name is 1 to 64 letters, digits or . _ - @ \\ characters");
    if (password.empty()) throw AgentError("The password is empty");
    UserHashes users;
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) users = loadUsers(file);
    users[std::string(name)] = hashPassword(password);

    std::ostringstream text;
    for (const auto& [user, hash] : users) text << user << ':' << hash << '\n';
    const std::string body = text.str();
    const std::string temp = file.string() + ".new";
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) throw AgentError("Cannot write " + temp);
    bool ok = ::fchmod(fd, 0600) == 0;
    for (std::size_t done = 0; ok && done < body.size();) {
        const ssize_t n = ::write(fd, body.data() + done, body.size() - done);
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), file.string().c_str()) != 0) {
        ::unlink(temp.c_str());
        throw AgentError("Cannot write the users file " + file.string());
    }
}

}  // namespace vantrel::agent
