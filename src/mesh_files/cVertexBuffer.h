#pragma once
// One GL buffer object of a mesh and how it is bound: as vertex positions,
// normals, texture coordinates on some unit, or as the index list. The
// record remembers how it was bound last so that unbind undoes exactly that.
//
// Every operation needs a current GL context with the vertex-buffer and
// multitexture entry points loaded.
#include <GL/gl.h>
#include <GL/glext.h>

#include <cstdint>

class cVertexBuffer {
public:
    enum eKind : int32_t { NOT_BOUND = 0, POSITIONS = 1, NORMALS = 2, TEXCOORDS = 3, INDICES = 4 };

    int32_t kind = NOT_BOUND;  // set when bound, read when unbound, never reset
    GLenum unit = GL_TEXTURE0;  // the texture unit fed while bound as texture coordinates
    int32_t components = 0;
    GLuint name = 0;  // 0: no buffer
    GLenum usage = GL_STATIC_DRAW;

    // Generates the buffer name; kind NOT_BOUND.
    void init(int32_t componentCount);

    void bind_positions();
    void bind_normals();
    // Leaves client texture unit 0 selected.
    void bind_texcoords(GLenum textureUnit);
    void bind_indices();
    // Undoes the last bind by its kind. The element-array binding of an
    // index buffer stays in place: the draw that follows may still need it.
    void unbind();
    // Deletes the buffer (if any); name becomes 0.
    void release();
};
