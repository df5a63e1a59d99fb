#pragma once
// The XML namespaces, actions and URIs of WS-Management as Windows speaks it.

namespace vantrel::wsman {

inline constexpr const char* kSoapNs = "http://www.w3.org/2003/05/soap-envelope";
inline constexpr const char* kAddressingNs = "http://schemas.xmlsoap.org/ws/2004/08/addressing";
inline constexpr const char* kEnumerationNs = "http://schemas.xmlsoap.org/ws/2004/09/enumeration";
inline constexpr const char* kWsmanNs = "http://schemas.dmtf.org/wbem/wsman/1/wsman.xsd";
inline constexpr const char* kIdentityNs = "http://schemas.dmtf.org/wbem/wsman/identity/1/wsmanidentity.xsd";
inline constexpr const char* kXsiNs = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr const char* kCimNs = "http://schemas.dmtf.org/wbem/wscim/1/common";
inline constexpr const char* kFaultDetailNs = "http://schemas.microsoft.com/wbem/wsman/1/wsmanfault";

inline constexpr const char* kAnonymousAddress = "http://schemas.xmlsoap.org/ws/2004/08/addressing/role/anonymous";
inline constexpr const char* kEnumerateAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/Enumerate";
inline constexpr const char* kEnumerateResponseAction =
    "http://schemas.xmlsoap.org/ws/2004/09/enumeration/EnumerateResponse";
inline constexpr const char* kPullAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/Pull";
inline constexpr const char* kPullResponseAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/PullResponse";
inline constexpr const char* kReleaseAction = "http://schemas.xmlsoap.org/ws/2004/09/enumeration/Release";
inline constexpr const char* kReleaseResponseAction =
    "http://schemas.xmlsoap.org/ws/2004/09/enumeration/ReleaseResponse";
inline constexpr const char* kFaultAction = "http://schemas.dmtf.org/wbem/wsman/1/wsman/fault";

inline constexpr const char* kWqlDialect = "http://schemas.microsoft.com/wbem/wsman/1/WQL";
// Followed by the namespace with "/" for "\" and "/*" for every class.
inline constexpr const char* kWmiResourcePrefix = "http://schemas.microsoft.com/wbem/wsman/1/wmi/";

}  // namespace vantrel::wsman
