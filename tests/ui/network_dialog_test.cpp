// The network dialog as a real window on a screen: every key and click
// decides as the form's handlers say, and the window is laid out, clipped
// and titled as designed.
#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/window_form.h"
#include "support/temp_world.h"
#include "tef/form.h"
#include "tef/network_choice.h"
#include "ui/window_driver.h"

namespace zul00500::testing {
namespace {

const wchar_t* const kFormClass = L"Zul00500Form";

class NetworkDialogTest : public ::testing::Test {
protected:
  // With the TecBan root present the package asks the operator.
  NetworkDialogTest() {
    SetNetworkChooser(nullptr);
    platform::fs().create_directories(kRootTefDisc);
  }

  // Where a control of the form lies in the window: its offset plus its
  // parents'.
  static RECT ControlRect(const std::string& name) {
    const TfrmCartaoDebito form;
    RECT rect{};
    for (std::string wanted = name; !wanted.empty();) {
      const TControl* found = nullptr;
      for (const TControl& control : form.Controls)
        if (control.Name == wanted) found = &control;
      if (!found) break;
      if (wanted == name) rect = {0, 0, found->Width, found->Height};
      ::OffsetRect(&rect, found->Left, found->Top);
      wanted = found->Parent;
    }
    return rect;
  }

  static POINT CentreOnScreen(HWND window, const std::string& control) {
    RECT place;
    ::GetWindowRect(window, &place);
    const RECT rect = ControlRect(control);
    return {place.left + (rect.left + rect.right) / 2, place.top + (rect.top + rect.bottom) / 2};
  }

  // Shows the dialog through the package for `kind`; the operator acts on it.
  std::string Choose(const std::string& kind, const std::function<void(HWND)>& act, const std::string& what) {
    Operator operator_(kFormClass, act);
    const std::string code = TipoRede(kind);
    operator_.Join();
    EXPECT_TRUE(operator_.Found()) << what << ": no dialog showed";
    EXPECT_TRUE(operator_.ClosedByItself()) << what << ": the dialog stayed open";
    return code;
  }

