#include "mesh/mesh_gl_fixture.h"

#include <FreeImage.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "gl/gl_extensions.h"
#include "support/show_run.h"
#include "texture/cResourcePath.h"

void MeshGL::SetUp()
{
    GLTest::SetUp();
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glViewport(0, 0, VIEW, VIEW);
    glDisable(GL_BLEND);
    glDisable(GL_MULTISAMPLE_ARB);

    char tmpl[] = "/tmp/wendit-mesh-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    root = tmpl;
    remove_at_exit(root);
    ASSERT_EQ(std::system(("mkdir -p " + root + "/bin " + root + "/data/models " + root + "/data/textures").c_str()),
              0);
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    m_oldCwd = cwd;
    ASSERT_EQ(chdir((root + "/bin").c_str()), 0);
    get_resource_path()->push_searchpath("../data/models");
    get_resource_path()->push_searchpath("../data/textures");
}

void MeshGL::TearDown()
{
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    if (!m_oldCwd.empty()) {
        EXPECT_EQ(chdir(m_oldCwd.c_str()), 0);
    }
    std::system(("rm -rf " + root).c_str());
    GLTest::TearDown();
}

void MeshGL::model(const std::string& name, const std::string& text) const
{
    std::ofstream(root + "/data/models/" + name, std::ios::binary) << text;
}

void MeshGL::quadrant_image(const std::string& name, Rgba bl, Rgba br, Rgba tl, Rgba tr) const
{
    FIBITMAP* b = FreeImage_Allocate(16, 16, 32);
    ASSERT_NE(b, nullptr);
    for (int y = 0; y < 16; ++y) {  // scan line 0 is the bottom row
        BYTE* line = FreeImage_GetScanLine(b, y);
        for (int x = 0; x < 16; ++x) {
            const Rgba& c = y < 8 ? (x < 8 ? bl : br) : (x < 8 ? tl : tr);
            BYTE* p = line + 4 * x;
            p[FI_RGBA_RED] = BYTE(c.r);
            p[FI_RGBA_GREEN] = BYTE(c.g);
            p[FI_RGBA_BLUE] = BYTE(c.b);
            p[FI_RGBA_ALPHA] = BYTE(c.a);
        }
    }
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, b, (root + "/data/textures/" + name).c_str(), 0));
    FreeImage_Unload(b);
}

void MeshGL::light(float diffuse)
{
    const GLfloat none[4] = {0, 0, 0, 1};
    const GLfloat d[4] = {diffuse, diffuse, diffuse, 1};
    const GLfloat towardsViewer[4] = {0, 0, 1, 0};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_AMBIENT, none);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, d);
    glLightfv(GL_LIGHT0, GL_SPECULAR, none);
    glLightfv(GL_LIGHT0, GL_POSITION, towardsViewer);  // with the identity modelview
}

void MeshGL::clear()
{
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

Rgba MeshGL::cell(int cx, int cy)
{
    const int step = VIEW / 4;
    return read_pixel(cx * step + step / 2, cy * step + step / 2);
}

GLint gl_int(GLenum what)
{
    GLint v = 0;
    glGetIntegerv(what, &v);
    return v;
}
