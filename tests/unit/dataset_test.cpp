#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "support/dataset.h"
#include "support/errors.h"
#include "support/temp_world.h"

namespace zul00500 {
namespace {

class DataSetFileTest : public ::testing::Test {
protected:
  std::string Path(const char* name) { return world_.host_dir() + "\\" + name; }
  testing::TempWorld world_;
};

TEST_F(DataSetFileTest, NonAsciiTextTravelsAsCharacterReferences) {
  ClientDataSet dataset({{"TEXTO", 50}});
  dataset.SetField("TEXTO", "Cart\xE3o \x80 & <d\xE9"
                            "bito>");
  const std::string packet = dataset.PacketText();
  EXPECT_NE(packet.find("TEXTO=\"Cart&#227;o &#8364; &amp; &lt;d&#233;bito>\""), std::string::npos) << packet;
  dataset.SaveToFile(Path("t.cds"));
  ClientDataSet loaded;
  loaded.LoadFromFile(Path("t.cds"));
  EXPECT_EQ(loaded.FieldAsString("texto"), "Cart\xE3o \x80 & <d\xE9"
                                           "bito>");
}

TEST_F(DataSetFileTest, ReadsTheHostsPacketWithFieldNamesInAnyCase) {
  platform::fs().write_file(
      Path("PARAMETROSQTR.CDS"),
      "<?xml version=\"1.0\" standalone=\"yes\"?>\r\n<DATAPACKET Version=\"2.0\"><METADATA>"
      "<FIELDS><FIELD attrname=\"NrSerieEcf\" fieldtype=\"string\" WIDTH=\"20\"/>"
      "<FIELD attrname=\"LOJA\" fieldtype=\"i4\"/></FIELDS><PARAMS/></METADATA><ROWDATA>"
      "<ROW NrSerieEcf=\"BE01\" LOJA=\"3\"/><ROW NrSerieEcf=\"BE02\" LOJA=\"4\"/>"
      "</ROWDATA></DATAPACKET>");
  ClientDataSet dataset;
  dataset.LoadFromFile(Path("PARAMETROSQTR.CDS"));
  EXPECT_EQ(dataset.RecordCount(), 2u);
  EXPECT_EQ(dataset.FieldAsString("NRSERIEECF"), "BE01");
  EXPECT_EQ(dataset.FieldAsString("MISSING"), "");
}

TEST_F(DataSetFileTest, TheFormIsToldByContentNotByName) {
  // UTF-16 with its byte-order mark, blanks before the packet.
  const std::string text =
      "\r\n  <DATAPACKET><ROWDATA><ROW DIRTEF=\"c:\\tef_dial\\\" X=\"\xE3\"/></ROWDATA></DATAPACKET>";
  std::string utf16 = "\xFF\xFE";
  for (const char c : text) utf16 += std::string{c, '\0'};
  platform::fs().write_file(Path("utf16.bin"), utf16);
  ClientDataSet dataset;
  dataset.LoadFromFile(Path("utf16.bin"));
  EXPECT_EQ(dataset.Format(), DataSetFormat::Xml);
  EXPECT_EQ(dataset.FieldAsString("DIRTEF"), "c:\\tef_dial\\");
  EXPECT_EQ(dataset.FieldAsString("X"), "\xE3");
}

TEST_F(DataSetFileTest, GarbageAndMissingFilesAreClearErrors) {
  platform::fs().write_file(Path("bin.cds"), std::string("\x96\x19\xE0\xBD\x01\x00", 6));
  platform::fs().write_file(Path("bad.cds"), "<DATAPACKET><ROWDATA>");
  platform::fs().write_file(Path("other.cds"), "<html/>");
  ClientDataSet dataset;
  EXPECT_THROW(dataset.LoadFromFile(Path("bin.cds")), DataSetError);
  EXPECT_THROW(dataset.LoadFromFile(Path("bad.cds")), DataSetError);
  EXPECT_THROW(dataset.LoadFromFile(Path("other.cds")), DataSetError);
  EXPECT_THROW(dataset.LoadFromFile(Path("none.cds")), FileError);
}

TEST_F(DataSetFileTest, CreateDataSetStartsEmptyAndEditInsertsOneRecord) {
  ClientDataSet dataset({{"DIRTEF", 50}});
  dataset.SetField("DIRTEF", "old");
  dataset.CreateDataSet();
  EXPECT_EQ(dataset.RecordCount(), 0u);
  dataset.Edit();
  dataset.Edit();
  EXPECT_EQ(dataset.RecordCount(), 1u);
  EXPECT_EQ(dataset.FieldAsString("DIRTEF"), "");
}

} // namespace
} // namespace zul00500
