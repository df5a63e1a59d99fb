#include "engine3d/device/texture_cache.h"

namespace vantrel::engine3d {

TexturePtr LoadTextureCached(RenderDevice& dev, const std::string& name) {
    if (name.empty()) return nullptr;
    auto& cache = dev.textureCache();
    for (const auto& [cachedName, texture] : cache)
        if (cachedName == name) return texture;
    TexturePtr texture = dev.CreateTextureFromFile(name);
    if (!texture) return nullptr;
    cache.emplace_back(name, texture);
    return texture;
}

}  // namespace vantrel::engine3d
