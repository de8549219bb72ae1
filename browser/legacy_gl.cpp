// legacy_gl.cpp: the OpenGL 1.x the game speaks, drawn with WebGL by a small
// renderer of its own: one shader pair for the fixed-function features the
// game uses (vertex colour, a 2D texture modulating it, blending, the two
// matrix stacks). Linked into the web build only; the game calls these names
// as it calls the desktop's libGL. State lives for the whole page, across a
// lost and restored WebGL context.
//
// Every gl/glu/glut call the game makes, and who answers it on the web:
//   here, batched:   glBegin glEnd glVertex2f glColor4f glColor4fv glTexCoord2f
//                    glNormal3f (dropped: the game never lights)
//   here, dropped:   glShadeModel glHint glPolygonMode glClearDepth glDepthFunc
//                    (see below)
//   here, recorded:  glGenLists glNewList glEndList glCallList glCallLists glListBase
//   here, saved:     glPushAttrib glPopAttrib glPushClientAttrib glPopClientAttrib
//   here, kept:      glMatrixMode glPushMatrix glPopMatrix glLoadIdentity glTranslatef
//                    glScalef glMultMatrixf gluPerspective glGetFloatv glGenTextures
//                    glBindTexture glTexImage2D glTexParameteri glGetIntegerv
//                    glEnable glDisable glBlendFunc glClearColor
//   here, drawn:     glClear glutSwapBuffers
//   here, passed on to WebGL: glViewport glPixelStorei
//   here, trimmed:   glutInitDisplayMode (no depth buffer, see below)
//   browser/browser_input.cpp: glutIgnoreKeyRepeat and the input callbacks
//   Emscripten's GLUT: glutInit glutInitWindowSize
//                    glutCreateWindow glutPositionWindow glutReshapeWindow
//                    glutReshapeFunc glutDisplayFunc glutIdleFunc glutPostRedisplay
//                    glutGet glutMainLoop
//
// Immediate mode goes to WebGL as arrays: glBegin/glEnd pairs only append
// triangles or lines to one interleaved batch, and the batch is drawn when a
// call that changes what it would look like arrives (a matrix, a texture, a
// capability) or the frame ends. The game sends its whole picture every
// frame, and all of it but the stroke in progress is what it sent the frame
// before. So each batch is cut into chunks, each kept in a GPU buffer of its
// own and uploaded only when its vertices differ from those the buffer
// holds; and the canvas as a frame's unchanged first draws left it is kept
// in a texture (see Snapshot), drawn in their place while they stay the same.
// A frame then costs WebGL, and the rasteriser under it, what changed.
//
// Textures keep their pixels here and reach WebGL when first drawn: the
// title needs its picture only, not the font's 200 glyphs. When the browser
// takes the context away and gives it back, the shaders, buffers and
// textures are made again from what is kept here, and the game, which never
// hears of it, draws on.
#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glut.h>
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "browser/sharp_canvas.h"

extern "C" {
// Emscripten's WebGL calls, reachable under these names whatever the program
// defines under the standard ones.
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glGenTextures(GLsizei count, GLuint* textures);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glBlendFunc(GLenum sfactor, GLenum dfactor);
void emscripten_glTexParameteri(GLenum target, GLenum name, GLint value);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glClear(GLbitfield mask);
void emscripten_glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha);
void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void emscripten_glGetIntegerv(GLenum name, GLint* values);
void emscripten_glGetFloatv(GLenum name, GLfloat* values);
GLuint emscripten_glCreateShader(GLenum type);
void emscripten_glShaderSource(GLuint shader, GLsizei count, const char* const* sources,
                               const GLint* lengths);
void emscripten_glCompileShader(GLuint shader);
GLuint emscripten_glCreateProgram();
void emscripten_glAttachShader(GLuint program, GLuint shader);
void emscripten_glBindAttribLocation(GLuint program, GLuint index, const char* name);
void emscripten_glLinkProgram(GLuint program);
void emscripten_glUseProgram(GLuint program);
GLint emscripten_glGetUniformLocation(GLuint program, const char* name);
void emscripten_glUniformMatrix4fv(GLint location, GLsizei count, GLboolean transpose,
                                   const GLfloat* value);
void emscripten_glUniform1f(GLint location, GLfloat value);
void emscripten_glEnableVertexAttribArray(GLuint index);
void emscripten_glVertexAttribPointer(GLuint index, GLint size, GLenum type,
                                      GLboolean normalized, GLsizei stride, const void* offset);
void emscripten_glGenBuffers(GLsizei count, GLuint* buffers);
void emscripten_glBindBuffer(GLenum target, GLuint buffer);
void emscripten_glBufferData(GLenum target, GLsizeiptr size, const void* data, GLenum usage);
void emscripten_glBufferSubData(GLenum target, GLintptr offset, GLsizeiptr size,
                                const void* data);
void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
void emscripten_glCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x,
                                 GLint y, GLsizei width, GLsizei height, GLint border);
void emscripten_glCopyTexSubImage2D(GLenum target, GLint level, GLint xOffset, GLint yOffset,
                                    GLint x, GLint y, GLsizei width, GLsizei height);
}

// Hands the display mode to Emscripten's GLUT, whose glutCreateWindow makes
// the WebGL context from it.
EM_JS(void, setGlutDisplayMode, (unsigned int mode), { GLUT.initDisplayMode = mode; });

// Marks a point of the page's timeline, at `timeMs` (performance.now()'s), for the start-up figures.
EM_JS(void, performanceMark, (const char* name, double timeMs), {
    performance.mark(UTF8ToString(name), {startTime : timeMs});
});

