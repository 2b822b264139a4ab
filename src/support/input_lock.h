// What the package knows of its own input lock, so that a dialog never
// comes up while the operator cannot answer it.
#pragma once

#include <string>

namespace zul00500 {

// Finds `function` in `library` (loading it); false when either is missing.
bool DetectaFuncao(const std::string& library, const std::string& function, void*& address);
// Blocks the keyboard and mouse while the package waits for the manager, and
// lifts the block.
void BloqueiaTeclado();
void DesbloqueiaTeclado();

// True from BloqueiaTeclado until the next DesbloqueiaTeclado.
bool InputLocked();

// Lifts the input lock for its lifetime when it is on, and puts it back on
// when it ends (also when an error passes through).
class ScopedInputUnlock {
public:
  ScopedInputUnlock();
  ~ScopedInputUnlock();
  ScopedInputUnlock(const ScopedInputUnlock&) = delete;
  ScopedInputUnlock& operator=(const ScopedInputUnlock&) = delete;

private:
  bool relock_;
};

// Every dialog the package shows goes through here: the host's Mensagem
// with the input lock lifted while it is up and put back afterwards, so an
// operator is never left before a question that keyboard and mouse cannot
// reach. `yesNo` "S" asks a question (true for yes).
bool ShowDialog(const std::string& text, const std::string& yesNo, int kind, const std::string& context,
                int withReceipt);

// A yes/no question (kind 3); true for yes.
bool AskOperator(const std::string& text, const std::string& context);
// A notice (kind 3).
void TellOperator(const std::string& text, const std::string& context);

} // namespace zul00500
