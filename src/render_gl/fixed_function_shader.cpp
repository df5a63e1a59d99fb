#include "render_gl/fixed_function_shader.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/glcorearb.h>

#include "render_gl/gl_error.h"

namespace vantrel::render_gl {
namespace {

// Direct3D 8 lighting, per vertex, in view space with a local viewer:
//   colour   = Me + Ma * (Ga + sum Atten * Spot * La) + sum Md * Ld * max(N.L, 0) * Atten * Spot
//   specular = sum Ms * Ls * max(N.H, 0)^P * Atten * Spot, H = normalise(L - V)
// Normals are not normalised unless the render state asks for it, as there.
constexpr const char* kVertexSource = R"(
layout(location = 0) in vec3 inPosition;
layout(location = 1) in vec3 inNormal;
layout(location = 2) in vec2 inTexCoord;

uniform mat4 worldView;
uniform mat4 projection;
uniform mat3 normalMatrix;
uniform bool remapDepth;
uniform bool lighting;
uniform bool normalizeNormals;
uniform bool specularOn;
uniform vec4 matDiffuse;
uniform vec4 matAmbient;
uniform vec4 matSpecular;
uniform vec4 matEmissive;
uniform float matPower;
uniform vec3 globalAmbient;
uniform int lightCount;
uniform int lightType[MAX_LIGHTS];
uniform vec3 lightPosition[MAX_LIGHTS];
uniform vec3 lightDirection[MAX_LIGHTS];
uniform vec3 lightDiffuse[MAX_LIGHTS];
uniform vec3 lightSpecular[MAX_LIGHTS];
uniform vec3 lightAmbient[MAX_LIGHTS];
uniform vec4 lightAttenuation[MAX_LIGHTS];  // a0, a1, a2, range
uniform vec3 lightSpot[MAX_LIGHTS];         // cos(theta / 2), cos(phi / 2), falloff

INTERP out vec4 vertexColour;
INTERP out vec3 vertexSpecular;
out vec2 texCoord;

const int POINT = 1;
const int SPOT = 2;

void main() {
    vec4 viewPosition = worldView * vec4(inPosition, 1.0);
    gl_Position = projection * viewPosition;
    if (remapDepth) gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;
    texCoord = inTexCoord;
    if (!lighting) {
        vertexColour = vec4(1.0);
        vertexSpecular = vec3(0.0);
        return;
    }
    vec3 p = viewPosition.xyz;
    vec3 n = normalMatrix * inNormal;
    if (normalizeNormals && dot(n, n) > 0.0) n = normalize(n);
    vec3 ambient = globalAmbient;
    vec3 diffuse = vec3(0.0);
    vec3 specular = vec3(0.0);
    for (int i = 0; i < lightCount; ++i) {
        vec3 toLight;
        float atten = 1.0;
        if (lightType[i] == POINT || lightType[i] == SPOT) {
            vec3 d = lightPosition[i] - p;
            float dist = length(d);
            if (dist > lightAttenuation[i].w) continue;
            toLight = dist > 0.0 ? d / dist : vec3(0.0);
            float denom = lightAttenuation[i].x + lightAttenuation[i].y * dist +
                          lightAttenuation[i].z * dist * dist;
            atten = denom > 0.0 ? 1.0 / denom : 1.0;
            if (lightType[i] == SPOT) {
                float rho = dot(normalize(-lightDirection[i]), toLight);
                if (rho <= lightSpot[i].y) atten = 0.0;
                else if (rho <= lightSpot[i].x)
                    atten *= pow((rho - lightSpot[i].y) / (lightSpot[i].x - lightSpot[i].y), lightSpot[i].z);
            }
        } else {
            toLight = -lightDirection[i];
        }
        ambient += atten * lightAmbient[i];
        float nl = max(dot(n, toLight), 0.0);
        diffuse += lightDiffuse[i] * nl * atten;
        if (specularOn && nl > 0.0) {
            vec3 h = normalize(toLight - normalize(p));
            specular += lightSpecular[i] * pow(max(dot(n, h), 0.0), matPower) * atten;
        }
    }
    vec3 colour = matEmissive.rgb + matAmbient.rgb * ambient + matDiffuse.rgb * diffuse;
    vertexColour = vec4(clamp(colour, 0.0, 1.0), matDiffuse.a);
    vertexSpecular = clamp(matSpecular.rgb * specular, 0.0, 1.0);
}
)";

constexpr const char* kFragmentSource = R"(
INTERP in vec4 vertexColour;
INTERP in vec3 vertexSpecular;
in vec2 texCoord;
uniform bool textured;
uniform sampler2D stage0;
uniform vec4 highlight;  // rgb, and how far to mix towards it
out vec4 fragColour;

void main() {
    vec4 c = vertexColour;
    if (textured) c *= texture(stage0, texCoord);
    c.rgb += vertexSpecular;
    c = clamp(c, 0.0, 1.0);
    c.rgb = mix(c.rgb, highlight.rgb, highlight.a);
    fragColour = c;
}
)";

GLuint compile(GLenum kind, const char* body, bool flat) {
    const std::string source = std::string("#version 330 core\n#define MAX_LIGHTS ") +
                               std::to_string(kMaxLights) + "\n#define INTERP " + (flat ? "flat" : "") + "\n" +
                               body;
    const char* text = source.c_str();
    GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetShaderInfoLog(shader, sizeof log, nullptr, log);
        glDeleteShader(shader);
        throw GlError(std::string("shader does not compile: ") + log);
    }
    return shader;
}

}  // namespace

unsigned buildFixedFunctionProgram(bool flat) {
    GLuint vertex = compile(GL_VERTEX_SHADER, kVertexSource, flat);
    GLuint fragment = 0;
    try {
        fragment = compile(GL_FRAGMENT_SHADER, kFragmentSource, flat);
    } catch (...) {
        glDeleteShader(vertex);
        throw;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        glDeleteProgram(program);
        throw GlError(std::string("shader program does not link: ") + log);
    }
    return program;
}

}  // namespace vantrel::render_gl
