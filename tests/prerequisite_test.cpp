// The suite's promise under ./test.sh: a test whose prerequisite is missing
// fails there instead of passing as skipped, and no test skips any other
// way.
#include <gtest/gtest.h>
#include <gtest/gtest-spi.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/prerequisite.h"

namespace {
// Sets or clears the two variables that promise a full installation, and
// puts back what was there.
class PromiseEnvironment {
public:
    PromiseEnvironment()
    {
        for (int i = 0; i < 2; ++i)
            if (const char* v = std::getenv(NAMES[i]))
                m_saved[i] = v, m_had[i] = true;
    }
    ~PromiseEnvironment()
    {
        for (int i = 0; i < 2; ++i)
            m_had[i] ? setenv(NAMES[i], m_saved[i].c_str(), 1) : unsetenv(NAMES[i]);
    }
    static void set(const char* all, const char* baked)
    {
        all ? setenv(NAMES[0], all, 1) : unsetenv(NAMES[0]);
        baked ? setenv(NAMES[1], baked, 1) : unsetenv(NAMES[1]);
    }

private:
    static constexpr const char* NAMES[2] = {"WENDIT_REQUIRE_ALL", "WENDIT_REQUIRE_BAKED"};
    std::string m_saved[2];
    bool m_had[2] = {false, false};
};

void missing_under_test_sh()
{
    PromiseEnvironment::set("1", nullptr);
    MISSING_PREREQUISITE("frobnicate is not installed");
}
}  // namespace

TEST(Prerequisite, MissingFailsWhereEverythingIsPromised)
{
    PromiseEnvironment keep;
    EXPECT_FATAL_FAILURE(missing_under_test_sh(),
                         "frobnicate is not installed (./test.sh installs and bakes everything");
    PromiseEnvironment::set(nullptr, nullptr);
    EXPECT_FALSE(prerequisites_required()) << "run by hand: skipped";
    PromiseEnvironment::set("0", "0");
    EXPECT_FALSE(prerequisites_required());
    PromiseEnvironment::set(nullptr, "1");
    EXPECT_TRUE(prerequisites_required()) << "the baked tree's older promise counts too";
}

TEST(Prerequisite, NoTestSkipsAnyOtherWay)
{
    namespace fs = std::filesystem;
    const fs::path tests = fs::path(WENDIT_SOURCE_DIR) / "tests";
    const fs::path self = tests / "support" / "prerequisite.h";
    int files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(tests)) {
        const std::string ext = entry.path().extension().string();
        if (!entry.is_regular_file() || (ext != ".cpp" && ext != ".h") || entry.path() == self)
            continue;
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int n = 1; std::getline(in, line); ++n)
            EXPECT_EQ(line.find(std::string("GTEST_") + "SKIP"), std::string::npos)
                << entry.path().string() << ":" << n << ": skip through MISSING_PREREQUISITE instead";
    }
    EXPECT_GT(files, 50);
}
