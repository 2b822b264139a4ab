// The XML data packet: DATAPACKET, METADATA with FIELDS and PARAMS, ROWDATA
// with one ROW per stored row, its values as attributes. Element and
// attribute names match without regard to case, as tolerant readers do.
#include <pugixml.hpp>

#include <algorithm>
#include <unordered_map>

#include "platform/text_encoding.h"
#include "support/dataset_packet.h"
#include "support/dataset_values.h"
#include "support/text.h"

namespace zul00500::dataset {

namespace {

pugi::xml_attribute find_attribute(const pugi::xml_node& node, std::string_view name) {
  for (pugi::xml_attribute attribute : node.attributes())
    if (SameText(attribute.name(), name)) return attribute;
  return {};
}

pugi::xml_node find_child(const pugi::xml_node& node, const char* name) {
  for (pugi::xml_node child : node.children())
    if (SameText(child.name(), name)) return child;
  return {};
}

std::string text_of(const char* utf8) { return platform::utf8_or_cp1252_to_cp1252(utf8); }

// "1 0 4 3 1 8": whole numbers separated by blanks.
std::vector<std::uint32_t> change_log(const std::string& text, const std::string& path) {
  std::vector<std::uint32_t> entries;
  std::size_t at = 0;
  for (;;) {
    at = text.find_first_not_of(" \t\r\n", at);
    if (at == std::string::npos) return entries;
    const std::size_t end = std::min(text.find_first_of(" \t\r\n", at), text.size());
    const std::string token = text.substr(at, end - at);
    std::int32_t entry = 0;
    if (!TryStrToInt(token, entry) || entry < 0 || token.find_first_of("+-") != std::string::npos)
      Fail(path, "the change log entry \"" + token + "\" is not a record number");
    entries.push_back(static_cast<std::uint32_t>(entry));
    at = end;
  }
}

// A field name as the lookup key: letter case folded.
std::string folded(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = static_cast<char>(platform::cp1252_fold_case(static_cast<unsigned char>(c)));
  return key;
}

std::uint32_t row_state(const pugi::xml_attribute& attribute, std::size_t number, const std::string& path) {
  if (!attribute) return 0;
  std::int32_t state = 0;
  if (!TryStrToInt(attribute.value(), state) || state < 0)
    Fail(path,
         "record " + std::to_string(number) + " has the row state \"" + text_of(attribute.value()) + "\"");
  return static_cast<std::uint32_t>(state);
}

} // namespace

Packet ReadXmlPacket(std::string_view content, const std::string& path) {
  pugi::xml_document document;
  const pugi::xml_parse_result parsed = document.load_buffer(content.data(), content.size());
  if (!parsed) Fail(path, parsed.description());
  const pugi::xml_node packet_node = find_child(document, "DATAPACKET");
  if (!packet_node) Fail(path, "no DATAPACKET element");

  Packet packet;
  packet.format = DataSetFormat::Xml;
  std::vector<std::string> types;
  std::unordered_map<std::string, std::size_t> index_of;
  auto add_field = [&](std::string name, int width, std::string type) {
    index_of.emplace(folded(name), packet.fields.size());
    packet.fields.push_back({std::move(name), width});
    types.push_back(std::move(type));
  };
  const pugi::xml_node metadata = find_child(packet_node, "METADATA");
  for (pugi::xml_node field : find_child(metadata, "FIELDS").children())
    if (SameText(field.name(), "FIELD"))
      add_field(text_of(find_attribute(field, "attrname").value()), find_attribute(field, "WIDTH").as_int(),
                find_attribute(field, "fieldtype").value());
  if (const pugi::xml_attribute log = find_attribute(find_child(metadata, "PARAMS"), "CHANGE_LOG"))
    packet.change_log = change_log(log.value(), path);

  for (pugi::xml_node element : find_child(packet_node, "ROWDATA").children()) {
    if (!SameText(element.name(), "ROW")) continue;
    StoredRow& row = packet.rows.emplace_back();
    row.status = row_state(find_attribute(element, "RowState"), packet.rows.size(), path);
    // A later version of a row leaves out what it did not change.
    if (row.status & kRowModified) row.absent = CellState::Unchanged;
    for (pugi::xml_attribute attribute : element.attributes()) {
      if (SameText(attribute.name(), "RowState")) continue;
      std::string name = text_of(attribute.name());
      auto found = index_of.find(folded(name));
      // Attributes the metadata does not list are read as text.
      if (found == index_of.end()) {
        add_field(std::move(name), 0, "string");
        found = index_of.find(folded(packet.fields.back().name));
      }
      row.cells.emplace_back(found->second, XmlCell(types[found->second], text_of(attribute.value())));
    }
    // Attributes come in any order; the first of two for one field holds.
    std::stable_sort(row.cells.begin(), row.cells.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    row.cells.erase(std::unique(row.cells.begin(), row.cells.end(),
                                [](const auto& a, const auto& b) { return a.first == b.first; }),
                    row.cells.end());
  }
  return packet;
}

} // namespace zul00500::dataset
