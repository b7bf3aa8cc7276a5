// File-system helpers of the wipe engine (and of a few other parts of both programs).
// All take wide paths in the caller's form and work internally on extended-length paths ("\\?\"),
// so trees deeper than 260 characters behave like any other. None raises; failure shows in the
// result. Listings use the system's order and never enter a directory that is a reparse point
// (junction, symbolic link, mount point).
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

using TStringList = std::vector<std::wstring>;

// Free bytes available to the calling user and the drive's total size; both -1 on failure.
bool Disk_GetFreeSpace(wchar_t Drive, int64_t& FreeAvailable, int64_t& TotalSize);
// Letters B to Z whose root is a fixed disk or a RAM disk, in that order ("CDE"); A never.
std::string Disk_GetFixedDrives();
// True when the file cannot be opened exclusively for reading and writing: held by someone
// else, access denied, or not there at all.
bool File_IsInUse(const std::wstring& Path);
// Size of the file from its directory entry; -1 when there is no such file (or it is a folder).
int64_t File_GetSize(const std::wstring& Path);
// Removes, deepest first, every subfolder tree of Path that holds no files; Path itself stays
// (called with Depth 0). Links are neither entered nor removed.
void Folder_RemoveSubfolders(const std::wstring& Path, int Depth);
// Removes Path and every folder below it that holds nothing, attributes cleared first. Folders
// that still hold something stay; failures are ignored. Links are neither entered nor removed.
void Folder_RemoveTree(const std::wstring& Path);
// Bare names of the subfolders of Path (which ends in "\"); processes pending messages while
// it lists.
void Folder_GetSubfolderNames(const std::wstring& Path, TStringList& List);
// Path + name of every file matching Path + Mask, then the same for each subfolder, depth-first.
// List is not cleared.
void Folder_GetFilesRecursive(const std::wstring& Path, const std::wstring& Mask, TStringList& List);
// The first step of the above only: the files directly in Path.
void Folder_GetFiles(const std::wstring& Path, const std::wstring& Mask, TStringList& List);
// True only for a drive path ("X:\...") whose attributes can be read and name a directory.
bool Path_IsFolder(const std::wstring& Path);

// --- Helpers the engine's walks share ---

// The extended-length form of Path ("\\?\C:\..." or "\\?\UNC\server\share\..."); a path that
// already is in device form is returned unchanged. Of a fully qualified path only empty, "." and
// ".." parts are resolved and every name is kept exactly (trailing dots and spaces included);
// other paths are made absolute against the current folder.
std::wstring Path_Extended(const std::wstring& Path);
// True for a path that names one definite place: "X:\...", "\\server\share..." or their extended
// forms "\\?\X:\..." and "\\?\UNC\server\share...". Relative ("name"), drive-relative ("X:name"),
// root-relative ("\name") and device paths ("\\.\...", "\\?\GLOBALROOT\...", "\\?\X:") are not.
bool Path_IsFullyQualified(const std::wstring& Path);
// Path with a "\" at the end.
std::wstring Path_WithSeparator(const std::wstring& Path);
// Path without the trailing "\" (a drive root keeps it: "\\?\C:\").
std::wstring Path_WithoutSeparator(const std::wstring& Path);
// True when the (extended) folder path names the root of a drive or of a network share.
bool Path_IsVolumeRoot(const std::wstring& ExtendedPath);
// True when something (file, folder or link) exists under that name, or its state cannot be
// told (access denied): a caller asking "is it gone?" gets "no" unless it certainly is.
bool Path_Exists(const std::wstring& Path);

// True for any reparse point: walks never enter one and wipes never write through one.
bool Attr_IsLink(DWORD Attributes);

// One directory entry of a listing.
struct TDirEntry {
    std::wstring Name;
    DWORD Attributes = 0;
    int64_t Size = 0;
    bool IsDirectory() const { return (Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsLink() const { return Attr_IsLink(Attributes); }
};
// Every entry of the folder (Path ends in "\") matching Mask, without "." and "..", in the
// system's order. False when the folder cannot be listed at all.
bool Folder_List(const std::wstring& Path, const std::wstring& Mask, std::vector<TDirEntry>& Entries);

// Opens the folder Path for listing and shares everything with others but deletion: while the
// handle is held, nobody can rename, remove or replace the folder (so no link can take its place
// under the walk). With FollowLink false a link in Path's place is opened as itself. Attributes
// receives those of the opened object, INVALID_FILE_ATTRIBUTES when nothing could be opened.
handles::UniqueFile Folder_Hold(const std::wstring& Path, bool FollowLink, DWORD& Attributes);

// Renames the open file (opened with DELETE access) by its handle, so the name that changes is
// that of this very file whatever happened to its old name. With Folder given (a handle on the
// folder the file is in), NewName is a bare name placed in that very folder; otherwise NewName
// is a full extended path ("\\?\X:\..."). Never replaces: a name that is taken fails with
// ERROR_ALREADY_EXISTS.
bool File_RenameByHandle(HANDLE File, HANDLE Folder, const std::wstring& NewName);
// Marks the open file (opened with DELETE access) for deletion when its last handle is closed.
bool File_DeleteOnClose(HANDLE File);

// Removes a link (junction, symbolic link, mount point) itself, never what it points to: the
// name is opened as the link, and only a handle the system confirms to be the link is deleted.
// Any other reparse point (a cloud placeholder, a deduplicated or compressed file holding data)
// is left alone and the result is false: the caller counts it as not destroyed.
// Where the system cannot open the link itself (Wine resolves it), nothing is done and the
// result is false.
bool Link_Remove(const std::wstring& Path);
