// Reading an answer file: the whole text split into lines, then the fields
// looked up by name, as every answer reader does.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "support/string_list.h"

namespace {

// A 60-line answer in the manager's "name = value" form, CR LF ended.
std::string SixtyLineAnswer() {
  std::string text;
  char line[64];
  for (int i = 0; i < 60; ++i) {
    std::snprintf(line, sizeof line, "%03d-000 = value of field %d\r\n", i, i);
    text += line;
  }
  return text;
}

void BM_SetText(benchmark::State& state) {
  const std::string text = SixtyLineAnswer();
  zul00500::StringList list;
  for (auto _ : state) {
    list.SetText(text);
    benchmark::DoNotOptimize(list.Count());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_SetText);

void BM_SetTextAndFieldLookups(benchmark::State& state) {
  const std::string text = SixtyLineAnswer();
  // Early, middle, last and missing fields: the lookup is a scan.
  const char* const names[] = {"000-000 ", "030-000 ", "059-000 ", "999-999 "};
  zul00500::StringList list;
  for (auto _ : state) {
    list.SetText(text);
    for (const char* name : names) benchmark::DoNotOptimize(list.Field(name));
  }
}
BENCHMARK(BM_SetTextAndFieldLookups);

} // namespace
