// The calling thread's message queue, pumped as the host's own loop would.
#include "platform/detail.h"

#include <windows.h>

namespace zul00500::platform::detail {

namespace {
// WM_QUIT belongs to the host's main loop: put it back and stop pumping.
bool dispatch(const MSG& message) {
  if (message.message == WM_QUIT) {
    ::PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
  return true;
}
} // namespace

void native_process_messages() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (!dispatch(message)) break;
  }
}

void native_handle_message() {
  MSG message;
  const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
  if (got == -1) return;
  if (got == 0) { // WM_QUIT
    ::PostQuitMessage(static_cast<int>(message.wParam));
    return;
  }
  dispatch(message);
}

} // namespace zul00500::platform::detail
