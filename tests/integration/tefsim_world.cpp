#include "integration/tefsim_world.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "support/state.h"
#include "support/string_list.h"

namespace zul00500::testing {

namespace {
#ifdef _WIN32
constexpr const char* kExeSuffix = ".exe";
#else
constexpr const char* kExeSuffix = "";
#endif

// zulpos and tefsim are built beside the test program. Read before any test
// sets the host program's path.
const std::string kBin = [] {
  const std::string self = platform::host_executable_path();
  return self.substr(0, self.find_last_of("\\/") + 1);
}();

constexpr std::uint32_t kPollMs = 50;
constexpr std::uint32_t kStartLimitMs = 10'000;

const char* root_of(const std::string& name) {
  return name == "disc" ? "c:\\tef_disc\\" : name == "hiper" ? "c:\\HiperTEF\\" : "c:\\tef_dial\\";
}
} // namespace

std::string TefsimWorld::Program(const char* name) const { return programs_ + name + kExeSuffix; }

void TefsimWorld::CopyProgramsTo(const std::string& folder) {
  namespace stdfs = std::filesystem;
  const stdfs::path to(folder);
  stdfs::create_directories(to);
  std::vector<std::pair<stdfs::path, stdfs::path>> copies = {
      {Program("zulpos"), to / ("zulpos" + std::string(kExeSuffix))},
      {Program("tefsim"), to / ("tefsim" + std::string(kExeSuffix))}};
#ifdef ZUL_PACKAGE_LIBRARY
  // zulpos looks for the library beside itself first.
  copies.emplace_back(ZUL_PACKAGE_LIBRARY, to / ZUL_PACKAGE_FILE);
#endif
  for (const auto& [from, copy] : copies) {
    stdfs::copy_file(from, copy, stdfs::copy_options::overwrite_existing);
    stdfs::permissions(copy, stdfs::perms::owner_all | stdfs::perms::group_read | stdfs::perms::group_exec |
                                 stdfs::perms::others_read | stdfs::perms::others_exec);
  }
  stdfs::permissions(to, stdfs::perms::others_read | stdfs::perms::others_exec, stdfs::perm_options::add);
  programs_ = (to / "").string();
}

bool ZulposRun::Said(const std::string& line) const {
  return std::find(output.begin(), output.end(), line) != output.end();
}

TefsimWorld::TefsimWorld()
    : backup_(HostDirectory() + "\\Dados\\TefDisc\\"), pending_(backup_ + "Pendente\\"),
      journal_(world_.root() + "/journal.txt"), tefsim_log_(world_.root() + "/tefsim.log"), programs_(kBin) {
  platform::fs().create_directories(pending_);
  platform::fs().create_directories(HostDirectory() + "\\Dados\\Cadastros");
}

TefsimWorld::~TefsimWorld() {
  if (!tefsim_) return;
  tefsim_->terminate();
  if (!tefsim_->wait_for(5000)) tefsim_->kill();
}

void TefsimWorld::StartTefsim(const std::string& roots, const std::vector<std::string>& options) {
  std::vector<std::string> arguments = {"--roots", roots,       "--drive-root", world_.root(),
                                        "--log",   tefsim_log_, "--poll-ms",    "20"};
  arguments.insert(arguments.end(), options.begin(), options.end());
  tefsim_.emplace(tool_platform::spawn(Program("tefsim"), arguments, {world_.root() + "/tefsim.out"}));

  std::vector<std::string> names;
  for (std::size_t start = 0; start <= roots.size();) {
    const std::size_t comma = std::min(roots.find(',', start), roots.size());
    names.push_back(roots.substr(start, comma - start));
    start = comma + 1;
  }
  for (std::uint32_t waited = 0;; waited += kPollMs) {
    const bool ready = std::all_of(names.begin(), names.end(), [](const std::string& name) {
      const std::string root = root_of(name);
      return platform::fs().directory_exists(root + "req\\") &&
             platform::fs().directory_exists(root + "resp\\");
    });
    if (ready) return;
    ASSERT_FALSE(tefsim_->wait_for(0)) << "tefsim ended at once";
    ASSERT_LT(waited, kStartLimitMs) << "tefsim did not get ready";
    platform::pause(kPollMs);
  }
}

std::vector<std::string> TefsimWorld::StopTefsim() {
  if (tefsim_) {
    tefsim_->terminate();
    tefsim_->wait_for(5000);
  }
  return Lines(tefsim_log_);
}

tool_platform::ChildProcess TefsimWorld::StartZulpos(const std::vector<std::string>& arguments,
                                                     const std::string& output) {
  std::vector<std::string> all = {"--host-dir",  world_.host_dir(),  "--drive-root",
                                  world_.root(), "--dialog-journal", journal_};
  all.insert(all.end(), arguments.begin(), arguments.end());
  return tool_platform::spawn(Program("zulpos"), all, {output});
}

ZulposRun TefsimWorld::Zulpos(const std::vector<std::string>& arguments, std::uint32_t limit_ms) {
  const std::string output = world_.root() + "/zulpos.out";
  auto zulpos = StartZulpos(arguments, output);
  ZulposRun run;
  run.status = zulpos.wait_for(limit_ms);
  if (!run.status) zulpos.kill();
  run.output = Lines(output);
  return run;
}

std::vector<std::string> TefsimWorld::Lines(const std::string& native_path) {
  StringList lines;
  if (platform::native_fs().file_exists(native_path))
    lines.SetText(platform::native_fs().read_file(native_path));
  return lines.lines();
}

bool TefsimWorld::AnyLineHas(const std::vector<std::string>& lines, const std::string& a,
                             const std::string& b) {
  return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.find(a) != std::string::npos && line.find(b) != std::string::npos;
  });
}

} // namespace zul00500::testing
