// The operator's message box: MessageBoxW, modal to the thread's active
// window, so that the host's own window waits behind it.
#include "platform/window_form.h"

#include "platform/win32/wide.h"

#include <windows.h>

namespace zul00500::platform {

bool window_dialogs_available() { return true; }

std::optional<bool> message_box(const std::string& text, const std::string& caption, bool yes_no,
                                MessageIcon icon) {
  UINT style = yes_no ? MB_YESNO : MB_OK;
  style |= icon == MessageIcon::Warning ? MB_ICONWARNING : MB_ICONINFORMATION;
  // Without a window of the host's, the box must still come to the front.
  HWND owner = ::GetActiveWindow();
  if (!owner) style |= MB_TASKMODAL | MB_SETFOREGROUND | MB_TOPMOST;
  const int chosen =
      ::MessageBoxW(owner, win32::to_wide(text).c_str(), win32::to_wide(caption).c_str(), style);
  return chosen == IDYES;
}

} // namespace zul00500::platform
