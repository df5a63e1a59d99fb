#pragma once
// The requests the client sends: Identify, and Enumerate / Pull / Release of
// a WQL query on the WMI resource of a namespace.

#include <chrono>
#include <string>
#include <string_view>

namespace vantrel::wsman {

struct RequestHeader {
    std::string to;           // the endpoint URL
    std::string resourceUri;  // see wmiResourceUri
    std::size_t maxEnvelopeSize = 512000;
    std::chrono::milliseconds operationTimeout{30000};
};

// "root\cimv2" -> http://schemas.microsoft.com/wbem/wsman/1/wmi/root/cimv2/*
std::string wmiResourceUri(std::string_view nameSpace);

std::string identifyRequest();
std::string enumerateRequest(const RequestHeader& header, std::string_view wql, unsigned maxElements);
std::string pullRequest(const RequestHeader& header, std::string_view context, unsigned maxElements);
std::string releaseRequest(const RequestHeader& header, std::string_view context);

}  // namespace vantrel::wsman