namespace {

// Vertices per GPU buffer: the part of a picture uploaded again when a stroke
// grows. A multiple of 6 ends every chunk on a whole triangle and a whole line.
constexpr std::size_t CHUNK_VERTICES = 6 * 1024;
// Below this many vertices, a frame's first steps cost SwiftShader less than
// the full-canvas quad of their snapshot: measured, 1,000 segments (12,000
// vertices) drew in half the time of the quad, 10,000 in four times it.
constexpr std::size_t SNAPSHOT_WORTH_VERTICES = 4 * CHUNK_VERTICES;
constexpr GLint DEFAULT_UNPACK_ALIGNMENT = 4; // bytes, OpenGL's initial value
constexpr int MATRIX_ELEMENTS = 16;
constexpr double RADIANS_PER_DEGREE = 0.017453292519943295;
constexpr GLfloat CHANNEL_MAX = 255.0f;
const char* const CANVAS_TARGET = "#canvas";

// The attribute slots the shaders read.
constexpr GLuint POSITION_SLOT = 0;
constexpr GLuint COLOUR_SLOT = 1;
constexpr GLuint TEXTURE_COORDINATE_SLOT = 2;

// Fixed-function OpenGL with GL_MODULATE: the vertex colour, times the
// texel when texturing is on. Texture coordinates need high precision where
// it exists: a 1024-pixel picture is off by texels at medium.
const char* const VERTEX_SHADER = R"(
attribute vec2 position;
attribute vec4 colour;
attribute vec2 textureCoordinate;
uniform mat4 matrix;
varying vec4 vColour;
varying highp vec2 vTextureCoordinate;
void main() {
  gl_Position = matrix * vec4(position, 0.0, 1.0);
  vColour = colour;
  vTextureCoordinate = textureCoordinate;
})";
const char* const FRAGMENT_SHADER = R"(
#ifdef GL_FRAGMENT_PRECISION_HIGH
precision highp float;
#else
precision mediump float;
#endif
uniform sampler2D picture;
uniform float textured;
varying vec4 vColour;
varying vec2 vTextureCoordinate;
void main() {
  gl_FragColor = textured > 0.5 ? vColour * texture2D(picture, vTextureCoordinate) : vColour;
})";

struct Vertex {
    GLfloat x, y;
    GLfloat s, t;
    GLubyte colour[4];
};
constexpr GLsizei VERTEX_STRIDE = sizeof(Vertex);

using Matrix = std::array<GLfloat, MATRIX_ELEMENTS>; // column-major, as OpenGL's
constexpr Matrix IDENTITY = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// a * b, column-major.
Matrix multiply(const Matrix& a, const Matrix& b) {
    Matrix product{};
    for (int column = 0; column < 4; ++column) {
        for (int row = 0; row < 4; ++row) {
            GLfloat sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += a[k * 4 + row] * b[column * 4 + k];
            }
            product[column * 4 + row] = sum;
        }
    }
    return product;
}

// One call kept in a display list, with the arguments it needs.
enum class Op {
    Begin,
    End,
    Vertex,
    TexCoord,
    Color,
    BindTexture,
    PushMatrix,
    PopMatrix,
    Translate,
    Scale
};
struct Command {
    Op op;
    GLuint name; // primitive mode or texture name
    GLfloat x, y, z, w;
};

struct CurrentAttributes {
    GLubyte colour[4] = {255, 255, 255, 255};
    GLfloat s = 0.0f;
    GLfloat t = 0.0f;
};

// What glPushAttrib saved of the parts the game asks for.
struct SavedAttributes {
    GLbitfield mask;
    CurrentAttributes current;
    std::map<GLenum, bool> enabled;
    GLenum matrixMode;
    GLuint listBase;
};

// A texture as the game made it: its pixels, kept to upload when it is first
// drawn and again after a lost context, and its parameters.
struct Texture {
    GLuint webgl = 0;      // the WebGL name, 0 until first drawn
    bool uploaded = false; // whether WebGL holds the pixels below
    unsigned version = 0;  // counts changes of pixels or parameters
    bool filled = false;
    GLsizei width = 0;
    GLsizei height = 0;
    GLenum format = GL_RGBA;
    GLenum type = GL_UNSIGNED_BYTE;
    GLint alignment = DEFAULT_UNPACK_ALIGNMENT;
    std::vector<unsigned char> pixels;
    std::map<GLenum, GLint> parameters;
};

// One GPU buffer and the vertices it holds.
struct Chunk {
    GLuint buffer = 0;
    std::size_t capacity = 0; // vertices the buffer has room for
    std::vector<Vertex> held;
};

// One draw or clear of a frame, with all it depends on. A frame's steps are
// compared with the frame before's, one by one: equal steps over unchanged
// chunks put the same pixels on the same canvas.
struct Step {
    GLbitfield clearMask = 0; // a clear when not 0, to the colour below
    std::array<GLfloat, 4> clearColour{};
    GLenum mode = GL_TRIANGLES;
    std::size_t chunk = 0;
    GLsizei count = 0; // vertices
    Matrix matrix{};
    bool textured = false;
    GLuint texture = 0; // the game's name
    unsigned textureVersion = 0;
    bool blend = false;
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    bool operator==(const Step&) const = default;
};

// The canvas as a frame's first steps left it, copied into a texture. While
// the next frame's first steps are the same, they are not drawn: one quad of
// this picture stands for them. A still picture then costs the rasteriser
// one quad a frame, and a picture with a stroke in progress that quad and
// the stroke's last chunk.
struct Snapshot {
    GLuint texture = 0;
    GLsizei width = 0; // pixels, the viewport's
    GLsizei height = 0;
    int canvasWidth = 0; // pixels of the drawing buffer it was copied from
    int canvasHeight = 0;
    std::size_t steps = 0; // how many of a frame's first steps it holds
    bool valid = false;
};

// The WebGL objects, all made again after a lost context, and what WebGL was
// last given, so that a draw sends only what changed.
struct Device {
    bool made = false;
    GLint matrixLocation = -1;
    GLint texturedLocation = -1;
    std::vector<Chunk> chunks;
    GLuint quad = 0; // the buffer of the snapshot's quad
    Snapshot snapshot;
    Matrix matrix{};
    bool matrixSet = false;
    GLfloat textured = -1;
    GLuint boundTexture = 0; // WebGL names
    GLuint boundBuffer = 0;
    int blend = -1; // unknown, off or on
    GLenum blendSource = 0;
    GLenum blendDestination = 0;
    std::array<GLfloat, 4> clearColour{-1, -1, -1, -1};
};

// This frame's steps against the frame before's.
struct Frame {
    std::vector<Step> steps;
    std::vector<Step> previous;
    std::size_t nextChunk = 0; // in drawing order
    std::size_t vertices = 0;  // drawn by the steps so far
    bool following = false;    // the steps so far are the snapshot's, not drawn
    bool fromSnapshot = false; // the snapshot was drawn for the first steps
    bool diverged = false;     // a step differed from the frame before's
};

struct LegacyGl {
    // Drawing.
    std::vector<Vertex> batch;       // finished primitives, not drawn yet
    GLenum batchMode = GL_TRIANGLES; // GL_TRIANGLES or GL_LINES
    std::vector<Vertex> primitive;   // the glBegin in progress
    GLenum primitiveMode = 0;
    CurrentAttributes current;
    bool textured = false; // GL_TEXTURE_2D
    GLuint texture = 0;    // the game's name of the bound texture

