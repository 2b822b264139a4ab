// The network dialog as a real window: the form's design handed to the
// platform's window, and every click or key handed back to the form.
#include "platform/window_form.h"
#include "tef/form.h"

namespace zul00500 {

namespace {
platform::FormFont font_of(const TFont& font) {
  return {font.Name, font.Height, font.Bold, font.Italic, font.Color};
}

platform::FormControlKind kind_of(TControlKind kind) {
  switch (kind) {
  case TControlKind::Button:
  case TControlKind::BitBtn:
    return platform::FormControlKind::Button;
  case TControlKind::Image:
    return platform::FormControlKind::Picture;
  case TControlKind::Edit:
    return platform::FormControlKind::Edit;
  case TControlKind::Panel:
    break;
  }
  return platform::FormControlKind::Panel;
}

platform::Bevel bevel_of(TBevelCut cut) {
  return cut == TBevelCut::bvRaised    ? platform::Bevel::Raised
         : cut == TBevelCut::bvLowered ? platform::Bevel::Lowered
                                       : platform::Bevel::None;
}

platform::FormWindow window_of(const TfrmCartaoDebito& form) {
  platform::FormWindow window;
  window.caption = form.Caption;
  window.client_width = form.ClientWidth;
  window.client_height = form.ClientHeight;
  window.color = form.Color;
  window.font = {form.FontName, form.FontHeight};
  window.always_on_top = form.AlwaysOnTop;
  window.corner_width = form.Region.ellipse_width;
  window.corner_height = form.Region.ellipse_height;
  for (const TControl& control : form.Controls) {
    // Read once: GCC 12's optimizer otherwise warns that it may be uninitialized.
    const TControlKind kind = control.Kind;
    platform::FormControl shown;
    shown.name = control.Name;
    shown.parent = control.Parent;
    shown.kind = kind_of(kind);
    shown.left = control.Left;
    shown.top = control.Top;
    shown.width = control.Width;
    shown.height = control.Height;
    shown.caption = control.Caption;
    shown.color = control.Color;
    shown.accent = control.Accent;
    shown.bevel = bevel_of(control.BevelOuter);
    shown.bevel_width = control.BevelWidth;
    shown.font = font_of(control.Font);
    shown.glyph = kind == TControlKind::BitBtn;
    shown.glyph_spacing = control.Spacing;
    window.controls.push_back(std::move(shown));
  }
  return window;
}
} // namespace

void WindowChooser::Run(TfrmCartaoDebito& form) {
  const bool shown = platform::show_form(window_of(form), [&form](const std::string& control) {
    form.Click(control);
    return form.ModalResult != mrNone;
  });
  if (!shown) form.Click("Esc");
}

} // namespace zul00500
