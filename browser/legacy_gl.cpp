// legacy_gl.cpp: the OpenGL 1.x calls the game makes that Emscripten's legacy
// GL emulation lacks or gets wrong, built on Emscripten's own emscripten_gl*
// entry points. Linked into the web build only; the game calls these names
// as it calls the desktop's libGL. State lives for the whole page.
//
// Every gl/glu/glut call the game makes, and who answers it on the web:
//   here, batched:   glBegin glEnd glVertex2f glColor4f glColor4fv glTexCoord2f
//                    glNormal3f (dropped: the game never lights)
//   here, dropped:   glShadeModel glHint (see below)
//   here, recorded:  glGenLists glNewList glEndList glCallList glCallLists glListBase
//   here, saved:     glPushAttrib glPopAttrib glPushClientAttrib glPopClientAttrib
//   here, flushing the batch, then passed on (with fixes):
//                    glEnable glDisable glBindTexture glBlendFunc glTexParameteri
//                    (GL_CLAMP -> GL_CLAMP_TO_EDGE) glTexImage2D (internal format
//                    = data format) glPixelStorei glClear glViewport glMatrixMode
//                    glPushMatrix glPopMatrix glLoadIdentity glTranslatef glScalef
//                    glMultMatrixf glutSwapBuffers
//   Emscripten, as they are (start-up state and queries, made with nothing
//   pending):        glPolygonMode glClearDepth glDepthFunc glClearColor
//                    glGenTextures glGetIntegerv glGetFloatv gluPerspective
//   browser/browser_input.cpp: glutIgnoreKeyRepeat and the input callbacks
//   Emscripten's GLUT: glutInit glutInitDisplayMode glutInitWindowSize
//                    glutCreateWindow glutPositionWindow glutReshapeWindow
//                    glutReshapeFunc glutDisplayFunc glutIdleFunc glutPostRedisplay
//                    glutGet glutMainLoop
//
// Immediate mode goes to WebGL as arrays: glBegin/glEnd pairs only append
// triangles or lines to one interleaved buffer, and the buffer is drawn with
// one glDrawArrays when a call that changes what it would look like arrives
// (a matrix, a texture, a capability) or the frame ends. A picture of 50 000
// segments is then a few draws, not a call into JavaScript per vertex.
#include <GL/gl.h>
#include <GL/glut.h>

#include <algorithm>
#include <cstddef>
#include <map>
#include <unordered_map>
#include <vector>

#include "browser/sharp_canvas.h"

extern "C" {
// Emscripten's implementations, reachable under these names whatever the
// program defines under the standard ones.
void emscripten_glEnable(GLenum cap);
void emscripten_glDisable(GLenum cap);
void emscripten_glBindTexture(GLenum target, GLuint texture);
void emscripten_glBlendFunc(GLenum sfactor, GLenum dfactor);
void emscripten_glTexParameteri(GLenum target, GLenum name, GLint value);
void emscripten_glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width,
                             GLsizei height, GLint border, GLenum format, GLenum type,
                             const void* pixels);
void emscripten_glPixelStorei(GLenum name, GLint value);
void emscripten_glClear(GLbitfield mask);
void emscripten_glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void emscripten_glMatrixMode(GLenum mode);
void emscripten_glPushMatrix();
void emscripten_glPopMatrix();
void emscripten_glLoadIdentity();
void emscripten_glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glScalef(GLfloat x, GLfloat y, GLfloat z);
void emscripten_glMultMatrixf(const GLfloat* matrix);
void emscripten_glEnableClientState(GLenum array);
void emscripten_glDisableClientState(GLenum array);
void emscripten_glVertexPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void emscripten_glColorPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void emscripten_glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const void* pointer);
void emscripten_glDrawArrays(GLenum mode, GLint first, GLsizei count);
}

