// Textures found through the search path, decoded by FreeImage and cached.
#include <FreeImage.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "support/gl_fixture.h"
#include "support/show_run.h"
#include "texture/cResourcePath.h"
#include "texture/cTextureManager.h"

namespace {
// A temporary directory laid out like bin/ and data/textures/, with the
// working directory in bin/ for the test's duration.
class Textures : public GLTest {
protected:
    void SetUp() override
    {
        GLTest::SetUp();
        char tmpl[] = "/tmp/wendit-tex-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        root = tmpl;
        remove_at_exit(root);
        ASSERT_EQ(std::system(("mkdir -p " + root + "/bin " + root + "/data/textures").c_str()), 0);
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        oldCwd = cwd;
        ASSERT_EQ(chdir((root + "/bin").c_str()), 0);
        get_resource_path()->push_searchpath("../data");
        get_resource_path()->push_searchpath("../data/textures");
    }
    void TearDown() override
    {
        if (!oldCwd.empty()) {
            EXPECT_EQ(chdir(oldCwd.c_str()), 0);
        }
        std::system(("rm -rf " + root).c_str());
        GLTest::TearDown();
    }
    // An image of one colour in data/textures/.
    void image(const std::string& name, int w, int h, int bpp, FREE_IMAGE_FORMAT fif = FIF_PNG)
    {
        FIBITMAP* b = FreeImage_Allocate(w, h, bpp);
        ASSERT_NE(b, nullptr);
        for (int y = 0; y < h; ++y) {
            BYTE* line = FreeImage_GetScanLine(b, y);
            for (int x = 0; x < w * bpp / 8; ++x) {
                line[x] = BYTE(40 + (x % 4) * 50);
            }
        }
        ASSERT_TRUE(FreeImage_Save(fif, b, (root + "/data/textures/" + name).c_str(), 0));
        FreeImage_Unload(b);
    }
    std::string root, oldCwd;
};
}  // namespace

TEST_F(Textures, TargetFollowsTheImageSize)
{
    image("square.png", 256, 256, 24);
    image("wide.png", 640, 480, 32);
    image("line.png", 64, 1, 24);
    cTextureManager* tm = get_texture_manager();
    cTexture sq = tm->get_texture("square.png", true, GL_REPEAT, 0);
    EXPECT_EQ(sq.target, GLenum(GL_TEXTURE_2D));
    EXPECT_EQ(sq.width, 256u);
    GLint minFilter = 0;
    glBindTexture(GL_TEXTURE_2D, sq.id);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR_MIPMAP_LINEAR);
    GLint level1 = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &level1);
    EXPECT_EQ(level1, 128) << "mipmaps were built";
    glBindTexture(GL_TEXTURE_2D, 0);

    cTexture wide = tm->get_texture("wide.png", true, GL_CLAMP, 0);
    EXPECT_EQ(wide.target, GLenum(GL_TEXTURE_RECTANGLE_ARB));
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, wide.id);
    glGetTexParameteriv(GL_TEXTURE_RECTANGLE_ARB, GL_TEXTURE_MIN_FILTER, &minFilter);
    EXPECT_EQ(minFilter, GL_LINEAR);
    glBindTexture(GL_TEXTURE_RECTANGLE_ARB, 0);

    cTexture line = tm->get_texture("line.png", true, GL_CLAMP, 0);
    EXPECT_EQ(line.target, GLenum(GL_TEXTURE_1D));
    EXPECT_EQ(line.height, 1u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(line.unit, -1);
}

TEST_F(Textures, SameFileLoadsOnceWhateverTheRequest)
{
    image("a.png", 32, 32, 32);
    cTextureManager* tm = get_texture_manager();
    cTexture first = tm->get_texture("a.png", false, GL_CLAMP, 0);
    cTexture second = tm->get_texture("a.png", true, GL_REPEAT, GL_TEXTURE_RECTANGLE_ARB);
    EXPECT_EQ(first.id, second.id);
    EXPECT_EQ(second.target, GLenum(GL_TEXTURE_2D)) << "the first request decides";
    EXPECT_EQ(tm->size(), 1u);
    // Named by a path that exists from here, the file is a direct hit, kept
    // under its absolute path.
    cTexture third = tm->get_texture("../data/textures/a.png", false, GL_CLAMP, 0);
    EXPECT_TRUE(tm->cached(root + "/data/textures/a.png"));
    cTexture fourth = tm->get_texture("../data/textures/a.png", false, GL_CLAMP, 0);
    EXPECT_EQ(third.id, fourth.id);
    EXPECT_EQ(tm->size(), 2u);
}

