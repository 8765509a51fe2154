// The one lookup between the program's relative paths, the player's folder
// and the installed content.
#include <gtest/gtest.h>
#include <zvfile.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "win32/PathResolver.h"

namespace {

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class PathResolverTest : public ::testing::Test {
protected:
    void SetUp() override {
        char dir[] = "/tmp/zv-paths-XXXXXX";
        ASSERT_NE(mkdtemp(dir), nullptr);
        root = dir;
        player = root + "/player";
        content = root + "/content";
        mkdir(player.c_str(), 0755);
        mkdir(content.c_str(), 0755);
        mkdir((content + "/Assets").c_str(), 0755);
        std::ofstream(content + "/Assets/level.lvl") << "installed";
        ASSERT_TRUE(paths.setPlayerDir(player.c_str()));
        ASSERT_TRUE(paths.setContentDir((content + "/").c_str()));
    }
    void TearDown() override {
        paths.setPlayerDir(nullptr);
        paths.setContentDir(nullptr);
        paths.setWritable(true);
        std::system(("rm -rf '" + root + "'").c_str());
    }
    PathResolver& paths = PathResolver::instance();
    std::string root, player, content;
};

TEST_F(PathResolverTest, ReadsThePlayersCopyFirstAndWritesOnlyToThePlayersFolder) {
    EXPECT_EQ(paths.resolve("Assets\\level.lvl", PathResolver::Read), content + "/Assets/level.lvl");
    // Missing everywhere: the player's name, so errors name the folder that matters.
    EXPECT_EQ(paths.resolve("Assets\\none.lvl", PathResolver::Read), player + "/Assets/none.lvl");
    // A write makes the folders on the way, in the player's folder only.
    std::string written = paths.resolve("Logs\\Deep\\run.log", PathResolver::Write);
    EXPECT_EQ(written, player + "/Logs/Deep/run.log");
    struct stat st;
    EXPECT_EQ(stat((player + "/Logs/Deep").c_str(), &st), 0);
    EXPECT_NE(stat((content + "/Logs").c_str(), &st), 0);
    // Once the player has a copy, it is the one read.
    FILE* f = zvOpenFile("Assets\\level.lvl", "w");
    ASSERT_NE(f, nullptr);
    std::fputs("record", f);
    std::fclose(f);
    EXPECT_EQ(paths.resolve("Assets\\level.lvl", PathResolver::Read), player + "/Assets/level.lvl");
    EXPECT_EQ(readAll(content + "/Assets/level.lvl"), "installed");
    // Absolute paths are left alone; with no folders set, only '\' changes.
    EXPECT_EQ(paths.resolve("/etc/hosts", PathResolver::Write), "/etc/hosts");
    paths.setPlayerDir(nullptr);
    paths.setContentDir(nullptr);
    EXPECT_EQ(paths.resolve("Logs\\a.log", PathResolver::Write), "Logs/a.log");
    EXPECT_FALSE(paths.setPlayerDir("relative/folder"));
}

TEST_F(PathResolverTest, UpdateCopiesTheInstalledFileAndAReadOnlyRunWritesNothing) {
    std::string updated = paths.resolve("Assets\\level.lvl", PathResolver::Update);
    EXPECT_EQ(updated, player + "/Assets/level.lvl");
    EXPECT_EQ(readAll(updated), "installed");
    EXPECT_EQ(PathResolver::accessOfMode("r+b"), PathResolver::Update);
    EXPECT_EQ(PathResolver::accessOfMode("ab"), PathResolver::Write);
    EXPECT_EQ(PathResolver::accessOfMode("rb"), PathResolver::Read);

    paths.setWritable(false);
    EXPECT_EQ(paths.resolve("Logs\\run.log", PathResolver::Write), "");
    EXPECT_EQ(zvOpenFile("Logs\\run.log", "ab"), nullptr);
    EXPECT_EQ(paths.resolve("Assets\\level.lvl", PathResolver::Read), player + "/Assets/level.lvl");
    // A name that does not fit is refused, not cut short.
    char small[8];
    EXPECT_FALSE(paths.resolve("Assets\\level.lvl", PathResolver::Read, small, sizeof small));
    EXPECT_STREQ(small, "");
}

}  // namespace
