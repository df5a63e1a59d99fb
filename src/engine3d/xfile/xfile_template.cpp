#include "engine3d/xfile/xfile_template.h"

#include "engine3d/xfile/xfile_template_grammar.h"

namespace vantrel::engine3d {
namespace {

// The published templates, written in the format itself so that one parser
// serves both. GUIDs are left out: nothing here looks objects up by GUID.
constexpr std::string_view kClassicTemplates = R"(
template Header { WORD major; WORD minor; DWORD flags; }
template Vector { FLOAT x; FLOAT y; FLOAT z; }
template Coords2d { FLOAT u; FLOAT v; }
template Quaternion { FLOAT s; Vector v; }
template Matrix4x4 { array FLOAT matrix[16]; }
template ColorRGBA { FLOAT red; FLOAT green; FLOAT blue; FLOAT alpha; }
template ColorRGB { FLOAT red; FLOAT green; FLOAT blue; }
template IndexedColor { DWORD index; ColorRGBA indexColor; }
template Boolean { WORD truefalse; }
template Boolean2d { Boolean u; Boolean v; }
template MaterialWrap { Boolean u; Boolean v; }
template TextureFilename { STRING filename; }
template Material { ColorRGBA faceColor; FLOAT power; ColorRGB specularColor; ColorRGB emissiveColor; [...] }
template MeshFace { DWORD nFaceVertexIndices; array DWORD faceVertexIndices[nFaceVertexIndices]; }
template MeshFaceWraps { DWORD nFaceWrapValues; array Boolean2d faceWrapValues[nFaceWrapValues]; }
template MeshTextureCoords { DWORD nTextureCoords; array Coords2d textureCoords[nTextureCoords]; }
template MeshMaterialList { DWORD nMaterials; DWORD nFaceIndexes; array DWORD faceIndexes[nFaceIndexes]; [Material] }
template MeshNormals { DWORD nNormals; array Vector normals[nNormals]; DWORD nFaceNormals; array MeshFace faceNormals[nFaceNormals]; }
template MeshVertexColors { DWORD nVertexColors; array IndexedColor vertexColors[nVertexColors]; }
template Mesh { DWORD nVertices; array Vector vertices[nVertices]; DWORD nFaces; array MeshFace faces[nFaces]; [...] }
template FrameTransformMatrix { Matrix4x4 frameMatrix; }
template Frame { [...] }
template FloatKeys { DWORD nValues; array FLOAT values[nValues]; }
template TimedFloatKeys { DWORD time; FloatKeys tfkeys; }
template AnimationKey { DWORD keyType; DWORD nKeys; array TimedFloatKeys keys[nKeys]; }
template AnimationOptions { DWORD openclosed; DWORD positionquality; }
template Animation { [...] }
template AnimationSet { [Animation] }
template InlineData { [BINARY] }
template Url { DWORD nUrls; array STRING urls[nUrls]; }
template ProgressiveMesh { [Url, InlineData] }
template Guid { DWORD data1; WORD data2; WORD data3; array UCHAR data4[8]; }
template StringProperty { STRING key; STRING value; }
template PropertyBag { [StringProperty] }
template ExternalVisual { Guid guidExternalVisual; [...] }
template RightHanded { DWORD bRightHanded; }
)";

// Later additions that skinned and animated exports rely on without declaring.
constexpr std::string_view kExtendedTemplates = R"(
template XSkinMeshHeader { WORD nMaxSkinWeightsPerVertex; WORD nMaxSkinWeightsPerFace; WORD nBones; }
template VertexDuplicationIndices { DWORD nIndices; DWORD nOriginalVertices; array DWORD indices[nIndices]; }
template SkinWeights { STRING transformNodeName; DWORD nWeights; array DWORD vertexIndices[nWeights];
                       array FLOAT weights[nWeights]; Matrix4x4 matrixOffset; }
template FVFData { DWORD dwFVF; DWORD nDWords; array DWORD data[nDWords]; }
template AnimTicksPerSecond { DWORD AnimTicksPerSecond; }
)";

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool sameTemplateName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

std::size_t XTemplateRegistry::CaselessHash::operator()(std::string_view s) const {
    std::size_t h = 14695981039346656037ull;  // FNV-1a
    for (char c : s) h = (h ^ static_cast<unsigned char>(lowerAscii(c))) * 1099511628211ull;
    return h;
}

XTemplateRegistry::XTemplateRegistry() : base_(&standard()) {}

XTemplateRegistry::XTemplateRegistry(BuiltIn) {
    parseTemplateText(kClassicTemplates, *this, true);
    parseTemplateText(kExtendedTemplates, *this, false);
}

const XTemplateRegistry& XTemplateRegistry::standard() {
    static const XTemplateRegistry registry{BuiltIn{}};
    return registry;
}

const XTemplate* XTemplateRegistry::find(std::string_view name) const {
    const auto it = byName_.find(name);
    if (it != byName_.end()) return it->second;
    return base_ ? base_->find(name) : nullptr;
}

const XTemplate* XTemplateRegistry::add(XTemplate t) {
    own_.push_back(std::move(t));
    const XTemplate* added = &own_.back();
    byName_.insert_or_assign(std::string_view(added->name), added);
    return added;
}

std::string XTemplateRegistry::identifierFor(const XTemplate& t) {
    if (t.standard) return "TID_D3DRM" + t.name;
    const XTemplate* builtIn = standard().find(t.name);
    if (builtIn && builtIn->standard) return "TID_D3DRM" + builtIn->name;
    return "TID_" + t.name;
}

std::string_view primitiveName(XPrimitive p) {
    switch (p) {
        case XPrimitive::Word: return "WORD";
        case XPrimitive::Dword: return "DWORD";
        case XPrimitive::Float: return "FLOAT";
        case XPrimitive::Double: return "DOUBLE";
        case XPrimitive::Char: return "CHAR";
        case XPrimitive::Uchar: return "UCHAR";
        case XPrimitive::Sword: return "SWORD";
        case XPrimitive::Sdword: return "SDWORD";
        case XPrimitive::String: return "STRING";
        case XPrimitive::Template: return "template";
    }
    return "?";
}

bool primitiveFromName(std::string_view w, XPrimitive& out) {
    struct Entry {
        std::string_view word;
        XPrimitive type;
    };
    static constexpr Entry table[] = {
        {"WORD", XPrimitive::Word},     {"DWORD", XPrimitive::Dword},   {"FLOAT", XPrimitive::Float},
        {"DOUBLE", XPrimitive::Double}, {"CHAR", XPrimitive::Char},     {"UCHAR", XPrimitive::Uchar},
        {"BYTE", XPrimitive::Uchar},    {"SWORD", XPrimitive::Sword},   {"SDWORD", XPrimitive::Sdword},
        {"STRING", XPrimitive::String}, {"CSTRING", XPrimitive::String}, {"LPSTR", XPrimitive::String},
        {"UNICODE", XPrimitive::String},
    };
    for (const auto& e : table)
        if (e.word == w) {
            out = e.type;
            return true;
        }
    return false;
}

}  // namespace vantrel::engine3d
