#include "support/scripted_chooser.h"

namespace zul00500 {

void ScriptedChooser::Run(TfrmCartaoDebito& form) {
  shown_.push_back(form.Caption);
  form.Click(next_ < clicks_.size() ? clicks_[next_++] : "Esc");
}

} // namespace zul00500
