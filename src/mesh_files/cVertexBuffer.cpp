#include "mesh_files/cVertexBuffer.h"

#include "gl/gl_extensions.h"

void cVertexBuffer::init(int32_t componentCount)
{
    kind = NOT_BOUND;
    components = componentCount;
    usage = GL_STATIC_DRAW;
    ext::glGenBuffersARB(1, &name);
}

void cVertexBuffer::bind_positions()
{
    kind = POSITIONS;
    ext::glBindBufferARB(GL_ARRAY_BUFFER, name);
    glVertexPointer(components, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_VERTEX_ARRAY);
}

void cVertexBuffer::bind_normals()
{
    kind = NORMALS;
    ext::glBindBufferARB(GL_ARRAY_BUFFER, name);
    glNormalPointer(GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_NORMAL_ARRAY);
}

void cVertexBuffer::bind_texcoords(GLenum textureUnit)
{
    kind = TEXCOORDS;
    unit = textureUnit;
    ext::glClientActiveTextureARB(textureUnit);
    ext::glBindBufferARB(GL_ARRAY_BUFFER, name);
    glTexCoordPointer(components, GL_FLOAT, 0, nullptr);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    ext::glClientActiveTextureARB(GL_TEXTURE0);
}

void cVertexBuffer::bind_indices()
{
    kind = INDICES;
    ext::glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER, name);
}

void cVertexBuffer::unbind()
{
    switch (kind) {
    case POSITIONS:
        glDisableClientState(GL_VERTEX_ARRAY);
        ext::glBindBufferARB(GL_ARRAY_BUFFER, 0);
        break;
    case NORMALS:
        glDisableClientState(GL_NORMAL_ARRAY);
        ext::glBindBufferARB(GL_ARRAY_BUFFER, 0);
        break;
    case TEXCOORDS:
        ext::glClientActiveTextureARB(unit);
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        ext::glClientActiveTextureARB(GL_TEXTURE0);
        ext::glBindBufferARB(GL_ARRAY_BUFFER, 0);
        break;
    default:  // indices and never-bound records leave everything in place
        break;
    }
}

void cVertexBuffer::release()
{
    if (name != 0) {
        ext::glDeleteBuffersARB(1, &name);
        name = 0;
    }
}
