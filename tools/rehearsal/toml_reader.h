// Reading a TOML document whose every mistake must name its line: the
// book's and the host part's plan. Wraps toml++ so that only the readers see
// its headers.
#pragma once

#include <toml++/toml.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "rehearsal/book.h"

namespace rehearsal {

class TomlReader {
public:
  TomlReader(const std::string& text, std::string origin);

  const toml::table& root() const { return root_; }
  const std::string& origin() const { return origin_; }

  // BookError "ORIGIN line N: WHY".
  [[noreturn]] void Fail(const toml::node& node, const std::string& why) const;
  [[noreturn]] void Fail(int line, const std::string& why) const;
  static int Line(const toml::node& node) { return static_cast<int>(node.source().begin.line); }

  // Every key of `table` must be one of `allowed`; `what` names the table.
  void CheckKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                 const std::string& what) const;

  // Typed values: nothing when the key is absent, BookError when its type is wrong.
  std::optional<std::string> String(const toml::table& table, std::string_view key) const;
  std::optional<bool> Bool(const toml::table& table, std::string_view key) const;
  std::optional<long long> Integer(const toml::table& table, std::string_view key) const;
  // A money amount: a number or a text ("40", "40.50", "40,50"); two decimals at most.
  std::optional<double> Amount(const toml::table& table, std::string_view key) const;
  double Amount(const toml::node& node) const;
  // An array of strings (a lone string counts as one).
  std::optional<std::vector<std::string>> Strings(const toml::table& table, std::string_view key) const;
  const toml::array* Array(const toml::table& table, std::string_view key) const;
  const toml::table* Table(const toml::table& table, std::string_view key) const;

  // The book line of line `index` (from 0) of a string value: a multi-line
  // string whose opening quotes end their line starts on the next line.
  int TextLine(const toml::node& node, std::size_t index) const;

private:
  std::string text_;
  std::string origin_;
  toml::table root_;
};

} // namespace rehearsal
