#include "platform/library_loader.h"
#include "zul00500/zul00500.h"

namespace zul00500 {

namespace {
using BlockInputFunction = int(ZUL_WINAPI*)(int);

void block_input(int block) {
  void* address = nullptr;
  if (DetectaFuncao("USER32.DLL", "BlockInput", address))
    reinterpret_cast<BlockInputFunction>(address)(block);
}
} // namespace

bool DetectaFuncao(const std::string& library, const std::string& function, void*& address) {
  platform::LibraryLoader& loader = platform::loader();
  if (!loader.load_library(library)) return false;
  void* module = loader.module_handle(library);
  if (!module) return false;
  address = loader.function_address(module, function);
  return address != nullptr;
}

// Every bit set, as the platform's "true" for this call.
void BloqueiaTeclado() { block_input(-1); }

void DesbloqueiaTeclado() { block_input(0); }

} // namespace zul00500
