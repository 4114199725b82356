// scripts/install_deps.sh on any Debian release: it asks apt only for what
// is missing, takes the first name a release has of a package renamed
// between releases ("old|new"), and a package the release lacks stops it
// with that package's name, installing nothing. The script runs with its
// own list and stand-ins for dpkg-query, apt-cache and apt-get.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>

#include "support/run_tool.h"

namespace {
class InstallDeps : public testing::Test {
protected:
    std::string dir;

    void SetUp() override
    {
        dir = testing::TempDir() + "install_deps_" + std::to_string(getpid());
        ASSERT_EQ(std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "/bin'").c_str()), 0);
        // Installed: what FAKE_INSTALLED names; known to apt: FAKE_AVAILABLE.
        tool("dpkg-query", "for a; do n=\"$a\"; done\n"
                           "case \" $FAKE_INSTALLED \" in *\" $n \"*) printf 'install ok installed' ;; *) exit 1 ;; esac\n");
        // apt-cache's answer goes on with a long version table, as for a
        // package with many versions and sources.
        tool("apt-cache", "case \" $FAKE_AVAILABLE \" in *\" $2 \"*) printf '%s:\\n  Installed: (none)\\n"
                          "  Candidate: 1.0\\n  Version table:\\n' \"$2\"; seq 100000 ;; esac\n");
        tool("apt-get", "echo \"$*\" >>\"$FAKE_LOG\"\n");
        tool("sudo", "exec \"$@\"\n");  // never the real apt-get, whoever runs the tests
    }
    void TearDown() override { std::system(("rm -rf '" + dir + "'").c_str()); }

    void tool(const std::string& name, const std::string& body)
    {
        const std::string path = dir + "/bin/" + name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        ASSERT_EQ(chmod(path.c_str(), 0755), 0);
    }

    // Runs the script with its package list replaced by `packages`.
    ToolRun install(const std::string& packages, const std::string& installed, const std::string& available)
    {
        std::string script = read_whole_file(WENDIT_SOURCE_DIR "/scripts/install_deps.sh");
        script = std::regex_replace(script, std::regex("packages=\\(\n[\\s\\S]*?\n\\)"), "packages=(" + packages + ")");
        std::ofstream(dir + "/install_deps.sh") << script;
        return run_tool("PATH='" + dir + "/bin':\"$PATH\" FAKE_LOG='" + dir + "/log' FAKE_INSTALLED='" + installed +
                        "' FAKE_AVAILABLE='" + available + "' bash '" + dir + "/install_deps.sh'");
    }
    std::string apt_calls() { return read_whole_file(dir + "/log"); }
};
}  // namespace

TEST_F(InstallDeps, AsksAptOnlyForWhatIsMissing)
{
    ToolRun run = install("cmake 'libold|libnew'", "cmake libnew", "cmake libold libnew");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(apt_calls(), "") << "everything is there, one name of the renamed package is enough";

    run = install("cmake xvfb 'libold|libnew'", "cmake", "cmake xvfb libnew");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(apt_calls(), "update -qq\ninstall -y -qq --no-install-recommends xvfb libnew\n")
        << "the release's own name of the renamed package";
}

TEST_F(InstallDeps, APackageTheReleaseLacksStopsItNamingThePackage)
{
    ToolRun run = install("xvfb 'libgone|libgone2'", "", "xvfb");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("has no package libgone or libgone2"), std::string::npos) << run.err;
    EXPECT_EQ(apt_calls(), "update -qq\n") << "nothing is installed";
}
