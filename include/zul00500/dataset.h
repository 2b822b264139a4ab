// A small in-memory table that is loaded from and saved to a dataset file in
// the host's data-packet form (XML, as the host's dataset library writes it).
#pragma once

#include <string>
#include <vector>

namespace zul00500 {

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
  // the definitions reads as "".
  std::string FieldAsString(const std::string& name) const;
  void SetField(const std::string& name, const std::string& value);

  // Loads the file's fields and records (field names match without regard
  // to case). Throws FileError or DataSetError naming the path.
  void LoadFromFile(const std::string& path);
  // Writes the table as an XML data packet. Throws FileError.
  void SaveToFile(const std::string& path) const;

  // The packet text SaveToFile writes (ASCII; other characters as numeric
  // character references).
  std::string PacketText() const;

private:
  using Row = std::vector<std::pair<std::string, std::string>>;
  std::vector<FieldDef> field_defs_;
  std::vector<Row> rows_;
  bool active_ = false;
};

} // namespace zul00500
