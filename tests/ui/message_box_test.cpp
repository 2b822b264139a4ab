// The operator's dialog on Windows when the host brings none: a message box
// shaped by the package's arguments.
#include <gtest/gtest.h>

#include "support/host_services.h"
#include "ui/window_driver.h"

namespace zul00500::testing {
namespace {

const wchar_t* const kDialogClass = L"#32770";
// The icon of a message box, as both Windows and wine number it.
constexpr int kIconControl = 0x0440;

struct Shown {
  std::string title;
  bool yes = false, no = false, ok = false;
  HICON icon = nullptr;
};

// Shows Mensagem with the default services while the operator reads the box
// and presses `button`.
bool Show(const std::string& text, const std::string& yesNo, int kind, const std::string& context, int button,
          Shown& shown) {
  Operator operator_(kDialogClass, [&](HWND box) {
    shown.title = TitleOf(box);
    shown.yes = ::GetDlgItem(box, IDYES) != nullptr;
    shown.no = ::GetDlgItem(box, IDNO) != nullptr;
    shown.ok = ::GetDlgItem(box, IDOK) != nullptr;
    shown.icon = reinterpret_cast<HICON>(::SendDlgItemMessageW(box, kIconControl, STM_GETICON, 0, 0));
    ::PostMessageW(box, WM_COMMAND, button, 0);
  });
  HostServices services;
  const bool answer = services.Mensagem(text, "", "N", yesNo, kind, "", context, 0, nullptr);
  operator_.Join();
  EXPECT_TRUE(operator_.Found()) << "no message box showed";
  EXPECT_TRUE(operator_.ClosedByItself());
  return answer;
}

TEST(DefaultMensagemTest, AQuestionHasYesAndNoAndYesGivesTrue) {
  Shown shown;
  EXPECT_TRUE(
      Show("Impressora n\343o responde. Imprimir novamente?", "S", tmAviso, "Caixa 01", IDYES, shown));
  EXPECT_EQ(shown.title, "Caixa 01") << "the context is the title";
  EXPECT_TRUE(shown.yes);
  EXPECT_TRUE(shown.no);
  EXPECT_FALSE(shown.ok);
  EXPECT_EQ(shown.icon, ::LoadIconA(nullptr, IDI_WARNING)) << "kind 3 warns";

  EXPECT_FALSE(Show("Imprimir novamente?", "S", tmAviso, "Caixa 01", IDNO, shown));
}

TEST(DefaultMensagemTest, AMessageHasOneOkAndGivesFalse) {
  Shown shown;
  EXPECT_FALSE(Show("TRANSACAO APROVADA", "N", tmInformacao, "Venda 12", IDOK, shown));
  EXPECT_EQ(shown.title, "Venda 12");
  EXPECT_TRUE(shown.ok);
  EXPECT_FALSE(shown.yes);
  EXPECT_FALSE(shown.no);
  EXPECT_EQ(shown.icon, ::LoadIconA(nullptr, IDI_INFORMATION)) << "kind 0 informs";
}

TEST(DefaultMensagemTest, WithoutAContextTheTitleSaysTef) {
  Shown shown;
  Show("O Gerenciador Padr\343o n\343o est\341 ativo!", "N", tmAviso, "", IDOK, shown);
  EXPECT_EQ(shown.title, "TEF");
}

} // namespace
} // namespace zul00500::testing
