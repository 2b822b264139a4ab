#include "support/input_lock.h"

#include "platform/library_loader.h"
#include "support/host_services.h"

namespace zul00500 {

namespace {
bool input_locked = false;

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
void BloqueiaTeclado() {
  input_locked = true;
  block_input(-1);
}

void DesbloqueiaTeclado() {
  input_locked = false;
  block_input(0);
}

bool InputLocked() { return input_locked; }

ScopedInputUnlock::ScopedInputUnlock() : relock_(input_locked) {
  if (relock_) DesbloqueiaTeclado();
}

ScopedInputUnlock::~ScopedInputUnlock() {
  if (relock_) BloqueiaTeclado();
}

bool ShowDialog(const std::string& text, const std::string& yesNo, int kind, const std::string& context,
                int withReceipt) {
  ScopedInputUnlock unlocked;
  return host().Mensagem(text, "", "N", yesNo, kind, "", context, withReceipt, nullptr);
}

bool AskOperator(const std::string& text, const std::string& context) {
  return ShowDialog(text, "S", tmAviso, context, 0);
}

void TellOperator(const std::string& text, const std::string& context) {
  ShowDialog(text, "N", tmAviso, context, 0);
}

} // namespace zul00500