TEST_F(Textures, NameWithAMissingDirectoryIsFoundByItsFileName)
{
    image("found.png", 16, 16, 24);
    cTexture t = get_texture_manager()->get_texture("nowhere/at/all/found.png", false, GL_CLAMP, 0);
    EXPECT_EQ(t.name, "found.png");
    EXPECT_TRUE(get_texture_manager()->cached("../data/textures/found.png"));
}

TEST_F(Textures, UploadedPixelsAreTheImagesColours)
{
    FIBITMAP* b = FreeImage_Allocate(4, 4, 24);
    RGBQUAD c{30, 120, 210, 0};  // blue, green, red
    for (unsigned y = 0; y < 4; ++y)
        for (unsigned x = 0; x < 4; ++x)
            FreeImage_SetPixelColor(b, x, y, &c);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, b, (root + "/data/textures/c.png").c_str(), 0));
    FreeImage_Unload(b);
    cTexture t = get_texture_manager()->get_texture("c.png", false, GL_CLAMP, 0);
    unsigned char px[4 * 4 * 4];
    glBindTexture(GL_TEXTURE_2D, t.id);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, px);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(px[0], 210);
    EXPECT_EQ(px[1], 120);
    EXPECT_EQ(px[2], 30);
}

TEST_F(Textures, MissingOrUnusableFilesEndTheProcess)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    image("palette.png", 16, 16, 8);
    std::ofstream(root + "/data/textures/junk.jpg") << "not an image";
    EXPECT_EXIT(get_texture_manager()->get_texture("absent.png", false, GL_CLAMP, 0), testing::ExitedWithCode(255),
                "file was not found in path: \"absent.png\"");
    EXPECT_EXIT(get_texture_manager()->get_texture("palette.png", false, GL_CLAMP, 0),
                testing::ExitedWithCode(255), "images must be 24 or 32 bpp... \"../data/textures/palette.png\" is 8");
    EXPECT_EXIT(get_texture_manager()->get_texture("junk.jpg", false, GL_CLAMP, 0), testing::ExitedWithCode(255),
                "## ERROR: \"../data/textures/junk.jpg\" could not be decoded as an image");
    // A damaged file: the decoder's own words follow the file's name, in one line.
    image("cut.png", 64, 64, 24);
    const std::string cut = root + "/data/textures/cut.png";
    ASSERT_EQ(truncate(cut.c_str(), 100), 0);
    EXPECT_EXIT(get_texture_manager()->get_texture("cut.png", false, GL_CLAMP, 0), testing::ExitedWithCode(255),
                "## ERROR: \"../data/textures/cut.png\" could not be decoded as an image \\(PNG: ");
}

TEST(ResourcePath, DirectoriesEndInOneSeparator)
{
    cResourcePath rp;
    rp.push_searchpath("../data");
    rp.push_searchpath("../data/textures/");
    rp.push_searchpath("./x/../y/./z");
    ASSERT_EQ(rp.paths().size(), 3u);
    EXPECT_EQ(rp.paths()[0], "../data/");
    EXPECT_EQ(rp.paths()[1], "../data/textures/");
    EXPECT_EQ(rp.paths()[2], "y/z/");
    EXPECT_EQ(base_name("a/b\\c.png"), "c.png");
    EXPECT_EQ(base_name("plain"), "plain");
}

TEST(ResourcePath, DirectHitsBecomeAbsoluteSearchHitsStayRelative)
{
    char tmpl[] = "/tmp/wendit-rp-XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    const std::string root = tmpl;
    ASSERT_EQ(std::system(("mkdir -p " + root + "/one " + root + "/two").c_str()), 0);
    std::ofstream(root + "/two/f.txt") << "x";
    std::ofstream(root + "/one/f.txt") << "x";
    std::ofstream(root + "/g.txt") << "x";
    cResourcePath rp;
    rp.push_searchpath(root + "/two");
    rp.push_searchpath(root + "/one");
    EXPECT_EQ(rp.get_fullpath("f.txt"), root + "/two/f.txt");  // first directory wins
    EXPECT_EQ(rp.get_fullpath(root + "/./g.txt"), root + "/./g.txt");  // absolute stays as given
    EXPECT_EQ(rp.get_fullpath("missing.txt"), "");
    EXPECT_EQ(rp.get_fullpath(root + "/one"), "") << "a directory is no file";
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    ASSERT_EQ(chdir(root.c_str()), 0);
    EXPECT_EQ(rp.get_fullpath("./one/../g.txt"), root + "/g.txt");
    ASSERT_EQ(chdir(cwd), 0);
    std::system(("rm -rf " + root).c_str());
}
