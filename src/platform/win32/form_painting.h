// How the controls of a described form look: GDI drawing only, no window
// logic.
#pragma once

#include "platform/window_form.h"

#include <windows.h>

namespace zul00500::platform::win32 {

COLORREF to_colorref(std::uint32_t rgb);

// A font as designed; the caller deletes it.
HFONT create_font(const FormFont& font);

// A panel's fill and bevel within `rect`.
void paint_panel(HDC dc, const RECT& rect, const FormControl& panel);

// A picture drawn at run time: a rounded badge of the control's colour, its
// caption (lines split at "\n", the first one large) and a band of the
// accent colour along the bottom.
void paint_picture(HDC dc, const RECT& rect, const FormControl& picture);

// An owner-drawn push button: face, frame, optional glyph, caption with its
// accelerator underlined, and the focus marks.
void paint_button(const DRAWITEMSTRUCT& item, const FormControl& button, HFONT font);

} // namespace zul00500::platform::win32
