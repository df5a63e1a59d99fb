#include "providers/linux/source_root.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <system_error>

namespace vantrel::linuxhost {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; }

// Lexically normal, with ".." never climbing above the root.
std::string normalAbsolute(const std::filesystem::path& p) {
    std::vector<std::string> parts;
    for (const auto& part : p.relative_path()) {
        const std::string s = part.string();
        if (s.empty() || s == ".") continue;
        if (s == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(s);
    }
    std::string out;
    for (const auto& part : parts) out += "/" + part;
    return out.empty() ? "/" : out;
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

SourceRoot::SourceRoot(std::filesystem::path root) : root_(std::move(root)) {
    if (root_.empty()) root_ = "/";
}

std::filesystem::path SourceRoot::path(std::string_view absolute) const {
    return root_ / std::filesystem::path(normalAbsolute(std::filesystem::path(absolute))).relative_path();
}

std::optional<std::string> SourceRoot::readFile(std::string_view absolute) const {
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
    std::vector<std::string> names;
    std::error_code ec;
    std::filesystem::directory_iterator it(path(absolute), ec), end;
    for (; !ec && it != end; it.increment(ec)) names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool SourceRoot::exists(std::string_view absolute) const {
    std::error_code ec;
    return std::filesystem::exists(path(absolute), ec);
}

std::optional<std::string> SourceRoot::resolve(std::string_view absolute) const {
    // Links are followed by hand, so that an absolute target is taken below
    // the root and not on this machine; a bounded number of hops ends loops.
    std::string current = normalAbsolute(std::filesystem::path(absolute));
    for (int hops = 0; hops < 40; ++hops) {
        // Find the first component of current that is a link.
        std::filesystem::path walked = "/";
        bool relinked = false;
        const std::filesystem::path cur(current);
        for (auto it = cur.begin(); it != cur.end(); ++it) {
            if (it->string() == "/") continue;
            walked /= *it;
            std::error_code ec;
            const auto below = root_ / walked.relative_path();
            if (!std::filesystem::is_symlink(below, ec)) {
                if (ec || !std::filesystem::exists(below, ec)) return std::nullopt;
                continue;
            }
            const auto target = std::filesystem::read_symlink(below, ec);
            if (ec) return std::nullopt;
            std::filesystem::path next = target.is_absolute() ? target : walked.parent_path() / target;
            for (auto rest = std::next(it); rest != cur.end(); ++rest) next /= *rest;
            current = normalAbsolute(next);
            relinked = true;
            break;
        }
        if (!relinked) return current;
    }
    return std::nullopt;
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
