// The start-up of the windowed program up to the hand-over to its windows.
#pragma once

#include <string>
#include <vector>

// Name of the mutex that keeps a second instance from starting.
inline constexpr const wchar_t* SINGLE_INSTANCE_MUTEX = L"Corvane_Blanko1";

// Runs the start-up with the given arguments (without the program name). Returns the exit code,
// which is 0 on every path.
int Blanko_Start(const std::vector<std::wstring>& Arguments);
