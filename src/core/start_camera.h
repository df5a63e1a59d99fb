#pragma once
// Where the eye stands when the program starts, after Reset and in pictures
// drawn without a window: in front of the case and above it, looking in, far
// enough back that the case with its desk fits a 4:3 view. The camera always
// looks at the origin.

namespace vantrel {

struct CameraPosition {
    float x, y, z;
};

inline constexpr CameraPosition kStartCamera{0.0F, 10.0F, -19.0F};

}  // namespace vantrel
