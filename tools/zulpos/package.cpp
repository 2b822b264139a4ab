#include "package.h"

#include <filesystem>
#include <functional>
#include <iostream>

#include "output.h"
#include "tool_platform/error.h"
#include "tool_platform/shared_library.h"
#include "zul_source_id.h"

namespace zulpos {

namespace {
const PackageApi* current = nullptr;
std::string callback_failure;

// A text the package writes snprintf-style: asked for its length first.
std::string text_from_package(const std::function<int(char*, int)>& get) {
  const int length = get(nullptr, 0);
  if (length < 0) Checked(ZUL_ERROR);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  get(text.data(), length + 1);
  text.resize(static_cast<std::size_t>(length));
  return text;
}
} // namespace

const PackageApi& api() {
  if (!current) throw std::logic_error("zulpos: the package is not loaded");
  return *current;
}

UsePackage::UsePackage(const PackageApi* routines) : previous_(current) { current = routines; }
UsePackage::~UsePackage() { current = previous_; }

namespace {
std::unique_ptr<tool_platform::SharedLibrary> load(const std::string& path) {
  try {
    return std::make_unique<tool_platform::SharedLibrary>(path);
  } catch (const tool_platform::Error& error) {
    throw LoadError(error.what());
  }
}
} // namespace

LoadedPackage::LoadedPackage(const std::string& path) : library_(load(path)) {
#define ZULPOS_BIND(name)                                                                                    \
  routines_.name = reinterpret_cast<decltype(routines_.name)>(library_->Find(#name));                        \
  if (!routines_.name) throw LoadError("the package " + path + " has no routine " #name);
  ZULPOS_PACKAGE_ROUTINES(ZULPOS_BIND)
#undef ZULPOS_BIND
  in_use_ = std::make_unique<UsePackage>(&routines_);
}

// The routines go out of use before the library goes.
LoadedPackage::~LoadedPackage() { in_use_.reset(); }

std::string DefaultPackagePath(const std::string& program_path) {
  // The library's file as a host loads it: on Linux its soname, which the
  // library's own package installs (libPkg_Zul00500.so is the development
  // package's link).
  const std::string file = ZUL_PACKAGE_FILE;
  const std::filesystem::path folder = std::filesystem::path(program_path).parent_path();
  for (const std::filesystem::path& candidate :
       {folder / file, folder / ".." / "lib" / file, folder / ZUL_LIBDIR_FROM_BINDIR / file}) {
    std::error_code error;
    if (std::filesystem::is_regular_file(candidate, error)) return candidate.string();
  }
  return file;
}

bool Checked(int result) {
  if (result != ZUL_ERROR) return result != ZUL_FALSE;
  std::string text =
      text_from_package([](char* buffer, int capacity) { return api().zul_LastError(buffer, capacity); });
  if (text.empty()) text = "the package reported an error without a text";
  if (!callback_failure.empty()) text += " (zulpos: " + callback_failure + ")";
  callback_failure.clear();
  throw PackageError(text);
}

std::string LastNote() {
  return text_from_package([](char* buffer, int capacity) { return api().zul_LastError(buffer, capacity); });
}

bool CheckedWithNotes(int result) {
  const bool value = Checked(result);
  if (const std::string note = LastNote(); !note.empty())
    std::cerr << "zulpos: note: " << ToTerminal(note) << std::endl;
  return value;
}

void RememberCallbackFailure(const std::string& text) { callback_failure = text; }

std::string PackageVersion() {
  return text_from_package([](char* buffer, int capacity) { return api().zul_Version(buffer, capacity); });
}

const char* ZulposVersion() { return ZUL_BUILD_DESCRIPTION; }

std::string GetStr(const char* name) {
  return text_from_package(
      [name](char* buffer, int capacity) { return api().zul_GetStr(name, buffer, capacity); });
}

int GetInt(const char* name) {
  int value = 0;
  Checked(api().zul_GetInt(name, &value));
  return value;
}

double GetFloat(const char* name) {
  double value = 0;
  Checked(api().zul_GetFloat(name, &value));
  return value;
}

List::List() : handle_(api().zul_ListNew()) {
  if (!handle_) Checked(ZUL_ERROR);
}

List::List(ZulList adopted) : handle_(adopted) {}

List::~List() {
  if (handle_) api().zul_ListFree(handle_);
}

int List::Count() const {
  const int count = api().zul_ListCount(handle_);
  Checked(count < 0 ? ZUL_ERROR : ZUL_TRUE);
  return count;
}

std::string List::Line(int index) const {
  return text_from_package(
      [&](char* buffer, int capacity) { return api().zul_ListGet(handle_, index, buffer, capacity); });
}

std::string List::Text() const {
  return text_from_package(
      [&](char* buffer, int capacity) { return api().zul_ListText(handle_, buffer, capacity); });
}

void List::LoadFromFile(const std::string& path) {
  Checked(api().zul_ListLoadFromFile(handle_, path.c_str()));
}

void List::SaveToFile(const std::string& path) const {
  Checked(api().zul_ListSaveToFile(handle_, path.c_str()));
}

} // namespace zulpos
