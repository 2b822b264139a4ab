// The package's exported variables. The host reads and writes them by name;
// the package's routines share them. They live as long as the package is
// loaded and carry no locks: everything runs on the host's UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "support/string_list.h"

namespace zul00500 {

// The sale's approved answers in numbered blocks. The host owns the list.
extern std::shared_ptr<StringList> stlCuponsTEF;
extern std::int32_t inContCuponsTEF;
// The last cancellation notice shown to the operator.
extern std::string stMensagem_Zul00500;
// Pending, backup and registration-data directories (the first two end with
// a backslash, dsDirTef does not).
extern std::string dsDirPenTef;
extern std::string dsDirBkpTef;
extern std::string dsDirTef;
// Exchange root of the TEF manager in use.
extern std::string DirTef;
extern std::int32_t Zul_IdTipoImp;
extern double doTrocoTef;
extern double doAPagar;
extern double doValorTef;
extern std::string stNrCupom;
extern std::string stNrSerie;
extern std::string stArquivo;
extern std::int32_t inContTransacoes;
extern std::int32_t inSecTef;

// Called by the host's module loader after loading the package and before
// unloading it. Only the first Initialize and the Finalize that balances it
// do anything; they return true when they did, and the caller then forgets
// what the layers above remember of this process, as a new process would.
bool Initialize();
bool Finalize();
// After the host executable's path was overridden: derives the three
// directories again, as a load from there would, while the package is
// initialized (and leaves them empty otherwise).
void HostDirectoryChanged();

// Creates the host directory's "Dados\Cadastros" and
// "Dados\TefDisc\Pendente" where the package now looks for them: always, or
// only when the drive root moved the host directory away from where it is.
// What cannot be created is left for the first routine that writes there to
// report.
enum class HostPlacement { Always, OnlyWhenMoved };
void PrepareHostDirectories(HostPlacement placement);

// The three local directories, derived from the host executable's path
// (short form) each time they are asked for.
std::string HostDirectory();     // short form, no trailing backslash
std::string HostDirectoryLong(); // full path, no trailing backslash
std::string PendingDirectory();  // HostDirectory() + "\Dados\TefDisc\Pendente\"

} // namespace zul00500
