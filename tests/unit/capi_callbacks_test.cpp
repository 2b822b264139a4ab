// The host's side through the C interface: the dialog, the network dialog,
// translation, message texts and the message pump as C callbacks with their
// user pointers, failures reported by a negative result, and the platform's
// defaults back when a callback is cleared.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/file_system.h"
#include "support/host_services.h"
#include "tef/network_choice.h"
#include "unit/capi_world.h"

namespace zul00500 {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// What the callbacks saw, and what they answer.
struct HostSide {
  std::vector<std::string> seen;
  int answer = 1;
  std::string translation_suffix;
  std::size_t long_text = 0;
};

int ZUL_CALL Dialog(void* user, const char* text, const char* s2, const char* s3, const char* yesNo, int kind,
                    const char* s6, const char* context, int withReceipt, const void* dataset) {
  auto& host = *static_cast<HostSide*>(user);
  host.seen.push_back(std::string(text) + "|" + s2 + "|" + s3 + "|" + yesNo + "|" + std::to_string(kind) +
                      "|" + s6 + "|" + context + "|" + std::to_string(withReceipt) + "|" +
                      (dataset ? "set" : "null"));
  return host.answer;
}

int ZUL_CALL Chooser(void* user, const char* caption) {
  auto& host = *static_cast<HostSide*>(user);
  host.seen.push_back(std::string("network ") + caption);
  return host.answer;
}

int ZUL_CALL Translate(void* user, const char* name, const char* text, char* buffer, int capacity) {
  auto& host = *static_cast<HostSide*>(user);
  host.seen.push_back(std::string("trad ") + name + " " + std::to_string(capacity));
  const std::string translated = std::string(text) + host.translation_suffix;
  if (static_cast<int>(translated.size()) < capacity)
    std::copy(translated.c_str(), translated.c_str() + translated.size() + 1, buffer);
  return static_cast<int>(translated.size());
}

int ZUL_CALL MessageText(void* user, const char* key, const char* own, char* buffer, int capacity) {
  auto& host = *static_cast<HostSide*>(user);
  host.seen.push_back(std::string("msg ") + key + " " + own);
  const std::string text = host.long_text ? std::string(host.long_text, 'x') : std::string("Escolha: ") + key;
  if (static_cast<int>(text.size()) < capacity)
    std::copy(text.c_str(), text.c_str() + text.size() + 1, buffer);
  return static_cast<int>(text.size());
}

int ZUL_CALL Pump(void* user, int wait) {
  auto& host = *static_cast<HostSide*>(user);
  host.seen.push_back(wait ? "pump wait" : "pump");
  return host.answer;
}

class CCallbackTest : public testing::CInterfaceWorld {
protected:
  CCallbackTest() { platform::fs().create_directories(kRootTefDisc); }

  int Choose(const char* kind, char (&root)[ZUL_ROOT_CAPACITY]) {
    return ::CheckDirTef(root, sizeof root, kind, 0);
  }

  HostSide host_side_;
};

TEST_F(CCallbackTest, TheNetworkDialogsAnswerChoosesTheRootAndAnyOtherNumberClosesIt) {
  ASSERT_EQ(zul_SetNetworkChooser(Chooser, &host_side_), ZUL_TRUE);
  char root[ZUL_ROOT_CAPACITY] = "";
  const struct {
    int answer;
    int result;
    const char* root;
  } cases[] = {{1, 1, "c:\\tef_disc\\"},
               {2, 1, "c:\\tef_dial\\"},
               {3, 1, "c:\\HiperTEF\\"},
               {9, 0, "c:\\tef_disc\\"},
               {42, 0, "c:\\tef_disc\\"}};
  for (const auto& c : cases) {
    host_side_.answer = c.answer;
    EXPECT_EQ(Choose("D", root), c.result) << c.answer;
    EXPECT_STREQ(root, c.root) << c.answer;
  }
  EXPECT_EQ(host_side_.seen.front(), "network Cart\xE3o de D\xE9"
                                     "bito");
  // A failing dialog ends the routine with -1.
  host_side_.answer = -3;
  EXPECT_EQ(Choose("D", root), ZUL_ERROR);
  EXPECT_THAT(LastError(),
              HasSubstr("CheckDirTef: call the host's \"network chooser\": it reported a failure (-3)"));
}

TEST_F(CCallbackTest, TranslationAndMessageTextsShapeTheNetworkDialog) {
  zul_SetNetworkChooser(Chooser, &host_side_);
  zul_SetTranslate(Translate, &host_side_);
  zul_SetMessageText(MessageText, &host_side_);
  host_side_.translation_suffix = " (pt)";
  host_side_.answer = 2;
  char root[ZUL_ROOT_CAPACITY] = "";
  ASSERT_EQ(Choose("D", root), ZUL_TRUE);
  // Each visible text is offered; the caption then comes from the table.
  EXPECT_THAT(host_side_.seen, ::testing::Contains("trad frmCartaoDebito 256"));
  EXPECT_THAT(host_side_.seen, ::testing::Contains("trad bbtEncerra 256"));
  EXPECT_THAT(host_side_.seen, ::testing::Contains(HasSubstr("msg CARTAO_DEB ")));
  EXPECT_EQ(host_side_.seen.back(), "network Escolha: CARTAO_DEB");

  // A text longer than the first buffer is asked for again with one that fits.
  host_side_.seen.clear();
  host_side_.long_text = 1000;
  ASSERT_EQ(Choose("D", root), ZUL_TRUE);
  EXPECT_EQ(host_side_.seen.back(), "network " + std::string(1000, 'x'));
}

TEST_F(CCallbackTest, ClearingTheCallbacksPutsThePlatformsDefaultsBack) {
  zul_SetDialog(Dialog, &host_side_);
  EXPECT_NE(&host(), &DefaultHostServices());
  zul_SetTranslate(Translate, &host_side_);
  zul_SetDialog(nullptr, nullptr);
  // Translation alone still needs the callbacks' services.
  EXPECT_NE(&host(), &DefaultHostServices());
  zul_SetTranslate(nullptr, nullptr);
  EXPECT_EQ(&host(), &DefaultHostServices());
  zul_SetNetworkChooser(Chooser, &host_side_);
  zul_SetNetworkChooser(nullptr, nullptr);
#ifndef _WIN32
  // Without a terminal the default network dialog closes. (On Windows it is
  // a real window, which the window tests drive.)
  char root[ZUL_ROOT_CAPACITY] = "";
  EXPECT_EQ(Choose("D", root), ZUL_FALSE);
  EXPECT_TRUE(host_side_.seen.empty());
#endif
}

class CDialogTest : public testing::CInterfaceWorld {
protected:
  CDialogTest() { StoreDirTef(kRootTefDial); }

