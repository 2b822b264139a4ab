// Drives the package's real windows from a second thread, as an operator
// would: finds them, types keys and clicks through the system's input queue,
// and captures what they show. Windows only; the tests run on a screen
// (xvfb-run under wine in CI).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace zul00500::testing {

// The first visible top-level window of `class_name`, waited for up to
// `limit_ms`; null when none came.
HWND WaitForWindow(const wchar_t* class_name, std::uint32_t limit_ms = 20'000);

// Waits until the window is in front, holds the keyboard focus and its
// thread runs its message loop: only then do keys and clicks reach it.
bool WaitUntilReady(HWND window, std::uint32_t limit_ms = 10'000);

// The window's title.
std::string TitleOf(HWND window);

// A key press and release through the system's input, with Alt held when asked.
void TypeKey(WORD virtual_key, bool alt = false);
// A left click at a point of the screen.
void ClickAt(POINT screen_point);

// Runs `act` on a thread of its own once a window of `class_name` shows, with
// that window; the operator's side of a modal dialog. A window that does not
// go away after that is asked to close, so that a test fails instead of
// hanging. Join() before reading what happened.
class Operator {
public:
  Operator(const wchar_t* class_name, std::function<void(HWND)> act);
  ~Operator();
  Operator(const Operator&) = delete;
  Operator& operator=(const Operator&) = delete;

  void Join();
  // A window came and `act` ran on it.
  bool Found() const { return found_; }
  // It went away by itself after `act`.
  bool ClosedByItself() const { return closed_; }

private:
  bool found_ = false;
  bool closed_ = false;
  std::thread thread_;
};

// A window's pixels as the screen shows them, rows top to bottom, 0xRRGGBB.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// Makes the window paint itself now, then copies it from the screen.
Picture Capture(HWND window);
// Writes a 24-bit BMP file; false when it cannot.
bool SaveBmp(const Picture& picture, const std::string& path);

} // namespace zul00500::testing
