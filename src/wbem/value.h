#pragma once
// A property value as the management interface delivers it: text, integer,
// Boolean, an array of those, or absent (no value at all).

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vantrel::wbem {

class Value {
public:
    enum class Kind { Absent, Text, Integer, Boolean, Array };

    Value() = default;
    static Value text(std::string text);
    static Value integer(std::int64_t value);
    static Value boolean(bool value);
    static Value array(std::vector<Value> elements);

    Kind kind() const { return kind_; }
    bool isAbsent() const { return kind_ == Kind::Absent; }
    const std::string& asText() const { return text_; }          // Kind::Text
    std::int64_t asInteger() const { return integer_; }          // Kind::Integer
    bool asBoolean() const { return integer_ != 0; }             // Kind::Boolean
    const std::vector<Value>& elements() const { return elements_; }  // Kind::Array

    // The scalar's text form: text as it is, an integer in decimal, a Boolean
    // as "True" or "False". Absent values and arrays have none.
    std::optional<std::string> toText() const;

    friend bool operator==(const Value&, const Value&) = default;

private:
    Kind kind_ = Kind::Absent;
    std::string text_;
    std::int64_t integer_ = 0;
    std::vector<Value> elements_;
};

const char* kindName(Value::Kind kind);

}  // namespace vantrel::wbem
