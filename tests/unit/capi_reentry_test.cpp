// A host that calls into the package from its own callbacks while a routine
// runs: a scan or a second sale from the approval's dialog, a scan from the
// message pump while the sale waits for its answer. The inner call is
// refused and does nothing; the payment is approved and confirmed as if it
// had never been made; the readers still answer from there.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "support/state.h"
#include "tef/network_choice.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using testing::Approves;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

class CReentryTest : public testing::CSaleWorld {
protected:
  // Once the sale has returned: its receipt printed, and the payment's only
  // settlement the CNF of the printing run.
  void PrintAndConfirm(ZulList receipts) {
    inner_ = nullptr;
    zulpos::PrinterConnection connection(printer_);
    ASSERT_EQ(::ImprCupons(receipts, 1, transaction_, 0, "", "", "ctx", "", "", "S", "F", "", "", 10),
              ZUL_TRUE)
        << LastError();
    EXPECT_THAT(Settlements(), ElementsAre("CNF 654321"));
  }

  // The operator's dialog: the approval's message (with receipt) runs the
  // host's inner call.
  static int ZUL_CALL Dialog(void* user, const char*, const char*, const char*, const char*, int, const char*,
                             const char*, int withReceipt, const void*) {
    auto& self = *static_cast<CReentryTest*>(user);
    if (withReceipt && self.inner_) self.inner_();
    return 1;
  }
  static int ZUL_CALL Pump(void* user, int) {
    auto& self = *static_cast<CReentryTest*>(user);
    if (self.inner_) self.inner_();
    return 1;
  }
  // What an inner call returned, with the last error the callback read.
  void Record(int result) {
    results_.push_back(result);
    codes_.push_back(zul_LastErrorCode());
    texts_.push_back(LastError());
  }
  // A reader from the callback: the root of the sale under way.
  void ReadRoot() {
    char root[ZUL_ROOT_CAPACITY] = "";
    Record(zul_GetStr(ZUL_VAR_DirTef, root, sizeof root));
    roots_.push_back(root);
  }

  std::function<void()> inner_;
  std::vector<int> results_, codes_;
  std::vector<std::string> texts_, roots_;
};

TEST_F(CReentryTest, AScanFromTheApprovalsDialogIsRefusedAndThePaymentIsConfirmedAsUsual) {
  dial_.QueueAnswers({Approves()});
  ASSERT_EQ(zul_SetDialog(Dialog, this), ZUL_TRUE);
  inner_ = [this] {
    Record(::CheckIntPosFiles("ctx", 1));
    ReadRoot();
  };
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE) << LastError();

  // The reader gives the root's length, as snprintf would.
  EXPECT_THAT(results_, ElementsAre(ZUL_ERROR, static_cast<int>(std::strlen(kRootTefDial))));
  EXPECT_THAT(codes_, ElementsAre(ZUL_E_REENTRANT, ZUL_OK));
  EXPECT_THAT(texts_[0], HasSubstr("CheckIntPosFiles: called while DoTEF runs"));
  EXPECT_THAT(roots_, ElementsAre(kRootTefDial));
  EXPECT_STREQ(zul_ErrorName(ZUL_E_REENTRANT), "ZUL_E_REENTRANT");
  // The sale's own result and last error are as without the inner call, and
  // the manager got no NCN for the payment.
  EXPECT_EQ(approved_, 1);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);
  EXPECT_EQ(LastError(), "");
  EXPECT_THAT(Settlements(), IsEmpty());

  PrintAndConfirm(receipts);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

TEST_F(CReentryTest, ASecondSaleFromTheApprovalsDialogSendsNothing) {
  dial_.QueueAnswers({Approves(), Approves()});
  ASSERT_EQ(zul_SetDialog(Dialog, this), ZUL_TRUE);
  ZulList inner_receipts = nullptr;
  inner_ = [&] {
    // The same variables as the sale under way: a refused call leaves them be.
    Record(Pay(5, 5, inner_receipts));
    // Settings and variables the sale works on are not the callback's to change.
    Record(zul_SetStr(ZUL_VAR_DirTef, "c:\\HiperTEF\\"));
    Record(zul_SetHostDirectory("elsewhere"));
  };
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE) << LastError();

  EXPECT_THAT(results_, Each(ZUL_ERROR));
  EXPECT_THAT(codes_, ElementsAre(ZUL_E_REENTRANT, ZUL_E_REENTRANT, ZUL_E_REENTRANT));
  EXPECT_THAT(texts_[0], HasSubstr("DoTEF: called while DoTEF runs"));
  EXPECT_EQ(inner_receipts, nullptr);
  const std::vector<std::string> operations = Operations(kRootTefDial);
  EXPECT_EQ(std::count(operations.begin(), operations.end(), "CRT"), 1);
  EXPECT_EQ(SaleRequest().Field("003-000 "), "1000");
  EXPECT_EQ(DirTef, kRootTefDial);
  EXPECT_EQ(zul_LastErrorCode(), ZUL_OK);

  PrintAndConfirm(receipts);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

TEST_F(CReentryTest, AScanFromTheMessagePumpWhileTheSaleWaitsIsRefusedEveryTime) {
  dial_.QueueAnswers({Approves()});
  ASSERT_EQ(zul_SetMessagePump(Pump, this), ZUL_TRUE);
  inner_ = [this] {
    Record(::CheckIntPosFiles("ctx", 1));
    Record(::CheckGPAtivo("ATV", "0000000001"));
  };
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(10, 10, receipts), ZUL_TRUE) << LastError();
  ASSERT_THAT(results_, Not(IsEmpty()));
  EXPECT_THAT(results_, Each(ZUL_ERROR));
  EXPECT_THAT(codes_, Each(ZUL_E_REENTRANT));
  EXPECT_THAT(Operations(kRootTefDial), ElementsAre("ATV", "CRT"));

  // Once the sale has returned, the same calls are the host's to make.
  PrintAndConfirm(receipts);
  EXPECT_EQ(::CheckIntPosFiles("ctx", 1), ZUL_TRUE);
  EXPECT_EQ(zul_ListFree(receipts), ZUL_TRUE);
}

} // namespace
} // namespace zul00500
