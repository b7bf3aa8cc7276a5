// Machine-wide usage counters under the product key's "Stats" subkey (REG_QWORD running totals).
#pragma once

#include <cstdint>
#include <string>

inline constexpr const wchar_t* STATS_QS_STARTS = L"QS_Starts";
inline constexpr const wchar_t* STATS_CONTEXTMENU_USED = L"Contextmenu_Used";
inline constexpr const wchar_t* STATS_FILES_WIPED = L"Files_wiped";
inline constexpr const wchar_t* STATS_WIPED_BYTES = L"Wiped_Bytes";

// Adds Amount to the counter Name. The read and the write are separate registry operations, so
// two programs counting at the same moment may lose one update; a failed write is ignored.
void Stats_Add(const std::wstring& Name, int64_t Amount);
