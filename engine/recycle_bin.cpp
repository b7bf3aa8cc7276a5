// The recycle bin: its files on every local fixed drive, and the step of a run that wipes them.
#include "engine/blanko.h"

#include "common/text.h"

#include <shellapi.h>
#include <windows.h>

namespace {

// The folders the recycle bin keeps on a drive, in the order they are examined.
const wchar_t* const kRecycleFolders[] = {L":\\RECYCLER\\", L":\\RECYCLED\\", L":\\$recycle.bin\\"};

// The shell's own files inside the recycle bin: never wiped, removed by the shell when it empties.
bool IsBookkeepingFile(const std::wstring& Path) {
    const std::wstring name = text::UpperAscii(Path.substr(Path.find_last_of(L'\\') + 1));
    return name == L"DESKTOP.INI" || name == L"INFO" || name == L"INFO2";
}

}  // namespace

void TBlanko::RecycleBin_GetFiles(TStringList& Liste) {
    Liste.clear();
    const std::string drives = Disk_GetFixedDrives();
    TStringList all;
    for (char letter : drives)
        for (const wchar_t* folder : kRecycleFolders)
            Folder_GetFilesRecursive(std::wstring(1, wchar_t(letter)) + folder, L"*", all);
    for (auto& path : all)
        if (!IsBookkeepingFile(path)) Liste.push_back(std::move(path));
}

uint32_t TBlanko::RecycleBin_GetFileCount() {
    TStringList files;
    RecycleBin_GetFiles(files);
    return static_cast<uint32_t>(files.size());
}

bool TBlanko::RecycleBin_EmptyNow(HWND FormHandle) {
    SHEmptyRecycleBinA(FormHandle, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
    return false;
}

void TBlanko::Wipe_RecycleBinRow(TWipeItem& Item, ui::TProgressBar* ProgressBar, uint32_t& Errors,
                                 uint32_t& FilesDeleted) {
    TStringList files;
    RecycleBin_GetFiles(files);
    for (const auto& path : files) {
        if (FLAG_STOP) break;
        // Only files Wipe_File fails count as errors; the step adds none of its own.
        if (Wipe_File(path, ProgressBar, Errors)) ++FilesDeleted;
    }
    // Done also when some files failed: the clean-up keeps the row while files are left.
    if (!FLAG_STOP) Item.Done = true;
}