    // State the attribute stacks restore, and WebGL's, set again after a
    // lost context.
    std::map<GLenum, bool> enabled; // every capability set through glEnable/glDisable
    GLenum matrixMode = GL_MODELVIEW;
    std::vector<Matrix> modelview{IDENTITY};
    std::vector<Matrix> projection{IDENTITY};
    GLint unpackAlignment = DEFAULT_UNPACK_ALIGNMENT;
    std::vector<SavedAttributes> attributeStack;
    std::vector<GLint> clientAttributeStack;
    std::array<GLfloat, 4> clearColour{0, 0, 0, 0};
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    std::array<GLint, 4> viewport{};
    bool viewportSet = false;

    std::vector<Texture> textures; // the game's name n is textures[n - 1]
    GLint maxTextureSide = 0;      // pixels, asked once

    // Display lists.
    std::unordered_map<GLuint, std::vector<Command>> lists;
    GLuint nextList = 1;
    GLuint listBase = 0;
    std::vector<Command>* compiling = nullptr; // the list glNewList opened
    std::set<std::string> reportedUnrecorded;

    Device device;
    Frame frame;
    bool contextLost = false;
};

LegacyGl& gl() {
    static LegacyGl state;
    return state;
}

// Start-up's milestones as the GL calls show them, for the page's timeline
// (performance.getEntriesByType("mark")): the game's first GL call, the
// title picture handed over, the first and last glyph, and the first draw.
// Each is marked once. The last glyph is known only when something else
// follows it, so each glyph notes its time and the next draw marks the last;
// a mark per glyph would cost the font a few milliseconds of its own.
enum class Milestone { FirstCall, TitlePicture, FirstGlyph, LastGlyph, FirstDraw, Count };
const char* const MILESTONE_MARKS[] = {"quillory:first-gl-call", "quillory:title-picture",
                                       "quillory:first-glyph", "quillory:last-glyph",
                                       "quillory:first-draw"};
// Marks `milestone` at `timeMs`, or now when that is 0.
void mark(Milestone milestone, double timeMs = 0) {
    static bool marked[static_cast<int>(Milestone::Count)] = {};
    bool& done = marked[static_cast<int>(milestone)];
    if (done) {
        return;
    }
    done = true;
    performanceMark(MILESTONE_MARKS[static_cast<int>(milestone)], timeMs != 0 ? timeMs : emscripten_get_now());
}
double lastGlyphMs = 0; // when the newest glyph arrived, until a draw marks it

bool recording(Op op, GLuint name = 0, GLfloat x = 0, GLfloat y = 0, GLfloat z = 0, GLfloat w = 0) {
    if (gl().compiling == nullptr) {
        return false;
    }
    gl().compiling->push_back({op, name, x, y, z, w});
    return true;
}

// A call a display list does not record runs at once, as it always has;
// while a list is compiled that is likely not what its caller meant, so the
// first such call of each kind is reported.
void notRecorded(const char* call) {
    LegacyGl& state = gl();
    if (state.compiling != nullptr && state.reportedUnrecorded.insert(call).second) {
        std::fprintf(stderr, "%s while a display list is compiled: it runs now, not when the list is called\n",
                     call);
    }
}

Matrix& currentMatrix() {
    LegacyGl& state = gl();
    return state.matrixMode == GL_PROJECTION ? state.projection.back() : state.modelview.back();
}

GLuint compileShader(GLenum type, const char* source) {
    const GLuint shader = emscripten_glCreateShader(type);
    emscripten_glShaderSource(shader, 1, &source, nullptr);
    emscripten_glCompileShader(shader);
    return shader;
}

void setCapability(GLenum cap, bool on) {
    if (on) {
        emscripten_glEnable(cap);
    } else {
        emscripten_glDisable(cap);
    }
}

// Texturing is the shader's business, blending each step's, and lighting is
// only ever off. The depth test is kept but never given to WebGL: the game
// draws all in the plane z = 0, seen square on, so every fragment has the same
// depth and its GL_LEQUAL test always passes; testing would cost the
// rasteriser a depth read and write per fragment for nothing. Any other
// capability goes to WebGL as it is.
bool webglCapability(GLenum cap) {
    return cap != GL_TEXTURE_2D && cap != GL_LIGHTING && cap != GL_DEPTH_TEST && cap != GL_BLEND;
}

EM_BOOL onContextLost(int /*eventType*/, const void* /*reserved*/, void* /*userData*/) {
    gl().contextLost = true;
    return EM_TRUE; // the browser may give the context back
}

// Every WebGL object died with the old context: the next draw makes them again.
EM_BOOL onContextRestored(int /*eventType*/, const void* /*reserved*/, void* /*userData*/) {
    LegacyGl& state = gl();
    state.contextLost = false;
    state.device.made = false;
    state.frame = Frame{};
    for (Texture& texture : state.textures) {
        texture.webgl = 0;
        texture.uploaded = false;
    }
    glutPostRedisplay();
    return EM_TRUE;
}

void watchContext() {
    static bool watching = false;
    if (!watching) {
        watching = true;
        emscripten_set_webglcontextlost_callback(CANVAS_TARGET, nullptr, EM_FALSE, onContextLost);
        emscripten_set_webglcontextrestored_callback(CANVAS_TARGET, nullptr, EM_FALSE,
                                                     onContextRestored);
    }
}

// Gives WebGL the viewport the game last set. The game's viewport is in
// window pixels; the drawing buffer may hold more of its own for each
// (browser/sharp_canvas.h).
void applyViewport() {
    const std::array<GLint, 4>& viewport = gl().viewport;
    const double scale = drawingBufferScale();
    emscripten_glViewport(static_cast<GLint>(viewport[0] * scale), static_cast<GLint>(viewport[1] * scale),
                          static_cast<GLsizei>(viewport[2] * scale),
                          static_cast<GLsizei>(viewport[3] * scale));
}

// Makes the shaders and sets WebGL's state as the game last set it: at the
// first draw, and at the first after a lost context came back.
void makeDevice() {
    LegacyGl& state = gl();
    Device& device = state.device;
    device = Device{};
    watchContext();
    const GLuint program = emscripten_glCreateProgram();
    emscripten_glAttachShader(program, compileShader(GL_VERTEX_SHADER, VERTEX_SHADER));
    emscripten_glAttachShader(program, compileShader(GL_FRAGMENT_SHADER, FRAGMENT_SHADER));
    emscripten_glBindAttribLocation(program, POSITION_SLOT, "position");
    emscripten_glBindAttribLocation(program, COLOUR_SLOT, "colour");
    emscripten_glBindAttribLocation(program, TEXTURE_COORDINATE_SLOT, "textureCoordinate");
    emscripten_glLinkProgram(program);
    emscripten_glUseProgram(program);
    device.matrixLocation = emscripten_glGetUniformLocation(program, "matrix");
    device.texturedLocation = emscripten_glGetUniformLocation(program, "textured");
    for (const GLuint slot : {POSITION_SLOT, COLOUR_SLOT, TEXTURE_COORDINATE_SLOT}) {
        emscripten_glEnableVertexAttribArray(slot);
    }
    for (const auto& [cap, on] : state.enabled) {
        if (webglCapability(cap)) {
            setCapability(cap, on);
        }
    }
    if (state.viewportSet) {
        applyViewport();
    }
    emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, state.unpackAlignment);
    device.made = true;
}

