#include "platform/library_loader.h"
#include "platform/message_pump.h"
#include "platform/process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace zul00500::platform {
namespace {

TEST(ProcessTest, HostExecutablePathOverrideHoldsUntilCleared) {
  const std::string real = host_executable_path();
  ASSERT_FALSE(real.empty());
  set_host_executable_path("/somewhere/host.exe");
  EXPECT_EQ(host_executable_path(), "/somewhere/host.exe");
  set_host_executable_path("");
  EXPECT_EQ(host_executable_path(), real);
}

TEST(ProcessTest, RealHostExecutableIsAnExistingFile) {
  EXPECT_TRUE(std::filesystem::is_regular_file(host_executable_path())) << host_executable_path();
}

TEST(ProcessTest, EnvironmentVariablesReadAsTextOrEmpty) {
  EXPECT_FALSE(environment_variable("PATH").empty());
  EXPECT_EQ(environment_variable("ZUL00500_SURELY_NOT_SET"), "");
}

class MessagePumpTest : public ::testing::Test {
protected:
  void TearDown() override { set_message_hook({}); }
};

TEST_F(MessagePumpTest, HookReceivesWhetherToWait) {
  std::vector<bool> waits;
  set_message_hook([&](bool wait) { waits.push_back(wait); });
  process_messages();
  handle_message();
  EXPECT_EQ(waits, (std::vector<bool>{false, true}));
}

TEST_F(MessagePumpTest, EmptyHookRestoresThePlatformPump) {
  int calls = 0;
  set_message_hook([&](bool) { ++calls; });
  set_message_hook({});
  process_messages(); // an empty queue: returns at once
  EXPECT_EQ(calls, 0);
}

TEST_F(MessagePumpTest, HookMayReplaceItself) {
  int second = 0;
  set_message_hook([&](bool) { set_message_hook([&](bool) { ++second; }); });
  process_messages();
  process_messages();
  EXPECT_EQ(second, 1);
}

#ifdef _WIN32
constexpr const char* kSystemLibrary = "kernel32.dll";
constexpr const char* kExported = "GetTickCount";
#else
constexpr const char* kSystemLibrary = "libc.so.6";
constexpr const char* kExported = "strlen";
#endif

TEST(LibraryLoaderTest, FindsAnExportedFunctionOfALoadedLibrary) {
  LibraryLoader& native = native_loader();
  ASSERT_NE(native.load_library(kSystemLibrary), nullptr);
  void* module = native.module_handle(kSystemLibrary);
  ASSERT_NE(module, nullptr);
  EXPECT_NE(native.function_address(module, kExported), nullptr);
  EXPECT_EQ(native.function_address(module, "NoSuchFunctionAnywhere"), nullptr);
}

TEST(LibraryLoaderTest, MissingLibrariesAndNullModulesGiveNull) {
  LibraryLoader& native = native_loader();
  EXPECT_EQ(native.load_library("NoSuchLibrary00500.dll"), nullptr);
  EXPECT_EQ(native.module_handle("NoSuchLibrary00500.dll"), nullptr);
  EXPECT_EQ(native.module_handle(""), nullptr);
  EXPECT_EQ(native.function_address(nullptr, kExported), nullptr);
}

#ifndef _WIN32
TEST(LibraryLoaderTest, User32IsAbsentOnPosix) {
  EXPECT_EQ(native_loader().load_library("USER32.DLL"), nullptr);
  EXPECT_EQ(native_loader().module_handle("USER32.DLL"), nullptr);
}
#endif

TEST(LibraryLoaderTest, ScopedReplacementIsUsedAndThenDropped) {
  struct Fake : LibraryLoader {
    void* load_library(const std::string&) override { return this; }
    void* module_handle(const std::string&) override { return this; }
    void* function_address(void*, const std::string&) override { return this; }
  } fake;
  {
    ScopedLibraryLoader scope(fake);
    EXPECT_EQ(&loader(), &fake);
  }
  EXPECT_EQ(&loader(), &native_loader());
}

} // namespace
} // namespace zul00500::platform
