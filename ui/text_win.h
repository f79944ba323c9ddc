// Texts by identifier, in the user-interface language, as 8-bit text in the thread's ANSI code
// page. A missing identifier gives an empty text.
#pragma once

#include <windows.h>

#include <string>

namespace tov {

// The module whose resources every lookup uses (the exe; tests may point it elsewhere).
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE instance);

// The whole stored text, embedded NULs included (the open-dialog filter has them).
std::string LoadText(UINT id);

// The same text as stored, UTF-16, for the calls that take file names and their patterns.
std::wstring LoadTextW(UINT id);

// The text used as a printf format with one string argument; the argument is never a format.
std::string FormatText(UINT id, const char* argument);

// The text used as a printf format with a string and an unsigned number, in that order (the
// title of the search results: " - %s - %u file(s)").
std::string FormatText2(UINT id, const char* text, unsigned number);

}  // namespace tov
