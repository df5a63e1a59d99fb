#pragma once
// A field of the program's files that has a fixed set of meanings. The known
// texts become enum values when a file is read and texts again when it is
// written; any other text reads as Enum::Other and is kept exactly, so writing
// a file back never changes what the program did not understand.

#include <ostream>
#include <string>
#include <string_view>

namespace vantrel {

template <typename Enum>
struct Spelling {
    Enum value;
    std::string_view text;
};

// Each enum used here provides `spellings(Enum)`, found by argument-dependent
// lookup, returning its Spelling table; and an enumerator `Other`.
template <typename Enum>
class FileValue {
public:
    FileValue() = default;
    FileValue(Enum value) : value_(value) {}  // NOLINT: an enum value is a file value

    static FileValue fromText(std::string_view text) {
        for (const auto& s : spellings(Enum{}))
            if (s.text == text) return FileValue(s.value);
        FileValue unknown;
        unknown.other_ = std::string(text);
        return unknown;
    }

    Enum value() const { return value_; }
    std::string_view text() const {
        if (value_ != Enum::Other)
            for (const auto& s : spellings(Enum{}))
                if (s.value == value_) return s.text;
        return other_;
    }

    friend bool operator==(const FileValue& a, Enum b) { return a.value_ == b; }
    friend bool operator==(const FileValue& a, const FileValue& b) {
        return a.value_ == b.value_ && a.other_ == b.other_;
    }
    friend std::ostream& operator<<(std::ostream& out, const FileValue& v) { return out << '"' << v.text() << '"'; }

private:
    Enum value_ = Enum::Other;
    std::string other_;  // the text as read, when value_ is Other
};

}  // namespace vantrel
