// The network chooser of the tests: clicks the form's controls from a script.
#pragma once

#include <string>
#include <vector>

#include "tef/form.h"

namespace zul00500 {

// Clicks the controls in the given order, one per dialog shown; when the
// script is used up it closes the dialog with Esc.
class ScriptedChooser : public NetworkChooser {
public:
  explicit ScriptedChooser(std::vector<std::string> clicks = {}) : clicks_(std::move(clicks)) {}
  void Push(std::string control) { clicks_.push_back(std::move(control)); }
  void Run(TfrmCartaoDebito& form) override;
  // Captions of the dialogs shown so far, in order.
  const std::vector<std::string>& Shown() const { return shown_; }

private:
  std::vector<std::string> clicks_;
  std::size_t next_ = 0;
  std::vector<std::string> shown_;
};

} // namespace zul00500