namespace {

// The emulation stages client arrays in a scratch buffer of 2 MiB
// (GL_MAX_TEMP_BUFFER_SIZE); a draw stays below it. A multiple of 6 ends
// every chunk on a whole triangle and a whole line.
constexpr std::size_t MAX_DRAW_VERTICES = 60000;
constexpr GLint DEFAULT_UNPACK_ALIGNMENT = 4; // bytes, OpenGL's initial value

struct Vertex {
    GLfloat x, y;
    GLfloat red, green, blue, alpha;
    GLfloat s, t;
};
constexpr GLsizei VERTEX_STRIDE = sizeof(Vertex);

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
    GLfloat color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
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

struct LegacyGl {
    // Drawing.
    std::vector<Vertex> batch;       // finished primitives, not drawn yet
    GLenum batchMode = GL_TRIANGLES; // GL_TRIANGLES or GL_LINES
    std::vector<Vertex> primitive;   // the glBegin in progress
    GLenum primitiveMode = 0;
    CurrentAttributes current;
    bool textured = false; // GL_TEXTURE_2D, which decides whether s, t are sent

    // State the attribute stacks restore.
    std::map<GLenum, bool> enabled; // every capability set through glEnable/glDisable
    GLenum matrixMode = GL_MODELVIEW;
    GLint unpackAlignment = DEFAULT_UNPACK_ALIGNMENT;
    std::vector<SavedAttributes> attributeStack;
    std::vector<GLint> clientAttributeStack;