// Whether WebGL calls can be made now, the device made first if need be.
bool deviceReady() {
    if (gl().contextLost) {
        return false;
    }
    if (!gl().device.made) {
        mark(Milestone::FirstCall);
        makeDevice();
    }
    return true;
}

// Bytes a texel of `format` takes.
std::size_t components(GLenum format) {
    switch (format) {
    case GL_RGB:
        return 3;
    case GL_LUMINANCE_ALPHA:
        return 2;
    case GL_LUMINANCE:
    case GL_ALPHA:
        return 1;
    default:
        return 4;
    }
}

// Bytes a row of `width` texels of `format` takes, padded to `alignment`.
std::size_t paddedRowBytes(GLsizei width, GLenum format, GLint alignment) {
    const std::size_t row = static_cast<std::size_t>(width) * components(format);
    const auto align = static_cast<std::size_t>(alignment);
    return (row + align - 1) / align * align;
}

// The bytes glTexImage2D reads: every row padded but the last.
std::size_t imageBytes(GLsizei width, GLsizei height, GLenum format, GLint alignment) {
    const std::size_t row = static_cast<std::size_t>(width) * components(format);
    return height <= 0 ? 0
                       : paddedRowBytes(width, format, alignment) * static_cast<std::size_t>(height - 1) + row;
}

// A texture's RGB texels as RGBA, opaque, in rows with no padding. WebGL
// samples both alike, but Chromium's WebGL (ANGLE) keeps no RGB textures and
// converts them at upload, on the GPU process's one thread, where the title's
// 1024 x 768 picture costs its first frame tens of milliseconds more than
// converting it here does.
std::vector<unsigned char> opaqueRgba(const Texture& texture) {
    constexpr unsigned char OPAQUE = 255;
    const std::size_t stride = paddedRowBytes(texture.width, GL_RGB, texture.alignment);
    std::vector<unsigned char> rgba(static_cast<std::size_t>(texture.width) * texture.height * 4);
    unsigned char* out = rgba.data();
    for (GLsizei y = 0; y < texture.height; ++y) {
        const unsigned char* in = texture.pixels.data() + stride * static_cast<std::size_t>(y);
        for (GLsizei x = 0; x < texture.width; ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = OPAQUE;
        }
    }
    return rgba;
}

// Gives `texture` its WebGL object, parameters and pixels, and binds it.
void uploadTexture(Texture& texture) {
    if (texture.webgl == 0) {
        emscripten_glGenTextures(1, &texture.webgl);
    }
    emscripten_glBindTexture(GL_TEXTURE_2D, texture.webgl);
    texture.uploaded = true;
    for (const auto& [name, value] : texture.parameters) {
        emscripten_glTexParameteri(GL_TEXTURE_2D, name, value);
    }
    if (texture.filled) {
        // WebGL 1 converts nothing at upload: the internal format is the data's.
        // Luminance-alpha texels sample as (L, L, L, A), as an RGBA texture made
        // from them does on the desktop.
        GLenum format = texture.format;
        GLint alignment = texture.alignment;
        const unsigned char* pixels = texture.pixels.empty() ? nullptr : texture.pixels.data();
        std::vector<unsigned char> rgba;
        if (format == GL_RGB && texture.type == GL_UNSIGNED_BYTE && pixels != nullptr) {
            rgba = opaqueRgba(texture);
            format = GL_RGBA;
            alignment = 4; // rows of whole texels
            pixels = rgba.data();
        }
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
        emscripten_glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), texture.width,
                                texture.height, 0, format, texture.type, pixels);
        emscripten_glPixelStorei(GL_UNPACK_ALIGNMENT, gl().unpackAlignment);
    }
    gl().device.boundTexture = texture.webgl;
}

Texture* boundTexture() {
    LegacyGl& state = gl();
    if (state.texture == 0 || state.texture > state.textures.size()) {
        return nullptr;
    }
    return &state.textures[state.texture - 1];
}

// Binds the WebGL texture the game's texture `name` stands for, uploading it
// first if need be.
void bindTexture(GLuint name) {
    LegacyGl& state = gl();
    GLuint webgl = 0;
    if (name != 0 && name <= state.textures.size()) {
        Texture& texture = state.textures[name - 1];
        if (!texture.uploaded) {
            uploadTexture(texture);
        }
        webgl = texture.webgl;
    }
    if (webgl != state.device.boundTexture) {
        emscripten_glBindTexture(GL_TEXTURE_2D, webgl);
        state.device.boundTexture = webgl;
    }
}

void bindBuffer(GLuint buffer) {
    Device& device = gl().device;
    if (buffer != device.boundBuffer) {
        emscripten_glBindBuffer(GL_ARRAY_BUFFER, buffer);
        device.boundBuffer = buffer;
    }
}

// Puts `vertices` in `chunk`, uploading them only when they differ from what
// it holds; true when they did.
bool fillChunk(Chunk& chunk, const Vertex* vertices, std::size_t count) {
    const std::size_t bytes = count * sizeof(Vertex);
    if (chunk.held.size() == count && std::memcmp(chunk.held.data(), vertices, bytes) == 0) {
        return false;
    }
    if (chunk.buffer == 0) {
        emscripten_glGenBuffers(1, &chunk.buffer);
    }
    bindBuffer(chunk.buffer);
    if (count > chunk.capacity) {
        emscripten_glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(bytes), vertices,
                                GL_DYNAMIC_DRAW);
        chunk.capacity = count;
    } else {
        emscripten_glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(bytes), vertices);
    }
    chunk.held.assign(vertices, vertices + count);
    return true;
}

void setMatrix(const Matrix& matrix) {
    Device& device = gl().device;
    if (!device.matrixSet || device.matrix != matrix) {
        emscripten_glUniformMatrix4fv(device.matrixLocation, 1, GL_FALSE, matrix.data());
        device.matrix = matrix;
        device.matrixSet = true;
    }
}

void setTextured(bool on) {
    Device& device = gl().device;
    const GLfloat textured = on ? 1.0f : 0.0f;
    if (textured != device.textured) {
        emscripten_glUniform1f(device.texturedLocation, textured);
        device.textured = textured;
    }
}

