#include "settings/stats.h"

#include "settings/registry.h"

#include <windows.h>

void Stats_Add(const std::wstring& Name, int64_t Amount) {
    uint64_t total = static_cast<uint64_t>(Amount);
    if (Registry_ValueExists(HKEY_LOCAL_MACHINE, STATS_KEY, Name))
        // Also takes a REG_DWORD or a decimal text; the total is rewritten as REG_QWORD.
        total += static_cast<uint64_t>(Registry_ReadInt64(HKEY_LOCAL_MACHINE, STATS_KEY, Name));
    Registry_WriteQWord(HKEY_LOCAL_MACHINE, STATS_KEY, Name, static_cast<int64_t>(total));
}