  TempWorld world_;
};

TEST_F(NetworkDialogTest, EachKeyChoosesAsTheFormsHandlersSay) {
  struct Key {
    const char* what;
    WORD key;
    bool alt;
    const char* code;
  };
  for (const Key& k :
       {Key{"1", '1', false, "1"}, Key{"2", '2', false, "2"}, Key{"3", '3', false, "3"},
        Key{"9", '9', false, "9"}, Key{"Alt+1", '1', true, "1"}, Key{"Alt+2", '2', true, "2"},
        Key{"Alt+3", '3', true, "3"}, Key{"Alt+9", '9', true, "9"}, Key{"Esc", VK_ESCAPE, false, "9"},
        Key{"Enter on the first button", VK_RETURN, false, "1"}})
    EXPECT_EQ(Choose(
                  "D", [&](HWND) { TypeKey(k.key, k.alt); }, k.what),
              k.code)
        << k.what;
}

TEST_F(NetworkDialogTest, TabMovesToTheNextButtonAndEnterPressesIt) {
  const auto tab_tab_enter = [](HWND) {
    TypeKey(VK_TAB);
    TypeKey(VK_TAB);
    TypeKey(VK_RETURN);
  };
  EXPECT_EQ(Choose("D", tab_tab_enter, "Tab, Tab, Enter"), "3");
  // Keys that choose nothing leave the dialog open for the next one.
  EXPECT_EQ(Choose(
                "D",
                [](HWND) {
                  TypeKey('5');
                  TypeKey('A');
                  TypeKey('2');
                },
                "5, A, then 2"),
            "2");
}

TEST_F(NetworkDialogTest, ClicksOnButtonsAndLogosChooseAsBound) {
  struct Click {
    const char* control;
    const char* code;
  };
  // The Hipercard logo is bound to the other networks, as designed.
  for (const Click& c :
       {Click{"btnTecBan", "1"}, Click{"imgTecBan", "1"}, Click{"btnOutros", "2"}, Click{"imgOutros", "2"},
        Click{"btnHcard", "3"}, Click{"imgHCard", "2"}, Click{"bbtEncerra", "9"}})
    EXPECT_EQ(Choose(
                  "D", [&](HWND window) { ClickAt(CentreOnScreen(window, c.control)); }, c.control),
              c.code)
        << c.control;
}

TEST_F(NetworkDialogTest, ClicksOnPanelsAndThePromptChooseNothing) {
  const auto click_around_then_escape = [&](HWND window) {
    ClickAt(CentreOnScreen(window, "edtCartaoDebito"));
    POINT olive = CentreOnScreen(window, "btnTecBan");
    olive.x += 20; // between the button and the logo
    ClickAt(olive);
    TypeKey(VK_ESCAPE);
  };
  EXPECT_EQ(Choose("D", click_around_then_escape, "prompt, panel, Esc"), "9");
}

TEST_F(NetworkDialogTest, TitleComesFromTheMessageTableByKind) {
  struct Title {
    const char* kind;
    const char* title;
  };
  for (const Title& t : {Title{"D", "Cart\343o de D\351bito"}, Title{"Q", "Consulta de Cheque"},
                         Title{"A", "Fun\347\365es Administrativas"}, Title{"V", "Cart\343o de D\351bito"}}) {
    std::string title;
    Choose(
        t.kind,
        [&](HWND window) {
          title = TitleOf(window);
          TypeKey(VK_ESCAPE);
        },
        t.kind);
    EXPECT_EQ(title, t.title) << t.kind;
  }
}

// Also leaves the picture of the dialog, network-dialog.bmp, in the working
// directory; scripts/wine-test.sh turns it into network-dialog.png.
TEST_F(NetworkDialogTest, IsARoundedBorderlessTopmostWindowDrawnAsDesigned) {
  Picture picture;
  RECT place{};
  LONG_PTR style = 0, extended = 0;
  bool corner_clipped = false, centre_inside = false;
  Choose(
      "D",
      [&](HWND window) {
        ::GetWindowRect(window, &place);
        style = ::GetWindowLongPtrW(window, GWL_STYLE);
        extended = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        if (::GetWindowRgn(window, region) != ERROR) {
          corner_clipped = !::PtInRegion(region, 1, 1) && !::PtInRegion(region, 313, 348);
          centre_inside = ::PtInRegion(region, 157, 175);
        }
        ::DeleteObject(region);
        picture = Capture(window);
        TypeKey(VK_ESCAPE);
      },
      "picture");

  EXPECT_EQ(place.right - place.left, 315);
  EXPECT_EQ(place.bottom - place.top, 350);
  EXPECT_EQ(place.left, (::GetSystemMetrics(SM_CXSCREEN) - 315) / 2) << "centred";
  EXPECT_FALSE(style & (WS_CAPTION | WS_THICKFRAME)) << "no border";
  EXPECT_TRUE(extended & WS_EX_TOPMOST);
  EXPECT_TRUE(corner_clipped) << "40 x 40 rounded corners";
  EXPECT_TRUE(centre_inside);

  ASSERT_EQ(picture.width, 315);
  ASSERT_EQ(picture.height, 350);
  EXPECT_TRUE(SaveBmp(picture, "network-dialog.bmp"));
  const RECT button = ControlRect("btnTecBan"), logo = ControlRect("imgTecBan");
  const int between = (button.right + logo.left) / 2, middle = (button.top + button.bottom) / 2;
  EXPECT_EQ(picture.At(between, middle), clOlive) << "the inner panel between button and logo";
  EXPECT_EQ(picture.At(20, 200), clSilver) << "the background panel";
  EXPECT_EQ(picture.At(logo.left + 10, logo.bottom - 3), 0xF2C200u) << "the band of the TecBan logo";
  const RECT hcard = ControlRect("imgHCard");
  EXPECT_EQ(picture.At(hcard.left + 10, hcard.top + 10), 0xB3121Bu) << "the Hipercard logo";
}

} // namespace
} // namespace zul00500::testing
