#include "store/store_choice.h"

#include <fstream>

#include "core/text_file.h"

#include "store/postgres/pg_connection.h"
#include "store/postgres/postgres_inventory_store.h"
#include "store/shared_store_recorder.h"
#include "store/store_error.h"

namespace vantrel {

namespace {

constexpr const char* kSettingFile = "store.ini";
constexpr std::size_t kLongestLine = 4096;
constexpr std::uintmax_t kLongestFile = 65536;

}  // namespace

std::string storeTargetSetting(const ProgramFolder& folder) {
    const auto file = folder.root() / kSettingFile;
    // Only a regular file of a sensible size: a FIFO would hold the program up.
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec) || std::filesystem::file_size(file, ec) > kLongestFile || ec)
        return {};
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (in && std::getline(in, line) && line.size() <= kLongestLine) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.starts_with("target=")) return line.substr(7);
    }
    return {};
}

void saveStoreTargetSetting(const ProgramFolder& folder, const std::string& target) {
    if (!target.empty()) checkedStoreTarget(target);
    if (target.find_first_of("\r\n") != std::string::npos) throw StoreError("the store named spans several lines");
    const auto file = folder.root() / kSettingFile;
    if (!writeFileAtomically(file, target.empty() ? std::string() : "target=" + target + "\n"))
        throw StoreError("cannot write " + file.string());
}

std::string storeTarget(const ProgramFolder& folder, const std::string& chosen) {
    const std::string target = chosen.empty() ? storeTargetSetting(folder) : chosen;
    return target.empty() ? target : checkedStoreTarget(target);
}

std::string checkedStoreTarget(const std::string& target) {
    if (!target.starts_with("postgresql://") && !target.starts_with("postgres://") &&
        target.find('=') == std::string::npos)
        throw StoreError("the store named is neither a postgresql:// URL nor a connection string");
    if (pg::targetHasPassword(target))
        throw StoreError("the store " + pg::shownTarget(target) +
                         " names a password: keep it in ~/.pgpass or PGPASSWORD instead");
    return target;
}

std::unique_ptr<InventoryStore> openInventoryStore(const ProgramFolder& folder, const std::string& target) {
    if (target.empty()) return openHomeStore(folder);
    return std::make_unique<PostgresInventoryStore>(target);
}

std::shared_ptr<ScanRecorder> makeScanRecorder(const ProgramFolder& folder, const std::string& target,
                                               std::function<void(const std::string&)> notice,
                                               std::function<void(const HardwareChange&)> changed) {
    if (target.empty()) return std::make_shared<HomeStoreRecorder>(folder, std::move(notice), std::move(changed));
    return std::make_shared<SharedStoreRecorder>(folder, target, std::move(notice), std::move(changed));
}

}  // namespace vantrel
