// The terminal's stand-ins for the operator's dialogs, beside the platform's
// windows (window_form.h): where there are no window dialogs and a person
// sits at the terminal (a development machine, zulpos), the message and the
// network choice are printed and answered there. Text is code page 1252,
// shown as the terminal's UTF-8.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zul00500::platform {

// Prints `text`. When `yes_no` and the standard input is a terminal, asks
// "[s/n] " and returns true for an answer that begins with s or y (either
// case); false otherwise, and at the end of the input.
bool console_message(const std::string& text, bool yes_no);

// One choice of a console_choice: the key the person types, and its label.
using ConsoleChoice = std::pair<std::string, std::string>;

// Prints `caption` and one line per choice, then asks `prompt` until the
// answer is one of the keys; an empty answer or the end of the input gives
// `none`. Returns the key.
std::string console_choice(const std::string& caption, const std::vector<ConsoleChoice>& choices,
                           const std::string& prompt, const std::string& none);

} // namespace zul00500::platform
