// What the printers put on paper, as text: code page 1252, one paper line per
// text line ended by "\n", at most `width` characters (longer lines wrap, as
// on a receipt printer). The fiscal printer's documents get a header when
// opened and a closing line; paper cuts and the standard printer's pages are
// drawn as lines of their own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace virtual_printer {

struct PaperDetail {
  std::string label; // empty: the value alone
  std::string value; // empty: the detail is left out
};

class Paper {
public:
  static constexpr std::size_t kDefaultWidth = 48;
  // Widths below this are raised to it: the headers need the room.
  static constexpr std::size_t kMinimumWidth = 24;

  explicit Paper(std::size_t width = kDefaultWidth);

  // Starts a fiscal-printer document: a rule, the title centred, the
  // document's number (COO) and the details, a thin rule. A document still
  // open is closed first.
  void Open(std::string_view title, const std::vector<PaperDetail>& details);
  // Text as the printer gets it: LF, CR LF or a lone CR end a line (a CR LF
  // split over two calls counts once); byte 160, which drivers send to feed
  // paper, and TAB print as a blank; other control bytes print nothing. A line
  // left unfinished is continued by the next text.
  void Print(std::string_view text);
  // Ends the open document with its closing line; nothing when none is open.
  void Close();
  // The cutter: a line showing where the paper was cut.
  void Cut();
  // One page of the standard printer: a border, its number and details, a
  // border, the text, a border.
  void Page(const std::vector<PaperDetail>& details, std::string_view text);

  bool document_open() const { return open_document_ != 0; }
  std::size_t width() const { return width_; }
  const std::string& text() const { return text_; }
  // The text added since the previous call (what goes on to the paper file).
  std::string TakeNew();

private:
  void Put(char c);
  void EndLine();
  void FinishLine();
  void Line(std::string_view text);
  void Centred(std::string_view text, char fill);
  void Details(const std::vector<PaperDetail>& details);

  std::size_t width_;
  std::string text_;
  std::size_t taken_ = 0;
  std::size_t column_ = 0;
  bool after_cr_ = false;
  unsigned open_document_ = 0; // its number; 0: none open
  unsigned documents_ = 0;
  unsigned pages_ = 0;
};

} // namespace virtual_printer
