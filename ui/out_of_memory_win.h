// Running out of memory after start-up: the operation that ran out is abandoned and the user is
// told, with the system's text for ERROR_NOT_ENOUGH_MEMORY under the loader's error caption.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tov {

// Shows the message box, owned by the top-level window of `window`. A report asked for while
// one is showing (a paint inside its modal loop running out too) is left out.
void ReportOutOfMemory(HWND window);

// How many times ReportOutOfMemory has been called on this thread, shown or left out: an
// operation that spans several messages compares it before and after.
std::uint64_t OutOfMemoryReports();

}  // namespace tov