void setBlend(bool on, GLenum source, GLenum destination) {
    Device& device = gl().device;
    if (device.blend != static_cast<int>(on)) {
        setCapability(GL_BLEND, on);
        device.blend = on;
    }
    if (on && (source != device.blendSource || destination != device.blendDestination)) {
        emscripten_glBlendFunc(source, destination);
        device.blendSource = source;
        device.blendDestination = destination;
    }
}

// Draws `vertices` from the bound buffer.
void drawVertices(GLenum mode, GLsizei count) {
    emscripten_glVertexAttribPointer(POSITION_SLOT, 2, GL_FLOAT, GL_FALSE, VERTEX_STRIDE,
                                     reinterpret_cast<const void*>(offsetof(Vertex, x)));
    emscripten_glVertexAttribPointer(COLOUR_SLOT, 4, GL_UNSIGNED_BYTE, GL_TRUE, VERTEX_STRIDE,
                                     reinterpret_cast<const void*>(offsetof(Vertex, colour)));
    emscripten_glVertexAttribPointer(TEXTURE_COORDINATE_SLOT, 2, GL_FLOAT, GL_FALSE, VERTEX_STRIDE,
                                     reinterpret_cast<const void*>(offsetof(Vertex, s)));
    emscripten_glDrawArrays(mode, 0, count);
}

// Gives a step to WebGL.
void perform(const Step& step) {
    Device& device = gl().device;
    if (step.clearMask != 0) {
        if (step.clearColour != device.clearColour) {
            emscripten_glClearColor(step.clearColour[0], step.clearColour[1], step.clearColour[2],
                                    step.clearColour[3]);
            device.clearColour = step.clearColour;
        }
        emscripten_glClear(step.clearMask);
        return;
    }
    setMatrix(step.matrix);
    setTextured(step.textured);
    if (step.textured) {
        bindTexture(step.texture);
    }
    setBlend(step.blend, step.blendSource, step.blendDestination);
    bindBuffer(device.chunks[step.chunk].buffer);
    drawVertices(step.mode, step.count);
    mark(Milestone::FirstDraw);
    if (lastGlyphMs != 0) {
        mark(Milestone::LastGlyph, lastGlyphMs);
        lastGlyphMs = 0;
    }
}

// Copies the canvas, as the frame's first `steps` left it, into the snapshot.
void takeSnapshot(std::size_t steps) {
    Device& device = gl().device;
    Snapshot& snapshot = device.snapshot;
    // The viewport covers the drawing buffer, whatever the page scales it to.
    GLint viewport[4] = {};
    emscripten_glGetIntegerv(GL_VIEWPORT, viewport);
    if (snapshot.texture == 0) {
        emscripten_glGenTextures(1, &snapshot.texture);
        emscripten_glBindTexture(GL_TEXTURE_2D, snapshot.texture);
        // Each pixel comes back from its own texel.
        for (const GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER}) {
            emscripten_glTexParameteri(GL_TEXTURE_2D, filter, GL_NEAREST);
        }
        for (const GLenum wrap : {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T}) {
            emscripten_glTexParameteri(GL_TEXTURE_2D, wrap, GL_CLAMP_TO_EDGE);
        }
    } else {
        emscripten_glBindTexture(GL_TEXTURE_2D, snapshot.texture);
    }
    device.boundTexture = snapshot.texture;
    if (viewport[2] != snapshot.width || viewport[3] != snapshot.height) {
        emscripten_glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, viewport[0], viewport[1], viewport[2],
                                    viewport[3], 0);
        snapshot.width = viewport[2];
        snapshot.height = viewport[3];
    } else {
        emscripten_glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, viewport[0], viewport[1],
                                       viewport[2], viewport[3]);
    }
    emscripten_get_canvas_element_size(CANVAS_TARGET, &snapshot.canvasWidth,
                                       &snapshot.canvasHeight);
    snapshot.steps = steps;
    snapshot.valid = true;
}

// Draws the snapshot over the whole viewport, pixel for pixel.
void drawSnapshot() {
    Device& device = gl().device;
    constexpr GLubyte WHITE = 255;
    constexpr Vertex corners[] = {{-1, -1, 0, 0, {WHITE, WHITE, WHITE, WHITE}},
                                  {1, -1, 1, 0, {WHITE, WHITE, WHITE, WHITE}},
                                  {1, 1, 1, 1, {WHITE, WHITE, WHITE, WHITE}},
                                  {-1, 1, 0, 1, {WHITE, WHITE, WHITE, WHITE}}};
    constexpr Vertex quad[] = {corners[0], corners[1], corners[2],
                               corners[0], corners[2], corners[3]};
    if (device.quad == 0) {
        emscripten_glGenBuffers(1, &device.quad);
        bindBuffer(device.quad);
        emscripten_glBufferData(GL_ARRAY_BUFFER, sizeof(quad), quad, GL_STATIC_DRAW);
    }
    setMatrix(IDENTITY); // the quad's corners are the viewport's
    setTextured(true);
    if (device.boundTexture != device.snapshot.texture) {
        emscripten_glBindTexture(GL_TEXTURE_2D, device.snapshot.texture);
        device.boundTexture = device.snapshot.texture;
    }
    setBlend(false, GL_ONE, GL_ZERO);
    bindBuffer(device.quad);
    drawVertices(GL_TRIANGLES, static_cast<GLsizei>(std::size(quad)));
}

// Ends following the snapshot at step `next`: the steps before it are drawn,
// from the snapshot when it holds exactly them, else one by one.
void stopFollowing(std::size_t next) {
    Frame& frame = gl().frame;
    frame.following = false;
    if (next == gl().device.snapshot.steps) {
        drawSnapshot();
        frame.fromSnapshot = true;
        return;
    }
    for (std::size_t i = 0; i < next; ++i) {
        perform(frame.steps[i]);
    }
}

// Draws what was left to the snapshot, before anything the steps depend on changes.
void catchUp() {
    if (gl().frame.following) {
        stopFollowing(gl().frame.steps.size());
    }
}