  // A whole payment of 5.00.
  static int Pay(ZulList& receipts) {
    int approved = 0, transaction = 0;
    double extra = 0;
    char document[8] = "", f748[ZUL_F748_CAPACITY] = "", f013[8] = "", f027[ZUL_F027_CAPACITY] = "";
    return ::DoTEF("ctx", 5, 5, "C", &receipts, &approved, &transaction, &extra, document, sizeof document,
                   f748, sizeof f748, f013, sizeof f013, f027, sizeof f027);
  }

  HostSide host_side_;
};

TEST_F(CDialogTest, TheDialogGetsItsNineArgumentsAndItsFailureEndsTheRoutine) {
  dial_.Script({testing::StatusReply::Silent});
  zul_SetDialog(Dialog, &host_side_);
  char sequence[ZUL_SEQUENCE_CAPACITY];
  ::GetSequence(sequence, sizeof sequence);
  EXPECT_EQ(::CheckGPAtivo("ATV", sequence), ZUL_FALSE);
  EXPECT_THAT(host_side_.seen, ElementsAre("O Gerenciador Padr\xE3o n\xE3o est\xE1 ativo!||N|N|3|||0|null"));

  // The manager's message about an approval, then a failing dialog: the sale
  // ends with -1 after its closing log line.
  host_side_.seen.clear();
  dial_.QueueAnswers({testing::Approves()});
  host_side_.answer = -1;
  ZulList receipts = nullptr;
  EXPECT_EQ(Pay(receipts), ZUL_ERROR);
  EXPECT_THAT(host_side_.seen, ElementsAre("TRANSACAO APROVADA||N|N|0||ctx|1|null"));
  EXPECT_THAT(LastError(), HasSubstr("DoTEF: call the host's \"Mensagem\": it reported a failure (-1)"));
  EXPECT_EQ(LogMessages().back(), "Fim DoTEF ----");
  zul_ListFree(receipts);
}

TEST_F(CDialogTest, TheMessagePumpRunsInTheWaitsAndItsFailureEndsThem) {
  zul_SetMessagePump(Pump, &host_side_);
  dial_.QueueAnswers({testing::Approves()});
  ZulList receipts = nullptr;
  ASSERT_EQ(Pay(receipts), ZUL_TRUE);
  // The activity and status waits handle what is queued; the answer wait
  // waits for a message.
  EXPECT_THAT(host_side_.seen, ::testing::Contains("pump"));
  EXPECT_THAT(host_side_.seen, ::testing::Contains("pump wait"));
  zul_ListFree(receipts);

  // In the activity check a failing pump is a failure of the wait, which
  // that routine's own handler turns into "no answer".
  host_side_.answer = -2;
  char sequence[ZUL_SEQUENCE_CAPACITY];
  ::GetSequence(sequence, sizeof sequence);
  EXPECT_EQ(::CheckGPAtivo("ATV", sequence), ZUL_FALSE);
  EXPECT_THAT(LogMessages(), ::testing::Contains("Zul00500 - N\xE3o houve resposta do gerenciador"));
}

} // namespace
} // namespace zul00500
