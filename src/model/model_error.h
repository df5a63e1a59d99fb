#pragma once
// Errors of the virtual PC, such as a part number outside its group.

#include "core/error.h"

namespace vantrel::model {

class ModelError : public Error {
public:
    using Error::Error;
};

}  // namespace vantrel::model
