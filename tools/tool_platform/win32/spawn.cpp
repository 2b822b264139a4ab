#include "tool_platform/spawn.h"

#include <windows.h>

#include "platform/win32/wide.h"
#include "tool_platform/error.h"

namespace tool_platform {

struct ChildProcess::State {
  HANDLE process = nullptr;
  DWORD id = 0;
  ~State() {
    if (process) CloseHandle(process);
  }
};

namespace {
using zul00500::platform::win32::error_text;
using zul00500::platform::win32::to_wide;

// One argument quoted the way the C runtime's command-line parser splits it
// back: backslashes double only before a quote or the closing quote.
void append_quoted(std::wstring& line, const std::wstring& argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    line += argument;
    return;
  }
  line += L'"';
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    line += c;
  }
  line.append(backslashes * 2, L'\\');
  line += L'"';
}

// An inheritable handle that closes itself.
class InheritedHandle {
public:
  InheritedHandle(const std::wstring& path, DWORD access, DWORD disposition) {
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    handle_ = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes, disposition,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  ~InheritedHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  InheritedHandle(const InheritedHandle&) = delete;
  InheritedHandle& operator=(const InheritedHandle&) = delete;
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};
} // namespace

ChildProcess spawn(const std::string& program, const std::vector<std::string>& arguments,
                   const SpawnOptions& options) {
  std::wstring line;
  append_quoted(line, to_wide(program));
  for (const std::string& argument : arguments) {
    line += L' ';
    append_quoted(line, to_wide(argument));
  }

  InheritedHandle input(L"NUL", GENERIC_READ, OPEN_EXISTING);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  std::unique_ptr<InheritedHandle> output;
  if (!options.output_path.empty()) {
    output = std::make_unique<InheritedHandle>(to_wide(options.output_path), GENERIC_WRITE, CREATE_ALWAYS);
    if (!output->valid()) throw Error("start the program", program, error_text(GetLastError()));
    startup.hStdOutput = output->get();
    startup.hStdError = output->get();
  }

  PROCESS_INFORMATION info{};
  if (!CreateProcessW(to_wide(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &info))
    throw Error("start the program", program, error_text(GetLastError()));
  CloseHandle(info.hThread);
  auto state = std::make_unique<ChildProcess::State>();
  state->process = info.hProcess;
  state->id = info.dwProcessId;
  return ChildProcess(std::move(state));
}

ChildProcess::ChildProcess(std::unique_ptr<State> state) : state_(std::move(state)) {}
ChildProcess::ChildProcess(ChildProcess&& other) noexcept = default;

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
  if (this != &other) {
    ChildProcess dropped(std::move(*this));
    state_ = std::move(other.state_);
  }
  return *this;
}

ChildProcess::~ChildProcess() {
  if (!state_ || wait_for(0)) return;
  kill();
  WaitForSingleObject(state_->process, INFINITE);
}

long ChildProcess::id() const { return state_ ? static_cast<long>(state_->id) : -1; }

void ChildProcess::terminate() { kill(); }

void ChildProcess::kill() {
  if (state_ && !wait_for(0)) TerminateProcess(state_->process, 1);
}

std::optional<int> ChildProcess::wait_for(std::uint32_t milliseconds) {
  if (!state_) return -1;
  if (WaitForSingleObject(state_->process, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(state_->process, &code);
  return static_cast<int>(code);
}

} // namespace tool_platform