    // Display lists.
    std::unordered_map<GLuint, std::vector<Command>> lists;
    GLuint nextList = 1;
    GLuint listBase = 0;
    std::vector<Command>* compiling = nullptr; // the list glNewList opened
};

LegacyGl& gl() {
    static LegacyGl state;
    return state;
}

bool recording(Op op, GLuint name = 0, GLfloat x = 0, GLfloat y = 0, GLfloat z = 0, GLfloat w = 0) {
    if (gl().compiling == nullptr) {
        return false;
    }
    gl().compiling->push_back({op, name, x, y, z, w});
    return true;
}

// Draws what the batch holds with the state now current, in chunks the
// emulation's scratch buffer takes.
void flush() {
    LegacyGl& state = gl();
    if (state.batch.empty()) {
        return;
    }
    emscripten_glEnableClientState(GL_VERTEX_ARRAY);
    emscripten_glEnableClientState(GL_COLOR_ARRAY);
    if (state.textured) {
        emscripten_glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    for (std::size_t first = 0; first < state.batch.size(); first += MAX_DRAW_VERTICES) {
        const Vertex* start = state.batch.data() + first;
        const std::size_t count = std::min(MAX_DRAW_VERTICES, state.batch.size() - first);
        emscripten_glVertexPointer(2, GL_FLOAT, VERTEX_STRIDE, &start->x);
        emscripten_glColorPointer(4, GL_FLOAT, VERTEX_STRIDE, &start->red);
        if (state.textured) {
            emscripten_glTexCoordPointer(2, GL_FLOAT, VERTEX_STRIDE, &start->s);
        }
        emscripten_glDrawArrays(state.batchMode, 0, static_cast<GLsizei>(count));
    }
    if (state.textured) {
        emscripten_glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }
    emscripten_glDisableClientState(GL_COLOR_ARRAY);
    emscripten_glDisableClientState(GL_VERTEX_ARRAY);
    state.batch.clear();
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
    flush();
    gl().enabled[cap] = on;
    if (cap == GL_TEXTURE_2D) {
        gl().textured = on;
    }
    // Lighting is only ever switched off, which it already is; the emulation
    // would build lit shaders for nothing.
    if (cap == GL_LIGHTING) {
        return;
    }
    if (on) {
        emscripten_glEnable(cap);
    } else {
        emscripten_glDisable(cap);
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
    gl().primitive.push_back({x, y, c.color[0], c.color[1], c.color[2], c.color[3], c.s, c.t});
}

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    if (recording(Op::Color, 0, red, green, blue, alpha)) {
        return;
    }
    gl().current.color[0] = red;
    gl().current.color[1] = green;
    gl().current.color[2] = blue;
    gl().current.color[3] = alpha;
}

// WebGL shades smoothly only. Every primitive the game draws has one colour,
// so its flat shading looks the same; the emulation would log a TODO.
void glShadeModel(GLenum /*mode*/) {}

// The game's one hint, perspective correction, WebGL always applies and does
// not know as a hint: passing it on logs an INVALID_ENUM error.
void glHint(GLenum /*target*/, GLenum /*mode*/) {}

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

// Normals matter only to lighting, which the game never turns on; the
// emulation garbles a quad that carries one.
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
    callList(list);
}

// Only GL_UNSIGNED_BYTE names are used (the glyph codes of a line of text).
void glCallLists(GLsizei n, GLenum /*type*/, const GLvoid* names) {
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
    const LegacyGl& state = gl();
    gl().attributeStack.push_back(
        {mask, state.current, state.enabled, state.matrixMode, state.listBase});
}

void glPopAttrib() {
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
// State changes: the batch is drawn under the state it was made in
// ---------------------------------------------------------------------------

void glEnable(GLenum cap) {
    setEnabled(cap, true);
}
void glDisable(GLenum cap) {
    setEnabled(cap, false);
}

void glBindTexture(GLenum target, GLuint texture) {
    if (recording(Op::BindTexture, texture)) {
        return;
    }
    flush();
    emscripten_glBindTexture(target, texture);
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    flush();
    emscripten_glBlendFunc(sfactor, dfactor);
}

// WebGL has no GL_CLAMP (edge texels blended with a border colour); the
// game's pictures use no border, so clamping to the edge looks the same.
void glTexParameteri(GLenum target, GLenum name, GLint value) {
    flush();
    if ((name == GL_TEXTURE_WRAP_S || name == GL_TEXTURE_WRAP_T) && value == GL_CLAMP) {
        value = GL_CLAMP_TO_EDGE;
    }
    emscripten_glTexParameteri(target, name, value);
}

// WebGL 1 converts nothing at upload: the internal format must be the data's.
// Luminance-alpha texels sample as (L, L, L, A), as an RGBA texture made from
// them does on the desktop.
void glTexImage2D(GLenum target, GLint level, GLint /*internalFormat*/, GLsizei width,
                  GLsizei height, GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    flush();
    emscripten_glTexImage2D(target, level, static_cast<GLint>(format), width, height, border,
                            format, type, pixels);
}

void glPixelStorei(GLenum name, GLint value) {
    if (name == GL_UNPACK_ALIGNMENT) {
        gl().unpackAlignment = value;
    }
    emscripten_glPixelStorei(name, value);
}

void glClear(GLbitfield mask) {
    flush();
    emscripten_glClear(mask);
}

// The game's viewport is in window pixels; the drawing buffer may hold more
// of its own for each (browser/sharp_canvas.h).
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    flush();
    const double scale = drawingBufferScale();
    emscripten_glViewport(static_cast<GLint>(x * scale), static_cast<GLint>(y * scale),
                          static_cast<GLsizei>(width * scale), static_cast<GLsizei>(height * scale));
}

void glMatrixMode(GLenum mode) {
    gl().matrixMode = mode;
    emscripten_glMatrixMode(mode);
}

void glPushMatrix() {
    if (!recording(Op::PushMatrix)) {
        emscripten_glPushMatrix();
    }
}

void glPopMatrix() {
    if (!recording(Op::PopMatrix)) {
        flush();
        emscripten_glPopMatrix();
    }
}

void glLoadIdentity() {
    flush();
    emscripten_glLoadIdentity();
}

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    if (!recording(Op::Translate, 0, x, y, z)) {
        flush();
        emscripten_glTranslatef(x, y, z);
    }
}

void glScalef(GLfloat x, GLfloat y, GLfloat z) {
    if (!recording(Op::Scale, 0, x, y, z)) {
        flush();
        emscripten_glScalef(x, y, z);
    }
}

void glMultMatrixf(const GLfloat* matrix) {
    flush();
    emscripten_glMultMatrixf(matrix);
}

// The browser shows the canvas when the frame's callback returns; what is
// still batched must be drawn by then.
void glutSwapBuffers() {
    flush();
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
