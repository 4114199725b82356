// The software centre's metadata the package carries: its id matches the
// desktop entry it launches, and its releases are the changelog's entries.
#include <gtest/gtest.h>

#include <fstream>

#include "support/run_tool.h"

namespace {
const std::string SRC = WENDIT_SOURCE_DIR;

std::string releases(const std::string& changelog, const std::string& version, const std::string& base)
{
    const std::string path = testing::TempDir() + "changelog";
    std::ofstream(path) << changelog;
    ToolRun r = run_tool("bash '" + SRC + "/scripts/changelog_releases.sh' '" + path + "' '" + version + "' '" + base +
                         "' 2026-12-24");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out;
}

const char* const CHANGELOG =
    "morvane (0.2.0) UNRELEASED; urgency=medium\n"
    "\n"
    "  * The timeline as a <picture> & more,\n"
    "    on two lines.\n"
    "  * Another item.\n"
    "\n"
    " -- @MAINTAINER@  @CHANGELOG_DATE@\n"
    "\n"
    "morvane (0.1.0) unstable; urgency=medium\n"
    "\n"
    "  * First release.\n"
    "\n"
    " -- The morvane authors <morvane@example.org>  Tue, 01 Dec 2026 23:30:00 -0200\n";
}  // namespace

TEST(PackagingMetadata, ReleasesComeFromTheChangelogNewestFirst)
{
    EXPECT_EQ(releases(CHANGELOG, "0.2.0", "0.2.0"),
              "    <release version=\"0.2.0\" date=\"2026-12-24\">\n"
              "      <description>\n        <ul>\n"
              "          <li>The timeline as a &lt;picture&gt; &amp; more, on two lines.</li>\n"
              "          <li>Another item.</li>\n"
              "        </ul>\n      </description>\n    </release>\n"
              "    <release version=\"0.1.0\" date=\"2026-12-02\">\n"
              "      <description>\n        <ul>\n"
              "          <li>First release.</li>\n"
              "        </ul>\n      </description>\n    </release>\n");
    // A build between releases is a development release under its own version.
    const std::string between = releases(CHANGELOG, "0.2.0~git20261224.0123abcd", "0.2.0");
    EXPECT_EQ(between.rfind("    <release version=\"0.2.0~git20261224.0123abcd\" date=\"2026-12-24\" "
                            "type=\"development\">\n",
                            0),
              0u)
        << between;
    EXPECT_NE(between.find("<release version=\"0.1.0\" date=\"2026-12-02\">"), std::string::npos);
}

TEST(PackagingMetadata, TheMetadataLaunchesTheDesktopEntryOfItsId)
{
    const std::string id = "io.github.morvane.Morvane";
    const std::string meta = read_whole_file(SRC + "/packaging/" + id + ".metainfo.xml");
    const std::string desktop = read_whole_file(SRC + "/packaging/" + id + ".desktop");
    ASSERT_FALSE(meta.empty());
    ASSERT_FALSE(desktop.empty());
    EXPECT_NE(meta.find("<id>" + id + "</id>"), std::string::npos);
    EXPECT_NE(meta.find("<launchable type=\"desktop-id\">" + id + ".desktop</launchable>"), std::string::npos);
    EXPECT_NE(meta.find("<binary>morvane</binary>"), std::string::npos);
    EXPECT_NE(meta.find("<binary>wendit</binary>"), std::string::npos);
    EXPECT_NE(meta.find("<project_license>GPL-2.0-or-later</project_license>"), std::string::npos);
    EXPECT_NE(meta.find("\n@RELEASES@\n"), std::string::npos);  // where the package puts the releases
    EXPECT_NE(desktop.find("\nExec=morvane\n"), std::string::npos);
    // The licence the metadata names is the one the repository carries.
    EXPECT_NE(read_whole_file(SRC + "/COPYING").find("GNU GENERAL PUBLIC LICENSE\n                       Version 2"),
              std::string::npos);
}
