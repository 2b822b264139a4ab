// Writes the seed packets of corpus/dataset: binary packets laid out by the
// tests' packet writer (every field type a host's parameter file may hold,
// null values, a change log, both string prefix widths) and the XML packets
// the host's library and the package write. Run once when the seeds change:
//   build-fuzz/bin/fuzz_make_seeds tests/fuzz/corpus/dataset
#include <fstream>
#include <iostream>
#include <string>

#include "support/binary_packet.h"
#include "support/dataset.h"

using namespace zul00500;
using namespace zul00500::testing;

namespace {

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

std::string EveryType() {
  BinaryPacketWriter writer;
  writer.Field("NRSERIEECF", packet::kString1, 20)
      .Field("LOJA", packet::kInt32)
      .Field("CAIXA", packet::kInt16)
      .Field("PDV", packet::kInt8)
      .Field("TOTAL", packet::kInt64)
      .Field("USO", packet::kUInt16)
      .Field("ATIVO", packet::kBoolean)
      .Field("TAXA", packet::kDouble)
      .Field("PRECO", packet::kBcd)
      .Field("DATA", packet::kDate)
      .Field("HORA", packet::kTime)
      .Field("MOMENTO", packet::kTimeStamp)
      .Field("FOTO", packet::kBlob)
      .Field("NOME", packet::kString2, 300);
  writer.Row({"BE050975610000012345", packet::LittleEndian(7, 4), packet::LittleEndian(2, 2),
              packet::LittleEndian(1, 1), packet::LittleEndian(123456789012, 8), packet::LittleEndian(9, 2),
              packet::LittleEndian(1, 2), packet::Double(12.5), packet::Bcd("-12.50"),
              packet::Date(2026, 12, 7), packet::Time(8, 0, 0, 508), packet::TimeStamp(2026, 12, 7, 8, 0, 0),
              std::string("\x89PNG", 4), "Loja Centro"});
  writer.Row({PacketValue::Null(), packet::LittleEndian(8, 4), PacketValue::Null(), PacketValue::Null(),
              PacketValue::Null(), PacketValue::Null(), packet::LittleEndian(0, 2), PacketValue::Null(),
              PacketValue::Null(), PacketValue::Null(), PacketValue::Null(), PacketValue::Null(),
              PacketValue::Null(), PacketValue::Null()});
  return writer.Bytes();
}

std::string WithChangeLog() {
  BinaryPacketWriter writer;
  writer.Field("NRSERIEECF", packet::kString1, 20).Field("LOJA", packet::kInt32);
  return writer.ChangeLog({3, 0, 2, 4, 0, 4, 5, 1, 8})
      .Row({"OLD", packet::LittleEndian(1, 4)}, 1)
      .Row({"B", packet::LittleEndian(2, 4)})
      .Row({"GONE", packet::LittleEndian(3, 4)}, 2)
      .Row({"NEW", PacketValue::Null()}, 4)
      .Row({"BE02", PacketValue::Unchanged()}, 8)
      .Bytes();
}

std::string DirTefBinary() {
  BinaryPacketWriter writer;
  writer.Field("DIRTEF", packet::kString1, 50);
  return writer.Row({"c:\\tef_disc\\"}).Bytes();
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: fuzz_make_seeds FOLDER\n";
    return 2;
  }
  const std::string folder = argv[1];
  Write(folder, "every_type.cds", EveryType());
  Write(folder, "change_log.cds", WithChangeLog());
  Write(folder, "dirtef_binary.cds", DirTefBinary());

  ClientDataSet dirtef({{"DIRTEF", 50}});
  dirtef.CreateDataSet();
  dirtef.SetField("DIRTEF", "c:\\tef_dial\\");
  Write(folder, "dirtef_package.xml", dirtef.PacketText());
  Write(
      folder, "parametros_host.xml",
      "\xEF\xBB\xBF<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
      "<FIELD attrname=\"NRSERIEECF\" fieldtype=\"string\" WIDTH=\"20\"/><FIELD attrname=\"LOJA\" "
      "fieldtype=\"i4\"/><FIELD attrname=\"TAXA\" fieldtype=\"r8\"/><FIELD attrname=\"DATA\" "
      "fieldtype=\"date\"/></FIELDS><PARAMS CHANGE_LOG=\"1 0 4 2 1 8\"/></METADATA><ROWDATA>"
      "<ROW RowState=\"4\" NRSERIEECF=\"BE0509\" LOJA=\"7\" TAXA=\"12.5\" DATA=\"20261207\"/>"
      "<ROW RowState=\"8\" NRSERIEECF=\"Cart&#245;es\"/></ROWDATA></DATAPACKET>");
  return 0;
}
