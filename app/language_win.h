// Applies the command line's language switch to the calling thread.
#pragma once

namespace tov {

// Sets the thread locale of the switch and the matching user-interface language (which picks
// the resources on Windows Vista and later). A missing or malformed switch changes nothing.
// Returns true when a switch was applied.
bool ApplyLanguageSwitch(const char* command_line);

}  // namespace tov
