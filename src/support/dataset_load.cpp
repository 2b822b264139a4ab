// Loading a dataset file in whichever form the host's library saved it, and
// the description of one that integrators read.
#include <cstdio>

#include "platform/file_system.h"
#include "support/dataset.h"
#include "support/dataset_packet.h"
#include "support/errors.h"

namespace zul00500 {

namespace dataset {

void Fail(const std::string& path, const std::string& reason) {
  throw DataSetError("load the dataset", path, reason);
}

} // namespace dataset

namespace {

// XML may start with a byte-order mark and blanks; XML in UTF-16 is told by
// its byte-order mark alone.
bool looks_like_xml(std::string_view content) {
  for (const std::string_view mark : {"\xFF\xFE", "\xFE\xFF"})
    if (content.substr(0, mark.size()) == mark) return true;
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  const std::size_t start = content.find_first_not_of(" \t\r\n");
  return start != std::string_view::npos && content[start] == '<';
}

// A value on one line, so that a description stays one line per value.
std::string one_line(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 32 && byte != 127) {
      out += c;
      continue;
    }
    switch (c) {
    case '\r':
      out += "\\r";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\t':
      out += "\\t";
      break;
    default: {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      out += hex;
    }
    }
  }
  return out;
}

} // namespace

void ClientDataSet::LoadFromFile(const std::string& path) {
  const std::string content = platform::fs().read_file(path);
  dataset::Packet packet;
  if (dataset::LooksLikeBinaryPacket(content)) packet = dataset::ReadBinaryPacket(content, path);
  else if (looks_like_xml(content)) packet = dataset::ReadXmlPacket(content, path);
  else dataset::Fail(path, "neither a binary nor an XML data packet");
  const std::vector<dataset::Cells> view = dataset::CurrentView(packet, path);

  std::vector<Row> rows;
  std::vector<Row> unreadable;
  rows.reserve(view.size());
  unreadable.reserve(view.size());
  for (const dataset::Cells& cells : view) {
    Row& row = rows.emplace_back();
    Row& bad = unreadable.emplace_back();
    for (const auto& [index, cell] : cells) {
      const std::string& name = packet.fields[index].name;
      if (cell.error.empty()) row.emplace_back(name, cell.text);
      else bad.emplace_back(name, cell.error);
    }
  }
  field_defs_ = std::move(packet.fields);
  rows_ = std::move(rows);
  unreadable_ = std::move(unreadable);
  path_ = path;
  format_ = packet.format;
  active_ = true;
}

std::vector<std::string> DescribeDataSetFile(const std::string& path) {
  ClientDataSet dataset;
  dataset.LoadFromFile(path);
  std::vector<std::string> lines;
  lines.push_back(dataset.Format() == DataSetFormat::Binary ? "format=binary" : "format=xml");
  std::string names;
  for (const FieldDef& field : dataset.FieldDefs()) names += (names.empty() ? "" : ",") + field.name;
  lines.push_back("fields=" + one_line(names));
  lines.push_back("records=" + std::to_string(dataset.RecordCount()));
  for (std::size_t record = 0; record < dataset.RecordCount(); ++record)
    for (const FieldDef& field : dataset.FieldDefs())
      lines.push_back(std::to_string(record + 1) + "." + one_line(field.name) + "=" +
                      one_line(dataset.FieldAsString(record, field.name)));
  return lines;
}

} // namespace zul00500