// Adds a step to the frame: left to the snapshot while the frame follows it,
// else performed. `uploaded` tells that its chunk got new vertices. At the
// first step that differs from the frame before's, the canvas is copied, so
// that the next frame's same first steps take it from there; unless the
// snapshot already served this frame, which keeps it as long as it serves:
// a pen that moves some frames and adds a segment on others would otherwise
// have the snapshot taken past the stroke, then missed, in turn.
void submit(const Step& step, bool uploaded) {
    LegacyGl& state = gl();
    Frame& frame = state.frame;
    Snapshot& snapshot = state.device.snapshot;
    const std::size_t index = frame.steps.size();
    const std::size_t verticesBefore = frame.vertices;
    frame.steps.push_back(step);
    frame.vertices += static_cast<std::size_t>(step.count);
    const bool same = !uploaded && index < frame.previous.size() && frame.previous[index] == step;
    if (frame.following) {
        if (same && index < snapshot.steps) {
            return;
        }
        stopFollowing(index);
    }
    if (!same && !frame.diverged) {
        frame.diverged = true;
        if (index < snapshot.steps) {
            snapshot.valid = false; // the next frame compares with this one
        }
        if (verticesBefore >= SNAPSHOT_WORTH_VERTICES && !frame.fromSnapshot) {
            takeSnapshot(index);
        }
    }
    perform(step);
}

// Ends the frame's steps: what is left to the snapshot is drawn, a frame
// the same as the one before is kept whole, and the next frame compares
// with this one.
void endFrame() {
    LegacyGl& state = gl();
    Frame& frame = state.frame;
    Snapshot& snapshot = state.device.snapshot;
    if (frame.following) {
        stopFollowing(frame.steps.size());
    }
    if (frame.steps.size() < snapshot.steps) {
        snapshot.valid = false;
    }
    if (!frame.diverged && frame.vertices >= SNAPSHOT_WORTH_VERTICES &&
        !(frame.fromSnapshot && snapshot.steps == frame.steps.size())) {
        takeSnapshot(frame.steps.size());
    }
    frame.previous.swap(frame.steps);
    frame.steps.clear();
    frame.nextChunk = 0;
    frame.vertices = 0;
    frame.diverged = false;
    frame.fromSnapshot = false;
    // A canvas given a new drawing buffer (the page scaling it to the
    // screen's pixels) has lost what the snapshot shows.
    int canvasWidth = 0;
    int canvasHeight = 0;
    emscripten_get_canvas_element_size(CANVAS_TARGET, &canvasWidth, &canvasHeight);
    if (canvasWidth != snapshot.canvasWidth || canvasHeight != snapshot.canvasHeight) {
        snapshot.valid = false;
    }
    frame.following = snapshot.valid;
}

// Draws what the batch holds with the state now current: a step per chunk.
void flush() {
    LegacyGl& state = gl();
    if (state.batch.empty()) {
        return;
    }
    if (deviceReady()) {
        Step step;
        step.mode = state.batchMode;
        step.matrix = multiply(state.projection.back(), state.modelview.back());
        step.textured = state.textured;
        if (state.textured) {
            step.texture = state.texture;
            const Texture* texture = boundTexture();
            step.textureVersion = texture == nullptr ? 0 : texture->version;
        }
        const auto blend = state.enabled.find(GL_BLEND);
        step.blend = blend != state.enabled.end() && blend->second;
        if (step.blend) {
            step.blendSource = state.blendSource;
            step.blendDestination = state.blendDestination;
        }
        Frame& frame = state.frame;
        std::vector<Chunk>& chunks = state.device.chunks;
        for (std::size_t first = 0; first < state.batch.size(); first += CHUNK_VERTICES) {
            const std::size_t count = std::min(CHUNK_VERTICES, state.batch.size() - first);
            step.chunk = frame.nextChunk++;
            step.count = static_cast<GLsizei>(count);
            if (step.chunk == chunks.size()) {
                chunks.emplace_back();
            }
            submit(step, fillChunk(chunks[step.chunk], state.batch.data() + first, count));
        }
    }
    state.batch.clear();
}

// A matrix is about to change: what is batched is drawn under the old one.
void matrixChanging() {
    flush();
}

// Appends the primitive just ended to the batch as triangles or lines; WebGL
// has neither polygons nor quads. A polygon becomes a fan from its first
// vertex, as Mesa draws one: stroke bands and palette cells are convex, and a
// bevel join, whose corners cross when the stroke bends one way, comes out as
// on the desktop.
void endPrimitive() {
    LegacyGl& state = gl();
    const std::vector<Vertex>& v = state.primitive;
    const GLenum kind = state.primitiveMode == GL_LINES ? GL_LINES : GL_TRIANGLES;
    if (kind != state.batchMode) {
        flush();
        state.batchMode = kind;
    }
    switch (state.primitiveMode) {
    case GL_LINES:
        state.batch.insert(state.batch.end(), v.begin(), v.begin() + (v.size() & ~std::size_t{1}));
        break;
    case GL_POLYGON:
        for (std::size_t i = 2; i < v.size(); ++i) {
            state.batch.insert(state.batch.end(), {v[0], v[i - 1], v[i]});
        }
        break;
    case GL_QUADS:
        for (std::size_t i = 0; i + 3 < v.size(); i += 4) {
            state.batch.insert(state.batch.end(),
                               {v[i], v[i + 1], v[i + 2], v[i], v[i + 2], v[i + 3]});
        }
        break;
    default: // the game draws no other primitive
        break;
    }
    state.primitive.clear();
}

void setEnabled(GLenum cap, bool on) {
    LegacyGl& state = gl();
    flush();
    state.enabled[cap] = on;
    if (cap == GL_TEXTURE_2D) {
        state.textured = on;
    }
    // The game's first GL calls set capabilities: the device is made then.
    if (deviceReady() && webglCapability(cap)) {
        setCapability(cap, on);
    }
}

void callList(GLuint list);

} // namespace

