// `zulpos rehearse`: what zulpos's command table needs of the rehearsal.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "zulpos/command.h"

namespace rehearsal {

// The command's options, as its subcommand fills them.
struct RehearseOptions {
  std::string book; // BOOK.toml as the terminal gave it; empty with --builtin
  bool builtin = false;
  bool list = false;
  std::vector<std::string> cases;
  std::string report;
  std::optional<std::string> junit;
  std::optional<std::string> json;
  std::optional<std::string> drive_root;
  std::optional<std::string> package;
  bool attended = false;
  std::optional<int> jobs;
  std::string tefsim;
  std::optional<std::string> host_part;
  bool print_book = false;
  // The sign-off block; each overrides the book's [signoff].
  std::optional<std::string> ran_by, store, pinpad, cards;
  std::vector<std::string> network_cases; // NAME=NUMBER: the network's own case numbers
};

// Adds the subcommand "rehearse" to `zulpos`, its options bound to `options`.
CLI::App* AddRehearseCommand(CLI::App& zulpos, RehearseOptions& options);

// Exit status 0 when every case passed, 1 when one failed, 2 for a mistake
// in the book or in how the command was called (said on stderr).
int RunRehearse(zulpos::CommandContext& ctx, const RehearseOptions& options);

} // namespace rehearsal
