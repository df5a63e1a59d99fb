#include "xfile_writer.h"

#include <charconv>
#include <cstdint>
#include <cstring>
#include <ios>
#include <sstream>

namespace meshgen {
namespace {

// Binary token codes of the .x format.
enum : std::uint16_t {
    kName = 1,
    kIntegerList = 6,
    kFloatList = 7,
    kOpenBrace = 10,
    kCloseBrace = 11,
    kSemicolon = 20,
    kString = 2,
};

class BinaryOut {
public:
    void word(std::uint16_t v) { raw(&v, 2); }
    void dword(std::uint32_t v) { raw(&v, 4); }
    void name(const std::string& n) {
        word(kName);
        dword(static_cast<std::uint32_t>(n.size()));
        bytes_.append(n);
    }
    void string(const std::string& text) {
        word(kString);
        dword(static_cast<std::uint32_t>(text.size()));
        bytes_.append(text);
        word(kSemicolon);
    }
    void open() { word(kOpenBrace); }
    void close() { word(kCloseBrace); }
    void ints(const std::vector<std::uint32_t>& v) {
        word(kIntegerList);
        dword(static_cast<std::uint32_t>(v.size()));
        for (auto x : v) dword(x);
    }
    void floats(const std::vector<float>& v) {
        word(kFloatList);
        dword(static_cast<std::uint32_t>(v.size()));
        for (float f : v) raw(&f, 4);
    }
    std::string take() { return std::move(bytes_); }

private:
    void raw(const void* p, std::size_t n) { bytes_.append(static_cast<const char*>(p), n); }
    std::string bytes_;
};

std::vector<float> flatten(const std::vector<Vec3>& v) {
    std::vector<float> out;
    out.reserve(v.size() * 3);
    for (const auto& p : v) out.insert(out.end(), {p.x, p.y, p.z});
    return out;
}

std::vector<std::uint32_t> faceList(const Mesh& m) {
    std::vector<std::uint32_t> out{static_cast<std::uint32_t>(m.faces.size())};
    for (const auto& f : m.faces)
        out.insert(out.end(), {3u, static_cast<std::uint32_t>(f.v[0]), static_cast<std::uint32_t>(f.v[1]),
                               static_cast<std::uint32_t>(f.v[2])});
    return out;
}

std::vector<float> flatten(const std::vector<std::array<float, 2>>& v) {
    std::vector<float> out;
    out.reserve(v.size() * 2);
    for (const auto& p : v) out.insert(out.end(), {p[0], p[1]});
    return out;
}

std::vector<float> materialValues(const Colour& c) {
    return {c.r, c.g, c.b, 1.0f, c.power, c.specular, c.specular, c.specular, 0.0f, 0.0f, 0.0f};
}

std::string binaryFile(const std::vector<XFrame>& frames) {
    BinaryOut out;
    for (const auto& f : frames) {
        const Mesh& m = f.mesh;
        out.name("Frame");
        out.name(f.name);
        out.open();
        out.name("FrameTransformMatrix");
        out.open();
        out.floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1});
        out.close();
        out.name("Mesh");
        out.open();
        out.ints({static_cast<std::uint32_t>(m.positions.size())});
        out.floats(flatten(m.positions));
        out.ints(faceList(m));
        out.name("MeshNormals");
        out.open();
        out.ints({static_cast<std::uint32_t>(m.normals.size())});
        out.floats(flatten(m.normals));
        out.ints(faceList(m));
        out.close();
        if (m.textured()) {
            out.name("MeshTextureCoords");
            out.open();
            out.ints({static_cast<std::uint32_t>(m.uvs.size())});
            out.floats(flatten(m.uvs));
            out.close();
        }
        out.name("MeshMaterialList");
        out.open();
        std::vector<std::uint32_t> list{static_cast<std::uint32_t>(m.materials.size()),
                                        static_cast<std::uint32_t>(m.faces.size())};
        for (const auto& t : m.faces) list.push_back(static_cast<std::uint32_t>(t.material));
        out.ints(list);
        for (const auto& c : m.materials) {
            out.name("Material");
            out.open();
            out.floats(materialValues(c.colour));
            if (!c.texture.empty()) {
                out.name("TextureFilename");
                out.open();
                out.string(c.texture);
                out.close();
            }
            out.close();
        }
        out.close();
        out.close();
        out.close();
    }
    return "xof 0303bin 0032" + out.take();
}