extern "C" {

// ---------------------------------------------------------------------------
// Immediate mode
// ---------------------------------------------------------------------------

void glBegin(GLenum mode) {
    if (recording(Op::Begin, mode)) {
        return;
    }
    gl().primitiveMode = mode;
}

void glEnd() {
    if (recording(Op::End)) {
        return;
    }
    endPrimitive();
}

void glVertex2f(GLfloat x, GLfloat y) {
    if (recording(Op::Vertex, 0, x, y)) {
        return;
    }
    const CurrentAttributes& c = gl().current;
    gl().primitive.push_back(
        {x, y, c.s, c.t, {c.colour[0], c.colour[1], c.colour[2], c.colour[3]}});
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    if (recording(Op::Color, 0, red, green, blue, alpha)) {
        return;
    }
    const GLfloat channels[] = {red, green, blue, alpha};
    for (int i = 0; i < 4; ++i) {
        gl().current.colour[i] =
            static_cast<GLubyte>(std::lround(std::clamp(channels[i], 0.0f, 1.0f) * CHANNEL_MAX));
    }
}

// WebGL shades smoothly only. Every primitive the game draws has one colour,
// so its flat shading looks the same.
void glShadeModel(GLenum /*mode*/) {}

// The game's one hint, perspective correction, WebGL always applies.
void glHint(GLenum /*target*/, GLenum /*mode*/) {}

// The game fills its polygons, as WebGL always does.
void glPolygonMode(GLenum /*face*/, GLenum /*mode*/) {}

void glColor4fv(const GLfloat* rgba) {
    glColor4f(rgba[0], rgba[1], rgba[2], rgba[3]);
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    if (recording(Op::TexCoord, 0, s, t)) {
        return;
    }
    gl().current.s = s;
    gl().current.t = t;
}

// Normals matter only to lighting, which the game never turns on.
void glNormal3f(GLfloat /*x*/, GLfloat /*y*/, GLfloat /*z*/) {}

// ---------------------------------------------------------------------------
// Display lists
// ---------------------------------------------------------------------------

GLuint glGenLists(GLsizei range) {
    const GLuint first = gl().nextList;
    gl().nextList += static_cast<GLuint>(range);
    return first;
}

// Only GL_COMPILE is used: the list is recorded and nothing is drawn.
void glNewList(GLuint list, GLenum /*mode*/) {
    std::vector<Command>& commands = gl().lists[list];
    commands.clear();
    gl().compiling = &commands;
}

void glEndList() {
    gl().compiling = nullptr;
}

void glCallList(GLuint list) {
    notRecorded("glCallList");
    callList(list);
}

// Only GL_UNSIGNED_BYTE names are used (the glyph codes of a line of text).
void glCallLists(GLsizei n, GLenum /*type*/, const GLvoid* names) {
    notRecorded("glCallLists");
    const auto* codes = static_cast<const GLubyte*>(names);
    for (GLsizei i = 0; i < n; ++i) {
        callList(gl().listBase + codes[i]);
    }
}

void glListBase(GLuint base) {
    gl().listBase = base;
}

// ---------------------------------------------------------------------------
// Attribute stacks: the parts the game pushes (current colour and texture
// coordinate, capabilities, matrix mode, list base, unpack alignment)
// ---------------------------------------------------------------------------

void glPushAttrib(GLbitfield mask) {
    notRecorded("glPushAttrib");
    const LegacyGl& state = gl();
    gl().attributeStack.push_back(
        {mask, state.current, state.enabled, state.matrixMode, state.listBase});
}

void glPopAttrib() {
    notRecorded("glPopAttrib");
    LegacyGl& state = gl();
    if (state.attributeStack.empty()) {
        return;
    }
    const SavedAttributes saved = state.attributeStack.back();
    state.attributeStack.pop_back();
    if ((saved.mask & GL_CURRENT_BIT) != 0) {
        state.current = saved.current;
    }
    if ((saved.mask & GL_ENABLE_BIT) != 0) {
        // A capability first touched after the push had its initial value,
        // off, at the push.
        const std::map<GLenum, bool> now = state.enabled;
        for (const auto& [cap, on] : now) {
            const auto found = saved.enabled.find(cap);
            const bool wanted = found != saved.enabled.end() && found->second;
            if (wanted != on) {
                setEnabled(cap, wanted);
            }
        }
    }
    if ((saved.mask & GL_TRANSFORM_BIT) != 0) {
        glMatrixMode(saved.matrixMode);
    }
    if ((saved.mask & GL_LIST_BIT) != 0) {
        state.listBase = saved.listBase;
    }
}

// Only GL_CLIENT_PIXEL_STORE_BIT is pushed, for the unpack alignment.
void glPushClientAttrib(GLbitfield /*mask*/) {
    gl().clientAttributeStack.push_back(gl().unpackAlignment);
}

void glPopClientAttrib() {
    if (gl().clientAttributeStack.empty()) {
        return;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, gl().clientAttributeStack.back());
    gl().clientAttributeStack.pop_back();
}

// ---------------------------------------------------------------------------
// Capabilities and WebGL state: the batch is drawn under the state it was
// made in; what is set is kept, to be set again after a lost context
// ---------------------------------------------------------------------------

void glEnable(GLenum cap) {
    notRecorded("glEnable");
    setEnabled(cap, true);
}
void glDisable(GLenum cap) {
    notRecorded("glDisable");
    setEnabled(cap, false);
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    notRecorded("glBlendFunc");
    flush();
    gl().blendSource = sfactor;
    gl().blendDestination = dfactor;
}

void glClearColor(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    gl().clearColour = {red, green, blue, alpha};
}

// WebGL never tests depth (see webglCapability), so neither the depth a
// clear leaves nor the test's function matter.
void glClearDepth(GLclampd /*depth*/) {}
void glDepthFunc(GLenum /*func*/) {}

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT) {
        gl().unpackAlignment = value;
    }
    if (deviceReady()) {
        emscripten_glPixelStorei(name, value);
    }
}

void glClear(GLbitfield mask) {
    notRecorded("glClear");
    flush();
    Step step;
    step.clearMask = mask & GL_COLOR_BUFFER_BIT; // the depth buffer is never read
    step.clearColour = gl().clearColour;
    if (step.clearMask != 0 && deviceReady()) {
        submit(step, false);
    }
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    notRecorded("glViewport");
    flush();
    gl().viewport = {x, y, width, height};
    gl().viewportSet = true;
    if (deviceReady()) {
        // The snapshot shows the canvas under the old viewport.
        catchUp();
        gl().device.snapshot.valid = false;
        applyViewport();
    }
}

void glGetIntegerv(GLenum name, GLint* values) {
    LegacyGl& state = gl();
    switch (name) {
    case GL_TEXTURE_BINDING_2D:
        *values = static_cast<GLint>(state.texture);
        break;
    case GL_UNPACK_ALIGNMENT:
        *values = state.unpackAlignment;
        break;
    case GL_MAX_TEXTURE_SIZE:
        // Asked once: a lost context answers 0.
        if (state.maxTextureSide == 0 && deviceReady()) {
            emscripten_glGetIntegerv(name, &state.maxTextureSide);
        }
        *values = state.maxTextureSide;
        break;
    default:
        emscripten_glGetIntegerv(name, values);
        break;
    }
}

void glGetFloatv(GLenum name, GLfloat* values) {
    if (name == GL_MODELVIEW_MATRIX || name == GL_PROJECTION_MATRIX) {
        const Matrix& matrix =
            name == GL_MODELVIEW_MATRIX ? gl().modelview.back() : gl().projection.back();
        std::copy(matrix.begin(), matrix.end(), values);
        return;
    }
    emscripten_glGetFloatv(name, values);
}

// ---------------------------------------------------------------------------
// Textures: the game's names stand for kept pixels, uploaded when first drawn
// ---------------------------------------------------------------------------

