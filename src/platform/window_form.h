// Modal windows of the platform's own user interface: the message box, and a
// form drawn from a description of its controls. Windows has both; POSIX has
// no window system of its own here, and callers use the terminal instead.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zul00500::platform {

// True where message_box and show_form put up real windows.
bool window_dialogs_available();

enum class MessageIcon { Information, Warning };

// A modal message box: `text` (code page 1252) with OK, or with Yes and No
// when `yes_no`; true when the operator chose Yes. Nothing where there are no
// window dialogs.
std::optional<bool> message_box(const std::string& text, const std::string& caption, bool yes_no,
                                MessageIcon icon);

// Colours as 0xRRGGBB.
struct FormFont {
  std::string name = "MS Sans Serif";
  int height = -11; // negative: the characters' height in pixels
  bool bold = false;
  bool italic = false;
  std::uint32_t color = 0x000000;
};

enum class FormControlKind {
  Panel,   // a filled rectangle with an optional bevel
  Button,  // a push button; "&" in the caption marks its accelerator
  Picture, // drawn at run time: the caption on `color`, over a band of `accent`
  Edit,    // a read-only edit box showing the caption
};

enum class Bevel { None, Raised, Lowered };

struct FormControl {
  std::string name;
  std::string parent; // empty: the form itself
  FormControlKind kind = FormControlKind::Panel;
  int left = 0, top = 0, width = 0, height = 0; // in the parent's client area
  std::string caption;                          // code page 1252
  std::uint32_t color = 0xC0C0C0;
  std::uint32_t accent = 0xFFFFFF;
  Bevel bevel = Bevel::None;
  int bevel_width = 1;
  FormFont font;
  // Button: a "close" glyph left of the caption, this far from the text.
  bool glyph = false;
  int glyph_spacing = 4;
};

struct FormWindow {
  std::string caption; // the window's title, for the task bar
  int client_width = 0, client_height = 0;
  std::uint32_t color = 0xC0C0C0;
  FormFont font;
  bool always_on_top = true;
  // The window is clipped to a rectangle with rounded corners of this size;
  // 0 keeps it square.
  int corner_width = 0, corner_height = 0;
  std::vector<FormControl> controls;
};

// Shows `form` modally, centred on the screen, without border. `choose` gets
// the name of every button or picture clicked (or whose accelerator was
// typed, with or without Alt), the focused button's for Enter, and "Esc" for
// Esc or a request to close; the form stays until `choose` returns true. A
// quit message ends it as "Esc" does and stays queued for the host. False,
// without calling `choose`, where there are no window dialogs.
bool show_form(const FormWindow& form, const std::function<bool(const std::string& control)>& choose);

// The window class of shown forms, for automation tools and tests.
inline constexpr const char* kFormWindowClass = "Zul00500Form";

} // namespace zul00500::platform
