// Part of a test run as an ordinary user. Root reads every file whatever its
// mode, and CI runs as root: a test of what a program may not read runs that
// part in a child process that became the user 65534 ("nobody"), to whom
// the folders it works in are given first.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zul00500::testing {

struct AsNobodyRun {
  // False when the child could not become that user (no such user in this
  // namespace, a container that forbids it, Windows) or could not reach a
  // given folder as that user: `why_not` says which.
  bool ran = false;
  std::string why_not;
  // What `body` returned; 1 when it threw, 128 + the signal that ended it.
  int status = 0;
};

// Forks. The child gives the native folders `given`, and all they hold, to
// the user 65534 and its group, leaves every other group, becomes that user
// and runs `body`, whose value is its exit status. The parent waits for it,
// then ends whatever the child started and left running (the child leads a
// process group of its own). Both sides flush standard output and error
// first, so that the child's messages come out once, where they belong.
AsNobodyRun RunAsNobody(const std::vector<std::string>& given, const std::function<int()>& body);

} // namespace zul00500::testing
