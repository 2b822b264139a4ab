// A small in-memory table that is loaded from and saved to a dataset file in
// the host's data-packet form. The host's dataset library writes either form
// of the packet, binary or XML, and reads both; so does this one. It saves
// XML.
#pragma once

#include <string>
#include <vector>

namespace zul00500 {

enum class DataSetFormat { Xml, Binary };

struct FieldDef {
  std::string name;
  int size = 0; // string fields: characters
};

class ClientDataSet {
public:
  ClientDataSet() = default;
  explicit ClientDataSet(std::vector<FieldDef> fields) : field_defs_(std::move(fields)) {}

  const std::vector<FieldDef>& FieldDefs() const { return field_defs_; }

  // Empties the table, keeping its field definitions.
  void CreateDataSet();
  // Puts the dataset in edit mode; an empty one gets its first record.
  void Edit();
  void Open() {}
  bool Active() const { return active_; }
  std::size_t RecordCount() const { return rows_.size(); }

  // Field of the current (first) record; a field missing from the record or
  // the definitions, and a null value, read as "". A value the file holds in
  // a form that cannot be shown (an unknown type) throws DataSetError.
  std::string FieldAsString(const std::string& name) const;
  // The same for record `record` (from 0) of the current view.
  std::string FieldAsString(std::size_t record, const std::string& name) const;
  void SetField(const std::string& name, const std::string& value);

  // Loads the file's fields and the records of its current view: deleted
  // records left out, changed ones in their latest version. Field names
  // match without regard to case. The form is told by the content. Throws
  // FileError or DataSetError naming the path, and then keeps what it held.
  void LoadFromFile(const std::string& path);
  // The form of the file last loaded (XML until one is).
  DataSetFormat Format() const { return format_; }
  // Writes the table as an XML data packet. Throws FileError.
  void SaveToFile(const std::string& path) const;

  // The packet text SaveToFile writes (ASCII; other characters as numeric
  // character references).
  std::string PacketText() const;

private:
  using Row = std::vector<std::pair<std::string, std::string>>;
  std::vector<FieldDef> field_defs_;
  std::vector<Row> rows_;
  // By record: the fields whose value cannot be shown, and why.
  std::vector<Row> unreadable_;
  std::string path_; // the file last loaded, for errors
  DataSetFormat format_ = DataSetFormat::Xml;
  bool active_ = false;
};

// What the package reads from a dataset file, one "key=value" line each:
// "format=binary" or "format=xml"; "fields=" and the names, comma-separated;
// "records=" and the count of the current view; then "R.FIELD=value" for
// every record R (from 1) and field. Values stay on one line: CR, LF, TAB and
// other control bytes become \r \n \t \xNN. Throws FileError or DataSetError
// naming the path.
std::vector<std::string> DescribeDataSetFile(const std::string& path);

} // namespace zul00500
