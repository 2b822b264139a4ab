// The host's parameter file in the binary form, through a whole printed sale
// against tefsim, and zulpos dataset on the files the package reads.
#include <gtest/gtest.h>

#include "integration/tefsim_world.h"
#include "platform/file_system.h"
#include "support/binary_packet.h"

namespace zul00500 {
namespace {

namespace packet = testing::packet;

class BinaryParameterFile : public testing::TefsimWorld {
protected:
  void SetUp() override {
    platform::native_fs().write_file(
        parameters_, testing::BinaryPacketWriter()
                         .Field("CODLOJA", packet::kInt32)
                         .Field("NRSERIEECF", packet::kString1, 20)
                         .Field("ABERTURA", packet::kDate)
                         .Row({packet::LittleEndian(12, 4), "BE0123456789", testing::PacketValue::Null()})
                         .Bytes());
  }

  const std::string parameters_ = world_.host_dir() + "/PARAMETROSQTR.CDS";
};

TEST_F(BinaryParameterFile, TheSerialNumberReachesThePrinterRecord) {
  StartTefsim("dial");
  const std::string printer_journal = world_.root() + "/printer.txt";
  const auto run = Zulpos({"sale", "--pay", "25", "--print", "--printer-journal", printer_journal});
  ASSERT_TRUE(run.status.has_value());
  EXPECT_EQ(*run.status, 0);
  EXPECT_TRUE(run.Said("1.result=true"));
  EXPECT_TRUE(run.Said("print.result=true"));
  EXPECT_TRUE(AnyLineHas(Lines(printer_journal), "GravaDocumentosNaoFiscais\tBE0123456789\tzulpos\tCC\t"));
  EXPECT_TRUE(AnyLineHas(StopTefsim(), "CNF", "confirmed"));
}

TEST_F(BinaryParameterFile, ZulposDatasetShowsBothForms) {
  const auto binary = Zulpos({"dataset", parameters_});
  ASSERT_TRUE(binary.status.has_value());
  EXPECT_EQ(*binary.status, 0);
  EXPECT_EQ(binary.output,
            (std::vector<std::string>{"format=binary", "fields=CODLOJA,NRSERIEECF,ABERTURA", "records=1",
                                      "1.CODLOJA=12", "1.NRSERIEECF=BE0123456789", "1.ABERTURA="}));

  ASSERT_TRUE(Zulpos({"network", "--kind", "C"}).Said("DirTef=c:\\tef_dial\\"));
  const auto xml = Zulpos({"dataset", world_.host_dir() + "/Dados/Cadastros/DIRTEF.cds"});
  ASSERT_TRUE(xml.status.has_value());
  EXPECT_EQ(*xml.status, 0);
  EXPECT_EQ(xml.output, (std::vector<std::string>{"format=xml", "fields=DIRTEF", "records=1",
                                                  "1.DIRTEF=c:\\tef_dial\\"}));

  // A damaged file: the package's error naming it, exit status 3.
  const std::string bytes = platform::native_fs().read_file(parameters_);
  platform::native_fs().write_file(parameters_, bytes.substr(0, bytes.size() - 2));
  const auto damaged = Zulpos({"dataset", parameters_});
  ASSERT_TRUE(damaged.status.has_value());
  EXPECT_EQ(*damaged.status, 3);
  EXPECT_TRUE(AnyLineHas(damaged.output,
                         "zulpos: zul_DescribeDataSet: load the dataset \"" + parameters_ + "\"",
                         "past the end"));
}

} // namespace
} // namespace zul00500
