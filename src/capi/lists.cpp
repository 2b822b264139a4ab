// String lists for the host: opaque handles over the package's StringList.
#include "capi/boundary.h"

#include <cstdint>

using namespace zul00500;
using namespace zul00500::capi;

ZulList ZUL_CALL zul_ListNew(void) {
  ClearLastError();
  try {
    return NewListHandle(std::make_shared<StringList>());
  } catch (...) {
    FailWithCurrentException("zul_ListNew");
    return nullptr;
  }
}

int ZUL_CALL zul_ListFree(ZulList list) {
  return Reader("zul_ListFree", [&] {
    if (!list) return ZUL_TRUE; // as free(NULL)
    if (ListRecord(list, "list").package_owned)
      throw ArgumentError("list", "the package's own list, which the host does not free");
    FreeListHandle(list);
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_ListCount(ZulList list) {
  return Reader("zul_ListCount", [&] {
    const std::size_t count = ListOf(list, "list").Count();
    if (count > static_cast<std::size_t>(INT32_MAX))
      throw ArgumentError("list", "more lines than an int counts");
    return static_cast<int>(count);
  });
}

int ZUL_CALL zul_ListGet(ZulList list, int index, char* value, int capacity) {
  return Reader("zul_ListGet", [&] {
    const StringList& lines = ListOf(list, "list");
    if (index < 0 || static_cast<std::size_t>(index) >= lines.Count())
      throw ArgumentError("index", std::to_string(index) + " is not a line of a list of " +
                                       std::to_string(lines.Count()));
    return CopyOut(lines[static_cast<std::size_t>(index)], value, capacity, "zul_ListGet");
  });
}

int ZUL_CALL zul_ListAdd(ZulList list, const char* line) {
  return Reader("zul_ListAdd", [&] {
    ListOf(list, "list").Add(In(line));
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_ListClear(ZulList list) {
  return Reader("zul_ListClear", [&] {
    ListOf(list, "list").Clear();
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_ListText(ZulList list, char* value, int capacity) {
  return Reader("zul_ListText",
                [&] { return CopyOut(ListOf(list, "list").Text(), value, capacity, "zul_ListText"); });
}

int ZUL_CALL zul_ListSetText(ZulList list, const char* text) {
  return Reader("zul_ListSetText", [&] {
    ListOf(list, "list").SetText(In(text));
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_ListLoadFromFile(ZulList list, const char* path) {
  return Reader("zul_ListLoadFromFile", [&] {
    StringList& lines = ListOf(list, "list");
    // A failed load leaves the list as it was.
    StringList loaded;
    loaded.LoadFromFile(In(path));
    lines = std::move(loaded);
    return ZUL_TRUE;
  });
}

int ZUL_CALL zul_ListSaveToFile(ZulList list, const char* path) {
  return Reader("zul_ListSaveToFile", [&] {
    ListOf(list, "list").SaveToFile(In(path));
    return ZUL_TRUE;
  });
}
