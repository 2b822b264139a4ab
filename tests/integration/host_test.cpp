// zulpos as a host: it loads the shared package it is given at run time and
// works for the host directory it is told, through the C interface alone.
#include <gtest/gtest.h>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"

namespace zul00500 {
namespace {

class ZulposAsAHost : public testing::TefsimWorld {};

TEST_F(ZulposAsAHost, TheLoadedPackageDerivesItsDirectoriesFromTheHostDirectory) {
  const auto run = Zulpos({"dirs"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("dsDirTef=" + world_.host_dir() + "\\Dados\\Cadastros"));
  EXPECT_TRUE(run.Said("dsDirPenTef=" + world_.host_dir() + "\\Dados\\TefDisc\\Pendente\\"));
}

TEST_F(ZulposAsAHost, APackageThatCannotBeLoadedIsAnErrorNamingIt) {
  const std::string missing = world_.root() + "/libPkg_Missing.so";
  const auto run = Zulpos({"--package", missing, "dirs"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 4);
  EXPECT_TRUE(AnyLineHas(run.output, "zulpos: load the library \"" + missing + "\""));
}

TEST_F(ZulposAsAHost, AFailureInItsCallbackEndsTheRoutineAndIsToldWithThePackagesError) {
  // The printer does not respond, the package asks the operator, and the
  // dialog's journal cannot be written (a folder stands where it goes).
  platform::native_fs().create_directories(journal_);
  platform::native_fs().write_file(
      world_.root() + "/answer.txt",
      "000-000 = CRT\r\n001-000 = 0000000001\r\n009-000 = 0\r\n010-000 = REDEX\r\n"
      "028-000 = 1\r\n029-001 = \"LINE 1\"\r\n999-999 = 0\r\n");
  const auto run = Zulpos({"receipt", world_.root() + "/answer.txt", "--printer-fail", "Usa_CompNFis:1"});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 3);
  EXPECT_TRUE(AnyLineHas(run.output,
                         "zulpos: ImprCupom: call the host's \"Mensagem\": it reported a failure (-1)",
                         "(zulpos: append to the file \"" + journal_ + "\""))
      << ::testing::PrintToString(run.output);
}

} // namespace
} // namespace zul00500
