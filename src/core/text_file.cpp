#include "core/text_file.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/regular_file.h"
#include "text/utf8.h"

namespace vantrel {

TextLineReader::TextLineReader(const std::filesystem::path& path, std::uintmax_t maxBytes, OtherBytes otherBytes)
    : maxBytes_(maxBytes), otherBytes_(otherBytes), buffer_(64 * 1024) {
    file_ = std::make_unique<text::RegularFile>(path, maxBytes);
    if (file_->check() != text::FileCheck::Ok) {
        if (file_->check() == text::FileCheck::Missing) file_.reset();
        else fail(text::fileCheckText(file_->check(), maxBytes));
        return;
    }
    if (!fill()) return;
    const auto byte = [this](std::size_t i) { return static_cast<unsigned char>(buffer_[i]); };
    // Our readers take UTF-8 and Windows-1252 only; UTF-16 read as either
    // would be rewritten garbled.
    const bool utf16 = len_ >= 2 && ((byte(0) == 0xFF && byte(1) == 0xFE) || (byte(0) == 0xFE && byte(1) == 0xFF));
    if (utf16 && otherBytes_ == OtherBytes::Refused) {
        fail("is UTF-16 text");
        return;
    }
    // Editors on other systems may start the file with a UTF-8 byte order mark.
    if (len_ >= 3 && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) pos_ = 3;
}

TextLineReader::~TextLineReader() = default;

void TextLineReader::fail(std::string problem) {
    failed_ = true;
    problem_ = std::move(problem);
    file_.reset();
    pos_ = len_ = 0;
}

bool TextLineReader::fill() {
    if (pos_ < len_) return true;
    if (!file_ || failed_) return false;
    pos_ = len_ = 0;
    const long got = file_->read(buffer_.data(), buffer_.size());
    if (got < 0) {
        fail("cannot be read");
        return false;
    }
    total_ += static_cast<std::uintmax_t>(got);
    if (total_ > maxBytes_) {
        fail(text::fileCheckText(text::FileCheck::TooLarge, maxBytes_));
        return false;
    }
    const bool nul = std::memchr(buffer_.data(), '\0', static_cast<std::size_t>(got)) != nullptr;
    if (nul && otherBytes_ == OtherBytes::Refused) {
        fail("holds NUL bytes");
        return false;
    }
    len_ = static_cast<std::size_t>(got);
    return len_ > 0;
}

bool TextLineReader::atEnd() { return !fill(); }

std::optional<std::string> TextLineReader::readLine() {
    if (!fill()) return std::nullopt;
    std::string bytes;
    for (;;) {
        const char* begin = buffer_.data() + pos_;
        const char* end = buffer_.data() + len_;
        const char* stop = begin;
        while (stop != end && *stop != '\n' && *stop != '\r') ++stop;
        bytes.append(begin, stop);
        pos_ += static_cast<std::size_t>(stop - begin);
        if (stop != end) {
            const char ending = *stop;
            ++pos_;
            // CR LF is one line end, even when the buffer splits it.
            if (ending == '\r' && fill() && buffer_[pos_] == '\n') ++pos_;
            break;
        }
        if (!fill()) break;  // last line without a line end
    }
    if (failed_) return std::nullopt;
    return decodeLine(std::move(bytes));
}

std::string decodeLine(std::string_view bytes) {
    if (text::isValidUtf8(bytes)) return std::string(bytes);
    return text::windows1252ToUtf8(bytes);
}

std::string decodeLine(std::string&& bytes) {
    if (text::isValidUtf8(bytes)) return std::move(bytes);
    return decodeLine(std::string_view(bytes));
}

std::string stripSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

void appendFileLine(std::string& out, std::string_view text) {
    for (char ch : text) out.push_back(ch == '\r' || ch == '\n' ? ' ' : ch);
    out += kLineBreak;
}

namespace {

// The file a write to `path` should replace: a symbolic link (a settings file
// kept elsewhere) is written through, not replaced by a file of its own.
// Nothing when the links go round in a circle, or end at something that is
// no regular file: renaming over a FIFO or a device would destroy it.
std::optional<std::filesystem::path> writeTarget(const std::filesystem::path& path) {
    std::filesystem::path target = path;
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const auto status = std::filesystem::symlink_status(target, ec);
        if (!std::filesystem::is_symlink(status)) {
            if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) return std::nullopt;
            return target;
        }
        const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
        if (ec) return std::nullopt;
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return std::nullopt;
}

}  // namespace

bool writeFileAtomically(const std::filesystem::path& requested, std::string_view content, mode_t mode) {
    const auto target = writeTarget(requested);
    if (!target) return false;
    const std::filesystem::path& path = *target;
    std::string tmpl = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(tmpl.data());
    if (fd < 0) return false;
    bool ok = fchmod(fd, mode) == 0;
    const char* p = content.data();
    std::size_t left = content.size();
    while (ok && left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (ok) ok = ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    if (ok) ok = std::rename(tmpl.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tmpl.c_str());
    return ok;
}

}  // namespace vantrel
