#include "mesh_files/cMeshMorph.h"

#include <cstdlib>
#include <iostream>

#include "gl/gl_extensions.h"
#include "mesh_files/cMeshManager.h"
#include "mesh_files/cMeshObj.h"
#include "shaders/cShaderManager_CG.h"
#include "shaders/shader_value.h"
#include "util/fatal_exit.h"

void cMeshMorph::loadMorph(const std::string& baseName, const std::string& targetName)
{
    cMeshManager* cache = cMeshManager::instance();
    base = cache->requireMesh(baseName, false, "cMeshMorph::loadMorph");
    target = dynamic_cast<cMeshObj*>(cache->requireMesh(targetName, false, "cMeshMorph::loadMorph"));
    if (!target) {
        std::cerr << "## ERROR in cMeshMorph::loadMorph: \"" << targetName
                  << "\" is not a vertex-buffer mesh and cannot be a morph target. Exiting..." << std::endl;
        end_process(-1);
    }
    // The vertex program reads the target's arrays at the base's vertex
    // indices: a target with other vertices would be read past its end.
    auto* b = dynamic_cast<cMeshObj*>(base);
    if (b && b->uploaded_vertices != target->uploaded_vertices) {
        std::cerr << "## WARNING: cMeshMorph::loadMorph: \"" << baseName << "\" has " << b->uploaded_vertices
                  << " vertices but \"" << targetName << "\" has " << target->uploaded_vertices
                  << ": the pair cannot morph, \"" << baseName << "\" is drawn unmorphed" << std::endl;
        target = nullptr;
    }
}

void cMeshMorph::draw()
{
    if (!base) {
        std::cerr << "## DEBUG-ERROR in cMeshMorph::draw: drawn before loadMorph, nothing drawn" << std::endl;
        return;
    }
    if (!target) {  // a refused pair
        base->draw();
        return;
    }
    cShaderManager_CG* shaders = get_shader_manager();
    shaders->push_shader();
    shaders->bind("morph_shader");
    draw_morph_bound();
    shaders->pop_shader();
}

void cMeshMorph::draw_morph_bound()
{
    if (!morphed())
        return;
    cVertexBuffer& positions = target->getBuffer(cMeshObj::POSITION_BUFFER);
    cVertexBuffer& normals = target->getBuffer(cMeshObj::NORMAL_BUFFER);
    positions.bind_texcoords(GL_TEXTURE3);
    normals.bind_texcoords(GL_TEXTURE4);

    base->draw();

    ext::glClientActiveTextureARB(GL_TEXTURE3);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    ext::glClientActiveTextureARB(GL_TEXTURE4);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    // Client unit 0 again, as every other drawing step leaves it.
    ext::glClientActiveTextureARB(GL_TEXTURE0);
}

void cMeshMorph::setMorph(float factor)
{
    // Found on the first morph under each shader manager.
    static cShaderValueRef morph("morph_shader", 1);
    morph.set(factor);
}
