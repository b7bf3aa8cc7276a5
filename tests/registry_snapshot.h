// Reads a registry subtree in the 64-bit view (raw system calls, not the helpers under test), so a
// test can compare everything below a key with what it expects, extra keys and values included.
#pragma once

#include <windows.h>

#include <map>
#include <string>

// "" for the key itself, "Sub\\Key" below it; each with value name -> "TYPE:data" (REG_SZ as
// "SZ:text", REG_DWORD as "DWORD:n", others as "TYPE<n>").
using RegistryTree = std::map<std::wstring, std::map<std::wstring, std::wstring>>;

inline void SnapshotKey(HKEY key, const std::wstring& path, RegistryTree& tree) {
    auto& values = tree[path];
    for (DWORD i = 0;; ++i) {
        wchar_t name[512];
        DWORD nameLen = 512, type = 0;
        BYTE data[4096];
        DWORD size = sizeof data;
        LONG rc = RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data, &size);
        if (rc != ERROR_SUCCESS) break;
        std::wstring v;
        if (type == REG_SZ) {
            std::wstring s(reinterpret_cast<wchar_t*>(data), size / 2);
            while (!s.empty() && s.back() == L'\0') s.pop_back();
            v = L"SZ:" + s;
        } else if (type == REG_DWORD) {
            v = L"DWORD:" + std::to_wstring(*reinterpret_cast<DWORD*>(data));
        } else {
            v = L"TYPE" + std::to_wstring(type);
        }
        values[std::wstring(name, nameLen)] = v;
    }
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD len = 256;
        if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY child;
        if (RegOpenKeyExW(key, name, 0, KEY_READ | KEY_WOW64_64KEY, &child) == ERROR_SUCCESS) {
            SnapshotKey(child, path.empty() ? std::wstring(name) : path + L"\\" + name, tree);
            RegCloseKey(child);
        }
    }
}

// Empty when the key does not exist.
inline RegistryTree Snapshot(HKEY root, const std::wstring& sub) {
    RegistryTree tree;
    HKEY key;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) == ERROR_SUCCESS) {
        SnapshotKey(key, L"", tree);
        RegCloseKey(key);
    }
    return tree;
}

inline bool RawKeyExists(HKEY root, const std::wstring& sub) {
    HKEY key;
    if (RegOpenKeyExW(root, sub.c_str(), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

inline void RawDeleteTree(HKEY root, const std::wstring& sub) {
    HKEY k;
    if (RegOpenKeyExW(root, L"", 0, KEY_ALL_ACCESS | KEY_WOW64_64KEY, &k) == ERROR_SUCCESS) {
        RegDeleteTreeW(k, sub.c_str());
        RegDeleteKeyExW(k, sub.c_str(), KEY_WOW64_64KEY, 0);
        RegCloseKey(k);
    }
}

// Everything the context-menu registration may touch, as the tests name it.
inline const wchar_t* const REG_HANDLER = L"CLSID\\{7A31C0E2-94B5-4D18-A6F3-2E5C9B0D4A71}";
inline const wchar_t* const REG_VERB = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\CorvaneBlanko";
inline const wchar_t* const REG_QS_BLANKO = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\QS_Blanko";
inline const wchar_t* const REG_QS_REVIVO = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}\\shell\\QS_Revivo";
inline const wchar_t* const REG_ATTACH[] = {
    L"Drive\\shellex\\ContextMenuHandlers\\{7A31C0E2-94B5-4D18-A6F3-2E5C9B0D4A71}",
    L"Folder\\shellex\\ContextMenuHandlers\\{7A31C0E2-94B5-4D18-A6F3-2E5C9B0D4A71}",
    L"*\\shellex\\ContextMenuHandlers\\{7A31C0E2-94B5-4D18-A6F3-2E5C9B0D4A71}",
};
inline const wchar_t* const REG_CONTEXTMENUS = L"SOFTWARE\\Corvane\\Corvane Blanko\\contextmenus";

// Removes every trace of the registration (before and after each test that makes one).
inline void RemoveRegistration() {
    for (const wchar_t* k : REG_ATTACH) RawDeleteTree(HKEY_CLASSES_ROOT, k);
    RawDeleteTree(HKEY_CLASSES_ROOT, REG_HANDLER);
    RawDeleteTree(HKEY_CLASSES_ROOT, REG_VERB);
    RawDeleteTree(HKEY_CLASSES_ROOT, REG_QS_BLANKO);
    RawDeleteTree(HKEY_CLASSES_ROOT, REG_QS_REVIVO);
    RawDeleteTree(HKEY_LOCAL_MACHINE, REG_CONTEXTMENUS);
}
