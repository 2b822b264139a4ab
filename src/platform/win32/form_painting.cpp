#include "platform/win32/form_painting.h"

#include "platform/win32/wide.h"

#include <string>

namespace zul00500::platform::win32 {

namespace {
constexpr int kGlyphSize = 18;

// A GDI object selected into a device context for as long as it lives, then
// deleted (when owned).
class Selected {
public:
  Selected(HDC dc, HGDIOBJ object, bool owned = true)
      : dc_(dc), object_(object), previous_(::SelectObject(dc, object)), owned_(owned) {}
  ~Selected() {
    ::SelectObject(dc_, previous_);
    if (owned_) ::DeleteObject(object_);
  }
  Selected(const Selected&) = delete;
  Selected& operator=(const Selected&) = delete;

private:
  HDC dc_;
  HGDIOBJ object_;
  HGDIOBJ previous_;
  bool owned_;
};

void fill(HDC dc, const RECT& rect, COLORREF color) {
  HBRUSH brush = ::CreateSolidBrush(color);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

// One ring of a bevel: top and left in one colour, bottom and right in the other.
void ring(HDC dc, const RECT& r, COLORREF top_left, COLORREF bottom_right) {
  fill(dc, {r.left, r.top, r.right, r.top + 1}, top_left);
  fill(dc, {r.left, r.top, r.left + 1, r.bottom}, top_left);
  fill(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  fill(dc, {r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

// A red disc with a white cross: "close".
void paint_close_glyph(HDC dc, int left, int top) {
  {
    Selected brush(dc, ::CreateSolidBrush(RGB(200, 30, 30)));
    Selected pen(dc, ::CreatePen(PS_SOLID, 1, RGB(120, 0, 0)));
    ::Ellipse(dc, left, top, left + kGlyphSize, top + kGlyphSize);
  }
  Selected pen(dc, ::CreatePen(PS_SOLID, 2, RGB(255, 255, 255)));
  const int in = 5, out = kGlyphSize - 6;
  ::MoveToEx(dc, left + in, top + in, nullptr);
  ::LineTo(dc, left + out, top + out);
  ::MoveToEx(dc, left + out, top + in, nullptr);
  ::LineTo(dc, left + in, top + out);
}

// Text lines of a caption: "\n" separates them.
std::wstring line_of(const std::wstring& text, std::size_t index) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < index; ++i) {
    start = text.find(L'\n', start);
    if (start == std::wstring::npos) return {};
    ++start;
  }
  const std::size_t end = text.find(L'\n', start);
  return text.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}
} // namespace

COLORREF to_colorref(std::uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

HFONT create_font(const FormFont& font) {
  return ::CreateFontW(font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_SWISS, to_wide(font.name).c_str());
}

void paint_panel(HDC dc, const RECT& rect, const FormControl& panel) {
  fill(dc, rect, to_colorref(panel.color));
  if (panel.bevel == Bevel::None) return;
  const COLORREF light = ::GetSysColor(COLOR_BTNHIGHLIGHT), dark = ::GetSysColor(COLOR_BTNSHADOW);
  RECT r = rect;
  for (int i = 0; i < panel.bevel_width && r.right - r.left > 2 && r.bottom - r.top > 2; ++i) {
    if (panel.bevel == Bevel::Raised) ring(dc, r, light, dark);
    else ring(dc, r, dark, light);
    ::InflateRect(&r, -1, -1);
  }
}

void paint_picture(HDC dc, const RECT& rect, const FormControl& picture) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  const int corner = height / 3;
  HRGN badge = ::CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, corner, corner);
  ::SelectClipRgn(dc, badge);
  fill(dc, rect, to_colorref(picture.color));
  const int band = height / 6;
  fill(dc, {rect.left, rect.bottom - band, rect.right, rect.bottom}, to_colorref(picture.accent));
  ::SelectClipRgn(dc, nullptr);
  {
    HBRUSH outline = ::CreateSolidBrush(RGB(64, 64, 64));
    ::FrameRgn(dc, badge, outline, 1, 1);
    ::DeleteObject(outline);
  }
  ::DeleteObject(badge);

  // The name large, a second line small beneath it, both centred above the band.
  const std::wstring text = to_wide(picture.caption);
  const std::wstring name = line_of(text, 0), detail = line_of(text, 1);
  FormFont small = picture.font;
  small.height = picture.font.height * 11 / 20;
  small.italic = false;
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, to_colorref(picture.font.color));
  SIZE name_size{}, detail_size{};
  Selected large_font(dc, create_font(picture.font));
  ::GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &name_size);
  HFONT detail_font = create_font(small);
  if (!detail.empty()) {
    Selected measuring(dc, detail_font, false);
    ::GetTextExtentPoint32W(dc, detail.c_str(), static_cast<int>(detail.size()), &detail_size);
  }
  const int block = name_size.cy + detail_size.cy;
  const int top = rect.top + (height - band - block) / 2;
  ::TextOutW(dc, rect.left + (width - name_size.cx) / 2, top, name.c_str(), static_cast<int>(name.size()));
  if (!detail.empty()) {
    Selected drawing(dc, detail_font, false);
    ::TextOutW(dc, rect.left + (width - detail_size.cx) / 2, top + name_size.cy, detail.c_str(),
               static_cast<int>(detail.size()));
  }
  ::DeleteObject(detail_font);
}

void paint_button(const DRAWITEMSTRUCT& item, const FormControl& button, HFONT font) {
  HDC dc = item.hDC;
  RECT frame = item.rcItem;
  const bool pushed = item.itemState & ODS_SELECTED;
  const bool focused = item.itemState & ODS_FOCUS;
  if (focused) {
    // The button Enter would press carries the dark outer frame.
    ::FrameRect(dc, &frame, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(&frame, -1, -1);
  }
  ::DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0));

  RECT content = frame;
  if (pushed) ::OffsetRect(&content, 1, 1);
  const std::wstring caption = to_wide(button.caption);
  Selected chosen_font(dc, font, false);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, button.font.color ? to_colorref(button.font.color) : ::GetSysColor(COLOR_BTNTEXT));
  RECT measure{0, 0, 0, 0};
  ::DrawTextW(dc, caption.c_str(), -1, &measure, DT_CALCRECT | DT_SINGLELINE);
  const int glyph = button.glyph ? kGlyphSize + button.glyph_spacing : 0;
  const int total = glyph + (measure.right - measure.left);
  int left = content.left + ((content.right - content.left) - total) / 2;
  if (button.glyph)
    paint_close_glyph(dc, left, content.top + ((content.bottom - content.top) - kGlyphSize) / 2);
  left += glyph;
  RECT text{left, content.top, content.right, content.bottom};
  // The accelerator stays underlined: a cashier should see which key to press.
  ::DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
  if (focused) {
    RECT focus = frame;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(dc, &focus);
  }
}

} // namespace zul00500::platform::win32
