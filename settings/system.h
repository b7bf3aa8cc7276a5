// System helpers and the values both programs compute once at start, before any form exists.
#pragma once

#include <windows.h>

#include <string>

// True when the program runs on 64-bit Windows. The 32-bit build asks WOW64; the 64-bit build
// is on 64-bit Windows by definition. Drives the registry view flag and the handler library.
extern bool Is64BitWindows;
// Folder of the running program file, without the trailing backslash.
extern std::wstring ProgramFolder;
// The Windows folder as the system reports it.
extern std::wstring WindowsFolder;

// Fills the values above (and the registry helpers' optional system entry points). Call once at
// start before the first registry access; calling again recomputes the same values.
void Init_SharedValues();

// True when this process is a 32-bit process under WOW64; false when the query is unavailable.
bool Is_Wow64();
// True when the thread's (or else the process's) token lists the built-in Administrators group.
// Never raises: any failing system call gives false.
bool Is_Administrator();

// File-system redirection of WOW64; each is false when the system lacks the function.
bool FsRedirection_Disable(PVOID& OldValue);
bool FsRedirection_Revert(PVOID OldValue);
bool FsRedirection_Enable();
