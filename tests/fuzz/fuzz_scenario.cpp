// tefsim's scenario language: a scenario file of any bytes is either taken
// whole or refused with a ScenarioError naming the line; what it says for
// each operation is then worked out, down to the files tefsim would write.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tefsim/answers.h"
#include "tefsim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tefsim::Scenario scenario;
  try {
    scenario.add_text(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.txt");
  } catch (const tefsim::ScenarioError&) {
    return 0;
  }
  const tefsim::Transaction transaction{"REDEX", "000001", 46363.3333};
  for (const char* operation : {"ATV", "CRT", "CHQ", "CNC", "CNF", "NCN"}) {
    const zul00500::StringList request{std::string("000-000 = ") + operation, "001-000 = 0347520030",
                                       "003-000 = 1250", "999-999 = 0"};
    for (unsigned turn = 1; turn <= 2; ++turn)
      tefsim::plan_answer(request, scenario.behaviour_for(operation, turn), transaction);
  }
  return 0;
}
