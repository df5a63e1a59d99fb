#include "core/text_file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/utf8.h"

namespace vantrel {

TextLineReader::TextLineReader(const std::filesystem::path& path) : buffer_(64 * 1024) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) {
        failed_ = errno != ENOENT;
        return;
    }
    // Editors on other systems may start the file with a UTF-8 byte order mark.
    if (fill() && len_ >= 3 && static_cast<unsigned char>(buffer_[0]) == 0xEF &&
        static_cast<unsigned char>(buffer_[1]) == 0xBB && static_cast<unsigned char>(buffer_[2]) == 0xBF)
        pos_ = 3;
}

TextLineReader::~TextLineReader() {
    if (file_) std::fclose(file_);
}

bool TextLineReader::fill() {
    if (pos_ < len_) return true;
    if (!file_ || failed_) return false;
    pos_ = 0;
    len_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
    if (len_ == 0 && std::ferror(file_)) failed_ = true;
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

bool writeFileAtomically(const std::filesystem::path& path, std::string_view content, mode_t mode) {
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
