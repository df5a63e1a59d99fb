#include "core/text_file.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vantrel {

TextLineReader::TextLineReader(const std::filesystem::path& path) : buffer_(64 * 1024) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) return;
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

namespace {

// Length of the valid UTF-8 sequence starting at s[i], or 0 when it is not one.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) return 1;
    std::size_t len;
    std::uint32_t cp;
    if ((b0 & 0xE0) == 0xC0) { len = 2; cp = b0 & 0x1F; }
    else if ((b0 & 0xF0) == 0xE0) { len = 3; cp = b0 & 0x0F; }
    else if ((b0 & 0xF8) == 0xF0) { len = 4; cp = b0 & 0x07; }
    else return 0;
    if (len > s.size() - i) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3F);
    }
    static constexpr std::array<std::uint32_t, 5> kMinimum{0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

bool isValidUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = utf8SequenceLength(s, i);
        if (len == 0) return false;
        i += len;
    }
    return true;
}

// Windows-1252 bytes 0x80..0x9F; the five unassigned bytes keep their C1 code.
constexpr std::array<std::uint16_t, 32> kCp1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

}  // namespace

std::string decodeLine(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) out.push_back(ch);
        else if (b < 0xA0) appendUtf8(out, kCp1252High[b - 0x80]);
        else appendUtf8(out, b);
    }
    return out;
}

std::string decodeLine(std::string&& bytes) {
    if (isValidUtf8(bytes)) return std::move(bytes);
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
