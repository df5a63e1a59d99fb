#pragma once
// The errors of the program, one family per layer, all of them
// vantrel::Error. An operation that fails "to the caller" throws; the
// command that owns the user-facing message catches it in one place
// (core/command.h) and shows that message.

#include <stdexcept>
#include <string>

namespace vantrel {

class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The core's family.
class CoreError : public Error {
public:
    using Error::Error;
};

// A tree control operation the control does not allow (unknown or taken key, ...).
class TreeError : public CoreError {
public:
    using CoreError::CoreError;
};

// A grid cell outside the grid.
class GridError : public CoreError {
public:
    using CoreError::CoreError;
};

// A folder or file of the program folder that cannot be made or used.
class FolderError : public CoreError {
public:
    using CoreError::CoreError;
};

}  // namespace vantrel
