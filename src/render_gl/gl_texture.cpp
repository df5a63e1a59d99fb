#include "render_gl/gl_texture.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

namespace vantrel::render_gl {

std::shared_ptr<GlTexture> GlTexture::fromFile(const std::string& path) {
    auto image = readImageFile(path);
    if (!image) return nullptr;
    return std::make_shared<GlTexture>(path, std::move(*image));
}

GlTexture::GlTexture(std::string sourceName, RgbaImage image)
    : D3DTexture(std::move(sourceName)), image_(std::move(image)) {}

unsigned GlTexture::bind(int generation) {
    if (generation_ == generation && id_ != 0) return id_;
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Rows go up top row first, so texture coordinate v = 0 is the picture's
    // top edge, as in Direct3D.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, image_.width, image_.height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 image_.pixels.data());
    glGenerateMipmap(GL_TEXTURE_2D);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    id_ = id;
    generation_ = generation;
    return id_;
}

void GlTexture::release(int generation) {
    if (generation_ == generation && id_ != 0) {
        GLuint id = id_;
        glDeleteTextures(1, &id);
    }
    id_ = 0;
    generation_ = -1;
}

}  // namespace vantrel::render_gl
