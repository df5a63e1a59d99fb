#pragma once
// Failure to read a .x file. The message always names the file and the place:
// line:column for text, a byte offset for binary data.

#include <stdexcept>
#include <string>

namespace vantrel::engine3d {

class XFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vantrel::engine3d
