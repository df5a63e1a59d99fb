#include "core/network_error_text.h"

namespace vantrel {

std::string networkErrorText(int code) {
    switch (code) {
        case 5: return "Access Denied! (please check your network connections)";
        case 1326: return " (please check your network connections)";
        case 1722: return "Node not accessible! (please check your network connections)";
        default: return "Please check your network connections";
    }
}

}  // namespace vantrel
