// Counting a run, wiping folder trees and the run over the whole list.
#include "engine/blanko.h"
#include "engine/finisher.h"

#include <windows.h>

#include <algorithm>

namespace {

uint32_t BlocksOf(int64_t Size) {
    return Size > 0 ? static_cast<uint32_t>((Size + BLOCK_SIZE - 1) / BLOCK_SIZE) : 0;
}

}  // namespace

void TBlanko::Count_File(const std::wstring& Path, uint32_t& totalfiles, int64_t& totalsize,
                         uint32_t& totalblocksToWipe) {
    int64_t size = Path_IsFullyQualified(Path) ? File_GetSize(Path) : -1;
    if (size > 0) {
        totalsize += size;
        totalblocksToWipe += BlocksOf(size);
    }
    ++totalfiles;
}

void TBlanko::Count_Folder(const std::wstring& Dir, uint32_t& totalfiles, int64_t& totalsize,
                           uint32_t& totalblocksToWipe) {
    if (FLAG_STOP || !Path_IsFullyQualified(Dir)) return;
    const std::wstring dir = Path_WithSeparator(Path_Extended(Path_WithSeparator(Dir)));
    // A selected link stands for nothing to overwrite.
    DWORD attributes = GetFileAttributesW(Path_WithoutSeparator(dir).c_str());
    if (Attr_IsLink(attributes)) return;
    // One listing gives the sizes of the files and the subfolders; no file is opened.
    std::vector<TDirEntry> entries;
    Folder_List(dir, L"*", entries);
    for (const auto& e : entries) {
        if (e.IsDirectory()) continue;
        if (!e.IsLink() && e.Size > 0) {
            totalsize += e.Size;
            totalblocksToWipe += BlocksOf(e.Size);
        }
        ++totalfiles;
    }
    for (const auto& e : entries)
        if (e.IsDirectory() && !e.IsLink()) Count_Folder(dir + e.Name + L"\\", totalfiles, totalsize, totalblocksToWipe);
}

bool TBlanko::Prepare_CountFiles_and_TotalSize(uint32_t& totalfiles, int64_t& totalsize,
                                               uint32_t& totalblocksToWipe) {
    totalfiles = 0;
    totalsize = 0;
    totalblocksToWipe = 0;
    if (FTree) {
        for (ui::PVirtualNode node = FTree->GetFirst(); node; node = FTree->GetNext(node)) {
            if (FLAG_STOP) break;
            const TWipeItem* item = FTree->GetNodeData<TWipeItem>(node);
            if (!item) continue;
            switch (item->Typ) {
                case TYP_FILE: Count_File(item->Text, totalfiles, totalsize, totalblocksToWipe); break;
                case TYP_FOLDER: Count_Folder(item->Text, totalfiles, totalsize, totalblocksToWipe); break;
                case TYP_RECYCLEBIN: {
                    TStringList binFiles;
                    RecycleBin_GetFiles(binFiles);
                    for (const auto& f : binFiles) Count_File(f, totalfiles, totalsize, totalblocksToWipe);
                    break;
                }
                case TYP_FREEDISKSPACE: {
                    int64_t available, total;
                    if (Disk_GetFreeSpace(item->Drive, available, total) && available > 0) {
                        ++totalfiles;
                        totalsize += available;
                        totalblocksToWipe += BlocksOf(available);
                    }
                    break;
                }
            }
        }
    }
    totalblocksToWipe *= static_cast<uint32_t>(WipeMethod_PassCount(USE_WIPE_METHOD));
    return false;
}

bool TBlanko::Wipe_Folder(const std::wstring& Dir, ui::TProgressBar* ProgressBar, uint32_t& Errors,
                          uint32_t& FilesDeleted) {
    if (FLAG_STOP) return false;
    // A path relative to whatever the current folder is, or a device, is no selection.
    if (!Path_IsFullyQualified(Dir)) {
        ++Errors;
        return false;
    }
    const std::wstring dir = Path_WithSeparator(Path_Extended(Path_WithSeparator(Dir)));
    // A folder row that is itself a link: remove the link, never walk into its target.
    DWORD attributes = GetFileAttributesW(Path_WithoutSeparator(dir).c_str());
    if (Attr_IsLink(attributes)) {
        if (Link_Remove(dir)) return true;
        ++Errors;
        return false;
    }
    // A file named as a folder is not destroyed by walking a folder: the row is not done.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ++Errors;
        return false;
    }
    TStatsBatch batch(*this);
    return Wipe_FolderExtended(dir, ProgressBar, Errors, FilesDeleted);
}

