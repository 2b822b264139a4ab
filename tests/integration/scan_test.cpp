// The leftover scan run by zulpos against a running tefsim, in real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/spawn.h"
#include "support/temp_world.h"
#include "zul00500/string_list.h"
#include "zul00500/zul00500.h"

namespace zul00500 {
namespace {

using testing::TempWorld;

const std::string kBin = ZUL_BIN_DIR;
constexpr std::uint32_t kPollMs = 50;
constexpr std::uint32_t kStartLimitMs = 10'000;
// Three answers, each two status waits of a few 600 ms cycles.
constexpr std::uint32_t kScanLimitMs = 60'000;

StringList Answer(const std::string& network, const std::string& document) {
  return {"000-000 = CRT",        "001-000 = 0000000" + document, "003-000 = 1000", "009-000 = 0",
          "010-000 = " + network, "012-000 = " + document,        "028-000 = 1"};
}

std::vector<std::string> Lines(const std::string& native_path) {
  StringList lines;
  lines.SetText(platform::native_fs().read_file(native_path));
  return lines.lines();
}

bool AnyLineHas(const std::vector<std::string>& lines, const std::string& a, const std::string& b) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.find(a) != std::string::npos && line.find(b) != std::string::npos;
  });
}

class ScanAgainstTefsim : public ::testing::Test {
protected:
  void SetUp() override {
    backup_ = HostDirectory() + "\\Dados\\TefDisc\\";
    platform::fs().create_directories(backup_ + "Pendente");
    platform::fs().create_directories(HostDirectory() + "\\Dados\\Cadastros");
    tefsim_log_ = world_.root() + "/tefsim.log";
    tefsim_.emplace(platform::spawn(
        kBin + "/tefsim", {"--roots", "dial,disc,hiper", "--drive-root", world_.root(), "--log", tefsim_log_},
        {world_.root() + "/tefsim.out"}));
    for (std::uint32_t waited = 0;; waited += kPollMs) {
      bool ready = true;
      for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef})
        ready = ready && platform::fs().directory_exists(std::string(root) + "req\\") &&
                platform::fs().directory_exists(std::string(root) + "resp\\");
      if (ready) break;
      ASSERT_FALSE(tefsim_->wait_for(0)) << "tefsim ended at once";
      ASSERT_LT(waited, kStartLimitMs) << "tefsim did not get ready";
      platform::pause(kPollMs);
    }
  }

  void TearDown() override {
    if (!tefsim_) return;
    tefsim_->terminate();
    if (!tefsim_->wait_for(5000)) tefsim_->kill();
  }

  // Runs `zulpos scan` and returns its exit status (nothing when it hung).
  std::optional<int> RunScan() {
    auto zulpos = platform::spawn(kBin + "/zulpos",
                                  {"--host-dir", world_.host_dir(), "--drive-root", world_.root(),
                                   "--context", "it", "--dialog-journal", journal_, "scan"},
                                  {zulpos_out_});
    const auto status = zulpos.wait_for(kScanLimitMs);
    if (!status) zulpos.kill();
    return status;
  }

  TempWorld world_;
  std::string backup_;
  std::string tefsim_log_;
  std::string journal_ = world_.root() + "/journal.txt";
  std::string zulpos_out_ = world_.root() + "/zulpos.out";
  std::optional<platform::ChildProcess> tefsim_;
};

TEST_F(ScanAgainstTefsim, NotConfirmsAndRemovesEveryLeftoverAnswer) {
  Answer("Cielo", "101").SaveToFile(std::string(kRootTefDial) + "resp\\intpos.001");
  Answer("TECBAN", "202").SaveToFile(std::string(kRootTefDisc) + "resp\\intpos.001");
  Answer("HCard", "303").SaveToFile(backup_ + "intpos.  1");

  const auto status = RunScan();

  ASSERT_TRUE(status.has_value()) << "zulpos scan did not end";
  const std::vector<std::string> said = Lines(zulpos_out_);
  EXPECT_EQ(*status, 0);
  EXPECT_NE(std::find(said.begin(), said.end(), "result=true"), said.end());

  // Each answer was not confirmed by the manager of its own network.
  tefsim_->terminate();
  tefsim_->wait_for(5000);
  const std::vector<std::string> log = Lines(tefsim_log_);
  EXPECT_TRUE(AnyLineHas(log, "c:\\tef_dial\\ NCN", "not confirmed: network=Cielo doc=101"));
  EXPECT_TRUE(AnyLineHas(log, "c:\\tef_disc\\ NCN", "not confirmed: network=TECBAN doc=202"));
  EXPECT_TRUE(AnyLineHas(log, "c:\\HiperTEF\\ NCN", "not confirmed: network=HCard doc=303"));
  EXPECT_FALSE(AnyLineHas(log, " CNF", "confirmed"));

  for (const char* root : {kRootTefDial, kRootTefDisc, kRootHiperTef})
    EXPECT_TRUE(platform::fs().list(std::string(root) + "resp\\intpos.*").empty()) << root;
  EXPECT_TRUE(platform::fs().list(backup_ + "intpos.*").empty());

  // One cancellation notice per answer, with the host's context.
  const std::vector<std::string> dialogs = Lines(journal_);
  EXPECT_EQ(dialogs.size(), 3u);
  for (const std::string& dialog : dialogs) EXPECT_NE(dialog.find("\tit\t"), std::string::npos) << dialog;
}

} // namespace
} // namespace zul00500
