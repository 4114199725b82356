// Reloading while the show plays: a shader source compiled again into the
// running programs (or refused, the old program running on), a texture
// decoded again into its GL texture, and the directory watch that notices
// them (the marker script's reload is played end to end).
#include <FreeImage.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

#include "demo/cLiveReload.h"
#include "platform/file_watch.h"
#include "shader_runtime/shader_runtime.h"
#include "support/shader_setup.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

namespace {
std::string fragment(const char* rgb)
{
    return std::string("#version 120\nuniform float gain;\nvoid main()\n{\n    gl_FragColor = vec4(") + rgb +
           " * gain, 1.0);\n}\n";
}

class LiveReload : public GLTest {
protected:
    static Rgba draw_quad()
    {
        glClearColor(0.f, 0.f, 0.f, 1.f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRectf(-1.f, -1.f, 1.f, 1.f);
        return read_pixel(20, 20);
    }
    static void save_image(const std::string& path, int w, int h, BYTE blue, BYTE green, BYTE red)
    {
        FIBITMAP* b = FreeImage_Allocate(w, h, 24);
        for (int y = 0; y < h; ++y)
            for (BYTE* p = FreeImage_GetScanLine(b, y); p < FreeImage_GetScanLine(b, y) + 3 * w; p += 3)
                p[0] = blue, p[1] = green, p[2] = red;
        ASSERT_TRUE(FreeImage_Save(FIF_PNG, b, path.c_str(), 0));
        FreeImage_Unload(b);
    }
};
}  // namespace

TEST_F(LiveReload, AnEditedShaderRunsAtOnceAndABrokenEditKeepsTheOldProgram)
{
    TempDir dir;
    dir.write("v.glsl", "#version 120\nvoid main() { gl_Position = ftransform(); }\n");
    dir.write("f.glsl", fragment("vec3(1.0, 0.0, 0.0)"));
    const std::string frag = dir.path + "/f.glsl";
    shrt::Context* c = shrt::create_context();
    shrt::Program* vp = shrt::create_program_from_file(c, dir.path + "/v.glsl", shrt::CG_PROFILE_ARBVP1);
    shrt::Program* fp = shrt::create_program_from_file(c, frag, shrt::CG_PROFILE_ARBFP1);
    ASSERT_TRUE(vp && fp);
    shrt::load_program(vp);
    shrt::load_program(fp);
    shrt::set_parameter_1f(shrt::named_parameter(fp, "gain"), 0.5f);
    shrt::enable_profile(shrt::CG_PROFILE_ARBVP1);
    shrt::enable_profile(shrt::CG_PROFILE_ARBFP1);
    shrt::bind_program(vp);
    shrt::bind_program(fp);
    EXPECT_TRUE(near_rgba(draw_quad(), {128, 0, 0, 255}, 2));

    // Edited while bound: the next draw runs the new code with the old gain,
    // and a uniform the edit adds becomes a parameter.
    dir.write("f.glsl", "#version 120\nuniform float gain;\nuniform float more;\n"
                        "void main() { gl_FragColor = vec4(0.0, gain + more, 0.0, 1.0); }\n");
    std::ostringstream log;
    EXPECT_EQ(cLiveReload::reload_shader(frag, log), 1);
    EXPECT_EQ(log.str(), "# reloaded shader " + frag + "\n");
    shrt::set_parameter_1f(shrt::named_parameter(fp, "more"), 0.25f);
    EXPECT_TRUE(near_rgba(draw_quad(), {0, 191, 0, 255}, 2));

    // A typo on line 5: refused with the file and line, the last good
    // program still drawing.
    dir.write("f.glsl", fragment("vec3(0.0, 0.0, 1.0)").replace(fragment("").find("gl_FragColor"), 0, "oops "));
    log.str("");
    EXPECT_EQ(cLiveReload::reload_shader(frag, log), -1);
    EXPECT_NE(log.str().find("## ERROR: " + frag + " does not compile; the previous program stays:\n" + frag + ":5:"),
              std::string::npos)
        << log.str();
    EXPECT_TRUE(near_rgba(draw_quad(), {0, 191, 0, 255}, 2));
    // One that compiles alone but no longer links with its vertex stage.
    dir.write("f.glsl", "#version 120\nvarying vec3 fromVertex;\nvoid main() { gl_FragColor = vec4(fromVertex, 1.0); }\n");
    log.str("");
    EXPECT_EQ(cLiveReload::reload_shader(frag, log), -1) << log.str();
    EXPECT_TRUE(near_rgba(draw_quad(), {0, 191, 0, 255}, 2));

    EXPECT_EQ(cLiveReload::reload_shader(dir.path + "/never-compiled.glsl", log), 0);
    shrt::unbind_program(shrt::CG_PROFILE_ARBVP1);
    shrt::unbind_program(shrt::CG_PROFILE_ARBFP1);
    shrt::destroy_context(c);
}

TEST_F(LiveReload, ATextureTakesTheNewPixelsOfItsFileButNotANewSize)
{
    TempDir dir;
    const std::string path = dir.path + "/swatch.png";
    save_image(path, 64, 64, 0, 0, 255);
    get_resource_path()->push_searchpath(dir.path);
    cTexture t = get_texture_manager()->get_texture("swatch.png", true, GL_REPEAT, 0);
    ASSERT_TRUE(t.loaded());
    auto texel = [&] {
        std::vector<unsigned char> rgb(64 * 64 * 3);
        glBindTexture(GL_TEXTURE_2D, t.id);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        glBindTexture(GL_TEXTURE_2D, 0);
        return Rgba{rgb[0], rgb[1], rgb[2], 255};
    };
    EXPECT_TRUE(near_rgba(texel(), {255, 0, 0, 255}, 0));

    save_image(path, 64, 64, 255, 0, 0);
    std::string error;
    EXPECT_EQ(get_texture_manager()->reload(path, error), 1) << error;
    EXPECT_TRUE(near_rgba(texel(), {0, 0, 255, 255}, 0));

    save_image(path, 32, 32, 0, 255, 0);
    EXPECT_EQ(get_texture_manager()->reload(path, error), -1);
    EXPECT_NE(error.find("the image is 32x32, the texture 64x64"), std::string::npos) << error;
    std::ofstream(path) << "no picture";
    EXPECT_EQ(get_texture_manager()->reload(path, error), -1);
    EXPECT_EQ(error, path + ": not an image that can be read");
    // The first load's decode step and checks: a cut file keeps the
    // decoder's words, another depth is named.
    save_image(path, 64, 64, 0, 255, 0);
    std::string png;
    {
        std::ifstream in(path, std::ios::binary);
        png.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(path, std::ios::binary) << png.substr(0, png.size() / 2);
    EXPECT_EQ(get_texture_manager()->reload(path, error), -1);
    EXPECT_EQ(error.rfind(path + ": not an image that can be read (PNG: ", 0), 0u) << error;
    FIBITMAP* grey = FreeImage_Allocate(64, 64, 8);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, grey, path.c_str(), 0));
    FreeImage_Unload(grey);
    EXPECT_EQ(get_texture_manager()->reload(path, error), -1);
    EXPECT_EQ(error, path + ": images must be 24 or 32 bpp, this one is 8");
    EXPECT_TRUE(near_rgba(texel(), {0, 0, 255, 255}, 0)) << "the old picture stays";
    EXPECT_EQ(get_texture_manager()->reload(dir.path + "/other.png", error), 0);
}

TEST(FileWatch, SavedAndRenamedFilesAreReportedOnceEach)
{
    TempDir dir;
    cFileWatch watch;
    std::string error;
    ASSERT_TRUE(watch.add_directory(dir.path, error)) << error;
    EXPECT_FALSE(watch.add_directory(dir.path + "/missing", error));
    EXPECT_NE(error.find("cannot watch"), std::string::npos);
    EXPECT_TRUE(watch.changes().empty());
    dir.write("a.cg", "one");
    dir.write("a.cg", "two");
    dir.write(".b.swp", "x");
    ASSERT_EQ(std::rename((dir.path + "/.b.swp").c_str(), (dir.path + "/b.cg").c_str()), 0);
    EXPECT_EQ(watch.changes(),
              (std::vector<std::string>{dir.path + "/a.cg", dir.path + "/.b.swp", dir.path + "/b.cg"}));
    EXPECT_TRUE(watch.changes().empty());
}
