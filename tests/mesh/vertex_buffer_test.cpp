// Buffer records: each bind enables its client array, unbind undoes the
// last bind by its kind, release deletes the buffer once.
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include "gl/gl_extensions.h"
#include "mesh/mesh_gl_fixture.h"
#include "mesh_files/cVertexBuffer.h"

namespace {
bool texcoord_array_on(GLenum unit)
{
    ext::glClientActiveTextureARB(unit);
    const bool on = glIsEnabled(GL_TEXTURE_COORD_ARRAY);
    ext::glClientActiveTextureARB(GL_TEXTURE0);
    return on;
}
}  // namespace

TEST_F(MeshGL, VertexBufferBindsAndUnbindsByKind)
{
    cVertexBuffer b;
    b.init(3);
    EXPECT_NE(b.name, 0u);
    EXPECT_EQ(b.kind, cVertexBuffer::NOT_BOUND);
    EXPECT_EQ(b.usage, GLenum(GL_STATIC_DRAW));

    b.bind_texcoords(GL_TEXTURE3);
    EXPECT_EQ(b.kind, cVertexBuffer::TEXCOORDS);
    EXPECT_TRUE(texcoord_array_on(GL_TEXTURE3));
    EXPECT_FALSE(texcoord_array_on(GL_TEXTURE0));
    EXPECT_EQ(gl_int(GL_CLIENT_ACTIVE_TEXTURE), GL_TEXTURE0);
    ext::glClientActiveTextureARB(GL_TEXTURE3);
    EXPECT_EQ(gl_int(GL_TEXTURE_COORD_ARRAY_SIZE), 3);
    EXPECT_EQ(GLuint(gl_int(GL_TEXTURE_COORD_ARRAY_BUFFER_BINDING)), b.name);
    ext::glClientActiveTextureARB(GL_TEXTURE0);
    b.unbind();
    EXPECT_FALSE(texcoord_array_on(GL_TEXTURE3));
    EXPECT_EQ(gl_int(GL_ARRAY_BUFFER_BINDING), 0);
    EXPECT_EQ(b.kind, cVertexBuffer::TEXCOORDS) << "the kind is not reset";

    b.bind_normals();
    EXPECT_TRUE(glIsEnabled(GL_NORMAL_ARRAY));
    b.unbind();
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));

    b.bind_positions();
    EXPECT_TRUE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(gl_int(GL_VERTEX_ARRAY_SIZE), 3);
    b.unbind();
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));

    b.bind_indices();
    b.unbind();
    EXPECT_EQ(GLuint(gl_int(GL_ELEMENT_ARRAY_BUFFER_BINDING)), b.name) << "indices stay bound";
    ext::glBindBufferARB(GL_ELEMENT_ARRAY_BUFFER, 0);

    b.release();
    EXPECT_EQ(b.name, 0u);
    b.release();  // nothing left to delete
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
