// A fault hook of the file copy, for tests: after failAfterBytes bytes have
// reached the temporary file, the next write fails with error (an errno
// value), as a full disk would. A negative count turns the fault off.
#pragma once

namespace host {

void SetCopyWriteFault(long long failAfterBytes, int error);

}  // namespace host
