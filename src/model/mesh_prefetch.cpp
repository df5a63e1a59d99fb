#include "model/mesh_prefetch.h"

#include <exception>

namespace vantrel::model {

MeshPrefetch::MeshPrefetch(std::string folder, std::vector<std::string> files)
    : folder_(std::move(folder)), files_(std::move(files)), parsed_(files_.size()) {
    for (std::size_t i = 0; i < files_.size(); ++i) order_.emplace(files_[i], i);
    worker_ = std::thread([this] { run(); });
}

MeshPrefetch::~MeshPrefetch() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    worker_.join();
}

void MeshPrefetch::run() {
    for (std::size_t i = 0; i < files_.size(); ++i) {
        {
            std::lock_guard lock(mutex_);
            if (stopping_) break;
        }
        std::optional<engine3d::XFileEnumerator> parsed;
        try {
            parsed = engine3d::XFileReader().open(folder_ + files_[i]);
        } catch (const std::exception&) {
            // Left empty: the assembly reads the file again and reports why.
        }
        std::lock_guard lock(mutex_);
        parsed_[i] = std::move(parsed);
        done_ = i + 1;
        progressed_.notify_all();
    }
    // Nobody waits for files that will never come.
    std::lock_guard lock(mutex_);
    done_ = files_.size();
    progressed_.notify_all();
}

std::optional<engine3d::XFileEnumerator> MeshPrefetch::take(const std::string& file) {
    const auto place = order_.find(file);
    if (place == order_.end()) return std::nullopt;
    std::unique_lock lock(mutex_);
    progressed_.wait(lock, [&] { return done_ > place->second; });
    // A copy: a file shared by several parts is enumerated once per part.
    return parsed_[place->second];
}

}  // namespace vantrel::model
