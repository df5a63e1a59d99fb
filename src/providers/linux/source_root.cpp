#include "providers/linux/source_root.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>

#include "providers/linux/machine_files.h"

namespace vantrel::linuxhost {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

// Lexically normal ("/a/b"), with ".." never climbing above the root.
std::string normalAbsolute(std::string_view p) {
    std::vector<std::string_view> parts;
    std::size_t i = 0;
    while (i < p.size()) {
        while (i < p.size() && p[i] == '/') ++i;
        std::size_t end = i;
        while (end < p.size() && p[end] != '/') ++end;
        const std::string_view part = p.substr(i, end - i);
        i = end;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string out;
    for (const auto& part : parts) {
        out += '/';
        out += part;
    }
    return out.empty() ? "/" : out;
}

bool isNormalAbsolute(std::string_view p) {
    if (p.empty() || p[0] != '/') return false;
    if (p.size() > 1 && p.back() == '/') return false;
    return p.find("//") == std::string_view::npos && p.find("/./") == std::string_view::npos &&
           p.find("/..") == std::string_view::npos && !(p.size() >= 2 && p.substr(p.size() - 2) == "/.");
}

}  // namespace

std::string trimmed(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return std::string(text.substr(begin, end - begin));
}

std::optional<std::string> readBoundedFile(const std::filesystem::path& file) {
    // O_NONBLOCK: a FIFO planted in a copied tree must not hang the scan.
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[8192];
    bool ok = true;
    while (text.size() < kMaxSourceFileBytes) {
        const std::size_t want = std::min(sizeof buffer, kMaxSourceFileBytes - text.size());
        const ssize_t got = ::read(fd, buffer, want);
        if (got < 0) {
            ok = false;  // a folder, or a sysfs attribute the kernel refuses
            break;
        }
        if (got == 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return text;
}

namespace {

// The path with every link followed. The kernel resolves it in one open and
// says where it landed, instead of one readlink per component (sysfs device
// paths have a dozen); realpath when /proc cannot tell.
std::optional<std::string> realPath(const std::string& path) {
    const int fd = ::open(path.c_str(), O_PATH | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    char target[4096];
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target);
    ::close(fd);
    if (n > 0 && static_cast<std::size_t>(n) < sizeof target && target[0] == '/') {
        std::string resolved(target, static_cast<std::size_t>(n));
        if (!resolved.ends_with(" (deleted)")) return resolved;
    }
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return std::nullopt;
    std::string resolved(real);
    std::free(real);
    return resolved;
}

}  // namespace

SourceRoot::SourceRoot(std::filesystem::path root) : root_(std::move(root)) {
    if (root_.empty()) root_ = "/";
    prefix_ = root_.string();
    while (!prefix_.empty() && prefix_.back() == '/') prefix_.pop_back();
    if (char* real = ::realpath(root_.c_str(), nullptr)) {
        rootReal_ = real;
        std::free(real);
    } else {
        rootReal_ = root_.string();
    }
}

SourceRoot::SourceRoot(std::shared_ptr<const MachineFiles> files) : root_("/"), rootReal_("/"), files_(std::move(files)) {}

std::filesystem::path SourceRoot::path(std::string_view absolute) const {
    // Sysfs paths are read by the thousand: plain text, no path objects.
    if (isNormalAbsolute(absolute)) return prefix_ + std::string(absolute);
    return prefix_ + normalAbsolute(absolute);
}

std::optional<std::string> SourceRoot::readFile(std::string_view absolute) const {
    if (files_) return files_->readFile(normalAbsolute(absolute));
    return readBoundedFile(path(absolute));
}

std::optional<std::string> SourceRoot::readValue(std::string_view absolute) const {
    auto text = readFile(absolute);
    if (!text) return std::nullopt;
    std::string_view view = *text;
    if (auto eol = view.find('\n'); eol != std::string_view::npos) view = view.substr(0, eol);
    std::string value = trimmed(view);
    if (value.empty() || !isCleanText(value)) return std::nullopt;
    return value;
}

std::vector<std::string> SourceRoot::list(std::string_view absolute) const {
    if (files_) return files_->list(normalAbsolute(absolute));
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(path(absolute), ec), end;
    for (; !ec && it != end; it.increment(ec)) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool SourceRoot::exists(std::string_view absolute) const {
    if (files_) return files_->exists(normalAbsolute(absolute));
    std::error_code ec;
    return std::filesystem::exists(path(absolute), ec);
}

std::optional<std::string> SourceRoot::resolve(std::string_view absolute) const {
    // The kernel follows the links; a link that leads out of the root (an
    // absolute target in a copied tree) counts as unresolved, so nothing of
    // this machine is read in place of the copy.
    if (files_) return files_->resolve(normalAbsolute(absolute));
    const auto real = realPath(path(absolute));
    if (!real) return std::nullopt;
    const std::string& resolved = *real;
    if (rootReal_ == "/") return resolved;
    if (resolved == rootReal_) return std::string("/");
    if (resolved.size() <= rootReal_.size() || resolved.compare(0, rootReal_.size(), rootReal_) != 0 ||
        resolved[rootReal_.size()] != '/')
        return std::nullopt;
    return resolved.substr(rootReal_.size());
}

bool isCleanText(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7F) return false;
            ++i;
            continue;
        }
        std::size_t extra;
        unsigned min;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i <= extra) return false;
        unsigned code = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(text[i + k]);
            if ((d & 0xC0) != 0x80) return false;
            code = (code << 6) | (d & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

}  // namespace vantrel::linuxhost
