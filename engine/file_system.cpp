#include "engine/file_system.h"

#include "common/handles.h"
#include "ui/application.h"

#include <winternl.h>

#include <cstddef>
#include <cstring>

namespace {

bool StartsWith(const std::wstring& s, const wchar_t* prefix) { return s.rfind(prefix, 0) == 0; }

// The extended folder path (ends in "\") of a caller's folder path.
std::wstring ExtendedFolder(const std::wstring& Path) { return Path_WithSeparator(Path_Extended(Path_WithSeparator(Path))); }

// Attributes of the folder itself, INVALID_FILE_ATTRIBUTES when unreadable.
DWORD FolderAttributes(const std::wstring& ExtendedFolderPath) {
    return GetFileAttributesW(Path_WithoutSeparator(ExtendedFolderPath).c_str());
}

bool IsWalkableFolder(const std::wstring& ExtendedFolderPath) {
    DWORD a = FolderAttributes(ExtendedFolderPath);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) && !Attr_IsLink(a);
}

void RemoveTreeExtended(const std::wstring& Ext) {
    std::vector<TDirEntry> entries;
    Folder_List(Ext, L"*", entries);
    for (const auto& e : entries)
        if (e.IsDirectory() && !e.IsLink()) RemoveTreeExtended(Ext + e.Name + L"\\");
    if (Path_IsVolumeRoot(Ext)) return;
    std::wstring dir = Path_WithoutSeparator(Ext);
    SetFileAttributesW(dir.c_str(), 0);
    RemoveDirectoryW(dir.c_str());
}

void RemoveSubfoldersExtended(const std::wstring& Ext, int Depth) {
    std::vector<TDirEntry> entries;
    Folder_List(Ext, L"*", entries);
    for (const auto& e : entries)
        if (e.IsDirectory() && !e.IsLink()) RemoveSubfoldersExtended(Ext + e.Name + L"\\", Depth + 1);
    if (Depth != 0) RemoveTreeExtended(Ext);
}

void GetFilesExtended(const std::wstring& Path, const std::wstring& Ext, const std::wstring& Mask,
                      TStringList& List, bool Recursive) {
    std::vector<TDirEntry> entries;
    Folder_List(Ext, Mask, entries);
    for (const auto& e : entries)
        if (!e.IsDirectory()) List.push_back(Path + e.Name);
    if (!Recursive) return;
    entries.clear();
    Folder_List(Ext, L"*", entries);
    for (const auto& e : entries)
        if (e.IsDirectory() && !e.IsLink())
            GetFilesExtended(Path + e.Name + L"\\", Ext + e.Name + L"\\", Mask, List, true);
}

}  // namespace

