#include "engine3d/scene/scene_json.h"

#include <charconv>
#include <cstdio>
#include <cmath>

namespace vantrel::engine3d {
namespace {

bool validUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 99;
        if (n == 99 || n > s.size() - i - 1) return false;
        for (std::size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) return false;
        i += n + 1;
    }
    return true;
}

class JsonWriter {
public:
    std::string out;

    void number(float v) {
        if (!std::isfinite(v)) {
            out += "null";
            return;
        }
        char buf[32];
        auto r = std::to_chars(buf, buf + sizeof buf, v);
        out.append(buf, r.ptr);
    }
    void numbers(const float* v, int n) {
        out += '[';
        for (int i = 0; i < n; ++i) {
            if (i) out += ", ";
            number(v[i]);
        }
        out += ']';
    }
    void newline(int indent) {
        out += '\n';
        out.append(static_cast<std::size_t>(indent) * 2, ' ');
    }
    void key(int indent, const char* k, bool first) {
        if (!first) out += ',';
        newline(indent);
        out += '"';
        out += k;
        out += "\": ";
    }
    template <class List, class F>
    void array(int indent, const List& items, F&& each) {
        if (items.empty()) {
            out += "[]";
            return;
        }
        out += '[';
        bool first = true;
        for (const auto& item : items) {
            if (!first) out += ',';
            first = false;
            newline(indent + 1);
            each(item, indent + 1);
        }
        newline(indent);
        out += ']';
    }

    void mesh(const CD3DMesh& m, int indent) {
        out += '{';
        key(indent + 1, "name", true);
        out += jsonString(m.ObjectName);
        key(indent + 1, "vertices", false);
        out += std::to_string(m.mesh ? m.mesh->vertexCount() : 0);
        key(indent + 1, "faces", false);
        out += std::to_string(m.mesh ? m.mesh->faceCount() : 0);
        key(indent + 1, "normals", false);
        out += m.mesh && m.mesh->hasNormals() ? "true" : "false";
        key(indent + 1, "texcoords", false);
        out += m.mesh && m.mesh->hasTexCoords() ? "true" : "false";
        key(indent + 1, "materials", false);
        std::vector<DWORD> ids(m.GetMaterialCount());
        for (DWORD i = 0; i < ids.size(); ++i) ids[i] = i;
        array(indent + 1, ids, [&](DWORD i, int ind) {
            const D3DMATERIAL8& mat = m.GetMaterial(i);
            out += '{';
            const float diffuse[4] = {mat.Diffuse.r, mat.Diffuse.g, mat.Diffuse.b, mat.Diffuse.a};
            const float specular[3] = {mat.Specular.r, mat.Specular.g, mat.Specular.b};
            const float emissive[3] = {mat.Emissive.r, mat.Emissive.g, mat.Emissive.b};
            key(ind + 1, "diffuse", true);
            numbers(diffuse, 4);
            key(ind + 1, "power", false);
            number(mat.Power);
            key(ind + 1, "specular", false);
            numbers(specular, 3);
            key(ind + 1, "emissive", false);
            numbers(emissive, 3);
            key(ind + 1, "texture", false);
            out += jsonString(m.GetTextureName(i));
            newline(ind);
            out += '}';
        });
        newline(indent);
        out += '}';
    }

    void meshes(const CD3DFrame& f, int indent) {
        std::vector<MeshPtr> list;
        for (DWORD i = 0; i < f.GetChildMeshCount(); ++i)
            if (auto m = f.GetChildMesh(i)) list.push_back(m);
        array(indent, list, [&](const MeshPtr& m, int ind) { mesh(*m, ind); });
    }

    void frames(const CD3DFrame& f, int indent) {
        std::vector<FramePtr> list;
        for (DWORD i = 0; i < f.GetChildFrameCount(); ++i)
            if (auto c = f.GetChildFrame(i)) list.push_back(c);
        array(indent, list, [&](const FramePtr& c, int ind) { frame(*c, ind); });
    }

    void frame(const CD3DFrame& f, int indent) {
        out += '{';
        key(indent + 1, "name", true);
        out += jsonString(f.ObjectName);
        key(indent + 1, "matrix", false);
        numbers(&f.GetMatrix().m[0][0], 16);
        key(indent + 1, "meshes", false);
        meshes(f, indent + 1);
        key(indent + 1, "children", false);
        frames(f, indent + 1);
        newline(indent);
        out += '}';
    }

    void animation(const CD3DAnimation& a, int indent) {
        out += '{';
        key(indent + 1, "name", true);
        out += jsonString(a.ObjectName);
        key(indent + 1, "target", false);
        out += jsonString(a.GetFrameName());
        key(indent + 1, "keys", false);
        out += "{\"rotation\": " + std::to_string(a.RotateKeys().size()) +
               ", \"scale\": " + std::to_string(a.ScaleKeys().size()) +
               ", \"position\": " + std::to_string(a.PositionKeys().size()) +
               ", \"matrix\": " + std::to_string(a.MatrixKeys().size()) + "}";
        key(indent + 1, "children", false);
        std::vector<AnimationPtr> list;
        for (DWORD i = 0; i < a.GetChildCount(); ++i) list.push_back(a.GetChild(i));
        array(indent + 1, list, [&](const AnimationPtr& c, int ind) { animation(*c, ind); });
        newline(indent);
        out += '}';
    }
};

}  // namespace

std::string jsonString(std::string_view text) {
    const bool utf8 = validUtf8(text);
    std::string out = "\"";
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || (c >= 0x80 && !utf8)) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += ch;
        }
    }
    out += '"';
    return out;
}

std::string describeSceneJson(CD3DFrame& container, const CD3DAnimation* animations) {
    JsonWriter w;
    w.out += '{';
    w.key(1, "frames", true);
    w.frames(container, 1);
    w.key(1, "meshes", false);
    w.meshes(container, 1);
    w.key(1, "animations", false);
    std::vector<const CD3DAnimation*> anims;
    if (animations && (animations->GetChildCount() > 0 || !animations->ObjectName.empty())) anims.push_back(animations);
    w.array(1, anims, [&](const CD3DAnimation* a, int ind) { w.animation(*a, ind); });
    w.out += "\n}\n";
    return w.out;
}

}  // namespace vantrel::engine3d
