#pragma once
// Reading and parsing the model's mesh files on a worker thread while the
// windows come up, so the assembly on the window's thread only builds the
// parts. The worker reads the files in the order the assembly asks for them,
// so the two run side by side.

#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "engine3d/xfile/xfile_reader.h"

namespace vantrel::model {

class MeshPrefetch {
public:
    // Starts reading files (names in folder, which ends with a separator).
    MeshPrefetch(std::string folder, std::vector<std::string> files);
    // Stops after the file under way.
    ~MeshPrefetch();
    MeshPrefetch(const MeshPrefetch&) = delete;
    MeshPrefetch& operator=(const MeshPrefetch&) = delete;

    // The parsed file, ready to enumerate, waiting for the worker to get
    // there. None when the file is not in the list or could not be read or
    // parsed: the caller then reads it itself, which gives the reason.
    std::optional<engine3d::XFileEnumerator> take(const std::string& file);
    const std::string& folder() const { return folder_; }

private:
    void run();

    const std::string folder_;
    const std::vector<std::string> files_;
    std::unordered_map<std::string, std::size_t> order_;       // file -> place in files_
    std::vector<std::optional<engine3d::XFileEnumerator>> parsed_;  // by place; set once read
    std::mutex mutex_;
    std::condition_variable progressed_;
    std::size_t done_ = 0;  // files_[0, done_) are read
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace vantrel::model
