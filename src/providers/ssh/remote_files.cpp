#include "providers/ssh/remote_files.h"

#include <algorithm>
#include <charconv>

#include "providers/linux/source_root.h"
#include "text/base64.h"
#include "wbem/wbem_error.h"

namespace vantrel::ssh {

namespace {

[[noreturn]] void malformed(const std::string& why) {
    throw wbem::WbemError(wbem::ErrorCode::ConnectionFailed, "The node's answer is malformed: " + why);
}

// Reads the answer a line at a time.
class Lines {
public:
    explicit Lines(std::string_view text) : text_(text) {}
    bool next(std::string_view& line) {
        if (at_ >= text_.size()) return false;
        const auto end = text_.find('\n', at_);
        if (end == std::string_view::npos) malformed("a line without its end");
        line = text_.substr(at_, end - at_);
        at_ = end + 1;
        return true;
    }
    std::string_view take(const char* what) {
        std::string_view line;
        if (!next(line)) malformed(std::string("cut short in ") + what);
        return line;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

std::size_t count(std::string_view text) {
    std::size_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (error != std::errc() || end != text.data() + text.size() || n > 1000000) malformed("a bad count");
    return n;
}

// "WORD REST": the first word and what follows its space.
std::pair<std::string_view, std::string_view> split(std::string_view line) {
    const auto space = line.find(' ');
    if (space == std::string_view::npos) malformed("a line without its path");
    return {line.substr(0, space), line.substr(space + 1)};
}

}  // namespace

template <typename Map>
auto RemoteFiles::lookup(const Map& map, std::string_view path, Ask ask) const -> const typename Map::mapped_type* {
    const auto it = map.find(path);
    if (it != map.end()) return &it->second;
    misses_.insert({ask, std::string(path)});
    return nullptr;
}

std::optional<std::string> RemoteFiles::readFile(std::string_view path) const {
    std::lock_guard lock(mutex_);
    const auto* known = lookup(files_, path, Ask::Read);
    return known ? *known : std::nullopt;
}

std::vector<std::string> RemoteFiles::list(std::string_view path) const {
    std::lock_guard lock(mutex_);
    const auto* known = lookup(folders_, path, Ask::List);
    return known ? *known : std::vector<std::string>{};
}

bool RemoteFiles::exists(std::string_view path) const {
    std::lock_guard lock(mutex_);
    // What is known of the path already says so.
    if (const auto it = exists_.find(path); it != exists_.end()) return it->second;
    if (const auto it = files_.find(path); it != files_.end() && it->second) return true;
    if (const auto it = resolved_.find(path); it != resolved_.end()) return it->second.has_value();
    misses_.insert({Ask::Exists, std::string(path)});
    return false;
}

std::optional<std::string> RemoteFiles::resolve(std::string_view path) const {
    std::lock_guard lock(mutex_);
    const auto* known = lookup(resolved_, path, Ask::Resolve);
    return known ? *known : std::nullopt;
}

std::vector<RemoteFiles::Request> RemoteFiles::takeMisses() {
    std::lock_guard lock(mutex_);
    std::vector<Request> out(misses_.begin(), misses_.end());
    misses_.clear();
    return out;
}

void RemoteFiles::merge(const std::vector<Request>& asked, std::string_view answer) {
    const std::set<Request> wanted(asked.begin(), asked.end());
    std::map<std::string, std::optional<std::string>, std::less<>> files, resolved;
    std::map<std::string, std::vector<std::string>, std::less<>> folders;
    std::map<std::string, bool, std::less<>> exists;
    Lines lines(answer);
    std::string_view line;
    bool complete = false;
    while (lines.next(line)) {
        if (line == "Z") {
            complete = true;
            break;
        }
        if (line.size() < 2 || line[1] != ' ') malformed("an unknown line");
        const char op = line[0];
        const std::string_view body = line.substr(2);
        switch (op) {
            case 'R': {
                const auto [first, rest] = split(body);
                const auto [ending, path] = split(rest);
                if (first == "-") {
                    files[std::string(path)] = std::nullopt;
                    break;
                }
                const std::size_t n = count(first);
                if (ending != "0" && ending != "1") malformed("a bad line ending");
                std::string text;
                for (std::size_t i = 0; i < n; ++i) {
                    text += lines.take("a file");
                    if (i + 1 < n || ending == "1") text += '\n';
                    if (text.size() > linuxhost::kMaxSourceFileBytes) malformed("a file larger than asked for");
                }
                files[std::string(path)] = std::move(text);
                break;
            }
            case 'B': {
                std::string bytes = text::base64Decode(lines.take("a firmware table"));
                if (bytes.size() > linuxhost::kMaxSourceFileBytes) malformed("a file larger than asked for");
                files[std::string(body)] = bytes.empty() ? std::nullopt : std::optional<std::string>(std::move(bytes));
                break;
            }
            case 'L': {
                const auto [first, rest] = split(body);
                std::vector<std::string> names;
                if (first != "-") {
                    const std::size_t n = count(first);
                    for (std::size_t i = 0; i < n; ++i) {
                        const std::string_view name = lines.take("a folder");
                        if (name.empty() || name == "." || name == ".." || name.find('/') != std::string_view::npos)
                            malformed("a bad entry name");
                        names.emplace_back(name);
                    }
                    std::sort(names.begin(), names.end());
                }
                folders[std::string(rest)] = std::move(names);
                break;
            }
            case 'P': {
                if (body.substr(0, 2) == "- ") {
                    resolved[std::string(body.substr(2))] = std::nullopt;
                    break;
                }
                const std::string_view target = lines.take("a link");
                if (target.empty() || target[0] != '/') malformed("a link that resolves to no absolute path");
                resolved[std::string(body)] = std::string(target);
                break;
            }
            case 'E': {
                const auto [flag, path] = split(body);
                if (flag != "0" && flag != "1") malformed("a bad existence flag");
                exists[std::string(path)] = flag == "1";
                break;
            }
            default: malformed("an unknown line");
        }
    }
    if (!complete) malformed("the node stopped before it answered everything");

    // Only what was asked is taken; what was asked and not answered stays absent.
    std::lock_guard lock(mutex_);
    for (const Request& r : wanted) {
        switch (r.ask) {
            case Ask::Read: {
                auto it = files.find(r.path);
                files_[r.path] = it != files.end() ? std::move(it->second) : std::nullopt;
                break;
            }
            case Ask::List: {
                auto it = folders.find(r.path);
                folders_[r.path] = it != folders.end() ? std::move(it->second) : std::vector<std::string>{};
                break;
            }
            case Ask::Resolve: {
                auto it = resolved.find(r.path);
                resolved_[r.path] = it != resolved.end() ? std::move(it->second) : std::nullopt;
                break;
            }
            case Ask::Exists: {
                auto it = exists.find(r.path);
                exists_[r.path] = it != exists.end() && it->second;
                break;
            }
        }
    }
}

std::string requestLines(const std::vector<RemoteFiles::Request>& requests) {
    std::string out;
    for (const auto& r : requests) {
        // A path holding a line break cannot be asked for: it stays absent.
        if (r.path.find('\n') != std::string::npos) continue;
        out += static_cast<char>(r.ask);
        out += ' ';
        out += r.path;
        out += '\n';
    }
    return out + "Z\n";
}

std::optional<std::size_t> answerLength(std::string_view text) {
    std::size_t at = 0;
    // The next whole line, or nullopt when it has not all come yet.
    auto line = [&]() -> std::optional<std::string_view> {
        const auto end = text.find('\n', at);
        if (end == std::string_view::npos) return std::nullopt;
        const std::string_view l = text.substr(at, end - at);
        at = end + 1;
        return l;
    };
    auto skip = [&](std::size_t n) {
        for (std::size_t i = 0; i < n; ++i)
            if (!line()) return false;
        return true;
    };
    while (const auto header = line()) {
        if (*header == "Z") return at;
        if (header->size() < 2 || (*header)[1] != ' ') malformed("an unknown line");
        const std::string_view body = header->substr(2);
        const std::string_view first = body.substr(0, body.find(' '));
        bool complete = true;
        switch ((*header)[0]) {
            case 'R':
            case 'L':
                if (first != "-") complete = skip(count(first));
                break;
            case 'B': complete = skip(1); break;
            case 'P':
                if (body.substr(0, 2) != "- ") complete = skip(1);
                break;
            case 'E': break;
            default: malformed("an unknown line");
        }
        if (!complete) return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace vantrel::ssh
