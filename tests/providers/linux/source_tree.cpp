#include "source_tree.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace vantrel::linuxhost::testing {

namespace {

std::filesystem::path safeRelative(std::string_view path) {
    const std::filesystem::path p(path);
    if (p.is_absolute()) throw std::runtime_error("absolute path in archive: " + std::string(path));
    for (const auto& part : p)
        if (part == "..") throw std::runtime_error("path leaves the root: " + std::string(path));
    return p;
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

}  // namespace

SourceTree::SourceTree() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vantrel-root-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    root_ = pattern;
}

SourceTree::~SourceTree() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

void SourceTree::file(std::string_view path, std::string_view content) const {
    const auto full = root_ / safeRelative(path.substr(path.find_first_not_of('/')));
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << content;
}

void SourceTree::link(std::string_view path, std::string_view target) const {
    const auto full = root_ / safeRelative(path.substr(path.find_first_not_of('/')));
    std::filesystem::create_directories(full.parent_path());
    std::filesystem::create_symlink(std::string(target), full);
}

void SourceTree::unpackTtar(std::string_view archive) const {
    std::vector<std::string_view> lines;
    while (!archive.empty()) {
        const auto eol = archive.find('\n');
        lines.push_back(archive.substr(0, eol));
        archive = eol == std::string_view::npos ? std::string_view() : archive.substr(eol + 1);
    }
    auto value = [](std::string_view line, std::string_view key) { return line.substr(key.size()); };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.rfind("Directory: ", 0) == 0) {
            std::filesystem::create_directories(root_ / safeRelative(value(line, "Directory: ")));
        } else if (line.rfind("Path: ", 0) == 0) {
            const std::string_view path = value(line, "Path: ");
            if (i + 1 >= lines.size()) throw std::runtime_error("archive ends inside a record");
            const std::string_view next = lines[i + 1];
            if (next.rfind("SymlinkTo: ", 0) == 0) {
                link(path, value(next, "SymlinkTo: "));
                ++i;
                continue;
            }
            if (next.rfind("Lines: ", 0) != 0) throw std::runtime_error("no line count for " + std::string(path));
            const std::size_t count = std::stoul(std::string(value(next, "Lines: ")));
            if (count > lines.size() - i - 2) throw std::runtime_error("archive ends inside " + std::string(path));
            std::string content;
            for (std::size_t k = 0; k < count; ++k) {
                content += lines[i + 2 + k];
                content += '\n';
            }
            if (content.size() >= 4 && content.compare(content.size() - 4, 4, "EOF\n") == 0)
                content.resize(content.size() - 4);
            file(path, replaced(content, "NULLBYTE", std::string_view("\0", 1)));
            i += 1 + count;
        }
    }
}

std::filesystem::path sharedFixtures() {
    const std::filesystem::path folder = VANTREL_SHARED_FIXTURES;
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec) ? folder : std::filesystem::path();
}

}  // namespace vantrel::linuxhost::testing
