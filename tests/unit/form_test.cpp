#include <gtest/gtest.h>

#include "zul00500/form.h"

#include <stdexcept>

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
                                           ClickCase{"edtCartaoDebito", mrNone}, ClickCase{"Panel1", mrNone}));

TEST(Form, IsDesignedAsTheChoiceDialog) {
  TfrmCartaoDebito form;
  EXPECT_EQ(form.Caption, "Cart\xE3o de D\xE9" "bito");
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

const TControl& control_named(const TfrmCartaoDebito& form, const std::string& name) {
  for (const TControl& control : form.Controls)
    if (control.Name == name) return control;
  throw std::out_of_range(name);
}

TEST(Form, PanelsButtonsLogosAndPromptLookAsDesigned) {
  const TfrmCartaoDebito form;
  EXPECT_EQ(control_named(form, "panCartaoDebito").Color, clSilver);
  EXPECT_EQ(control_named(form, "Panel1").BevelOuter, TBevelCut::bvNone);
  for (const char* network : {"TecBan", "Outros", "Hcard"}) {
    const TControl& outer = control_named(form, std::string("pan") + network + "1");
    EXPECT_EQ(outer.BevelOuter, TBevelCut::bvLowered) << network;
    EXPECT_EQ(outer.BevelWidth, 2) << network;
    EXPECT_EQ(outer.Width, 239) << network;
    const TControl& inner = control_named(form, std::string("pan") + network + "2");
    EXPECT_EQ(inner.Parent, outer.Name);
    EXPECT_EQ(inner.Color, clOlive) << network;
    EXPECT_EQ(inner.BevelWidth, 5) << network;
  }
  for (const char* button : {"btnTecBan", "btnOutros", "btnHcard", "bbtEncerra"}) {
    const TFont& font = control_named(form, button).Font;
    EXPECT_EQ(font.Name, "Arial") << button;
    EXPECT_EQ(font.Height, -19) << button;
    EXPECT_TRUE(font.Bold && font.Italic) << button;
  }
  EXPECT_EQ(control_named(form, "btnHcard").Caption, "&3");
  const TControl& closing = control_named(form, "bbtEncerra");
  EXPECT_EQ(closing.Kind, TControlKind::BitBtn);
  EXPECT_EQ(closing.Spacing, 20);
  EXPECT_EQ(closing.Caption, "&9 - Encerra");
  for (const char* logo : {"imgTecBan", "imgOutros", "imgHCard"}) {
    EXPECT_EQ(control_named(form, logo).Kind, TControlKind::Image) << logo;
    EXPECT_EQ(control_named(form, logo).Width, 180) << logo;
  }
  const TControl& prompt = control_named(form, "edtCartaoDebito");
  EXPECT_EQ(prompt.Kind, TControlKind::Edit);
  EXPECT_EQ(prompt.Font.Color, clRed);
  EXPECT_TRUE(prompt.Font.Bold);
  EXPECT_EQ(prompt.Font.Height, -13);
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
