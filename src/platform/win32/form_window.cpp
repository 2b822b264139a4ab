// A described form as a real modal window: panels and pictures are painted by
// the form itself, buttons are real (owner-drawn) push buttons and the edit
// box a real read-only edit, so that focus, Tab and clicks behave as Windows
// users expect. The modal loop runs the thread's messages as the host's own
// loop would.
#include "platform/window_form.h"

#include "platform/win32/form_painting.h"
#include "platform/win32/wide.h"

#include <windows.h>

#include <cwctype>

namespace zul00500::platform {

namespace {
using win32::to_wide;

constexpr int kFirstControlId = 100;
const wchar_t* const kClassName = L"Zul00500Form";

// One control where it lies on the form, and its window when it has one.
struct Placed {
  const FormControl* control = nullptr;
  RECT rect{};
  HWND window = nullptr;
  HFONT font = nullptr;
  wchar_t accelerator = 0;
};

class FormState {
public:
  FormState(const FormWindow& form, const std::function<bool(const std::string&)>& choose)
      : form_(form), choose_(choose) {}
  ~FormState() {
    for (Placed& placed : placed_)
      if (placed.font) ::DeleteObject(placed.font);
    if (edit_brush_) ::DeleteObject(edit_brush_);
  }
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  const FormWindow& form() const { return form_; }
  std::vector<Placed>& placed() { return placed_; }
  bool done() const { return done_; }

  void Choose(const std::string& name) {
    if (!done_ && choose_(name)) done_ = true;
  }

  // The button or picture under a point of the client area, topmost first.
  const Placed* At(POINT point, FormControlKind kind) const {
    for (auto placed = placed_.rbegin(); placed != placed_.rend(); ++placed)
      if (placed->control->kind == kind && ::PtInRect(&placed->rect, point)) return &*placed;
    return nullptr;
  }

  const Placed* ByWindow(HWND window) const {
    for (const Placed& placed : placed_)
      if (placed.window && placed.window == window) return &placed;
    return nullptr;
  }

  const Placed* ByAccelerator(wchar_t key) const {
    for (const Placed& placed : placed_)
      if (placed.accelerator && std::towupper(placed.accelerator) == std::towupper(key)) return &placed;
    return nullptr;
  }

  HBRUSH EditBrush() {
    if (!edit_brush_) edit_brush_ = ::CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
    return edit_brush_;
  }

private:
  const FormWindow& form_;
  const std::function<bool(const std::string&)>& choose_;
  std::vector<Placed> placed_;
  HBRUSH edit_brush_ = nullptr;
  bool done_ = false;
};

FormState* state_of(HWND window) {
  return reinterpret_cast<FormState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

// Where a control lies in the form's client area: its offset plus those of
// its parents.
RECT absolute_rect(const FormWindow& form, const FormControl& control) {
  RECT rect{control.left, control.top, control.left + control.width, control.top + control.height};
  std::string parent = control.parent;
  for (std::size_t depth = 0; !parent.empty() && depth < form.controls.size(); ++depth) {
    const FormControl* found = nullptr;
    for (const FormControl& candidate : form.controls)
      if (candidate.name == parent) found = &candidate;
    if (!found) break;
    ::OffsetRect(&rect, found->left, found->top);
    parent = found->parent;
  }
  return rect;
}

wchar_t accelerator_of(const std::string& caption) {
  for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return to_wide(caption.substr(i + 1, 1))[0];
    ++i; // "&&" is a plain "&"
  }
  return 0;
}

void paint(HWND window, FormState& state) {
  PAINTSTRUCT ps;
  HDC screen = ::BeginPaint(window, &ps);
  RECT client;
  ::GetClientRect(window, &client);
  // Drawn off screen first, so that nothing flickers.
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ previous = ::SelectObject(dc, bitmap);
  HBRUSH background = ::CreateSolidBrush(win32::to_colorref(state.form().color));
  ::FillRect(dc, &client, background);
  ::DeleteObject(background);
  for (const Placed& placed : state.placed()) {
    if (placed.control->kind == FormControlKind::Panel) win32::paint_panel(dc, placed.rect, *placed.control);
    else if (placed.control->kind == FormControlKind::Picture)
      win32::paint_picture(dc, placed.rect, *placed.control);
  }
  ::BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, previous);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  ::EndPaint(window, &ps);
}

LRESULT CALLBACK form_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  FormState* state = state_of(window);
  if (!state) return ::DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
  case WM_PAINT:
    paint(window, *state);
    return 0;
  case WM_ERASEBKGND:
    return 1;
  case WM_COMMAND:
    if (HIWORD(wparam) == BN_CLICKED)
      if (const Placed* placed = state->ByWindow(reinterpret_cast<HWND>(lparam)))
        state->Choose(placed->control->name);
    return 0;
  case WM_DRAWITEM: {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
    if (const Placed* placed = state->ByWindow(item.hwndItem)) {
      win32::paint_button(item, *placed->control, placed->font);
      return TRUE;
    }
    break;
  }
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLOREDIT:
    if (const Placed* placed = state->ByWindow(reinterpret_cast<HWND>(lparam))) {
      HDC dc = reinterpret_cast<HDC>(wparam);
      ::SetTextColor(dc, win32::to_colorref(placed->control->font.color));
      ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
      return reinterpret_cast<LRESULT>(state->EditBrush());
    }
    break;
  case WM_LBUTTONUP: {
    const POINT point{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
    if (const Placed* picture = state->At(point, FormControlKind::Picture))
      state->Choose(picture->control->name);
    return 0;
  }
  case WM_SETCURSOR:
    if (LOWORD(lparam) == HTCLIENT) {
      POINT point;
      ::GetCursorPos(&point);
      ::ScreenToClient(window, &point);
      ::SetCursor(::LoadCursorA(nullptr, state->At(point, FormControlKind::Picture) ? IDC_HAND : IDC_ARROW));
      return TRUE;
    }
    break;
  case WM_CLOSE:
    state->Choose("Esc");
    return 0;
  default:
    break;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HINSTANCE this_module() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&form_procedure), &module);
  return module;
}

