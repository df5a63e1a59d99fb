#include "providers/profile/profile_provider.h"

#include "wbem/wbem_error.h"

namespace vantrel::wbem {

namespace {

// One namespace of the profile; its tables are the profile's own rows.
class ProfileNamespaceSource : public TableSource {
public:
    ProfileNamespaceSource(std::shared_ptr<const Profile> profile, const ProfileNamespace& ns)
        : profile_(std::move(profile)), ns_(ns) {}

    std::shared_ptr<const Table> table(const WqlSelect& select) override {
        const ProfileClass* cls =
            findIgnoringCase(ns_.classes, select.className, [](const ProfileClass& c) { return c.name; });
        if (!cls) return nullptr;
        // Shares ownership of the profile, so no row is copied.
        return std::shared_ptr<const Table>(profile_, &cls->rows);
    }

private:
    std::shared_ptr<const Profile> profile_;
    const ProfileNamespace& ns_;
};

}  // namespace

ProfileProvider::ProfileProvider(std::shared_ptr<const Profile> profile) : profile_(std::move(profile)) {}

std::unique_ptr<Services> ProfileProvider::connect(const ConnectRequest& request) {
    if (!profile_) throw WbemError(ErrorCode::Failed, "No profile is loaded");
    // This computer (empty server) lets its own user in whatever login is given.
    if (!request.server.empty() && profile_->credentials &&
        (request.user != profile_->credentials->user || request.password != profile_->credentials->password)) {
        throw WbemError(ErrorCode::AccessDenied, "Access denied");
    }
    for (const auto& ns : profile_->namespaces)
        if (sameNamespace(ns.name, request.nameSpace))
            return std::make_unique<TableServices>(std::make_shared<ProfileNamespaceSource>(profile_, ns));
    throw WbemError(ErrorCode::InvalidNamespace, "Invalid namespace: " + request.nameSpace);
}

}  // namespace vantrel::wbem
