// The host's services as C callbacks: the operator dialog, form translation,
// message texts, the network dialog, the message pump and the file observer.
// What the host leaves unset stays the platform's default.
#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "capi/boundary.h"
#include "platform/message_pump.h"
#include "support/host_services.h"
#include "support/observed_file_system.h"
#include "tef/form.h"

using namespace zul00500;
using namespace zul00500::capi;

namespace {

template <typename Fn> struct Callback {
  Fn fn = nullptr;
  void* user = nullptr;
};

// A text the host writes into a buffer of ours. The callback returns the
// text's length; a buffer that was too small is offered once more, big
// enough.
std::string text_from_host(const char* callback, const std::function<int(char*, int)>& write) {
  std::vector<char> buffer(256, '\0');
  for (int attempt = 0;; ++attempt) {
    const int capacity = static_cast<int>(buffer.size());
    const int length = CallHost([&] { return write(buffer.data(), capacity); });
    if (length < 0) throw HostCallbackError(callback, length);
    if (length < capacity)
      return std::string(buffer.data(), strnlen(buffer.data(), static_cast<std::size_t>(length)));
    if (attempt == 1)
      throw HostCallbackError(callback, std::string("its text grew from one call to the next"));
    buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
  }
}

class CallbackServices final : public HostServices {
public:
  Callback<ZulDialogProc> dialog;
  Callback<ZulTranslateProc> translate;
  Callback<ZulMessageTextProc> message_text;

  bool any() const { return dialog.fn || translate.fn || message_text.fn; }

  bool Mensagem(const std::string& text, const std::string& s2, const std::string& s3,
                const std::string& yesNo, int kind, const std::string& s6, const std::string& context,
                int withReceipt, const ClientDataSet* dataset) override {
    if (!dialog.fn)
      return DefaultHostServices().Mensagem(text, s2, s3, yesNo, kind, s6, context, withReceipt, dataset);
    // The dataset is never passed; the host gets null for it.
    const int answer = CallHost([&] {
      return dialog.fn(dialog.user, text.c_str(), s2.c_str(), s3.c_str(), yesNo.c_str(), kind, s6.c_str(),
                       context.c_str(), withReceipt, nullptr);
    });
    if (answer < 0) throw HostCallbackError("Mensagem", answer);
    return answer != 0;
  }

  void Trad(TfrmCartaoDebito& form) override {
    if (!translate.fn) return DefaultHostServices().Trad(form);
    form.Caption = Translated("frmCartaoDebito", form.Caption);
    for (TControl& control : form.Controls)
      if (!control.Caption.empty()) control.Caption = Translated(control.Name, control.Caption);
  }

  std::string Msg(const TMessages& table, std::string_view key) override {
    std::string own = DefaultHostServices().Msg(table, key);
    if (!message_text.fn) return own;
    const std::string wanted(key);
    return text_from_host("Msg", [&](char* buffer, int capacity) {
      return message_text.fn(message_text.user, wanted.c_str(), own.c_str(), buffer, capacity);
    });
  }

private:
  std::string Translated(const std::string& name, const std::string& text) {
    return text_from_host("Trad", [&](char* buffer, int capacity) {
      return translate.fn(translate.user, name.c_str(), text.c_str(), buffer, capacity);
    });
  }
};

std::shared_ptr<CallbackServices>& services() {
  static auto instance = std::make_shared<CallbackServices>();
  return instance;
}

// The package uses the callbacks while one is set, and its defaults again
// once all are cleared.
template <typename Fn>
int set_service(const char* routine, Callback<Fn> CallbackServices::*slot, Fn fn, void* user) {
  return Guarded(routine, [&] {
    (*services()).*slot = {fn, fn ? user : nullptr};
    SetHostServices(services()->any() ? services() : nullptr);
    return ZUL_TRUE;
  });
}

class CallbackChooser final : public NetworkChooser {
public:
  explicit CallbackChooser(Callback<ZulNetworkChooserProc> chooser) : chooser_(chooser) {}

  void Run(TfrmCartaoDebito& form) override {
    const int code = CallHost([&] { return chooser_.fn(chooser_.user, form.Caption.c_str()); });
    if (code < 0) throw HostCallbackError("network chooser", code);
    form.Click(code == 1 ? "btnTecBan" : code == 2 ? "btnOutros" : code == 3 ? "btnHcard" : "bbtEncerra");
  }

private:
  Callback<ZulNetworkChooserProc> chooser_;
};

} // namespace

int ZUL_CALL zul_SetDialog(ZulDialogProc fn, void* user) {
  return set_service("zul_SetDialog", &CallbackServices::dialog, fn, user);
}

int ZUL_CALL zul_SetTranslate(ZulTranslateProc fn, void* user) {
  return set_service("zul_SetTranslate", &CallbackServices::translate, fn, user);
}

int ZUL_CALL zul_SetMessageText(ZulMessageTextProc fn, void* user) {
  return set_service("zul_SetMessageText", &CallbackServices::message_text, fn, user);
}

int ZUL_CALL zul_SetNetworkChooser(ZulNetworkChooserProc fn, void* user) {
  return Guarded("zul_SetNetworkChooser", [&] {
    SetNetworkChooser(fn ? std::make_shared<CallbackChooser>(Callback<ZulNetworkChooserProc>{fn, user})
                         : nullptr);
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_SetMessagePump(ZulMessagePumpProc fn, void* user) {
  return Guarded("zul_SetMessagePump", [&] {
    if (!fn) {
      platform::set_message_hook({});
      return ZUL_TRUE;
    }
    platform::set_message_hook([fn, user](bool wait) {
      const int result = CallHost([&] { return fn(user, wait ? 1 : 0); });
      if (result < 0) throw HostCallbackError("message pump", result);
    });
    return ZUL_TRUE;
  });
}

namespace {
// The observing file system and its installation; the installation goes
// first, so that the seam never points at a decorator that is gone.
std::unique_ptr<ObservedFileSystem> observed_fs;
std::optional<platform::ScopedFileSystem> observed_installed;
} // namespace

int ZUL_CALL zul_SetFileObserver(ZulFileObserverProc fn, void* user) {
  return Guarded("zul_SetFileObserver", [&] {
    observed_installed.reset();
    observed_fs.reset();
    if (!fn) return ZUL_TRUE;
    observed_fs =
        std::make_unique<ObservedFileSystem>(platform::fs(), [fn, user](const FileObservation& seen) {
          const int length = static_cast<int>(std::min<std::size_t>(seen.bytes.size(), INT_MAX));
          // Told after the fact: what the host answers changes nothing.
          CallHost([&] {
            return fn(user, seen.operation, seen.path.c_str(), seen.to.c_str(), seen.bytes.data(), length,
                      static_cast<double>(seen.monotonic_ms));
          });
        });
    observed_installed.emplace(*observed_fs);
    return ZUL_TRUE;
  });
}
