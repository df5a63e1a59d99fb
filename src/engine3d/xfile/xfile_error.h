#pragma once
// Failure to read a .x file. The message always names the file and the place:
// line:column for text, a byte offset for binary data.

#include <string>

#include "engine3d/engine3d_error.h"

namespace vantrel::engine3d {

class XFileError : public Engine3dError {
public:
    using Engine3dError::Engine3dError;
};

}  // namespace vantrel::engine3d
