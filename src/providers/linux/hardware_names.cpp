#include "providers/linux/hardware_names.h"

#include <libudev.h>

#include <map>
#include <mutex>

namespace vantrel::linuxhost {

namespace {

class HwdbNames : public HardwareNames {
public:
    HwdbNames() {
        udev_ = udev_new();
        if (udev_) hwdb_ = udev_hwdb_new(udev_);
    }
    ~HwdbNames() override {
        if (hwdb_) udev_hwdb_unref(hwdb_);
        if (udev_) udev_unref(udev_);
    }
    HwdbNames(const HwdbNames&) = delete;
    HwdbNames& operator=(const HwdbNames&) = delete;

    HardwareName lookup(std::string_view modalias) const override {
        HardwareName name;
        if (!hwdb_ || modalias.empty()) return name;
        const std::string key(modalias);
        // libudev objects are not thread-safe; a lookup is short.
        std::lock_guard lock(mutex_);
        // Each scan asks for the same devices several times; the database
        // matches patterns, which costs more than the map.
        if (auto known = cache_.find(key); known != cache_.end()) return known->second;
        udev_list_entry* entry = udev_hwdb_get_properties_list_entry(hwdb_, key.c_str(), 0);
        for (; entry; entry = udev_list_entry_get_next(entry)) {
            const std::string_view property = udev_list_entry_get_name(entry);
            const char* value = udev_list_entry_get_value(entry);
            if (!value) continue;
            if (property == "ID_VENDOR_FROM_DATABASE") name.vendor = value;
            if (property == "ID_MODEL_FROM_DATABASE") name.model = value;
        }
        if (cache_.size() < kMaxCached) cache_.emplace(key, name);
        return name;
    }

private:
    udev* udev_ = nullptr;
    udev_hwdb* hwdb_ = nullptr;
    static constexpr std::size_t kMaxCached = 4096;
    mutable std::mutex mutex_;
    mutable std::map<std::string, HardwareName> cache_;
};

}  // namespace

std::shared_ptr<const HardwareNames> hardwareDatabaseNames() {
    // Opening the database maps a file of several MB; once per program.
    static const std::shared_ptr<const HardwareNames> names = std::make_shared<HwdbNames>();
    return names;
}

}  // namespace vantrel::linuxhost
