// The host's dataset files in the binary packet form: every type a parameter
// file may hold, the same text as the XML form, and damaged files.
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

class BinaryDataSetTest : public testing::DataSetWorld {
protected:
  // One field of each type both forms share; the XML twin is below.
  static BinaryPacketWriter TypedFields() {
    BinaryPacketWriter writer;
    writer.Field("NRSERIEECF", packet::kString1, 20)
        .Field("LOJA", packet::kInt32)
        .Field("LIMITE", packet::kDouble)
        .Field("TAXA", packet::kBcd)
        .Field("ABERTURA", packet::kDate)
        .Field("HORA", packet::kTime)
        .Field("ULTIMA", packet::kTimeStamp)
        .Field("ATIVO", packet::kBoolean);
    return writer;
  }

  // A parameter file as the host keeps it: the serial number and one each of
  // the other types, one full record and one of nulls.
  static BinaryPacketWriter Parameters() {
    BinaryPacketWriter writer = TypedFields();
    writer.Field("CAIXA", packet::kInt16)
        .Field("SEQ", packet::kInt64)
        .Field("PORTA", packet::kUInt16)
        .Field("OBS", packet::kString2, 300)
        .Field("NOME", packet::kUnicode2, 30)
        .Field("LOGO", packet::kBlob)
        .Row({"BE0123456789", packet::LittleEndian(static_cast<std::uint32_t>(-7), 4), packet::Double(1234.5),
              packet::Bcd("-12.50"), packet::Date(2024, 1, 31), packet::Time(13, 45, 7),
              packet::TimeStamp(2024, 2, 29, 8, 5, 0), packet::LittleEndian(1, 2),
              packet::LittleEndian(300, 2), packet::LittleEndian(5'000'000'000, 8),
              packet::LittleEndian(65535, 2), std::string(260, 'x'), std::string("C\0a\0r\0t\0\xE3\0o\0", 12),
              std::string("\x89PNG\0\x01", 6)});
    std::vector<PacketValue> nulls(14, PacketValue::Null());
    nulls[0] = "BE0999";
    return writer.Row(nulls);
  }
};

TEST_F(BinaryDataSetTest, EveryTypeOfTheParameterFileShowsAsTheHostsLibraryShowsIt) {
  ClientDataSet dataset;
  dataset.LoadFromFile(Put("PARAMETROSQTR.CDS", Parameters().Bytes()));
  EXPECT_EQ(dataset.Format(), DataSetFormat::Binary);
  ASSERT_EQ(dataset.RecordCount(), 2u);
  ASSERT_EQ(dataset.FieldDefs().size(), 14u);
  EXPECT_EQ(dataset.FieldDefs()[0].size, 20);
  EXPECT_EQ(dataset.FieldAsString("nrserieecf"), "BE0123456789");
  const std::vector<std::pair<const char*, std::string>> expected = {{"LOJA", "-7"},
                                                                     {"CAIXA", "300"},
                                                                     {"SEQ", "5000000000"},
                                                                     {"PORTA", "65535"},
                                                                     {"LIMITE", "1234,5"},
                                                                     {"TAXA", "-12,5"},
                                                                     {"ABERTURA", "31/01/2024"},
                                                                     {"HORA", "13:45:07"},
                                                                     {"ULTIMA", "29/02/2024 08:05:00"},
                                                                     {"ATIVO", "True"},
                                                                     {"OBS", std::string(260, 'x')},
                                                                     {"NOME", "Cart\xE3o"},
                                                                     {"LOGO", ""}};
  for (const auto& [field, text] : expected) EXPECT_EQ(dataset.FieldAsString(field), text) << field;
  // The second record: nulls read as "", and the blob before did not shift
  // anything.
  EXPECT_EQ(dataset.FieldAsString(1, "NRSERIEECF"), "BE0999");
  for (const auto& [field, text] : expected) EXPECT_EQ(dataset.FieldAsString(1, field), "") << field;
}

TEST_F(BinaryDataSetTest, TheSameContentDescribesTheSameInBothForms) {
  const std::string binary =
      TypedFields()
          .Row({"BE01", packet::LittleEndian(3, 4), packet::Double(0.1), packet::Bcd("0.50"),
                packet::Date(1899, 12, 30), packet::Time(23, 59, 59, 999),
                packet::TimeStamp(2024, 3, 1, 0, 0, 0), packet::LittleEndian(0, 2)})
          .Row({"BE\n02", PacketValue::Null(), PacketValue::Null(), PacketValue::Null(), PacketValue::Null(),
                PacketValue::Null(), PacketValue::Null(), PacketValue::Null()})
          .Bytes();
  const std::string xml =
      "\xEF\xBB\xBF \r\n<?xml version=\"1.0\" standalone=\"yes\"?><DATAPACKET "
      "Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"NRSERIEECF\" fieldtype=\"string\" WIDTH=\"20\"/><FIELD attrname=\"LOJA\" "
      "fieldtype=\"i4\"/>"
      "<FIELD attrname=\"LIMITE\" fieldtype=\"r8\"/><FIELD attrname=\"TAXA\" fieldtype=\"fixed\" "
      "DECIMALS=\"2\" "
      "WIDTH=\"10\"/><FIELD attrname=\"ABERTURA\" fieldtype=\"date\"/><FIELD attrname=\"HORA\" "
      "fieldtype=\"time\"/>"
      "<FIELD attrname=\"ULTIMA\" fieldtype=\"dateTime\"/><FIELD attrname=\"ATIVO\" fieldtype=\"boolean\"/>"
      "</FIELDS><PARAMS/></METADATA><ROWDATA><ROW NRSERIEECF=\"BE01\" LOJA=\"3\" LIMITE=\"0.1\" "
      "TAXA=\"0.50\" "
      "ABERTURA=\"18991230\" HORA=\"23:59:59999\" ULTIMA=\"20240301T00:00:00000\" ATIVO=\"FALSE\"/>"
      "<ROW NRSERIEECF=\"BE&#10;02\"/></ROWDATA></DATAPACKET>";
  const std::vector<std::string> lines = DescribeDataSetFile(Put("p.cds", binary));
  EXPECT_EQ(lines,
            (std::vector<std::string>{
                "format=binary", "fields=NRSERIEECF,LOJA,LIMITE,TAXA,ABERTURA,HORA,ULTIMA,ATIVO", "records=2",
                "1.NRSERIEECF=BE01", "1.LOJA=3", "1.LIMITE=0,1", "1.TAXA=0,5", "1.ABERTURA=30/12/1899",
                "1.HORA=23:59:59", "1.ULTIMA=01/03/2024", "1.ATIVO=False", "2.NRSERIEECF=BE\\n02",
                "2.LOJA=", "2.LIMITE=", "2.TAXA=", "2.ABERTURA=", "2.HORA=", "2.ULTIMA=", "2.ATIVO="}));
  std::vector<std::string> from_xml = DescribeDataSetFile(Put("p.xml", xml));
  ASSERT_FALSE(from_xml.empty());
  EXPECT_EQ(from_xml[0], "format=xml");
  from_xml[0] = "format=binary";
  EXPECT_EQ(from_xml, lines);
}

// A good packet to damage: its descriptors and records in known places.
struct Damage {
  const char* what;
  std::size_t offset;
  std::uint64_t value;
  std::size_t size;
};

TEST_F(BinaryDataSetTest, DamagedPacketsAreErrorsNamingTheFileAndChangeNothing) {
  // Header 24 bytes; field "S" at 24: name 2, type 4, attributes 2, one
  // property (WIDTH: 6 + 4 + 2) at 34; field "N" at 46; dataset properties
  // at 56; the record at 58: status, flags at 59, "\x02AB" at 60, int.
  const std::string good = BinaryPacketWriter()
                               .Field("S", packet::kString1, 10)
                               .Field("N", packet::kInt32)
                               .Row({"AB", packet::LittleEndian(1, 4)})
                               .Bytes();
  ASSERT_EQ(good.size(), 58u + 1 + 1 + 3 + 4);
  ASSERT_EQ(good.substr(60, 3), "\x02"
                                "AB");

  ClientDataSet dataset;
  dataset.LoadFromFile(Put("good.cds", good));
  ASSERT_EQ(dataset.FieldAsString("S"), "AB");
  auto expect_error = [&](const std::string& bytes, const std::string& why) {
    const std::string path = Put("bad.cds", bytes);
    try {
      dataset.LoadFromFile(path);
      ADD_FAILURE() << why << ": no error";
    } catch (const DataSetError& error) {
      EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << why << ": " << error.what();
    }
    // What was loaded before stays.
    EXPECT_EQ(dataset.FieldAsString("S"), "AB") << why;
    EXPECT_EQ(dataset.Format(), DataSetFormat::Binary) << why;
  };

  // Truncated anywhere: nothing short of the whole packet reads.
  for (std::size_t size = 0; size < good.size(); ++size)
    expect_error(good.substr(0, size), "truncated to " + std::to_string(size));

  for (const Damage& damage :
       {Damage{"field count past the end", 12, 0xFFFF, 2},
        Damage{"record count past the end", 14, 0x7FFFFFFF, 4},
        Damage{"negative record count", 14, 0xFFFFFFFF, 4}, Damage{"header size past the end", 22, 0xFFFF, 2},
        Damage{"header size inside the descriptors", 22, 40, 2},
        Damage{"field name past the end", 24, 0xFF, 1}, Damage{"property count past the end", 32, 0xFFFF, 2},
        Damage{"property name past the end", 34, 0xFF, 1},
        Damage{"length prefix of 3 bytes", 26, 0x00490003, 4},
        Damage{"array count past the end", 26, 0x00890001, 4},
        Damage{"string past the end of the record", 60, 0xFF, 1}, Damage{"unknown null flag", 59, 0x03, 1}}) {
    std::string bad = good;
    packet::Patch(bad, damage.offset, damage.value, damage.size);
    expect_error(bad, damage.what);
  }
}

TEST_F(BinaryDataSetTest, UnknownTypeIsAnErrorOnlyForTheFieldThatIsRead) {
  const std::string path = Put("PARAMETROSQTR.CDS", BinaryPacketWriter()
                                                        .Field("NRSERIEECF", packet::kString1, 20)
                                                        .Field("FUTURO", packet::TypeWord(40, 4))
                                                        .Field("VAZIO", packet::TypeWord(41, 2))
                                                        .Row({"BE01", "\1\2\3\4", PacketValue::Null()})
                                                        .Bytes());
  ClientDataSet dataset;
  dataset.LoadFromFile(path);
  EXPECT_EQ(dataset.FieldAsString("NRSERIEECF"), "BE01");
  EXPECT_EQ(dataset.FieldAsString("VAZIO"), "");
  try {
    dataset.FieldAsString("FUTURO");
    ADD_FAILURE() << "no error";
  } catch (const DataSetError& error) {
    EXPECT_NE(std::string(error.what()).find("FUTURO"), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
    EXPECT_NE(std::string(error.what()).find("type code 40"), std::string::npos) << error.what();
  }
  EXPECT_THROW(DescribeDataSetFile(path), DataSetError);
}

} // namespace
} // namespace zul00500
