#include "engine3d/scene/cd3d_animation.h"

#include <cmath>

#include "engine3d/math/d3d_math.h"
#include "engine3d/engine3d_error.h"
#include "engine3d/scene/frame_name_index.h"
#include "engine3d/scene/xfile_scene_loader.h"

namespace vantrel::engine3d {
namespace {

constexpr DWORD kRotationKey = 0, kScaleKey = 1, kPositionKey = 2, kMatrixKey = 4;

// Where t falls in a key list: keys p and k and the fraction between them, or
// false when no key lies after t (the start value then stays).
template <class Key>
bool locate(const std::vector<Key>& keys, float t, std::size_t& p, std::size_t& k, float& f) {
    const DWORD last = keys.back().time;
    float tw = t;
    if (t > static_cast<float>(last)) {
        if (last == 0) throw Engine3dError("animation keys end at time 0 and cannot be played at a later time");
        // The whole-number quotient after rounding both to integers.
        const double q = std::floor(std::nearbyint(static_cast<double>(t)) / static_cast<double>(last));
        tw = static_cast<float>(static_cast<double>(t) - static_cast<double>(last) * q);
    }
    for (k = 0; k < keys.size(); ++k)
        if (static_cast<float>(keys[k].time) > tw) break;
    if (k == keys.size()) return false;
    p = k == 0 ? 0 : k - 1;
    const float span = static_cast<float>(keys[k].time) - static_cast<float>(keys[p].time);
    f = span == 0.0f ? 1.0f : (tw - static_cast<float>(keys[p].time)) / span;
    return true;
}

}  // namespace

void CD3DAnimation::SetFrame(FramePtr frame) {
    target_ = std::move(frame);
    targetName_ = target_ ? target_->ObjectName : std::string();
}

void CD3DAnimation::AddChild(AnimationPtr child) {
    if (child) children_.push_back(std::move(child));
}

AnimationPtr CD3DAnimation::GetChild(DWORD i) const {
    if (i >= children_.size()) throw Engine3dError("child animation index " + std::to_string(i) + " out of range");
    return children_[i];
}

void CD3DAnimation::SetTime(float t) {
    if (!std::isfinite(t)) throw Engine3dError("animation time is not a finite number");
    for (const AnimationPtr& c : children_) c->SetTime(t);
    if (!target_) return;

    // Matrix-keyed exports (no rotation, scale or position keys) play their
    // matrices: the key in effect, blended towards the next one.
    if (rotateKeys_.empty() && scaleKeys_.empty() && positionKeys_.empty() && !matrixKeys_.empty()) {
        std::size_t p = 0, k = 0;
        float f = 0;
        if (!locate(matrixKeys_, t, p, k, f)) {
            p = k = matrixKeys_.size() - 1;
            f = 0;
        }
        D3DMATRIX m;
        for (int r = 0; r < 4; ++r)
            for (int c = 0; c < 4; ++c)
                m(r, c) = matrixKeys_[p].value(r, c) + f * (matrixKeys_[k].value(r, c) - matrixKeys_[p].value(r, c));
        matrixCursor_ = static_cast<DWORD>(p);
        target_->SetMatrix(m);
        return;
    }

    D3DVECTOR scale{1, 1, 1}, position{0, 0, 0};
    D3DQUATERNION rotation = D3DXQuaternionIdentity();
    std::size_t p = 0, k = 0;
    float f = 0;
    if (!rotateKeys_.empty() && locate(rotateKeys_, t, p, k, f))
        rotation = D3DXQuaternionSlerp(rotateKeys_[p].value, rotateKeys_[k].value, f);
    if (!scaleKeys_.empty() && locate(scaleKeys_, t, p, k, f))
        scale = D3DXVec3Lerp(scaleKeys_[p].value, scaleKeys_[k].value, f);
    if (!positionKeys_.empty() && locate(positionKeys_, t, p, k, f))
        position = D3DXVec3Lerp(positionKeys_[p].value, positionKeys_[k].value, f);
    target_->SetMatrix(D3DXMatrixScaling(scale.x, scale.y, scale.z) * D3DXMatrixRotationQuaternion(rotation) *
                       D3DXMatrixTranslation(position.x, position.y, position.z));
}

void CD3DAnimation::LoadAnimationSet(const XFileData& set, const FramePtr& container, RenderDevice* dev) {
    FrameNameIndex targets(container);
    loadAnimationSet(set, targets, dev);
}

void CD3DAnimation::LoadAnimation(const XFileData& animation, const FramePtr& container, RenderDevice* dev) {
    FrameNameIndex targets(container);
    loadAnimation(animation, targets, dev);
}

// Targets are looked up through one index for the whole file: a search of the
// tree per animation would make a file of many frames and animations quadratic.
AnimationSetHandler animationSetsInto(CD3DAnimation& animation, const FramePtr& container, RenderDevice* dev) {
    auto targets = std::make_shared<FrameNameIndex>(container);
    return [&animation, targets, dev](const XFileData& set) { animation.loadAnimationSet(set, *targets, dev); };
}

void CD3DAnimation::loadAnimationSet(const XFileData& set, FrameNameIndex& targets, RenderDevice* dev) {
    ObjectName = std::string(set.name());
    for (std::size_t i = 0; i < set.childCount(); ++i) {
        try {
            const XFileData child = set.child(i);
            const XFileData target = child.resolve();
            if (!target || !target.hasTemplate("Animation")) continue;
            auto a = std::make_shared<CD3DAnimation>();
            AddChild(a);
            a->loadAnimation(target, targets, dev);
        } catch (const std::exception&) {
            // A broken animation is left out; the others still play.
        }
    }
}

void CD3DAnimation::loadAnimation(const XFileData& animation, FrameNameIndex& targets, RenderDevice* dev) {
    ObjectName = std::string(animation.name());
    for (std::size_t i = 0; i < animation.childCount(); ++i) {
        try {
            const XFileData child = animation.child(i);
            if (child.isReference()) {
                if (!child.hasTemplate("Frame")) continue;
                targetName_ = std::string(child.resolve().name());
                target_ = targets.find(targetName_).frame;
            } else if (child.hasTemplate("Frame")) {
                LoadFrameData(CD3DFrame::Create(), dev, child, targets.root());
            } else if (child.hasTemplate("AnimationKey")) {
                loadKeys(child);
            }
        } catch (const std::exception&) {
            // Step by step: a broken key or reference leaves only that part out.
        }
    }
}

void CD3DAnimation::loadKeys(const XFileData& key) {
    XDataCursor c(key);
    const DWORD type = c.u32();
    const DWORD n = c.u32();
    if (n > c.remaining() / 8) throw XFileError(key.position() + ": key count is larger than the data");
    auto readKey = [&](DWORD expected, float* values) {
        const DWORD time = c.u32();
        const DWORD count = c.u32();
        if (count != expected)
            throw XFileError(key.position() + ": key holds " + std::to_string(count) + " values, expected " +
                             std::to_string(expected));
        for (DWORD v = 0; v < count; ++v) values[v] = c.f32();
        return time;
    };
    switch (type) {
        case kRotationKey: {
            std::vector<AnimationKeyOf<D3DQUATERNION>> keys;
            for (DWORD i = 0; i < n; ++i) {
                float v[4];
                const DWORD time = readKey(4, v);
                // Stored (w, x, y, z); the sign of w flips to match the rotation convention.
                keys.push_back({time, {v[1], v[2], v[3], -v[0]}});
            }
            rotateKeys_ = std::move(keys);
            break;
        }
        case kScaleKey:
        case kPositionKey: {
            std::vector<AnimationKeyOf<D3DVECTOR>> keys;
            for (DWORD i = 0; i < n; ++i) {
                float v[3];
                const DWORD time = readKey(3, v);
                keys.push_back({time, {v[0], v[1], v[2]}});
            }
            (type == kScaleKey ? scaleKeys_ : positionKeys_) = std::move(keys);
            break;
        }
        case kMatrixKey: {
            std::vector<AnimationKeyOf<D3DMATRIX>> keys;
            for (DWORD i = 0; i < n; ++i) {
                float v[16];
                const DWORD time = readKey(16, v);
                AnimationKeyOf<D3DMATRIX> k{time, {}};
                for (int e = 0; e < 16; ++e) k.value.m[e / 4][e % 4] = v[e];
                keys.push_back(k);
            }
            matrixKeys_ = std::move(keys);
            matrixCursor_ = 0;
            break;
        }
        default: break;
    }
}

}  // namespace vantrel::engine3d
