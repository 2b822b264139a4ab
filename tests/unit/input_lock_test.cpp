#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/library_loader.h"
#include "support/input_lock.h"

namespace zul00500 {
namespace {

std::vector<int> block_calls;
int ZUL_WINAPI FakeBlockInput(int block) {
  block_calls.push_back(block);
  return 1;
}

// A loader that knows one library, optionally exporting BlockInput.
class FakeLoader : public platform::LibraryLoader {
public:
  bool loadable = true;
  bool loaded_module = true;
  bool exports_block_input = true;
  void* load_library(const std::string& name) override {
    return loadable && name == "USER32.DLL" ? this : nullptr;
  }
  void* module_handle(const std::string& name) override {
    return loaded_module && name == "USER32.DLL" ? this : nullptr;
  }
  void* function_address(void*, const std::string& function) override {
    return exports_block_input && function == "BlockInput" ? reinterpret_cast<void*>(&FakeBlockInput)
                                                           : nullptr;
  }
};

class InputLockTest : public ::testing::Test {
protected:
  InputLockTest() { block_calls.clear(); }
  FakeLoader loader_;
  platform::ScopedLibraryLoader scoped_{loader_};
};

TEST_F(InputLockTest, LockPassesAllBitsSetAndUnlockZero) {
  BloqueiaTeclado();
  DesbloqueiaTeclado();
  EXPECT_EQ(block_calls, (std::vector<int>{-1, 0}));
}

TEST_F(InputLockTest, MissingFunctionMakesBothNoOps) {
  loader_.exports_block_input = false;
  BloqueiaTeclado();
  DesbloqueiaTeclado();
  EXPECT_TRUE(block_calls.empty());
}

TEST_F(InputLockTest, DetectaFuncaoLeavesThePointerWhenTheLibraryIsMissing) {
  int marker = 0;
  void* address = &marker;
  EXPECT_FALSE(DetectaFuncao("NOSUCH.DLL", "BlockInput", address));
  EXPECT_EQ(address, &marker);
  loader_.loaded_module = false;
  EXPECT_FALSE(DetectaFuncao("USER32.DLL", "BlockInput", address));
  EXPECT_EQ(address, &marker);
}

TEST_F(InputLockTest, DetectaFuncaoNullsThePointerForAMissingFunction) {
  int marker = 0;
  void* address = &marker;
  EXPECT_FALSE(DetectaFuncao("USER32.DLL", "NoSuchFunction", address));
  EXPECT_EQ(address, nullptr);
  EXPECT_TRUE(DetectaFuncao("USER32.DLL", "BlockInput", address));
  EXPECT_EQ(address, reinterpret_cast<void*>(&FakeBlockInput));
}

TEST(InputLockOnThisSystem, RealLoaderFindsNoBlockInputAndDoesNothing) {
#ifndef _WIN32
  void* address = nullptr;
  EXPECT_FALSE(DetectaFuncao("USER32.DLL", "BlockInput", address));
#endif
  BloqueiaTeclado();
  DesbloqueiaTeclado();
}

} // namespace
} // namespace zul00500
