#pragma once
// Reading the server's answers: Identify, Enumerate and Pull responses with
// their items, and SOAP faults. Nothing here trusts the answer: a malformed
// document or one of an unexpected shape is a WbemError, never a crash.

#include <string>
#include <string_view>
#include <vector>

namespace vantrel::wsman {

// One property element of an item as sent; arrays come as repeated elements.
struct RawProperty {
    std::string name;     // local name
    bool nil = false;     // xsi:nil="true"
    bool isDatetime = false;  // the value was wrapped in <cim:Datetime>
    bool hasElements = false; // an embedded object we do not read
    std::string xsiType;  // local part of xsi:type, such as "cimBoolean"
    std::string text;
};

struct RawItem {
    std::string className;  // empty for w:XmlFragment items
    std::vector<RawProperty> properties;
};

struct Fault {
    std::string code;      // "Sender", "Receiver"
    std::string subcode;   // local name, such as "AccessDenied" or "CannotProcessFilter"
    std::string reason;    // s:Reason text, blanks folded
    std::string detail;    // the innermost WSManFault message or MSFT_WmiError message, if any
    // The text to show: the detail where it says more, else the reason.
    std::string text() const;
};

enum class ResponseKind { Identify, Enumerate, Pull, Release, Fault };

struct Response {
    ResponseKind kind = ResponseKind::Fault;
    std::string context;  // the enumeration context to send next (empty when none)
    bool endOfSequence = false;
    std::vector<RawItem> items;
    Fault fault;
    std::string productVendor, productVersion;  // Identify
};

// Throws wbem::WbemError (ConnectionFailed) when the text is not one of the
// answers above.
Response parseResponse(std::string_view xml);

}  // namespace vantrel::wsman
