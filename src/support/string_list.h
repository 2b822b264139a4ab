// An ordered list of 8-bit text lines (code page 1252): the form of every
// request, status file, answer and receipts list the package handles.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zul00500 {

class StringList {
public:
  StringList() = default;
  StringList(std::initializer_list<std::string> lines) : lines_(lines) {}

  std::size_t Count() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  const std::string& operator[](std::size_t index) const { return lines_[index]; }
  std::string& operator[](std::size_t index) { return lines_[index]; }
  const std::vector<std::string>& lines() const { return lines_; }

  void Add(std::string line) { lines_.push_back(std::move(line)); }
  void Clear() { lines_.clear(); }

  // Index of the first line equal to `line` (whole line, case-sensitive), or
  // -1.
  int IndexOf(std::string_view line) const;

  // Raw value of the first line whose text before its first "=" equals
  // `name`: everything after that "=", untrimmed. Empty when there is none.
  std::string Value(std::string_view name) const;
  // Value() trimmed: the form in which readers use a field.
  std::string Field(std::string_view name) const;

  // The lines joined, each followed by CR LF.
  std::string Text() const;
  // Replaces the lines by those of `text`: CR, LF or CR LF end a line, and a
  // last line without an end is a line.
  void SetText(std::string_view text);

  // Throw FileError (naming the path) when the file cannot be read or
  // written. SaveToFile writes CR LF after every line.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path) const;

  friend bool operator==(const StringList&, const StringList&) = default;

private:
  std::vector<std::string> lines_;
};

// Removes leading and trailing characters up to and including the blank
// (blanks and control characters), as the host platform's Trim does.
std::string Trim(std::string_view text);

} // namespace zul00500