bool TBlanko::Wipe_FolderExtended(const std::wstring& Dir, ui::TProgressBar* ProgressBar, uint32_t& Errors,
                                  uint32_t& FilesDeleted) {
    if (FLAG_STOP) return false;
    // The folder is held while its files and subfolders are destroyed: nobody can move it away
    // and put a link in its place, here or on the way down from the selected folder (each level
    // holds its own). The parent's listing may be old: should a link already stand here, nothing
    // is listed or written through it and the tree is not done.
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    const handles::UniqueFile hold = Folder_Hold(Dir, false, attributes);
    // (Both looks: Wine opens what a link points to even when asked for the link itself, but
    // its name's attributes still show the link.)
    if (Attr_IsLink(attributes) || Attr_IsLink(GetFileAttributesW(Path_WithoutSeparator(Dir).c_str()))) {
        ++Errors;
        return false;
    }
    bool result = true;
    // The folder is listed once, before anything in it is renamed or deleted.
    std::vector<TDirEntry> entries;
    if (!Folder_List(Dir, L"*", entries)) {
        // A folder that is not there holds nothing to destroy. One that cannot be listed (no
        // right to, a damaged directory) may hold anything: it is not done.
        const DWORD err = GetLastError();
        if (err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND && err != ERROR_NO_MORE_FILES) {
            ++Errors;
            return false;
        }
    }

    // Random names of destroyed files, checked for all files of the folder in one listing.
    std::vector<std::wstring> gone;
    bool stopped = false;
    if (!FFinisher)
        FFinisher = std::make_unique<TFinisher>(
            [this](handles::UniqueFile& File, HANDLE Folder, const std::wstring& Path, std::wstring& Candidate) {
                return Finish_File(File, Folder, Path, Candidate);
            });
    for (const auto& e : entries) {
        if (e.IsDirectory()) continue;
        // Files not reached before a stop stay exactly as they are.
        if (FLAG_STOP) {
            stopped = true;
            break;
        }
        std::wstring randomName;
        bool handedOver = false;
        // Wipe_File counts the error of every file it fails; nothing is added here.
        if (!Wipe_FileExtended(Dir + e.Name, hold.get(), ProgressBar, Errors, &randomName, &handedOver))
            result = false;
        else if (handedOver)
            continue;  // its outcome comes with the finisher's drain below
        else if (randomName.empty())
            ++FilesDeleted;  // a link removed as a link
        else
            gone.push_back(randomName.substr(Dir.size()));
    }
    // The finisher may still hold a file of this folder: wait for it (the folder's hold must
    // outlive it) and take over what it did.
    std::vector<std::wstring> renamed;
    const uint32_t errorsBefore = Errors;
    FFinisher->Drain(Errors, renamed);
    if (Errors != errorsBefore) result = false;
    for (const auto& name : renamed) gone.push_back(name.substr(Dir.size()));
    if (!gone.empty()) {
        std::vector<TDirEntry> now;
        const bool listed = Folder_List(Dir, L"*", now);
        std::vector<std::wstring> present;
        for (const auto& e : now) present.push_back(e.Name);
        std::sort(present.begin(), present.end());
        for (const auto& name : gone) {
            bool left = listed ? std::binary_search(present.begin(), present.end(), name) : Path_Exists(Dir + name);
            if (left) {
                ++Errors;
                result = false;
            } else {
                ++FilesDeleted;
            }
        }
    }
    if (stopped) return false;

    for (const auto& e : entries) {
        if (!e.IsDirectory()) continue;
        if (FLAG_STOP) return false;
        if (e.IsLink()) {
            // A link inside the tree goes as a link; its target stays untouched.
            if (!Link_Remove(Dir + e.Name)) {
                ++Errors;
                result = false;
            }
            continue;
        }
        if (!Wipe_FolderExtended(Dir + e.Name + L"\\", ProgressBar, Errors, FilesDeleted)) result = false;
    }
    return result && !FLAG_STOP;
}

bool TBlanko::Wipe(ui::TProgressBar* ProgressBar, uint32_t& Errors, uint32_t& FilesDeleted) {
    Errors = 0;
    FilesDeleted = 0;
    if (!FTree) return false;
    TStatsBatch batch(*this);

    // Work.
    for (ui::PVirtualNode node = FTree->GetFirst(); node; node = FTree->GetNext(node)) {
        if (FLAG_STOP) break;
        TWipeItem* item = FTree->GetNodeData<TWipeItem>(node);
        if (!item) continue;
        switch (item->Typ) {
            case TYP_FILE:
                if (Wipe_File(item->Text, ProgressBar, Errors)) {
                    ++FilesDeleted;
                    item->Done = true;
                }
                break;
            case TYP_FOLDER:
                if (Wipe_Folder(item->Text, ProgressBar, Errors, FilesDeleted)) item->Done = true;
                break;
            case TYP_RECYCLEBIN: Wipe_RecycleBinRow(*item, ProgressBar, Errors, FilesDeleted); break;
            case TYP_FREEDISKSPACE: Wipe_FreeDiskSpaceRow(*item, ProgressBar, Errors); break;
        }
    }
    FSpecialMode_SkipFirstNullStep = false;

    // Clean-up: always runs to the end, also after a stop.
    ui::PVirtualNode node = FTree->GetFirst();
    while (node) {
        ui::PVirtualNode next = FTree->GetNext(node);
        TWipeItem* item = FTree->GetNodeData<TWipeItem>(node);
        if (!item || !item->Done) {
            node = next;
            continue;
        }
        bool remove = true;
        switch (item->Typ) {
            case TYP_FOLDER: {
                const std::wstring folder = Path_WithSeparator(item->Text);
                // A drive's (or share's) root keeps all its folders.
                if (folder.size() >= 4 && !Path_IsVolumeRoot(Path_Extended(folder))) {
                    Folder_RemoveSubfolders(folder, 0);
                    Folder_RemoveTree(folder);
                }
                break;
            }
            case TYP_RECYCLEBIN:
                // Emptied by the shell only when none of its files is left; otherwise the row stays.
                if (RecycleBin_GetFileCount() == 0)
                    RecycleBin_EmptyNow(nullptr);
                else
                    remove = false;
                break;
            default: break;
        }
        if (remove) FTree->DeleteNode(node);
        node = next;
    }
    return false;
}

