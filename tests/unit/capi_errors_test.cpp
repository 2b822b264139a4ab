// What a host learns when something goes wrong, and what it cannot get
// wrong: the error codes and notes of the last error, list handles that stay
// refused once freed, printer procedures set through the setter of their
// type, and the version it checks at load time.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "Pkg_Zul00500.h"
#include "capi/boundary.h"
#include "platform/file_system.h"
#include "printing/printer.h"
#include "support/capi_last_error.h"
#include "support/printer_stubs.h"
#include "support/problems.h"
#include "support/state.h"
#include "support/temp_world.h"

namespace zul00500 {
namespace {

using ::testing::HasSubstr;

using testing::CapiLastError;

TEST(CInterfaceErrorCodes, EachKindOfFailureHasItsCodeAndTheNextSuccessClearsIt) {
  testing::TempWorld world;
  ZulList list = zul_ListNew();

  EXPECT_EQ(zul_ListLoadFromFile(list, "c:\\missing\\intpos.001"), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_FILE);
  // Reading the error changes nothing.
  EXPECT_THAT(CapiLastError(), HasSubstr("zul_ListLoadFromFile"));
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_FILE);

  platform::fs().create_directories("c:\\");
  platform::fs().write_file("c:\\damaged.cds", "not a data packet");
  EXPECT_EQ(zul_DescribeDataSet("c:\\damaged.cds", list), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_DATASET);

  EXPECT_EQ(zul_SetInt("doValorTef", 1), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT);

  // A helper that succeeds clears the last error, as a routine does.
  EXPECT_EQ(zul_ListCount(list), 0);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
  EXPECT_EQ(CapiLastError(), "");

  testing::ClearPrinterProcedures();
  ZulList answer = zul_ListNew();
  zul_ListSetText(answer, "000-000 = CRT\n001-000 = 1\n028-000 = 1\n029-001 = \"x\"\n");
  EXPECT_EQ(::ImprCupomRG_FrameWork("", "", "ctx", answer, 1, 1, 29, 0, 1), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_NO_PRINTER_PROC);
  zul_ListSetText(answer, "000-000 = CRT\n001-000 = 1\n028-000 = 2x\n");
  EXPECT_EQ(::ImprCupomRG_FrameWork("", "", "ctx", answer, 1, 1, 29, 0, 1), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_NUMBER);
  zul_ListFree(answer);
  zul_ListFree(list);
}

TEST(CInterfaceErrorCodes, ACutValueIsANoteThatLeavesTheResultAndTheNextRoutineClears) {
  ASSERT_EQ(zul_SetStr("stNrCupom", "0012345"), ZUL_TRUE);
  char small[4];
  EXPECT_EQ(zul_GetStr("stNrCupom", small, sizeof small), 7);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_TRUNCATED);
  EXPECT_THAT(CapiLastError(),
              HasSubstr("zul_GetStr: the text was cut to 3 of its 7 bytes (it needs a capacity of 8)"));
  // Only measuring is no cut.
  EXPECT_EQ(zul_GetStr("stNrCupom", nullptr, 0), 7);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);

  char sequence[4];
  EXPECT_EQ(::GetSequence(sequence, sizeof sequence), ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_TRUNCATED);
  EXPECT_EQ(zul_VersionNumber(), ZUL_VERSION_NUMBER);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
  zul_SetStr("stNrCupom", "");
}

TEST(CInterfaceErrorCodes, AProblemMetAfterASettlementIsANoteBesideTheResult) {
  EXPECT_EQ(capi::Guarded("ImprCupons",
                          [] {
                            ReportProblem("append \"LogTef1226.txt\": disk full");
                            return ZUL_TRUE;
                          }),
            ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_NOTE_PROBLEM);
  EXPECT_EQ(CapiLastError(), "ImprCupons: append \"LogTef1226.txt\": disk full");
  EXPECT_EQ(zul_VersionNumber(), ZUL_VERSION_NUMBER);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
}

TEST(CInterfaceErrorCodes, EveryCodeHasItsName) {
  EXPECT_STREQ(zul_ErrorName(ZUL_NOTE_TILL_BUSY), "ZUL_NOTE_TILL_BUSY");
  EXPECT_STREQ(zul_ErrorName(ZUL_NOTE_PROBLEM), "ZUL_NOTE_PROBLEM");
  EXPECT_STREQ(zul_ErrorName(ZUL_OK), "ZUL_OK");
  EXPECT_STREQ(zul_ErrorName(ZUL_E_FILE_BUSY), "ZUL_E_FILE_BUSY");
  EXPECT_STREQ(zul_ErrorName(ZUL_E_NO_PRINTER_PROC), "ZUL_E_NO_PRINTER_PROC");
  EXPECT_STREQ(zul_ErrorName(ZUL_NOTE_TRUNCATED), "ZUL_NOTE_TRUNCATED");
  EXPECT_STREQ(zul_ErrorName(42), "ZUL_E_UNKNOWN");
  std::set<std::string> outcomes;
  for (int code = ZUL_OUTCOME_NONE; code <= ZUL_OUTCOME_NOT_PRINTED; ++code)
    outcomes.insert(zul_ErrorName(code));
  EXPECT_EQ(outcomes.size(), 15u);
  EXPECT_FALSE(outcomes.contains("ZUL_E_UNKNOWN"));
  EXPECT_STREQ(zul_ErrorName(ZUL_OUTCOME_APPROVED_NO_RECEIPT), "ZUL_OUTCOME_APPROVED_NO_RECEIPT");
  std::set<std::string> names;
  for (int code = ZUL_OK; code <= ZUL_E_REENTRANT; ++code) names.insert(zul_ErrorName(code));
  EXPECT_EQ(names.size(), 11u);
  EXPECT_EQ(names.count("ZUL_E_UNKNOWN"), 0u);
}

