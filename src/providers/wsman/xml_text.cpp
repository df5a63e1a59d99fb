#include "providers/wsman/xml_text.h"

#include <cstdio>
#include <random>

namespace vantrel::wsman {

std::string newUuid() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    const std::uint64_t hi = random(), lo = random();
    char text[48];
    std::snprintf(text, sizeof text, "uuid:%08X-%04X-4%03X-%04X-%012llX", static_cast<unsigned>(hi >> 32),
                  static_cast<unsigned>((hi >> 16) & 0xFFFF), static_cast<unsigned>(hi & 0x0FFF),
                  static_cast<unsigned>(0x8000 | ((lo >> 48) & 0x3FFF)),
                  static_cast<unsigned long long>(lo & 0xFFFFFFFFFFFFull));
    return text;
}

}  // namespace vantrel::wsman
