// A stand-in for the Unicode CSV library that has "OpenForm" but neither "Start" nor "CloseForm".
#include "viewers/csv_list_utf_api.h"

namespace {
int open_calls = 0;
}

extern "C" {
TESSARY_CSVLIST_EXPORT void TESSARY_CSVLIST_CALL OpenForm(void*, int) {
  ++open_calls;
}
// How often OpenForm ran, so a test sees that the library was really called.
TESSARY_CSVLIST_EXPORT int StubOpenCalls() {
  return open_calls;
}
}
