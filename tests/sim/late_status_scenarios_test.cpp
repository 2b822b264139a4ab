// The late status of a settlement the manager took and never acknowledged
// in time: each shrunk history kept as a scenario.
#include "sim/scenario_support.h"

namespace zul00500::sim {
namespace {

// Finding 67 (I1): a manager took an "NCN" and acknowledged it only 30 s
// later; the manager had kept the request before, so the package took its
// late status, headed "NCN" and naming no sequence, for the acknowledgement
// of the next "NCN", which still lay in "req\\", and the next request
// replaced it untaken. After a take that was never acknowledged, such a
// status is held until the request leaves.
TEST(SettlementScenarios, ALateStatusOfAnUnacknowledgedTakeIsHeldInDoubt) {
  ExpectHeld(R"(history seed=317180 roots=dial,hiper printer=N0
step pay amount=4313 total=7000 kind=Q seed=865855894
step pay amount=13700 total=13700 kind=D seed=228027039 fault=cut:93
step pay amount=18372 total=24400 kind=C seed=3504686660
manager 1 status=ack:0 answer=refuse:0 twice
manager 4 status=ack:0 answer=approve:0 keep
manager 5 status=ack:30661 answer=approve:0
)");
}

// Finding 67 across a restart (I1): the till restarted between the take
// of an "NCN" and its late status, which came while the next "NCN" lay in
// "req\\"; the restarted till knew nothing of the take and counted the
// status at once, and the next request replaced the "NCN" untaken. The
// record of takes never acknowledged is kept on disk too.
TEST(SettlementScenarios, ALateStatusOfATakeBeforeARestartIsHeldInDoubt) {
  ExpectHeld(R"(history seed=788170 roots=dial,hiper printer=N0
step pay amount=1925 total=24200 kind=C seed=2690010219
step pay amount=21500 total=21500 kind=D seed=1412469498
step cancel-pending seed=992382587
step pay amount=5200 total=5200 kind=A seed=1803035619 fault=full:22
step pay amount=4869 total=20900 kind=C seed=4180968242
step restart seed=1622554740
step pay amount=1523 total=2900 kind=C seed=2460388364
manager 0 status=never:0 answer=approve:0
manager 6 status=torn:0 answer=approve:0
manager 9 status=early-other:0 answer=approve:0
manager 15 status=ack:36622 answer=approve:0
)");
}

} // namespace
} // namespace zul00500::sim