void glGenTextures(GLsizei count, GLuint* textures) {
    for (GLsizei i = 0; i < count; ++i) {
        gl().textures.emplace_back();
        textures[i] = static_cast<GLuint>(gl().textures.size());
    }
}

void glBindTexture(GLenum /*target*/, GLuint texture) {
    if (recording(Op::BindTexture, texture)) {
        return;
    }
    if (texture != gl().texture) {
        flush();
        gl().texture = texture;
    }
}

// WebGL has no GL_CLAMP (edge texels blended with a border colour); the
// game's pictures use no border, so clamping to the edge looks the same.
void glTexParameteri(GLenum /*target*/, GLenum name, GLint value) {
    notRecorded("glTexParameteri");
    Texture* texture = boundTexture();
    if (texture == nullptr) {
        return;
    }
    if ((name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T) && value == GL_CLAMP) {
        value = GL_CLAMP_TO_EDGE;
    }
    flush();
    if (texture->uploaded && deviceReady()) {
        catchUp(); // steps left to the snapshot may draw it as it was
        bindTexture(gl().texture);
        emscripten_glTexParameteri(GL_TEXTURE_2D, name, value);
    }
    texture->parameters[name] = value;
    ++texture->version;
}

// Only level 0 is used; the pixels are kept and reach WebGL when drawn.
void glTexImage2D(GLenum /*target*/, GLint /*level*/, GLint /*internalFormat*/, GLsizei width,
                  GLsizei height, GLint /*border*/, GLenum format, GLenum type,
                  const GLvoid* pixels) {
    notRecorded("glTexImage2D");
    Texture* texture = boundTexture();
    if (texture == nullptr) {
        return;
    }
    flush();
    if (texture->uploaded && deviceReady()) {
        catchUp(); // steps left to the snapshot may draw it as it was
    }
    ++texture->version;
    texture->filled = true;
    texture->width = width;
    texture->height = height;
    texture->format = format;
    texture->type = type;
    texture->alignment = gl().unpackAlignment;
    const auto* bytes = static_cast<const unsigned char*>(pixels);
    texture->pixels.assign(bytes, bytes == nullptr ? bytes
                                                   : bytes + imageBytes(width, height, format,
                                                                        texture->alignment));
    // A texture already in WebGL takes its new pixels at its next draw.
    texture->uploaded = false;
    if (format == GL_LUMINANCE_ALPHA) {
        mark(Milestone::FirstGlyph);
        lastGlyphMs = emscripten_get_now();
    } else {
        mark(Milestone::TitlePicture);
    }
}

// ---------------------------------------------------------------------------
// Matrices: the two stacks live here; the shader gets their product
// ---------------------------------------------------------------------------

void glMatrixMode(GLenum mode) {
    notRecorded("glMatrixMode");
    gl().matrixMode = mode;
}

void glPushMatrix() {
    if (recording(Op::PushMatrix)) {
        return;
    }
    std::vector<Matrix>& stack =
        gl().matrixMode == GL_PROJECTION ? gl().projection : gl().modelview;
    stack.push_back(stack.back());
}

void glPopMatrix() {
    if (recording(Op::PopMatrix)) {
        return;
    }
    std::vector<Matrix>& stack =
        gl().matrixMode == GL_PROJECTION ? gl().projection : gl().modelview;
    if (stack.size() > 1) {
        matrixChanging();
        stack.pop_back();
    }
}

void glLoadIdentity() {
    notRecorded("glLoadIdentity");
    matrixChanging();
    currentMatrix() = IDENTITY;
}

void glMultMatrixf(const GLfloat* matrix) {
    notRecorded("glMultMatrixf");
    matrixChanging();
    Matrix factor{};
    std::copy(matrix, matrix + MATRIX_ELEMENTS, factor.begin());
    currentMatrix() = multiply(currentMatrix(), factor);
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (recording(Op::Translate, 0, x, y, z)) {
        return;
    }
    const Matrix factor = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    matrixChanging();
    currentMatrix() = multiply(currentMatrix(), factor);
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (recording(Op::Scale, 0, x, y, z)) {
        return;
    }
    const Matrix factor = {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1};
    matrixChanging();
    currentMatrix() = multiply(currentMatrix(), factor);
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble zNear, GLdouble zFar) {
    notRecorded("gluPerspective");
    const double f = 1.0 / std::tan(fovy * RADIANS_PER_DEGREE / 2);
    const double depth = zNear - zFar;
    const Matrix factor = {static_cast<GLfloat>(f / aspect), 0, 0, 0,
                           0, static_cast<GLfloat>(f), 0, 0,
                           0, 0, static_cast<GLfloat>((zFar + zNear) / depth), -1,
                           0, 0, static_cast<GLfloat>(2 * zFar * zNear / depth), 0};
    matrixChanging();
    currentMatrix() = multiply(currentMatrix(), factor);
}

// The drawing buffer gets no depth buffer, whatever the game asks: the depth
// test never reaches WebGL (see webglCapability), so a depth buffer would only
// hold memory, about 12 MB at two device pixels a pixel. The game's page
// makes the context so before the game starts (app/web/index.html), and
// GLUT's glutCreateWindow then takes that one.
void glutInitDisplayMode(unsigned int mode) {
    setGlutDisplayMode(mode & ~GLUT_DEPTH);
}

// The browser shows the canvas when the frame's callback returns; what is
// still batched must be drawn by then. The next frame's steps are compared
// with this one's from the first.
void glutSwapBuffers() {
    flush();
    if (deviceReady()) {
        endFrame();
    } else {
        gl().frame = Frame{};
    }
}

} // extern "C"

namespace {

void callList(GLuint list) {
    const auto found = gl().lists.find(list);
    if (found == gl().lists.end()) {
        return;
    }
    for (const Command& c : found->second) {
        switch (c.op) {
        case Op::Begin:
            glBegin(c.name);
            break;
        case Op::End:
            glEnd();
            break;
        case Op::Vertex:
            glVertex2f(c.x, c.y);
            break;
        case Op::TexCoord:
            glTexCoord2f(c.x, c.y);
            break;
        case Op::Color:
            glColor4f(c.x, c.y, c.z, c.w);
            break;
        case Op::BindTexture:
            glBindTexture(GL_TEXTURE_2D, c.name);
            break;
        case Op::PushMatrix:
            glPushMatrix();
            break;
        case Op::PopMatrix:
            glPopMatrix();
            break;
        case Op::Translate:
            glTranslatef(c.x, c.y, c.z);
            break;
        case Op::Scale:
            glScalef(c.x, c.y, c.z);
            break;
        }
    }
}

} // namespace
