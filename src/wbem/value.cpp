#include "wbem/value.h"

namespace vantrel::wbem {

Value Value::text(std::string text) {
    Value v;
    v.kind_ = Kind::Text;
    v.text_ = std::move(text);
    return v;
}

Value Value::integer(std::int64_t value) {
    Value v;
    v.kind_ = Kind::Integer;
    v.integer_ = value;
    return v;
}

Value Value::boolean(bool value) {
    Value v;
    v.kind_ = Kind::Boolean;
    v.integer_ = value ? 1 : 0;
    return v;
}

Value Value::array(std::vector<Value> elements) {
    Value v;
    v.kind_ = Kind::Array;
    v.elements_ = std::move(elements);
    return v;
}

std::optional<std::string> Value::toText() const {
    switch (kind_) {
        case Kind::Text: return text_;
        case Kind::Integer: return std::to_string(integer_);
        case Kind::Boolean: return std::string(integer_ != 0 ? "True" : "False");
        case Kind::Absent:
        case Kind::Array: break;
    }
    return std::nullopt;
}

const char* kindName(Value::Kind kind) {
    switch (kind) {
        case Value::Kind::Absent: return "absent";
        case Value::Kind::Text: return "text";
        case Value::Kind::Integer: return "integer";
        case Value::Kind::Boolean: return "Boolean";
        case Value::Kind::Array: return "array";
    }
    return "?";
}

}  // namespace vantrel::wbem
