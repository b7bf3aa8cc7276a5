#include "settings/registry.h"

#include "common/handles.h"
#include "common/text.h"
#include "settings/system.h"

#include <cstring>
#include <vector>

using handles::UniqueKey;

namespace {

using RegDeleteKeyExW_t = LONG(WINAPI*)(HKEY, LPCWSTR, REGSAM, DWORD);
// Looked up once at start: older systems lack it.
RegDeleteKeyExW_t PRegDeleteKeyExW = nullptr;

const wchar_t* ValueName(const std::wstring& Name) { return Name.c_str(); }

UniqueKey OpenKey(HKEY Root, const std::wstring& SubKey, REGSAM Mask) {
    UniqueKey key;
    if (RegOpenKeyExW(Root, SubKey.c_str(), 0, Mask, key.put()) != ERROR_SUCCESS) key.release();
    return key;
}

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

std::wstring CutAtZero(const wchar_t* p, size_t max) {
    size_t n = 0;
    while (n < max && p[n]) ++n;
    return std::wstring(p, n);
}

// Deletes every subkey of Key depth first, through handles opened with Mask.
void DeleteSubKeys(HKEY Key, REGSAM Mask) {
    for (;;) {
        wchar_t name[256];
        DWORD len = 256;
        // Always take index 0: the list shrinks as children go.
        if (RegEnumKeyExW(Key, 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) return;
        UniqueKey child = OpenKey(Key, name, Mask);
        if (child) DeleteSubKeys(child.get(), Mask);
        child.reset();
        if (RegDeleteKeyW(Key, name) != ERROR_SUCCESS) {
            if (!PRegDeleteKeyExW || PRegDeleteKeyExW(Key, name, Mask & (KEY_WOW64_64KEY | KEY_WOW64_32KEY), 0) !=
                                         ERROR_SUCCESS)
                return;  // a child that cannot go: stop instead of looping forever
        }
    }
}

}  // namespace

void Registry_InitSystemEntries() {
    HMODULE advapi = GetModuleHandleW(L"advapi32.dll");
    if (!advapi) advapi = LoadLibraryW(L"advapi32.dll");
    PRegDeleteKeyExW = advapi ? reinterpret_cast<RegDeleteKeyExW_t>(GetProcAddress(advapi, "RegDeleteKeyExW")) : nullptr;
}

REGSAM Registry_ReadMask() { return KEY_READ | (Is64BitWindows ? KEY_WOW64_64KEY : 0); }
REGSAM Registry_WriteMask() { return KEY_ALL_ACCESS | (Is64BitWindows ? KEY_WOW64_64KEY : 0); }

bool Registry_KeyExists(HKEY Root, const std::wstring& SubKey) {
    return OpenKey(Root, SubKey, Registry_ReadMask()).valid();
}

bool Registry_CreateKey(HKEY Root, const std::wstring& SubKey) {
    if (OpenKey(Root, SubKey, Registry_WriteMask())) return true;
    UniqueKey key;
    return RegCreateKeyExW(Root, SubKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Registry_WriteMask(),
                           nullptr, key.put(), nullptr) == ERROR_SUCCESS;
}

bool Registry_ValueExists(HKEY Root, const std::wstring& SubKey, const std::wstring& Name) {
    UniqueKey key = OpenKey(Root, SubKey, Registry_ReadMask());
    if (!key) return false;
    DWORD type = 0, size = 0;
    return RegQueryValueExW(key.get(), ValueName(Name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
}

std::wstring Registry_ReadString(HKEY Root, const std::wstring& SubKey, const std::wstring& Name) {
    UniqueKey key = OpenKey(Root, SubKey, Registry_ReadMask());
    if (!key) return {};
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.get(), ValueName(Name), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};

    if (IsStringType(type)) {
        if (size < 2) return {};
        // An odd size (a damaged value) keeps its last half character.
        const size_t chars = (size % 2 == 0) ? (size - 2) / 2 : (size + 1) / 2;
        std::vector<wchar_t> buf(chars + 2, L'\0');
        DWORD got = size;
        if (RegQueryValueExW(key.get(), ValueName(Name), nullptr, nullptr, reinterpret_cast<BYTE*>(buf.data()),
                             &got) != ERROR_SUCCESS)
            return {};
        return CutAtZero(buf.data(), chars);
    }
    if (type == REG_DWORD || type == REG_QWORD) {
        uint64_t v = 0;
        DWORD got = sizeof v;
        if (RegQueryValueExW(key.get(), ValueName(Name), nullptr, nullptr, reinterpret_cast<BYTE*>(&v), &got) !=
            ERROR_SUCCESS)
            return {};
        if (type == REG_DWORD) return std::to_wstring(static_cast<uint32_t>(v));
        return std::to_wstring(static_cast<int64_t>(v));
    }
    if (type == REG_BINARY || type == REG_NONE) {
        if (size == 0) return {};
        // The bytes are taken as UTF-16 code units, as many characters as there are bytes.
        std::vector<wchar_t> buf(size + 1, L'\0');
        DWORD got = size;
        if (RegQueryValueExW(key.get(), ValueName(Name), nullptr, nullptr, reinterpret_cast<BYTE*>(buf.data()),
                             &got) != ERROR_SUCCESS)
            return {};
        return CutAtZero(buf.data(), size);
    }
    return {};
}

int64_t Registry_ReadInt64(HKEY Root, const std::wstring& SubKey, const std::wstring& Name) {
    UniqueKey key = OpenKey(Root, SubKey, Registry_ReadMask());
    if (!key) return 0;
    uint8_t buf[8] = {};
    DWORD type = 0, size = sizeof buf;
    LONG rc = RegQueryValueExW(key.get(), ValueName(Name), nullptr, &type, buf, &size);
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return 0;

    int64_t result = 0;
    switch (type) {
    case REG_QWORD:
        if (rc != ERROR_SUCCESS) return 0;
        std::memcpy(&result, buf, 8);
        return result;
    case REG_DWORD: {
        if (rc != ERROR_SUCCESS) return 0;
        uint32_t v;
        std::memcpy(&v, buf, 4);
        return v;
    }
    case REG_BINARY:
    case REG_NONE:
        if (rc != ERROR_SUCCESS) return 0;  // more than 8 bytes
        std::memcpy(&result, buf, 8);      // bytes beyond the value's size are still zero
        return result;
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ: {
        std::wstring s;
        if (rc == ERROR_SUCCESS) {
            s = CutAtZero(reinterpret_cast<const wchar_t*>(buf), size / 2);
        } else {
            // Longer than the 8-byte buffer: read again with the reported size.
            std::vector<wchar_t> big(size / 2 + 2, L'\0');
            DWORD got = size;
            if (RegQueryValueExW(key.get(), ValueName(Name), nullptr, nullptr, reinterpret_cast<BYTE*>(big.data()),
                                 &got) != ERROR_SUCCESS)
                return 0;
            s = CutAtZero(big.data(), got / 2);
        }
        int64_t v = 0;
        return text::ToInt64(s, v) ? v : 0;
    }
    default:
        return 0;
    }
}

bool Registry_WriteValue(HKEY Root, const std::wstring& SubKey, const std::wstring& Name, const void* Data,
                         DWORD Size, DWORD Type) {
    UniqueKey key = OpenKey(Root, SubKey, Registry_WriteMask());
    if (!key && RegCreateKeyExW(Root, SubKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, Registry_WriteMask(),
                                nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return RegSetValueExW(key.get(), ValueName(Name), 0, Type, static_cast<const BYTE*>(Data), Size) ==
           ERROR_SUCCESS;
}

bool Registry_WriteString(HKEY Root, const std::wstring& SubKey, const std::wstring& Name,
                          const std::wstring& Value) {
    // An empty text is stored as a string value without data.
    const DWORD size = Value.empty() ? 0 : DWORD((Value.size() + 1) * sizeof(wchar_t));
    return Registry_WriteValue(Root, SubKey, Name, Value.c_str(), size, REG_SZ);
}

bool Registry_WriteDWord(HKEY Root, const std::wstring& SubKey, const std::wstring& Name, DWORD Value) {
    return Registry_WriteValue(Root, SubKey, Name, &Value, sizeof Value, REG_DWORD);
}

bool Registry_WriteQWord(HKEY Root, const std::wstring& SubKey, const std::wstring& Name, int64_t Value) {
    return Registry_WriteValue(Root, SubKey, Name, &Value, sizeof Value, REG_QWORD);
}

bool Registry_DeleteValue(HKEY Root, const std::wstring& SubKey, const std::wstring& Name) {
    UniqueKey key = OpenKey(Root, SubKey, Registry_WriteMask());
    return key && RegDeleteValueW(key.get(), ValueName(Name)) == ERROR_SUCCESS;
}

bool Registry_DeleteKey(HKEY Root, const std::wstring& SubKey) {
    if (SubKey.empty()) return false;  // never the root itself
    const REGSAM mask = Registry_WriteMask();
    {
        UniqueKey key = OpenKey(Root, SubKey, mask);
        if (key) DeleteSubKeys(key.get(), mask);
    }
    RegDeleteKeyW(Root, SubKey.c_str());
    // The plain by-name deletion does not reach the 64-bit view from a 32-bit process.
    if (Registry_KeyExists(Root, SubKey) && PRegDeleteKeyExW)
        PRegDeleteKeyExW(Root, SubKey.c_str(), mask, 0);
    return !Registry_KeyExists(Root, SubKey);
}
