// zulpos's and tefsim's command lines as a user meets them: the version
// they share with the package, help, and mistakes told with their exit status.
#include <gtest/gtest.h>

#include "integration/tefsim_world.h"

namespace zul00500 {
namespace {

class CommandLines : public testing::TefsimWorld {
protected:
  // tefsim run with `arguments` alone, to its end: its status and output.
  testing::ZulposRun Tefsim(const std::vector<std::string>& arguments) {
    const std::string output = world_.root() + "/tefsim-once.out";
    auto tefsim = tool_platform::spawn(Program("tefsim"), arguments, {output});
    testing::ZulposRun run;
    run.status = tefsim.wait_for(10'000);
    run.output = Lines(output);
    return run;
  }
};

TEST_F(CommandLines, ZulposTefsimAndTheLoadedPackageTellOneVersion) {
  const auto zulpos = Zulpos({"--version"});
  ASSERT_TRUE(zulpos.status.has_value());
  EXPECT_EQ(*zulpos.status, 0);
  // Each tells its source and whether it is a release, as the package does.
  EXPECT_TRUE(AnyLineHas(zulpos.output, "zulpos " ZUL_VERSION " (", "build)") ||
              AnyLineHas(zulpos.output, "zulpos " ZUL_VERSION " (", "release)"))
      << ::testing::PrintToString(zulpos.output);
  const std::string& tool = zulpos.output.at(0);
  EXPECT_TRUE(AnyLineHas(zulpos.output, "package " + tool.substr(std::string("zulpos ").size())))
      << ::testing::PrintToString(zulpos.output);
  EXPECT_TRUE(AnyLineHas(zulpos.output, "from ", "Pkg_Zul00500")) << ::testing::PrintToString(zulpos.output);

  const auto tefsim = Tefsim({"--version"});
  ASSERT_TRUE(tefsim.status.has_value());
  EXPECT_EQ(*tefsim.status, 0);
  EXPECT_TRUE(AnyLineHas(tefsim.output, "tefsim " + tool.substr(std::string("zulpos ").size())));
}

TEST_F(CommandLines, HelpEndsWellAndMistakesEndWithStatusTwoAndTheRightHint) {
  const auto help = Zulpos({"sale", "--help"});
  ASSERT_TRUE(help.status.has_value());
  EXPECT_EQ(*help.status, 0);
  EXPECT_TRUE(AnyLineHas(help.output, "Usage: zulpos [global options] sale [options]"));

  // A value missing (found by CLI11) and an unknown option (found by
  // zulpos): the hint names the command's help.
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{"sale", "--pay"}, {"sale", "--pay", "1", "--pays", "2"}}) {
    const auto run = Zulpos(args);
    ASSERT_TRUE(run.status.has_value());
    EXPECT_EQ(*run.status, 2);
    EXPECT_TRUE(run.Said("Try 'zulpos sale --help'.")) << ::testing::PrintToString(run.output);
  }
  const auto tefsim = Tefsim({"--poll-ms", "0"});
  ASSERT_TRUE(tefsim.status.has_value());
  EXPECT_EQ(*tefsim.status, 2);
  EXPECT_TRUE(AnyLineHas(tefsim.output, "--poll-ms: a whole number of milliseconds above 0"));
  EXPECT_TRUE(tefsim.Said("Try 'tefsim --help'."));
}

} // namespace
} // namespace zul00500
