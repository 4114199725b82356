#include "mesh_files/cMeshObj.h"

#include <cstdlib>
#include <iostream>
#include <string>

#include "gl/gl_check.h"
#include "gl/gl_extensions.h"
#include "render/pass_profile.h"
#include "util/fatal_exit.h"

namespace {
// Buffer size in bytes of a float array holding `per` floats per element.
GLsizeiptrARB float_bytes(const std::vector<float>& v, size_t per, int32_t components)
{
    return GLsizeiptrARB((v.size() / per) * size_t(components) * sizeof(float));
}

void fill(cVertexBuffer& b, GLenum target, GLsizeiptrARB bytes, const void* data)
{
    ext::glBindBufferARB(target, b.name);
    ext::glBufferDataARB(target, bytes, bytes ? data : nullptr, b.usage);
    ext::glBindBufferARB(target, 0);
}

// Empties a client array down to one dummy element, keeping its storage.
void release_client(std::vector<float>& v)
{
    v.clear();
    v.resize(1, 0.0f);
}
}  // namespace

cMeshObj::cMeshObj()
{
    m_positions.init(3);
    m_normals.init(3);
    m_texcoords.init(2);
    m_indices.init(1);
}

cMeshObj::~cMeshObj()
{
    m_indices.release();
    m_texcoords.release();
    m_normals.release();
    m_positions.release();
    // The members go in reverse order of declaration: GL materials first,
    // then the arrays of cMeshObj_data (materials, groups, indices, texture
    // coordinates, normals, positions).
}

cVertexBuffer& cMeshObj::getBuffer(int selector)
{
    switch (selector) {
    case POSITION_BUFFER:
        return m_positions;
    case NORMAL_BUFFER:
        return m_normals;
    case TEXCOORD_BUFFER:
        return m_texcoords;
    case INDEX_BUFFER:
        return m_indices;
    default:
        std::cerr << "# ERROR in " << "..\\src\\mesh_files\\cMeshObj" << " line " << 158
                  << ": Unknown vbo. Exiting..." << std::endl;
        end_process(-1);
    }
}

void cMeshObj::upload(bool releaseClientArrays)
{
    uploaded_vertices = vertex_count();
    fill(m_positions, GL_ARRAY_BUFFER, float_bytes(positions, 3, m_positions.components), positions.data());
    fill(m_normals, GL_ARRAY_BUFFER, float_bytes(normals, 3, m_normals.components), normals.data());
    fill(m_texcoords, GL_ARRAY_BUFFER, float_bytes(texcoords, 2, m_texcoords.components), texcoords.data());
    fill(m_indices, GL_ELEMENT_ARRAY_BUFFER,
         GLsizeiptrARB(size_t(m_indices.components) * indices.size() * sizeof(uint32_t)), indices.data());
    if (releaseClientArrays) {
        release_client(positions);
        release_client(normals);
        release_client(texcoords);
    }
}

void cMeshObj::build_gl_materials()
{
    gl_materials.clear();
    gl_materials.reserve(materials.size());
    for (const cMaterial& m : materials)
        gl_materials.emplace_back(m);
    for (cMaterial_GL& m : gl_materials)
        m.loadTextures();
}

void cMeshObj::reset_texture_units()
{
    for (GLenum unit : {GL_TEXTURE2, GL_TEXTURE1, GL_TEXTURE0}) {
        ext::glActiveTextureARB(unit);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
}

void cMeshObj::draw()
{
    cPlainDrawScope pass("plain_mesh");
    m_positions.bind_positions();
    if (has(MT_NORMALS))
        m_normals.bind_normals();
    if (has(MT_TEXCOORDS))
        m_texcoords.bind_texcoords(GL_TEXTURE0);
    m_indices.bind_indices();

    if (has(MT_MATERIALS)) {
        for (size_t i = 0; i + 1 < groups.size(); ++i) {
            const MaterialGroup& g = groups[i];
            const uint32_t end = groups[i + 1].first;
            // A group naming a material the mesh does not have (its
            // materials were dropped, or a file named too few) is drawn
            // with the material state as it stands.
            if (g.material < gl_materials.size())
                gl_materials[g.material].apply();
            if (end > g.first && end <= indices.size())
                glDrawElements(GL_TRIANGLES, GLsizei(end - g.first), GL_UNSIGNED_INT,
                               reinterpret_cast<const void*>(uintptr_t(g.first) * sizeof(uint32_t)));
        }
        reset_texture_units();
    } else {
        glDrawElements(GL_TRIANGLES, GLsizei(indices.size()), GL_UNSIGNED_INT, nullptr);
    }

    m_positions.unbind();
    m_indices.unbind();
    if (has(MT_TEXCOORDS))
        m_texcoords.unbind();
    if (has(MT_NORMALS))
        m_normals.unbind();
    if (gl_checks_on())
        gl_check_after("a mesh draw of " + std::to_string(indices.size() / 3) + " triangles");
}
