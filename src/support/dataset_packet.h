// A dataset file as its reader found it, before the change log is applied:
// the fields, every stored row with its status, and the change log. The XML
// and the binary reader both produce one; the current view is made from it
// the same way for both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/dataset.h"

namespace zul00500::dataset {

enum class CellState {
  Value,
  Null,
  // A later version of a row that leaves this field as the earlier one had it.
  Unchanged,
};

struct Cell {
  CellState state = CellState::Null;
  std::string text; // what the host's library shows (code page 1252)
  // Set when the value cannot be shown (an unknown type, a date out of
  // range); reading this field is then an error, reading others is not.
  std::string error;
};

// Row status bits, as the host's library keeps them.
constexpr std::uint32_t kRowOriginal = 1;
constexpr std::uint32_t kRowDeleted = 2;
constexpr std::uint32_t kRowInserted = 4;
constexpr std::uint32_t kRowModified = 8;

// Cells by field index, ascending. A row lists only some of its fields, so
// that memory follows the file's size, never rows times fields.
using Cells = std::vector<std::pair<std::size_t, Cell>>;

struct StoredRow {
  std::uint32_t status = 0;
  // The state of every field that `cells` does not list.
  CellState absent = CellState::Null;
  Cells cells;
};

struct Packet {
  DataSetFormat format = DataSetFormat::Xml;
  std::vector<FieldDef> fields;
  std::vector<StoredRow> rows;
  // Triples: record (from 1), its earlier version (0 for none), kind of change.
  std::optional<std::vector<std::uint32_t>> change_log;
};

// Every reader's failure: "load the dataset", the path, the reason.
[[noreturn]] void Fail(const std::string& path, const std::string& reason);

// The readers. Both throw DataSetError naming `path`.
bool LooksLikeBinaryPacket(std::string_view content);
Packet ReadBinaryPacket(std::string_view content, const std::string& path);
Packet ReadXmlPacket(std::string_view content, const std::string& path);

// The rows the host's library shows: deleted rows left out, each changed row
// in its latest version, in the order of the rows' first versions; each
// lists its non-null values only. Throws DataSetError when the change log is
// not understood.
std::vector<Cells> CurrentView(Packet& packet, const std::string& path);

} // namespace zul00500::dataset
