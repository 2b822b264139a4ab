#include "support/state.h"

#include "platform/file_system.h"
#include "platform/process.h"
#include "support/errors.h"

namespace zul00500 {

std::shared_ptr<StringList> stlCuponsTEF;
std::int32_t inContCuponsTEF = 0;
std::string stMensagem_Zul00500;
std::string dsDirPenTef;
std::string dsDirBkpTef;
std::string dsDirTef;
std::string DirTef;
std::int32_t Zul_IdTipoImp = 0;
double doTrocoTef = 0;
double doAPagar = 0;
double doValorTef = 0;
std::string stNrCupom;
std::string stNrSerie;
std::string stArquivo;
std::int32_t inContTransacoes = 0;
std::int32_t inSecTef = 0;

namespace {
int initialization_count = 0;

// The executable's directory: its path without the file name and the final
// separator.
std::string executable_directory() {
  const std::string path = platform::host_executable_path();
  const std::size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}
} // namespace

std::string HostDirectoryLong() { return executable_directory(); }

std::string HostDirectory() { return platform::fs().short_path(executable_directory()); }

std::string PendingDirectory() { return HostDirectory() + "\\Dados\\TefDisc\\Pendente\\"; }

namespace {
void derive_directories() {
  dsDirTef = HostDirectory() + "\\Dados\\Cadastros";
  dsDirBkpTef = HostDirectory() + "\\Dados\\TefDisc\\";
  dsDirPenTef = PendingDirectory();
}
} // namespace

bool Initialize() {
  if (initialization_count++ != 0) return false;
  derive_directories();
  return true;
}

void HostDirectoryChanged() {
  if (initialization_count != 0) derive_directories();
}

void PrepareHostDirectories(HostPlacement placement) {
  platform::FileSystem& fs = platform::fs();
  const std::string directory = HostDirectoryLong();
  if (directory.empty()) return;
  if (placement == HostPlacement::OnlyWhenMoved && fs.native_path(directory) == directory) return;
  try {
    fs.create_directories(directory + "\\Dados\\Cadastros");
    fs.create_directories(directory + "\\Dados\\TefDisc\\Pendente");
  } catch (const FileError&) {
  }
}

bool Finalize() {
  if (initialization_count == 0 || --initialization_count != 0) return false;
  for (std::string* text : {&stArquivo, &stNrSerie, &stNrCupom, &DirTef, &dsDirTef, &dsDirBkpTef,
                            &dsDirPenTef, &stMensagem_Zul00500})
    text->clear();
  return true;
}

} // namespace zul00500
