#pragma once
// Reading and writing the program's text files.
//
// Files are written as UTF-8 with CR LF line ends and always replace the old
// file atomically (temporary file in the same folder, then rename), so a crash
// or a full disk never leaves half a file. Readers accept CR LF, LF-only and
// lone CR line ends, and lines in Windows-1252 (files brought over from older
// installations) as well as UTF-8.

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vantrel {

// How reading a whole file went.
enum class FileRead {
    Complete,  // read to its end (which may come early: a short file is read whole)
    Missing,   // there is no such file
    Failed,    // it exists but could not be opened or read: its content is unknown
};

// Reads a text file line by line without loading it whole; every line comes
// back as UTF-8 without its line end.
class TextLineReader {
public:
    explicit TextLineReader(const std::filesystem::path& path);
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // True when the file exists but could not be opened, or a read failed:
    // unlike a missing or short file, its content is unknown.
    bool failed() const { return failed_; }
    // True when no further line can be read.
    bool atEnd();
    // The next line, or nothing at the end of the file or on a read error.
    std::optional<std::string> readLine();

private:
    bool fill();  // false at the end of the file or on a read error

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool failed_ = false;
};

// The bytes of one line as UTF-8: kept when they are valid UTF-8, otherwise
// taken as Windows-1252.
std::string decodeLine(std::string_view bytes);
std::string decodeLine(std::string&& bytes);

// Removes leading and trailing spaces (only the space character, as the
// program's files have always been read).
std::string stripSpaces(std::string_view text);

// Replaces `path` with `content` atomically; the new file gets `mode`.
// Returns false (and leaves the old file untouched) when anything fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content, mode_t mode = 0644);

inline constexpr const char* kLineBreak = "\r\n";

// Appends `text` and a line break. A line break inside the text would shift
// every later line of the file, so it is written as a space.
void appendFileLine(std::string& out, std::string_view text);

}  // namespace vantrel
