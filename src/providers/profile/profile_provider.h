#pragma once
// A computer described by a JSON profile, answering as the management
// interface would for it:
//
//   { "credentials": { "user": "admin", "password": "secret" },
//     "namespaces": { "root\\cimv2": { "Win32_BaseBoard": [ { "Manufacturer": "..." } ] } } }
//
// Strings are text, numbers integers, true/false Booleans, arrays arrays of
// those, null an absent value; a property missing from a row is absent too.
// A class missing from the namespace fails its enumeration at the start; a
// namespace missing from the profile fails ConnectServer. With credentials,
// a connection to a named server must bring exactly that user and password;
// a connection to this computer (empty server) is not asked for any.
// Namespace, class and property names compare without regard to case.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "wbem/services.h"
#include "wbem/table_services.h"

namespace vantrel::wbem {

struct ProfileCredentials {
    std::string user;
    std::string password;
};

using ProfileRow = TableRow;

struct ProfileClass {
    std::string name;
    Table rows;
};

struct ProfileNamespace {
    std::string name;
    std::vector<ProfileClass> classes;
};

struct Profile {
    std::optional<ProfileCredentials> credentials;
    std::vector<ProfileNamespace> namespaces;
};

// Both throw WbemError (InvalidProfile) with a message naming the source and
// the place (line:column for bad JSON, the member path for a bad value).
Profile parseProfile(std::string_view json, std::string_view sourceName);
Profile loadProfile(const std::filesystem::path& file);

// The profile as JSON that parseProfile reads back to the same Profile.
std::string writeProfile(const Profile& profile);

class ProfileProvider : public Provider {
public:
    explicit ProfileProvider(std::shared_ptr<const Profile> profile);
    std::unique_ptr<Services> connect(const ConnectRequest& request) override;

private:
    std::shared_ptr<const Profile> profile_;
};

}  // namespace vantrel::wbem
