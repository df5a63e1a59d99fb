#pragma once

#include "core/error.h"

namespace vantrel {

// An export folder or file that cannot be made, or that is not safe to write.
class ExportError : public Error {
public:
    using Error::Error;
};

}  // namespace vantrel
