#include "virtual_printer/paper.h"

#include <algorithm>
#include <cstdio>

namespace virtual_printer {

namespace {

std::string numbered(const char* label, unsigned number) {
  char text[32];
  std::snprintf(text, sizeof text, "%s%06u", label, number);
  return text;
}

} // namespace

Paper::Paper(std::size_t width) : width_(std::max(width, kMinimumWidth)) {}

void Paper::Put(char c) {
  if (column_ == width_) EndLine();
  text_ += c;
  ++column_;
}

void Paper::EndLine() {
  text_ += '\n';
  column_ = 0;
}

// Headers, cuts and closing lines start on a line of their own.
void Paper::FinishLine() {
  if (column_ != 0) EndLine();
  after_cr_ = false;
}

void Paper::Line(std::string_view text) {
  FinishLine();
  for (const char c : text) Put(c);
  EndLine();
}

void Paper::Centred(std::string_view text, char fill) {
  text = text.substr(0, width_);
  const std::size_t left = (width_ - text.size()) / 2;
  std::string line(left, fill);
  line += text;
  if (fill != ' ') line.resize(width_, fill);
  Line(line);
}

void Paper::Details(const std::vector<PaperDetail>& details) {
  for (const auto& detail : details) {
    if (detail.value.empty()) continue;
    Line(detail.label.empty() ? detail.value : detail.label + ": " + detail.value);
  }
}

void Paper::Open(std::string_view title, const std::vector<PaperDetail>& details) {
  Close();
  open_document_ = ++documents_;
  Line(std::string(width_, '='));
  Centred(title, ' ');
  Line(numbered("COO: ", open_document_));
  Details(details);
  Line(std::string(width_, '-'));
}

void Paper::Print(std::string_view text) {
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    const bool crlf_tail = after_cr_ && c == '\n';
    after_cr_ = c == '\r';
    if (crlf_tail) continue;
    if (c == '\r' || c == '\n') EndLine();
    else if (c == '\t' || byte == 0xA0) Put(' ');
    else if (byte >= 32 && byte != 127) Put(c);
  }
}

void Paper::Close() {
  if (open_document_ == 0) return;
  Centred(" FIM " + numbered("COO: ", open_document_) + " ", '=');
  open_document_ = 0;
}

void Paper::Cut() {
  std::string line = "8<";
  while (line.size() + 2 <= width_) line += " -";
  Line(line);
}

void Paper::Page(const std::vector<PaperDetail>& details, std::string_view text) {
  const std::string border = "+" + std::string(width_ - 2, '-') + "+";
  Line(border);
  Line("IMPRESSORA PADR\xC3O - P\xC1GINA " + std::to_string(++pages_));
  Details(details);
  Line(border);
  Print(text);
  Line(border);
}

std::string Paper::TakeNew() {
  std::string fresh = text_.substr(taken_);
  taken_ = text_.size();
  return fresh;
}

} // namespace virtual_printer
