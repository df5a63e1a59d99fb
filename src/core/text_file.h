#pragma once
// Reading and writing the program's text files.
//
// Files are written as UTF-8 with CR LF line ends and always replace the old
// file atomically (temporary file in the same folder, then rename), so a crash
// or a full disk never leaves half a file. Readers accept CR LF, LF-only and
// lone CR line ends, and lines in Windows-1252 (files brought over from older
// installations) as well as UTF-8.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vantrel::text {
class RegularFile;
}

namespace vantrel {

// How reading a whole file went.
enum class FileRead {
    Complete,  // read to its end (which may come early: a short file is read whole)
    Missing,   // there is no such file
    Failed,    // it exists but could not be opened or read: its content is unknown
};

// Far above any file the program writes (a node table of a million nodes is
// well below it); a larger one is not ours.
inline constexpr std::uintmax_t kMaxTextFileBytes = 256u << 20;

// What a reader takes besides UTF-8 and Windows-1252 text.
enum class OtherBytes {
    // UTF-16 or NUL bytes fail the read: the program's own files, which a
    // garbled reading would have rewritten garbled.
    Refused,
    // Read as they come: reports, whose lines may hold whatever a node sent.
    Taken,
};

// Reads a text file line by line without loading it whole; every line comes
// back as UTF-8 without its line end. Only a regular file of at most maxBytes
// is read: a FIFO, a device or a larger file fails at once.
class TextLineReader {
public:
    explicit TextLineReader(const std::filesystem::path& path, std::uintmax_t maxBytes = kMaxTextFileBytes,
                            OtherBytes otherBytes = OtherBytes::Refused);
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    // True when the file exists but could not be opened, or a read failed:
    // unlike a missing or short file, its content is unknown.
    bool failed() const { return failed_; }
    // Why it failed, to follow the file's name ("is not a regular file");
    // empty when it did not.
    const std::string& problem() const { return problem_; }
    // True when no further line can be read.
    bool atEnd();
    // The next line, or nothing at the end of the file or on a read error.
    std::optional<std::string> readLine();

private:
    bool fill();  // false at the end of the file or on a read error
    void fail(std::string problem);

    std::unique_ptr<text::RegularFile> file_;
    std::uintmax_t maxBytes_;
    OtherBytes otherBytes_;
    std::uintmax_t total_ = 0;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool failed_ = false;
    std::string problem_;
};

// The bytes of one line as UTF-8: kept when they are valid UTF-8, otherwise
// taken as Windows-1252.
std::string decodeLine(std::string_view bytes);
std::string decodeLine(std::string&& bytes);

// Removes leading and trailing spaces (only the space character, as the
// program's files have always been read).
std::string stripSpaces(std::string_view text);

// Replaces `path` with `content` atomically; the new file gets `mode`. A
// symbolic link is written through: its target is replaced, in the target's
// folder, and the link stays. Returns false (and leaves the old file
// untouched) when anything fails.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view content, mode_t mode = 0644);

inline constexpr const char* kLineBreak = "\r\n";

// Appends `text` and a line break. A line break inside the text would shift
// every later line of the file, so it is written as a space.
void appendFileLine(std::string& out, std::string_view text);

}  // namespace vantrel
