// A fixture for conversations with the three managers at once: a temporary
// drive and host folder with the package's directories, virtual time, a fake
// manager in each exchange root that answers whenever the package sleeps,
// scripted dialogs and Brazilian regional settings.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "support/fake_manager.h"
#include "support/scripted_host.h"
#include "support/string_list.h"
#include "support/temp_world.h"
#include "support/virtual_clock.h"

namespace zul00500::testing {

class ManagerWorld : public ::testing::Test {
protected:
  ManagerWorld();
  ~ManagerWorld() override;

  // The manager of "c:\tef_dial\", "c:\tef_disc\" or "c:\HiperTEF\".
  FakeManager& Manager(const std::string& root);
  // Operation codes the manager of `root` took, in order.
  std::vector<std::string> Operations(const std::string& root) { return Manager(root).Operations(); }
  // The last request the manager of `root` took.
  const StringList& LastRequest(const std::string& root);

  // Messages of the card log in order, without their date and time.
  std::vector<std::string> LogMessages() const;
  // Writes DIRTEF.cds as the network choice would.
  void StoreDirTef(const std::string& root);

  static void Put(const std::string& path, const StringList& lines) { lines.SaveToFile(path); }
  static bool Exists(const std::string& path);
  // Names matching a pattern, sorted.
  static std::vector<std::string> Names(const std::string& pattern);

  TempWorld world_;
  VirtualClock clock_;
  std::shared_ptr<ScriptedHostServices> host_;
  FakeManager dial_;
  FakeManager disc_;
  FakeManager hiper_;

private:
  platform::ScopedClock scoped_clock_;
};

} // namespace zul00500::testing
