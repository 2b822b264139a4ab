// What zulpos writes to the terminal, a line at a time and flushed, so that
// progress shows while the package waits. The package's texts are code page
// 1252; the terminal gets UTF-8, and what it gives goes back to code page 1252.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace zulpos {

std::string ToTerminal(std::string_view cp1252);
std::string FromTerminal(std::string_view utf8);
// Paths zulpos opens itself are the file system's own bytes on POSIX (UTF-8
// as a rule), so they pass as they are; on Windows they are code page 1252
// like any text.
std::string PathToTerminal(std::string_view path);
std::string PathFromTerminal(std::string_view path);
// A path handed to the package: code page 1252 on every platform, like all
// its text (the package converts to the file system's encoding itself).
// What the package hands back is text like any other (ToTerminal).
std::string PackagePath(std::string_view terminal);

// A result value on one line: CR, LF, TAB and other control bytes become
// \r \n \t \xNN; backslashes stay as they are, since most values are paths.
std::string ResultValue(std::string_view cp1252);

class Output {
public:
  explicit Output(std::ostream& stream) : stream_(stream) {}

  // A line of the package's text.
  void Line(std::string_view cp1252);
  // "key=value", the value as ResultValue makes it.
  void Result(std::string_view key, std::string_view cp1252_value);
  void Result(std::string_view key, const char* cp1252_value) { Result(key, std::string_view(cp1252_value)); }
  void Result(std::string_view key, bool value) { Result(key, value ? "true" : "false"); }
  void Result(std::string_view key, long long value) { Result(key, std::to_string(value)); }
  void Result(std::string_view key, int value) { Result(key, static_cast<long long>(value)); }
  // "key=path" for a path zulpos opens itself, escaped like a value but
  // not converted (see PathToTerminal).
  void PathResult(std::string_view key, std::string_view path);

  // Text that is UTF-8 already, each of its lines after the indent.
  void Text(std::string_view utf8);
  // Prefix of every Text line (the demo indents what happens inside a step).
  void SetIndent(std::string indent) { indent_ = std::move(indent); }

  // Raw access for text that is already UTF-8 (help, prompts).
  std::ostream& stream() { return stream_; }

  // Called before each line written through the calls above (the progress
  // line on the same terminal goes first).
  void SetBeforeWrite(std::function<void()> hook) { before_write_ = std::move(hook); }

private:
  void BeforeWrite();

  std::ostream& stream_;
  std::string indent_;
  std::function<void()> before_write_;
};

} // namespace zulpos
