#pragma once
// Failures of the 3D framework reported to the caller: index out of range, a
// device call that failed, an animation that cannot be played.

#include <stdexcept>

namespace vantrel::engine3d {

class Engine3dError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vantrel::engine3d
