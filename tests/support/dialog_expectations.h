// Checks of the dialogs the package showed, argument by argument.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "support/scripted_host.h"

namespace zul00500::testing {

// Every argument of a recorded Mensagem call but the answer. The package
// always passes "" as the second and sixth, "N" as the third.
inline void ExpectDialog(const MensagemCall& call, const std::string& text, const std::string& yesNo, int kind,
                         const std::string& context, int withReceipt) {
  EXPECT_EQ(call.text, text);
  EXPECT_EQ(call.s2, "");
  EXPECT_EQ(call.s3, "N");
  EXPECT_EQ(call.yesNo, yesNo);
  EXPECT_EQ(call.kind, kind);
  EXPECT_EQ(call.s6, "");
  EXPECT_EQ(call.context, context);
  EXPECT_EQ(call.withReceipt, withReceipt);
}

} // namespace zul00500::testing
