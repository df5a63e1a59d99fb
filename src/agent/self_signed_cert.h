#pragma once
// The agent's TLS identity when the user gives none: an EC P-256 key and a
// self-signed certificate for this host's name and addresses, made once in
// the state folder (key mode 0600) and reused at every start.

#include <filesystem>
#include <string>

namespace vantrel::agent {

struct CertificateFiles {
    std::filesystem::path certificate;
    std::filesystem::path key;
    bool created = false;
};

// Throws AgentError when the files cannot be made.
CertificateFiles ensureSelfSignedCertificate(const std::filesystem::path& stateFolder);

// "AB:CD:..." of the first certificate in the PEM file. Throws AgentError.
std::string sha256Fingerprint(const std::filesystem::path& certificatePem);

}  // namespace vantrel::agent
