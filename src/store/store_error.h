#pragma once
// The inventory store's family of errors: a database that cannot be opened,
// read or written, or whose contents are not ours.

#include "core/error.h"

namespace vantrel {

class StoreError : public Error {
public:
    using Error::Error;
};

}  // namespace vantrel
