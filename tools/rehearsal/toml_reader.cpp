// toml++'s implementation is compiled here, once (cmake/tomlplusplus.cmake).
#define TOML_IMPLEMENTATION
#include "rehearsal/toml_reader.h"

#include <algorithm>
#include <cmath>

namespace rehearsal {

TomlReader::TomlReader(const std::string& text, std::string origin)
    : text_(text), origin_(std::move(origin)) {
  try {
    root_ = toml::parse(text_, origin_);
  } catch (const toml::parse_error& error) {
    Fail(static_cast<int>(error.source().begin.line), std::string(error.description()));
  }
}

void TomlReader::Fail(const toml::node& node, const std::string& why) const { Fail(Line(node), why); }

void TomlReader::Fail(int line, const std::string& why) const {
  throw BookError(origin_ + " line " + std::to_string(line) + ": " + why);
}

void TomlReader::CheckKeys(const toml::table& table, std::initializer_list<std::string_view> allowed,
                           const std::string& what) const {
  for (auto&& [key, node] : table) {
    if (std::find(allowed.begin(), allowed.end(), key.str()) != allowed.end()) continue;
    std::string known;
    for (const std::string_view name : allowed) {
      if (!known.empty()) known += ", ";
      known += name;
    }
    Fail(static_cast<int>(key.source().begin.line ? key.source().begin.line : node.source().begin.line),
         "unknown key \"" + std::string(key.str()) + "\" in " + what + " (known: " + known + ")");
  }
}

std::optional<std::string> TomlReader::String(const toml::table& table, std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  if (!node->is_string()) Fail(*node, std::string(key) + " takes a text in quotes");
  return node->as_string()->get();
}

std::optional<bool> TomlReader::Bool(const toml::table& table, std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  if (!node->is_boolean()) Fail(*node, std::string(key) + " takes true or false");
  return node->as_boolean()->get();
}

std::optional<long long> TomlReader::Integer(const toml::table& table, std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  if (!node->is_integer()) Fail(*node, std::string(key) + " takes a whole number");
  return node->as_integer()->get();
}

namespace {
bool all_digits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}
} // namespace

double TomlReader::Amount(const toml::node& node) const {
  const std::string bad = "an amount is a number or a text such as \"40\", \"40.50\" or \"40,50\"";
  if (node.is_integer()) {
    if (node.as_integer()->get() < 0) Fail(node, bad + ", not negative");
    return static_cast<double>(node.as_integer()->get());
  }
  if (node.is_floating_point()) {
    const double value = node.as_floating_point()->get();
    const double cents = value * 100;
    if (!(value >= 0) || std::fabs(cents - std::round(cents)) > 1e-6 || value > 1e12)
      Fail(node, bad + " with two decimals at most");
    return value;
  }
  if (!node.is_string()) Fail(node, bad);
  const std::string text = node.as_string()->get();
  const std::size_t separator = text.find_first_of(".,");
  const std::string whole = text.substr(0, separator);
  const std::string decimals = separator == std::string::npos ? "" : text.substr(separator + 1);
  if (!all_digits(whole) || whole.size() > 12 ||
      (separator != std::string::npos && (!all_digits(decimals) || decimals.size() > 2)))
    Fail(node, bad + ", not \"" + text + "\"");
  return std::stod(whole) +
         (decimals.empty() ? 0.0 : std::stod(decimals) / (decimals.size() == 1 ? 10 : 100));
}

std::optional<double> TomlReader::Amount(const toml::table& table, std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  return Amount(*node);
}

std::optional<std::vector<std::string>> TomlReader::Strings(const toml::table& table,
                                                            std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return std::nullopt;
  if (node->is_string()) return std::vector<std::string>{node->as_string()->get()};
  if (!node->is_array()) Fail(*node, std::string(key) + " takes a list of texts");
  std::vector<std::string> items;
  for (const toml::node& item : *node->as_array()) {
    if (!item.is_string()) Fail(item, std::string(key) + " takes texts in quotes");
    items.push_back(item.as_string()->get());
  }
  return items;
}

const toml::array* TomlReader::Array(const toml::table& table, std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return nullptr;
  if (!node->is_array()) Fail(*node, std::string(key) + " takes a list [...]");
  return node->as_array();
}

const toml::table* TomlReader::Table(const toml::table& table, std::string_view key) const {
  const toml::node* node = table.get(key);
  if (!node) return nullptr;
  if (!node->is_table()) Fail(*node, std::string(key) + " takes a table");
  return node->as_table();
}

int TomlReader::TextLine(const toml::node& node, std::size_t index) const {
  const auto begin = node.source().begin;
  // The value's own line of the book, then whether its quotes end it.
  std::size_t at = 0;
  for (std::size_t line = 1; line < begin.line && at != std::string::npos; ++line) {
    at = text_.find('\n', at);
    if (at != std::string::npos) ++at;
  }
  int first = static_cast<int>(begin.line);
  if (at != std::string::npos) {
    const std::string rest =
        text_.substr(at + begin.column - 1, text_.find('\n', at) - (at + begin.column - 1));
    const bool triple = rest.rfind("\"\"\"", 0) == 0 || rest.rfind("'''", 0) == 0;
    if (triple && rest.find_first_not_of(" \t\r", 3) == std::string::npos) ++first;
  }
  return first + static_cast<int>(index);
}

} // namespace rehearsal
