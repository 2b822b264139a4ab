#include "support/package_reset.h"

#include "support/input_lock.h"
#include "support/state.h"
#include "tef/form.h"
#include "tef/settlement/memory.h"

namespace zul00500::testing {

void ResetPackageVariables() {
  frmCartaoDebito.reset();
  DirTef.clear();
  stNrSerie.clear();
  stMensagem_Zul00500.clear();
  doTrocoTef = 0;
  doValorTef = 0;
  stlCuponsTEF.reset();
  inContCuponsTEF = 0;
  if (InputLocked()) DesbloqueiaTeclado();
  ForgetSettledInThisProcess();
}

} // namespace zul00500::testing