// Registered for one showing and then unregistered: a DLL that is unloaded
// must not leave a class behind that points into it.
class WindowClass {
public:
  WindowClass() {
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.lpfnWndProc = form_procedure;
    cls.hInstance = this_module();
    cls.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    cls.lpszClassName = kClassName;
    registered_ = ::RegisterClassExW(&cls) != 0;
  }
  ~WindowClass() {
    if (registered_) ::UnregisterClassW(kClassName, this_module());
  }
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;

private:
  bool registered_;
};

void create_controls(HWND window, FormState& state) {
  const FormWindow& form = state.form();
  HINSTANCE instance = this_module();
  int id = kFirstControlId;
  for (const FormControl& control : form.controls) {
    Placed placed;
    placed.control = &control;
    placed.rect = absolute_rect(form, control);
    const int x = placed.rect.left, y = placed.rect.top;
    if (control.kind == FormControlKind::Button) {
      placed.font = win32::create_font(control.font);
      placed.accelerator = accelerator_of(control.caption);
      placed.window = ::CreateWindowExW(0, L"BUTTON", to_wide(control.caption).c_str(),
                                        WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y,
                                        control.width, control.height, window,
                                        reinterpret_cast<HMENU>(INT_PTR{id++}), instance, nullptr);
    } else if (control.kind == FormControlKind::Edit) {
      placed.font = win32::create_font(control.font);
      placed.window = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", to_wide(control.caption).c_str(),
                                        WS_CHILD | WS_VISIBLE | ES_READONLY | ES_CENTER | ES_AUTOHSCROLL, x,
                                        y, control.width, control.height, window,
                                        reinterpret_cast<HMENU>(INT_PTR{id++}), instance, nullptr);
    }
    if (placed.window && placed.font)
      ::SendMessageW(placed.window, WM_SETFONT, reinterpret_cast<WPARAM>(placed.font), FALSE);
    state.placed().push_back(placed);
  }
}

HWND first_button(FormState& state) {
  for (const Placed& placed : state.placed())
    if (placed.control->kind == FormControlKind::Button && placed.window) return placed.window;
  return nullptr;
}

// Keys the form answers before the controls see them. True when handled.
bool form_key(HWND form, FormState& state, const MSG& message) {
  if (message.hwnd != form && !::IsChild(form, message.hwnd)) return false;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) {
    state.Choose("Esc");
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
    if (const Placed* focused = state.ByWindow(::GetFocus()))
      if (focused->control->kind == FormControlKind::Button) state.Choose(focused->control->name);
    return true;
  }
  if (message.message == WM_CHAR || message.message == WM_SYSCHAR) {
    if (const Placed* button = state.ByAccelerator(static_cast<wchar_t>(message.wParam))) {
      state.Choose(button->control->name);
      return true;
    }
  }
  return false;
}

// Runs the thread's messages until the form is done. A quit message ends it
// and is put back for the host's own loop.
void modal_loop(HWND form, FormState& state) {
  MSG message;
  while (!state.done()) {
    const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      state.Choose("Esc");
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (form_key(form, state, message)) continue;
    if (::IsDialogMessageW(form, &message)) continue; // Tab and the arrows move between buttons
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}
} // namespace

bool show_form(const FormWindow& form, const std::function<bool(const std::string&)>& choose) {
  WindowClass window_class;
  FormState state(form, choose);
  HWND owner = ::GetActiveWindow();
  const int x = (::GetSystemMetrics(SM_CXSCREEN) - form.client_width) / 2;
  const int y = (::GetSystemMetrics(SM_CYSCREEN) - form.client_height) / 2;
  HWND window =
      ::CreateWindowExW(WS_EX_CONTROLPARENT | (form.always_on_top ? WS_EX_TOPMOST : 0), kClassName,
                        to_wide(form.caption).c_str(), WS_POPUP | WS_CLIPCHILDREN, x, y, form.client_width,
                        form.client_height, owner, nullptr, this_module(), nullptr);
  if (!window) return false;
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  create_controls(window, state);
  if (form.corner_width > 0 && form.corner_height > 0) {
    // The system owns the region once it is set.
    ::SetWindowRgn(window,
                   ::CreateRoundRectRgn(0, 0, form.client_width, form.client_height, form.corner_width,
                                        form.corner_height),
                   TRUE);
  }
  if (owner) ::EnableWindow(owner, FALSE);
  ::ShowWindow(window, SW_SHOW);
  ::SetForegroundWindow(window);
  if (HWND button = first_button(state)) ::SetFocus(button);
  ::UpdateWindow(window);

  modal_loop(window, state);

  if (owner) {
    ::EnableWindow(owner, TRUE);
    ::SetActiveWindow(owner);
  }
  ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  ::DestroyWindow(window);
  return true;
}

} // namespace zul00500::platform
