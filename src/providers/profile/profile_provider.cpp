#include "providers/profile/profile_provider.h"

#include <optional>

#include "wbem/wbem_error.h"
#include "wbem/wql.h"

namespace vantrel::wbem {

namespace {

class ProfileRowView : public Row {
public:
    ProfileRowView(std::shared_ptr<const Profile> keep, const ProfileRow& row,
                   std::shared_ptr<const std::vector<std::string>> selected)
        : keep_(std::move(keep)), row_(row), selected_(std::move(selected)) {}

    Value property(std::string_view name) const override {
        bool isSelected = false;
        for (const auto& s : *selected_) isSelected = isSelected || equalsIgnoreCase(s, name);
        if (!isSelected) throw WbemError(ErrorCode::NotFound, "Property not found: " + std::string(name));
        for (const auto& [key, value] : row_.properties)
            if (equalsIgnoreCase(key, name)) return value;
        return Value();
    }

private:
    std::shared_ptr<const Profile> keep_;
    const ProfileRow& row_;
    // Shared with the row set, so a row stays readable after its set is gone.
    std::shared_ptr<const std::vector<std::string>> selected_;
};

class ProfileRowSet : public RowSet {
public:
    ProfileRowSet(std::shared_ptr<const Profile> profile, const ProfileNamespace& ns, std::string_view wql)
        : profile_(std::move(profile)), ns_(ns), wql_(wql) {}

    std::unique_ptr<Row> next() override {
        if (!started_) {
            started_ = true;
            try {
                start();
            } catch (const WbemError& e) {
                failure_ = e;
            }
        }
        if (failure_) throw *failure_;
        if (index_ >= class_->rows.size()) return nullptr;
        return std::make_unique<ProfileRowView>(profile_, class_->rows[index_++], selected_);
    }

private:
    // The statement is checked when the rows are first asked for, as the
    // real service reports query errors only while enumerating.
    void start() {
        WqlSelect select = parseWql(wql_);
        for (const auto& cls : ns_.classes)
            if (equalsIgnoreCase(cls.name, select.className)) class_ = &cls;
        if (!class_) throw WbemError(ErrorCode::InvalidClass, "Invalid class: " + select.className);
        selected_ = std::make_shared<const std::vector<std::string>>(std::move(select.properties));
    }

    std::shared_ptr<const Profile> profile_;
    const ProfileNamespace& ns_;
    std::string wql_;
    bool started_ = false;
    std::optional<WbemError> failure_;  // repeated on every later call
    std::shared_ptr<const std::vector<std::string>> selected_;
    const ProfileClass* class_ = nullptr;
    std::size_t index_ = 0;
};

class ProfileServices : public Services {
public:
    ProfileServices(std::shared_ptr<const Profile> profile, const ProfileNamespace& ns)
        : profile_(std::move(profile)), ns_(ns) {}

    std::unique_ptr<RowSet> ExecQuery(std::string_view wql) override {
        return std::make_unique<ProfileRowSet>(profile_, ns_, wql);
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
        if (sameNamespace(ns.name, request.nameSpace)) return std::make_unique<ProfileServices>(profile_, ns);
    throw WbemError(ErrorCode::InvalidNamespace, "Invalid namespace: " + request.nameSpace);
}

}  // namespace vantrel::wbem