TEST(CInterfaceVersion, TheLibraryIsTheVersionItsHeaderSays) {
  char text[128];
  const std::string expected = std::to_string(ZUL_VERSION_MAJOR) + "." + std::to_string(ZUL_VERSION_MINOR) +
                               "." + std::to_string(ZUL_VERSION_PATCH);
  const int length = zul_Version(text, sizeof text);
  ASSERT_LT(length, static_cast<int>(sizeof text));
  EXPECT_EQ(length, static_cast<int>(std::strlen(text)));
  // The numbers, then the source and whether this is a release.
  const std::string whole = text;
  EXPECT_EQ(whole.substr(0, whole.find(' ')), expected);
  EXPECT_TRUE(whole.ends_with(", release)") || whole.ends_with(", development build)")) << whole;
  EXPECT_NE(whole.find(" ("), std::string::npos) << whole;
  // CMake read the same number from the header for the tools and the packages.
  EXPECT_EQ(expected, ZUL_VERSION);
  EXPECT_EQ(zul_VersionNumber(), ZUL_VERSION_MAJOR * 10000 + ZUL_VERSION_MINOR * 100 + ZUL_VERSION_PATCH);
}

TEST(CInterfaceListHandles, AFreedHandleStaysRefusedAfterItsSlotServesNewLists) {
  ZulList first = zul_ListNew();
  zul_ListAdd(first, "first");
  ASSERT_EQ(zul_ListFree(first), ZUL_TRUE);
  // Many lists later, some of them in the first one's slot, the old handle
  // names none of them.
  std::vector<ZulList> later;
  for (int i = 0; i < 1000; ++i) {
    ZulList list = zul_ListNew();
    ASSERT_NE(list, first);
    zul_ListAdd(list, "later");
    if (i % 2 == 0) zul_ListFree(list);
    else later.push_back(list);
  }
  EXPECT_EQ(zul_ListCount(first), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT);
  EXPECT_THAT(CapiLastError(), HasSubstr("a list already freed"));
  EXPECT_EQ(zul_ListAdd(first, "x"), ZUL_ERROR);
  EXPECT_EQ(zul_ListFree(first), ZUL_ERROR);
  for (ZulList list : later) {
    EXPECT_EQ(zul_ListCount(list), 1);
    EXPECT_EQ(zul_ListFree(list), ZUL_TRUE);
  }
}

TEST(CInterfaceListHandles, NullIsFreedAsFreeDoesAndAStrangeValueIsRefused) {
  EXPECT_EQ(zul_SetInt("stNrCupom", 0), ZUL_ERROR);
  EXPECT_EQ(zul_ListFree(nullptr), ZUL_TRUE);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
  int not_a_list = 0;
  EXPECT_EQ(zul_ListFree(reinterpret_cast<ZulList>(&not_a_list)), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("not a list of this package"));
  EXPECT_EQ(zul_ListCount(reinterpret_cast<ZulList>(std::uintptr_t{7})), ZUL_ERROR);
  EXPECT_EQ(zul_ListCount(nullptr), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("a null list"));
}

int ZUL_CALL two_texts(void* user, const char*, const char* text) {
  *static_cast<std::string*>(user) += text;
  return ZUL_TRUE;
}

TEST(CInterfaceTypedPrinterProcedures, EachSetterTakesOnlyTheProceduresOfItsType) {
  testing::ClearPrinterProcedures();
  std::string printed;
  EXPECT_EQ(zul_SetPrinterProc2("usa_compnfis", two_texts, &printed), ZUL_TRUE);
  ASSERT_TRUE(Usa_CompNFis);
  EXPECT_TRUE(Usa_CompNFis("", "line\n"));
  EXPECT_EQ(printed, "line\n");

  // A procedure of two texts given to the setter of four: refused before it
  // could ever be called with the wrong number of arguments.
  EXPECT_EQ(zul_SetPrinterProc4("Usa_CompNFis", nullptr, nullptr), ZUL_ERROR);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_E_ARGUMENT);
  EXPECT_THAT(CapiLastError(), HasSubstr("\"Usa_CompNFis\" takes 2 texts: set it with zul_SetPrinterProc2"));
  EXPECT_TRUE(Usa_CompNFis); // still the host's
  EXPECT_EQ(zul_SetPrinterProc1("Imprime", nullptr, nullptr), ZUL_ERROR);
  EXPECT_THAT(CapiLastError(), HasSubstr("\"Imprime\" is not a fiscal-printer procedure"));

  EXPECT_EQ(zul_SetPrinterProc2("Usa_CompNFis", nullptr, nullptr), ZUL_TRUE);
  EXPECT_FALSE(Usa_CompNFis);

  // The old setter still serves the hosts written for it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  EXPECT_EQ(zul_SetPrinterProc("Usa_CompNFis", reinterpret_cast<void*>(&two_texts), &printed), ZUL_TRUE);
  EXPECT_EQ(zul_SetPrinterProc("Imprime", nullptr, nullptr), ZUL_ERROR);
#pragma GCC diagnostic pop
  EXPECT_TRUE(Usa_CompNFis("", "again"));
  EXPECT_EQ(printed, "line\nagain");
  testing::ClearPrinterProcedures();
}

} // namespace
} // namespace zul00500
