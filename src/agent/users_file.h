#pragma once
// The agent's own users: one "name:hash" line each, the hash a salted
// Argon2id string from libsodium, never the password. The file is created
// with mode 0600 and the agent refuses one that others can read.

#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantrel::agent {

class AgentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

using UserHashes = std::map<std::string, std::string>;

// Throws AgentError: unreadable, readable by others, or a malformed line.
UserHashes loadUsers(const std::filesystem::path& file);

// Adds the user or gives it a new password; the file is written whole to a
// temporary file and renamed over the old one. Throws AgentError.
void addUser(const std::filesystem::path& file, std::string_view name, std::string_view password);

// A user name we accept: 1 to 64 of letters, digits and . _ - @ \.
bool isValidUserName(std::string_view name);

std::string hashPassword(std::string_view password);
bool passwordMatches(const std::string& hash, std::string_view password);

}  // namespace vantrel::agent