// The shortest text that reads back as the same float ("-3.3", "0").
std::string number(float f) {
    if (f == 0.0f) f = 0.0f;  // no "-0"
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, f).ptr;
    return std::string(buffer, end);
}

void writeVectors(std::ostringstream& s, const std::vector<Vec3>& v) {
    s << "    " << v.size() << ";\n";
    for (std::size_t i = 0; i < v.size(); ++i)
        s << "    " << number(v[i].x) << ';' << number(v[i].y) << ';' << number(v[i].z) << ';'
          << (i + 1 < v.size() ? ",\n" : ";\n");
}

void writeFaces(std::ostringstream& s, const Mesh& m) {
    s << "    " << m.faces.size() << ";\n";
    for (std::size_t i = 0; i < m.faces.size(); ++i) {
        const auto& f = m.faces[i];
        s << "    3;" << f.v[0] << ',' << f.v[1] << ',' << f.v[2] << ';' << (i + 1 < m.faces.size() ? ",\n" : ";\n");
    }
}

std::string textFile(const std::vector<XFrame>& frames) {
    std::ostringstream s;
    s << "xof 0303txt 0032\n";
    for (const auto& f : frames) {
        const Mesh& m = f.mesh;
        s << "Frame " << f.name << " {\n";
        s << "  FrameTransformMatrix {\n"
             "    1.000000,0.000000,0.000000,0.000000,\n"
             "    0.000000,1.000000,0.000000,0.000000,\n"
             "    0.000000,0.000000,1.000000,0.000000,\n"
             "    0.000000,0.000000,0.000000,1.000000;;\n"
             "  }\n";
        s << "  Mesh {\n";
        writeVectors(s, m.positions);
        writeFaces(s, m);
        s << "    MeshNormals {\n";
        writeVectors(s, m.normals);
        writeFaces(s, m);
        s << "    }\n";
        if (m.textured()) {
            s << "    MeshTextureCoords {\n    " << m.uvs.size() << ";\n";
            for (std::size_t i = 0; i < m.uvs.size(); ++i)
                s << "    " << number(m.uvs[i][0]) << ';' << number(m.uvs[i][1]) << ';' << (i + 1 < m.uvs.size() ? ",\n" : ";\n");
            s << "    }\n";
        }
        s << "    MeshMaterialList {\n    " << m.materials.size() << ";\n    " << m.faces.size() << ";\n    ";
        for (std::size_t i = 0; i < m.faces.size(); ++i)
            s << m.faces[i].material << (i + 1 < m.faces.size() ? "," : ";;\n");
        for (const auto& c : m.materials) {
            const auto v = materialValues(c.colour);
            s << "    Material {\n      " << number(v[0]) << ';' << number(v[1]) << ';' << number(v[2]) << ';'
              << number(v[3]) << ";;\n      " << number(v[4]) << ";\n      " << number(v[5]) << ';' << number(v[6])
              << ';' << number(v[7]) << ";;\n      " << number(v[8]) << ';' << number(v[9]) << ';' << number(v[10])
              << ";;\n";
            if (!c.texture.empty()) s << "      TextureFilename {\n        \"" << c.texture << "\";\n      }\n";
            s << "    }\n";
        }
        s << "    }\n  }\n}\n";
    }
    return s.str();
}

}  // namespace

bool isTextName(const std::string& name) {
    if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

std::string writeXFile(const std::vector<XFrame>& frames, XEncoding encoding) {
    return encoding == XEncoding::Binary ? binaryFile(frames) : textFile(frames);
}

}  // namespace meshgen
