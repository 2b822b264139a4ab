#include <gtest/gtest.h>

#include "printing/printer.h"
#include "support/errors.h"

namespace zul00500 {
namespace {

TEST(PrinterProcedures, UnassignedProcedureIsAnErrorNamingIt) {
  Usa_CompNFis = nullptr;
  try {
    CallPrinter("Usa_CompNFis", Usa_CompNFis, "", "linha\n");
    FAIL() << "no error";
  } catch (const PrinterProcedureError& error) {
    EXPECT_EQ(error.object(), "Usa_CompNFis");
  }
}

TEST(PrinterProcedures, VariableIsReadAnewAtEachCall) {
  std::vector<std::string> texts;
  Usa_CompNFis = [&](const std::string&, const std::string& text) {
    texts.push_back("first:" + text);
    return true;
  };
  EXPECT_TRUE(CallPrinter("Usa_CompNFis", Usa_CompNFis, "", "a"));
  Usa_CompNFis = [&](const std::string&, const std::string& text) {
    texts.push_back("second:" + text);
    return false;
  };
  EXPECT_FALSE(CallPrinter("Usa_CompNFis", Usa_CompNFis, "", "b"));
  EXPECT_EQ(texts, (std::vector<std::string>{"first:a", "second:b"}));
  Usa_CompNFis = nullptr;
}

} // namespace
} // namespace zul00500
