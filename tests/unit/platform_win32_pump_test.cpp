// The real message queue of a Windows host: a pump handles one message, and
// never waits longer than its cycle for one.
#ifdef _WIN32
#include "platform/message_pump.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

namespace zul00500::platform {
namespace {

LRESULT CALLBACK count_user_messages(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_USER) ++*reinterpret_cast<int*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  return ::DefWindowProcW(window, message, wparam, lparam);
}

// A window that counts the messages dispatched to it.
class CountingWindow {
public:
  CountingWindow() {
    WNDCLASSW cls{};
    cls.lpfnWndProc = count_user_messages;
    cls.hInstance = ::GetModuleHandleW(nullptr);
    cls.lpszClassName = L"ZulCountingWindow";
    ::RegisterClassW(&cls);
    window_ = ::CreateWindowExW(0, cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                cls.hInstance, nullptr);
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&count_));
  }
  ~CountingWindow() {
    ::DestroyWindow(window_);
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  void Post() const { ::PostMessageW(window_, WM_USER, 0, 0); }
  int count() const { return count_; }
  HWND get() const { return window_; }

private:
  HWND window_ = nullptr;
  int count_ = 0;
};

TEST(Win32MessagePumpTest, AnEmptyQueueDoesNotBlockTheWait) {
  // A console host has no message to wait for: the sale's answer wait used
  // to stop here for good.
  handle_message(50);
  handle_message(0);
  SUCCEED();
}

TEST(Win32MessagePumpTest, EachPumpHandlesOneMessageAndProcessingHandlesTheRest) {
  CountingWindow window;
  ASSERT_NE(window.get(), nullptr);
  for (int i = 0; i < 3; ++i) window.Post();
  handle_message(0);
  EXPECT_EQ(window.count(), 1);
  handle_message(kMessageWaitMs);
  EXPECT_EQ(window.count(), 2);
  process_messages();
  EXPECT_EQ(window.count(), 3);
}

TEST(Win32MessagePumpTest, AMessageFromAnotherThreadEndsTheWait) {
  CountingWindow window;
  std::thread sender([&] { window.Post(); });
  sender.join();
  handle_message(60'000);
  EXPECT_EQ(window.count(), 1);
}

TEST(Win32MessagePumpTest, TheQuitMessageStaysForTheHostsLoop) {
  ::PostQuitMessage(7);
  handle_message(0);
  process_messages();
  MSG message;
  ASSERT_TRUE(::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(message.wParam, 7u);
}

} // namespace
} // namespace zul00500::platform
#endif
