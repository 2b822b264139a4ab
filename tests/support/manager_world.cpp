#include "support/manager_world.h"

#include <algorithm>

#include "platform/file_system.h"
#include "platform/regional.h"
#include "support/host_services.h"
#include "support/state.h"
#include "support/string_list.h"
#include "tef/form.h"
#include "tef/holder.h"
#include "tef/network_choice.h"
#include "tef/settlement/memory.h"

namespace zul00500::testing {

ManagerWorld::ManagerWorld()
    : host_(std::make_shared<ScriptedHostServices>()), dial_(kRootTefDial), disc_(kRootTefDisc),
      hiper_(kRootHiperTef), scoped_clock_(clock_) {
  clock_.every_sleep([this] {
    dial_.Poll();
    disc_.Poll();
    hiper_.Poll();
  });
  SetHostServices(host_);
  platform::set_regional(platform::RegionalSettings{}); // Brazilian
  frmCartaoDebito.reset();
  ForgetSettledInThisProcess();
  DirTef.clear();
  stNrSerie.clear();
  stMensagem_Zul00500.clear();
  dsDirTef = HostDirectory() + "\\Dados\\Cadastros";
  dsDirBkpTef = HostDirectory() + "\\Dados\\TefDisc\\";
  dsDirPenTef = PendingDirectory();
  platform::fs().create_directories(dsDirTef);
  platform::fs().create_directories(dsDirPenTef);
}

ManagerWorld::~ManagerWorld() {
  SetHostServices(nullptr);
  platform::reset_regional();
  frmCartaoDebito.reset();
  for (std::string* text : {&DirTef, &stNrSerie, &stMensagem_Zul00500, &dsDirTef, &dsDirBkpTef, &dsDirPenTef})
    text->clear();
}

FakeManager& ManagerWorld::Manager(const std::string& root) {
  if (root == kRootTefDisc) return disc_;
  if (root == kRootHiperTef) return hiper_;
  return dial_;
}

const StringList& ManagerWorld::LastRequest(const std::string& root) {
  static const StringList none;
  const auto& requests = Manager(root).Requests();
  return requests.empty() ? none : requests.back();
}

std::vector<std::string> ManagerWorld::LogMessages() const {
  std::vector<std::string> messages;
  const std::string directory = HostDirectoryLong() + "\\";
  for (const std::string& name : Names(directory + "LogTef*.txt")) {
    StringList log;
    log.LoadFromFile(directory + name);
    for (const std::string& line : log.lines()) {
      const std::size_t dash = line.find(" - ");
      messages.push_back(dash == std::string::npos ? line : line.substr(dash + 3));
    }
  }
  return messages;
}

void ManagerWorld::StoreDirTef(const std::string& root) {
  DirTef = root;
  SaveDirTef();
}

bool ManagerWorld::Exists(const std::string& path) { return platform::fs().file_exists(path); }

std::vector<std::string> ManagerWorld::Names(const std::string& pattern) {
  std::vector<std::string> names = platform::fs().list(pattern);
  std::sort(names.begin(), names.end());
  return names;
}

} // namespace zul00500::testing
