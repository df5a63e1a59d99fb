#pragma once
// A numbered group of part frames (USB sockets 1 to 16, slots 1 to 7, ...),
// indexed from 1 as the model's parts are counted.

#include <array>
#include <string>

#include "engine3d/scene/cd3d_frame.h"
#include "model/model_error.h"

namespace vantrel::model {

template <int N>
class FrameArray {
public:
    static constexpr int kSize = N;

    engine3d::FramePtr& operator[](int k) {
        check(k);
        return frames_[static_cast<std::size_t>(k - 1)];
    }
    const engine3d::FramePtr& operator[](int k) const {
        check(k);
        return frames_[static_cast<std::size_t>(k - 1)];
    }

private:
    static void check(int k) {
        if (k < 1 || k > N) throw ModelError("part number " + std::to_string(k) + " out of 1.." + std::to_string(N));
    }
    std::array<engine3d::FramePtr, N> frames_;
};

}  // namespace vantrel::model