bool Attr_IsLink(DWORD Attributes) {
    return Attributes != INVALID_FILE_ATTRIBUTES && (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }
bool IsDriveLetter(wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z'); }
bool IsDriveRooted(const std::wstring& p, size_t at) {
    return p.size() >= at + 3 && IsDriveLetter(p[at]) && p[at + 1] == L':' && IsSeparator(p[at + 2]);
}

// Length of "\\server\share" at the start of p (separators of either kind), 0 when p does not
// begin with a server and a share.
size_t UncRootLength(const std::wstring& p) {
    if (p.size() < 5 || !IsSeparator(p[0]) || !IsSeparator(p[1]) || IsSeparator(p[2])) return 0;
    size_t server = 2;
    while (server < p.size() && !IsSeparator(p[server])) ++server;
    if (server + 1 >= p.size() || IsSeparator(p[server + 1])) return 0;
    size_t share = server + 1;
    while (share < p.size() && !IsSeparator(p[share])) ++share;
    // "\\.\x" and "\\?\x" are device paths, not servers.
    if (server == 3 && (p[2] == L'.' || p[2] == L'?')) return 0;
    return share;
}

}  // namespace

bool Path_IsFullyQualified(const std::wstring& Path) {
    if (StartsWith(Path, L"\\\\?\\")) {
        if (IsDriveRooted(Path, 4)) return true;
        if (Path.size() >= 8 && (Path.compare(4, 4, L"UNC\\") == 0 || Path.compare(4, 4, L"unc\\") == 0))
            return UncRootLength(L"\\" + Path.substr(7)) != 0;
        return false;  // "\\?\GLOBALROOT\...", "\\?\Volume{...}", "\\?\C:": devices and volumes
    }
    return IsDriveRooted(Path, 0) || UncRootLength(Path) != 0;
}

std::wstring Path_Extended(const std::wstring& Path) {
    if (Path.empty() || StartsWith(Path, L"\\\\?\\") || StartsWith(Path, L"\\\\.\\")) return Path;
    // A fully qualified path keeps every name exactly as given: the system's own normalisation
    // drops trailing dots and spaces, and "C:\\x\\secret " would then name the other file
    // "secret". Only empty, "." and ".." parts are resolved here.
    std::wstring root;
    size_t rest = 0;
    if (IsDriveRooted(Path, 0)) {
        root = L"\\\\?\\" + Path.substr(0, 2);
        rest = 3;
    } else if (size_t unc = UncRootLength(Path)) {
        std::wstring serverShare = Path.substr(2, unc - 2);
        for (auto& c : serverShare)
            if (c == L'/') c = L'\\';
        root = L"\\\\?\\UNC\\" + serverShare;
        rest = unc;
    } else {
        // Relative forms are resolved against the current folder (the wipe itself refuses them).
        DWORD need = GetFullPathNameW(Path.c_str(), 0, nullptr, nullptr);
        if (need == 0) return Path;
        std::wstring full(need, L'\0');
        DWORD got = GetFullPathNameW(Path.c_str(), need, full.data(), nullptr);
        if (got == 0 || got >= need) return Path;
        full.resize(got);
        if (StartsWith(full, L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
        return L"\\\\?\\" + full;
    }
    std::vector<std::wstring> parts;
    bool endsAsFolder = IsSeparator(Path.back());
    for (size_t i = rest; i <= Path.size();) {
        size_t end = i;
        while (end < Path.size() && !IsSeparator(Path[end])) ++end;
        std::wstring part = Path.substr(i, end - i);
        if (part == L"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != L".") {
            parts.push_back(part);
        }
        if (end == Path.size() && (part == L"." || part == L"..")) endsAsFolder = true;
        i = end + 1;
    }
    std::wstring result = root;
    for (const auto& part : parts) result += L"\\" + part;
    if (parts.empty() ? rest == 3 || endsAsFolder : endsAsFolder) result += L"\\";
    return result;
}

std::wstring Path_WithSeparator(const std::wstring& Path) {
    if (!Path.empty() && Path.back() == L'\\') return Path;
    return Path + L"\\";
}

std::wstring Path_WithoutSeparator(const std::wstring& Path) {
    std::wstring p = Path;
    while (p.size() > 1 && p.back() == L'\\' && p[p.size() - 2] != L':') p.pop_back();
    return p;
}

bool Path_IsVolumeRoot(const std::wstring& ExtendedPath) {
    std::wstring p = ExtendedPath;
    if (StartsWith(p, L"\\\\?\\")) p = p.substr(4);
    if (StartsWith(p, L"UNC\\")) {
        // UNC\server\share with nothing but separators behind it.
        size_t server = p.find(L'\\', 4);
        if (server == std::wstring::npos) return true;
        size_t share = p.find(L'\\', server + 1);
        return share == std::wstring::npos || share + 1 >= p.size();
    }
    return p.size() <= 3 && p.size() >= 2 && p[1] == L':';
}

bool Path_Exists(const std::wstring& Path) {
    if (GetFileAttributesW(Path_Extended(Path).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    DWORD err = GetLastError();
    return !(err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND || err == ERROR_INVALID_NAME);
}

bool Folder_List(const std::wstring& Path, const std::wstring& Mask, std::vector<TDirEntry>& Entries) {
    WIN32_FIND_DATAW fd;
    handles::UniqueFind find(FindFirstFileExW((ExtendedFolder(Path) + Mask).c_str(), FindExInfoBasic, &fd,
                                              FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return false;
    do {
        if ((fd.cFileName[0] == L'.' && fd.cFileName[1] == 0) ||
            (fd.cFileName[0] == L'.' && fd.cFileName[1] == L'.' && fd.cFileName[2] == 0))
            continue;
        TDirEntry e;
        e.Name = fd.cFileName;
        e.Attributes = fd.dwFileAttributes;
        e.Size = (static_cast<int64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
        Entries.push_back(std::move(e));
    } while (FindNextFileW(find.get(), &fd));
    return true;
}

bool Disk_GetFreeSpace(wchar_t Drive, int64_t& FreeAvailable, int64_t& TotalSize) {
    wchar_t root[] = {Drive, L':', L'\\', 0};
    ULARGE_INTEGER avail, total;
    if (GetDiskFreeSpaceExW(root, &avail, &total, nullptr)) {
        FreeAvailable = static_cast<int64_t>(avail.QuadPart);
        TotalSize = static_cast<int64_t>(total.QuadPart);
        return true;
    }
    FreeAvailable = -1;
    TotalSize = -1;
    return false;
}

std::string Disk_GetFixedDrives() {
    std::string drives;
    for (char letter = 'B'; letter <= 'Z'; ++letter) {
        wchar_t root[] = {wchar_t(letter), L':', L'\\', 0};
        UINT type = GetDriveTypeW(root);
        if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) drives += letter;
    }
    return drives;
}

bool File_IsInUse(const std::wstring& Path) {
    handles::UniqueFile f(CreateFileW(Path_Extended(Path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !f;
}

int64_t File_GetSize(const std::wstring& Path) {
    std::wstring ext = Path_Extended(Path);
    // A pattern is no file name of ours.
    if (ext.find_first_of(L"*?", 4) != std::wstring::npos) return -1;
    // The directory entry's data, as a search would give it, without listing the folder.
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(ext.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Folder_RemoveSubfolders(const std::wstring& Path, int Depth) {
    std::wstring ext = ExtendedFolder(Path);
    if (IsWalkableFolder(ext)) RemoveSubfoldersExtended(ext, Depth);
}

void Folder_RemoveTree(const std::wstring& Path) {
    std::wstring ext = ExtendedFolder(Path);
    if (IsWalkableFolder(ext)) RemoveTreeExtended(ext);
}

void Folder_GetSubfolderNames(const std::wstring& Path, TStringList& List) {
    WIN32_FIND_DATAW fd;
    handles::UniqueFind find(FindFirstFileExW((ExtendedFolder(Path) + L"*").c_str(), FindExInfoBasic, &fd,
                                              FindExSearchNameMatch, nullptr, 0));
    if (!find) return;
    do {
        std::wstring name = fd.cFileName;
        if ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") List.push_back(name);
        ui::Application.ProcessMessages();
    } while (FindNextFileW(find.get(), &fd));
}

void Folder_GetFilesRecursive(const std::wstring& Path, const std::wstring& Mask, TStringList& List) {
    std::wstring ext = ExtendedFolder(Path);
    if (IsWalkableFolder(ext)) GetFilesExtended(Path, ext, Mask, List, true);
}

void Folder_GetFiles(const std::wstring& Path, const std::wstring& Mask, TStringList& List) {
    std::wstring ext = ExtendedFolder(Path);
    if (IsWalkableFolder(ext)) GetFilesExtended(Path, ext, Mask, List, false);
}

bool Path_IsFolder(const std::wstring& Path) {
    if (Path.size() < 3 || Path[1] != L':' || Path[2] != L'\\') return false;
    DWORD a = GetFileAttributesW(Path_Extended(Path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

handles::UniqueFile Folder_Hold(const std::wstring& Path, bool FollowLink, DWORD& Attributes) {
    Attributes = INVALID_FILE_ATTRIBUTES;
    const std::wstring ext = Path_WithoutSeparator(Path_Extended(Path));
    handles::UniqueFile h(CreateFileW(ext.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | (FollowLink ? 0 : FILE_FLAG_OPEN_REPARSE_POINT),
                                      nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    if (h && GetFileInformationByHandle(h.get(), &info)) Attributes = info.dwFileAttributes;
    return h;
}

bool File_RenameByHandle(HANDLE File, HANDLE Folder, const std::wstring& NewName) {
    // The native call takes a full name in the system's own form ("\??\X:\..."), on every
    // version (the Win32 by-handle wrapper passes it on unconverted on some and converts it on
    // others), or a bare name relative to a folder handle, which also spares the system a walk
    // down the whole path.
    std::wstring nt;
    if (Folder)
        nt = NewName;
    else if (StartsWith(NewName, L"\\\\?\\"))
        nt = L"\\??\\" + NewName.substr(4);
    if (nt.empty() || (Folder && nt.find(L'\\') != std::wstring::npos)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const size_t bytes = nt.size() * sizeof(wchar_t);
    std::vector<uint8_t> buffer(offsetof(FILE_RENAME_INFO, FileName) + bytes + sizeof(wchar_t), 0);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = FALSE;
    info->RootDirectory = Folder;
    info->FileNameLength = static_cast<DWORD>(bytes);
    std::memcpy(info->FileName, nt.data(), bytes);
    IO_STATUS_BLOCK io{};
    const NTSTATUS status = NtSetInformationFile(File, &io, info, static_cast<ULONG>(buffer.size()),
                                                 FileRenameInformation);
    if (NT_SUCCESS(status)) return true;
    SetLastError(RtlNtStatusToDosError(status));
    return false;
}

bool File_DeleteOnClose(HANDLE File) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return SetFileInformationByHandle(File, FileDispositionInfo, &dispose, sizeof dispose) != FALSE;
}

bool Link_Remove(const std::wstring& Path) {
    std::wstring ext = Path_WithoutSeparator(Path_Extended(Path));
    handles::UniqueFile h(CreateFileW(ext.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!h) return false;
    // Only a handle on the link itself may be deleted: a system that resolved the link would
    // otherwise delete its target (Wine does this for an empty target folder). And only a
    // reparse point that stands for another name (symbolic link, junction, mount point) is a
    // link: cloud placeholders, deduplicated and compressed files carry reparse points too, but
    // hold the data themselves, and deleting them unwiped would destroy nothing.
    FILE_ATTRIBUTE_TAG_INFO info{};
    if (!GetFileInformationByHandleEx(h.get(), FileAttributeTagInfo, &info, sizeof info) ||
        !Attr_IsLink(info.FileAttributes) || !IsReparseTagNameSurrogate(info.ReparseTag))
        return false;
    if (!File_DeleteOnClose(h.get())) return false;
    h.reset();
    return !Path_Exists(ext);
}
