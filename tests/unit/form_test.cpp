#include <gtest/gtest.h>

#include "support/scripted_chooser.h"
#include "tef/form.h"

namespace zul00500 {
namespace {

struct ClickCase {
  const char* control;
  TModalResult result;
};

class FormClickTest : public ::testing::TestWithParam<ClickCase> {};

TEST_P(FormClickTest, ClickSetsTheBoundModalResult) {
  TfrmCartaoDebito form;
  form.Click(GetParam().control);
  EXPECT_EQ(form.ModalResult, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(EveryBoundControl, FormClickTest,
                         ::testing::Values(ClickCase{"btnTecBan", mrTecBan}, ClickCase{"imgTecBan", mrTecBan},
                                           ClickCase{"btnOutros", mrOutros}, ClickCase{"imgOutros", mrOutros},
                                           // The Hipercard logo picks the other networks.
                                           ClickCase{"imgHCard", mrOutros}, ClickCase{"btnHcard", mrHcard},
                                           ClickCase{"bbtEncerra", mrEncerra}, ClickCase{"Esc", mrEncerra},
                                           ClickCase{"edtCartaoDebito", mrNone},
                                           ClickCase{"Panel1", mrNone}));

TEST(Form, IsDesignedAsTheChoiceDialog) {
  TfrmCartaoDebito form;
  EXPECT_EQ(form.Caption, "Cart\xE3o de D\xE9"
                          "bito");
  EXPECT_EQ(form.ClientWidth, 315);
  EXPECT_EQ(form.ClientHeight, 350);
  // FormCreate clips the window to a rounded rectangle with 40 x 40 corners.
  EXPECT_EQ(form.Region.right, 315);
  EXPECT_EQ(form.Region.bottom, 350);
  EXPECT_EQ(form.Region.ellipse_width, 40);
  EXPECT_EQ(form.Region.ellipse_height, 40);
  ASSERT_EQ(form.cdsDirTef.FieldDefs().size(), 1u);
  EXPECT_EQ(form.cdsDirTef.FieldDefs()[0].name, "DIRTEF");
  EXPECT_EQ(form.cdsDirTef.FieldDefs()[0].size, 50);
}

#ifndef _WIN32
TEST(WindowChooser, WithoutWindowsOfItsOwnThePlatformClosesTheDialog) {
  TfrmCartaoDebito form;
  WindowChooser().Run(form);
  EXPECT_EQ(form.ModalResult, mrEncerra);
}
#endif

TEST(ScriptedChooser, ClicksInOrderThenCloses) {
  ScriptedChooser chooser({"btnHcard", "imgHCard"});
  TfrmCartaoDebito form;
  chooser.Run(form);
  EXPECT_EQ(form.ModalResult, mrHcard);
  form.ModalResult = mrNone;
  chooser.Run(form);
  EXPECT_EQ(form.ModalResult, mrOutros);
  form.ModalResult = mrNone;
  chooser.Run(form);
  EXPECT_EQ(form.ModalResult, mrEncerra);
}

} // namespace
} // namespace zul00500
