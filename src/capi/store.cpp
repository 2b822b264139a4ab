// The exchange-file store: sequence numbers, backup names, removal by
// sequence.
#include "tef/settlement/store.h"
#include "capi/boundary.h"

using namespace zul00500;
using namespace zul00500::capi;

int ZUL_CALL GetSequence(char* sequence, int sequenceCapacity) {
  return Reader("GetSequence", [&] {
    StringRef out("GetSequence", "sequence", sequence, sequenceCapacity);
    out.value = zul00500::GetSequence();
    return ZUL_TRUE;
  });
}

int ZUL_CALL NewIntPosFileName(const char* directory, char* path, int pathCapacity) {
  return Guarded("NewIntPosFileName", [&] {
    StringRef out("NewIntPosFileName", "path", path, pathCapacity);
    out.value = zul00500::NewIntPosFileName(In(directory));
    return ZUL_TRUE;
  });
}

int ZUL_CALL DeleteIntPosFiles(const char* directory, const char* sequence) {
  return Guarded("DeleteIntPosFiles", [&] {
    zul00500::DeleteIntPosFiles(In(directory), In(sequence));
    return ZUL_TRUE;
  });
}
