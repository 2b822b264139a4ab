#include "ui/window_driver.h"

#include <cstdio>
#include <memory>

namespace zul00500::testing {

namespace {
constexpr std::uint32_t kPollMs = 20;
// How long a dialog may take to go away after the operator's last key.
constexpr std::uint32_t kCloseLimitMs = 10'000;

void send_key(WORD virtual_key, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtual_key;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ::SendInput(1, &input, sizeof input);
}

void send_mouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  ::SendInput(1, &input, sizeof input);
}
} // namespace

HWND WaitForWindow(const wchar_t* class_name, std::uint32_t limit_ms) {
  for (std::uint32_t waited = 0; waited <= limit_ms; waited += kPollMs) {
    HWND window = ::FindWindowW(class_name, nullptr);
    if (window && ::IsWindowVisible(window)) return window;
    ::Sleep(kPollMs);
  }
  return nullptr;
}

std::string TitleOf(HWND window) {
  wchar_t title[256] = {};
  const int length = ::GetWindowTextW(window, title, 256);
  std::string narrow(static_cast<std::size_t>(length) * 2 + 1, '\0');
  const int size = ::WideCharToMultiByte(1252, 0, title, length, narrow.data(),
                                         static_cast<int>(narrow.size()), nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(size));
  return narrow;
}

void TypeKey(WORD virtual_key, bool alt) {
  if (alt) send_key(VK_MENU, false);
  send_key(virtual_key, false);
  send_key(virtual_key, true);
  if (alt) send_key(VK_MENU, true);
}

void ClickAt(POINT screen_point) {
  ::SetCursorPos(screen_point.x, screen_point.y);
  // The press must find the pointer already there, as a hand's would.
  for (std::uint32_t waited = 0; waited < kCloseLimitMs; waited += kPollMs) {
    POINT now{};
    ::GetCursorPos(&now);
    if (now.x == screen_point.x && now.y == screen_point.y) break;
    ::Sleep(kPollMs);
  }
  send_mouse(MOUSEEVENTF_LEFTDOWN);
  send_mouse(MOUSEEVENTF_LEFTUP);
}

bool WaitUntilReady(HWND window, std::uint32_t limit_ms) {
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  for (std::uint32_t waited = 0; waited <= limit_ms; waited += kPollMs) {
    // Answered only once the dialog's thread runs its message loop.
    DWORD_PTR ignored = 0;
    const bool looping = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &ignored) != 0;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const bool focused = ::GetGUIThreadInfo(thread, &info) && info.hwndFocus &&
                         (info.hwndFocus == window || ::IsChild(window, info.hwndFocus));
    if (looping && focused && ::GetForegroundWindow() == window) return true;
    ::Sleep(kPollMs);
  }
  return false;
}

Operator::Operator(const wchar_t* class_name, std::function<void(HWND)> act)
    : thread_([this, class_name, act = std::move(act)] {
        HWND window = WaitForWindow(class_name);
        found_ = window != nullptr;
        if (!window) return;
        found_ = WaitUntilReady(window);
        if (!found_) return;
        act(window);
        for (std::uint32_t waited = 0; waited < kCloseLimitMs; waited += kPollMs) {
          if (!::IsWindow(window)) {
            closed_ = true;
            return;
          }
          ::Sleep(kPollMs);
        }
        // A yes/no message box has no close: "No" ends it.
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        ::PostMessageW(window, WM_COMMAND, IDNO, 0);
      }) {}

Operator::~Operator() { Join(); }

void Operator::Join() {
  if (thread_.joinable()) thread_.join();
}

Picture Capture(HWND window) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rect;
  ::GetWindowRect(window, &rect);
  Picture picture;
  picture.width = rect.right - rect.left;
  picture.height = rect.bottom - rect.top;

  HDC screen = ::GetDC(nullptr);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height; // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = ::CreateCompatibleDC(screen);
  HGDIOBJ previous = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, picture.width, picture.height, screen, rect.left, rect.top, SRCCOPY);
  ::GdiFlush();
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  picture.pixels.assign(pixels, pixels + static_cast<std::size_t>(picture.width) * picture.height);
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0xFFFFFF; // BGRA in memory is 0x00RRGGBB
  ::SelectObject(memory, previous);
  ::DeleteDC(memory);
  ::DeleteObject(bitmap);
  ::ReleaseDC(nullptr, screen);
  return picture;
}

bool SaveBmp(const Picture& picture, const std::string& path) {
  const int row = (picture.width * 3 + 3) & ~3;
  const std::uint32_t data_size = static_cast<std::uint32_t>(row * picture.height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  file.bfSize = file.bfOffBits + data_size;
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height; // bottom row first
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = data_size;

  std::unique_ptr<FILE, int (*)(FILE*)> out(std::fopen(path.c_str(), "wb"), &std::fclose);
  if (!out) return false;
  std::fwrite(&file, sizeof file, 1, out.get());
  std::fwrite(&header, sizeof header, 1, out.get());
  std::vector<unsigned char> line(static_cast<std::size_t>(row), 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const std::uint32_t pixel = picture.At(x, y);
      line[static_cast<std::size_t>(x) * 3] = pixel & 0xFF;
      line[static_cast<std::size_t>(x) * 3 + 1] = (pixel >> 8) & 0xFF;
      line[static_cast<std::size_t>(x) * 3 + 2] = (pixel >> 16) & 0xFF;
    }
    std::fwrite(line.data(), line.size(), 1, out.get());
  }
  return std::fflush(out.get()) == 0;
}

} // namespace zul00500::testing
