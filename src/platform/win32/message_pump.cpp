// The calling thread's message queue, pumped as the host's own loop would,
// but never waiting longer than the caller's cycle: GetMessage would block a
// console host, or a window host without a timer, for good.
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

void native_handle_message(std::uint32_t max_wait_ms) {
  MSG message;
  if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    // MWMO_INPUTAVAILABLE: also wake for messages already seen but not yet
    // removed.
    const DWORD woke =
        ::MsgWaitForMultipleObjectsEx(0, nullptr, max_wait_ms, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woke != WAIT_OBJECT_0) return;
    // Sent messages are handled inside PeekMessage; then nothing is left.
    if (!::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
  }
  dispatch(message);
}

} // namespace zul00500::platform::detail
