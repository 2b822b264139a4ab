// Dataset files saved with their change log: the current view, in either
// packet form, and logs that cannot be understood.
#include <gtest/gtest.h>

#include "support/binary_packet.h"
#include "support/dataset.h"
#include "support/dataset_world.h"
#include "support/errors.h"

namespace zul00500 {
namespace {

using testing::BinaryPacketWriter;
using testing::PacketValue;
namespace packet = testing::packet;

class ChangeLogTest : public testing::DataSetWorld {
protected:
  static BinaryPacketWriter Fields() {
    BinaryPacketWriter writer;
    writer.Field("NRSERIEECF", packet::kString1, 20).Field("LOJA", packet::kInt32);
    return writer;
  }
  static std::string Loja(int number) { return packet::LittleEndian(static_cast<std::uint32_t>(number), 4); }
};

// The host's parameter record was changed after it was first saved, a row
// added and one deleted: the first record is the changed one, as it is now.
TEST_F(ChangeLogTest, TheCurrentViewIsTheSameInBothForms) {
  const std::string binary = Fields()
                                 .ChangeLog({3, 0, 2, 4, 0, 4, 5, 1, 8})
                                 .Row({"OLD", Loja(1)}, 1)
                                 .Row({"B", Loja(2)})
                                 .Row({"GONE", Loja(3)}, 2)
                                 .Row({"NEW", PacketValue::Null()}, 4)
                                 .Row({"BE02", PacketValue::Unchanged()}, 8)
                                 .Bytes();
  const std::string xml =
      "<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"NRSERIEECF\" fieldtype=\"string\" WIDTH=\"20\"/>"
      "<FIELD attrname=\"LOJA\" fieldtype=\"i4\"/></FIELDS>"
      "<PARAMS CHANGE_LOG=\"3 0 2 4 0 4 5 1 8\"/></METADATA><ROWDATA>"
      "<ROW RowState=\"1\" NRSERIEECF=\"OLD\" LOJA=\"1\"/><ROW NRSERIEECF=\"B\" LOJA=\"2\"/>"
      "<ROW RowState=\"2\" NRSERIEECF=\"GONE\" LOJA=\"3\"/><ROW RowState=\"4\" NRSERIEECF=\"NEW\"/>"
      "<ROW RowState=\"8\" NRSERIEECF=\"BE02\"/></ROWDATA></DATAPACKET>";
  const std::vector<std::string> view = {
      "fields=NRSERIEECF,LOJA", "records=3", "1.NRSERIEECF=BE02", "1.LOJA=1",
      "2.NRSERIEECF=B",         "2.LOJA=2",  "3.NRSERIEECF=NEW",  "3.LOJA="};
  for (const auto& [name, bytes] : {std::pair{"p.cds", binary}, std::pair{"p.xml", xml}}) {
    std::vector<std::string> lines = DescribeDataSetFile(Put(name, bytes));
    ASSERT_FALSE(lines.empty());
    lines.erase(lines.begin());
    EXPECT_EQ(lines, view) << name;
    ClientDataSet dataset;
    dataset.LoadFromFile(world_.host_dir() + "/" + name);
    EXPECT_EQ(dataset.FieldAsString("NRSERIEECF"), "BE02") << name;
  }
}

TEST_F(ChangeLogTest, AChainOfVersionsEndsInItsLatestOrLeavesTheRowOutWhenDeleted) {
  // Row 1 changed twice (the second change sets LOJA to null), row 2 changed
  // and then deleted through its later version.
  const std::string bytes = Fields()
                                .ChangeLog({3, 1, 8, 4, 3, 8, 5, 2, 2})
                                .Row({"A", Loja(1)}, 1)
                                .Row({"B", Loja(2)}, 1)
                                .Row({"A2", PacketValue::Unchanged()}, 1 | 8)
                                .Row({PacketValue::Unchanged(), PacketValue::Null()}, 8)
                                .Row({PacketValue::Unchanged(), PacketValue::Unchanged()}, 2)
                                .Bytes();
  EXPECT_EQ(DescribeDataSetFile(Put("p.cds", bytes)),
            (std::vector<std::string>{"format=binary", "fields=NRSERIEECF,LOJA", "records=1",
                                      "1.NRSERIEECF=A2", "1.LOJA="}));
}

TEST_F(ChangeLogTest, LogsThatDoNotFitAreErrorsNamingTheFile) {
  struct Case {
    const char* what;
    std::vector<std::uint32_t> log;
    std::uint8_t status1, status2;
  };
  const Case cases[] = {
      {"no whole triples", {2, 1}, 0, 8},
      {"record out of range", {3, 0, 4}, 0, 4},
      {"earlier version out of range", {2, 9, 8}, 0, 8},
      {"modified without an earlier version", {2, 0, 8}, 0, 8},
      {"unknown change", {2, 1, 16}, 1, 8},
      {"a record listed twice", {2, 1, 8, 2, 1, 8}, 1, 8},
      {"two rows replacing each other", {1, 2, 8, 2, 1, 8}, 8, 8},
      {"unknown status", {}, 0, 0x20},
      {"an original without a later version", {}, 1, 0},
      {"a modified row that replaces nothing", {}, 0, 8},
  };
  for (const Case& c : cases) {
    BinaryPacketWriter writer = Fields();
    if (!c.log.empty()) writer.ChangeLog(c.log);
    const std::string path =
        Put("bad.cds", writer.Row({"A", Loja(1)}, c.status1).Row({"B", Loja(2)}, c.status2).Bytes());
    try {
      ClientDataSet().LoadFromFile(path);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const DataSetError& error) {
      const std::string text = error.what();
      EXPECT_NE(text.find(path), std::string::npos) << c.what << ": " << text;
      EXPECT_NE(text.find("change log not understood"), std::string::npos) << c.what << ": " << text;
    }
  }
  // One row replaced by two later versions, in XML.
  EXPECT_THROW(ClientDataSet().LoadFromFile(Put("twice.xml",
                                                "<DATAPACKET><METADATA><PARAMS CHANGE_LOG=\"2 1 8 3 1 8\"/>"
                                                "</METADATA><ROWDATA><ROW RowState=\"1\" A=\"1\"/><ROW "
                                                "RowState=\"8\" A=\"2\"/><ROW RowState=\"8\" A=\"3\"/>"
                                                "</ROWDATA></DATAPACKET>")),
               DataSetError);
  EXPECT_THROW(
      ClientDataSet().LoadFromFile(Put("word.xml", "<DATAPACKET><METADATA><PARAMS CHANGE_LOG=\"1 x 4\"/>"
                                                   "</METADATA><ROWDATA/></DATAPACKET>")),
      DataSetError);
}

} // namespace
} // namespace zul00500
