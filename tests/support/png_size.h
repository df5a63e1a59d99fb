#pragma once
// Width and height from a PNG file's header; (0, 0) when it is not a PNG.

#include <filesystem>
#include <string>
#include <utility>

#include "support/temp_folder.h"

namespace vantrel::test {

inline std::pair<int, int> pngSize(const std::filesystem::path& file) {
    const std::string bytes = readBytes(file);
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
    auto word = [&](int at) {
        int v = 0;
        for (int i = 0; i < 4; ++i) v = v * 256 + static_cast<unsigned char>(bytes[at + i]);
        return v;
    };
    return {word(16), word(20)};
}

}  // namespace vantrel::test
