#include "platform/console_dialogs.h"

#include <algorithm>
#include <iostream>

#include "platform/process.h"
#include "platform/text_encoding.h"

namespace zul00500::platform {

namespace {
// The answer's text without the blanks around it; nothing at the end of the
// input.
bool read_answer(std::string& answer) {
  if (!std::getline(std::cin, answer)) return false;
  const std::size_t first = answer.find_first_not_of(" \t\r");
  answer = first == std::string::npos ? std::string() : answer.substr(first);
  answer.erase(answer.find_last_not_of(" \t\r") + 1);
  return true;
}
} // namespace

bool console_message(const std::string& text, bool yes_no) {
  std::cout << cp1252_to_utf8(text) << std::endl;
  if (!yes_no || !stdin_is_terminal()) return false;
  std::cout << "[s/n] " << std::flush;
  std::string answer;
  if (!read_answer(answer) || answer.empty()) return false;
  return answer[0] == 's' || answer[0] == 'S' || answer[0] == 'y' || answer[0] == 'Y';
}

std::string console_choice(const std::string& caption, const std::vector<ConsoleChoice>& choices,
                           const std::string& prompt, const std::string& none) {
  std::cout << cp1252_to_utf8(caption) << "\n";
  for (const auto& [key, label] : choices) std::cout << "  " << key << " - " << cp1252_to_utf8(label) << "\n";
  for (;;) {
    std::cout << cp1252_to_utf8(prompt) << std::flush;
    std::string answer;
    if (!read_answer(answer) || answer.empty()) return none;
    if (std::any_of(choices.begin(), choices.end(),
                    [&](const ConsoleChoice& c) { return c.first == answer; }))
      return answer;
  }
}

} // namespace zul00500::platform
