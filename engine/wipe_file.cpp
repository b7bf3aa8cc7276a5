// Destroying one file: the overwrite passes, the usage counters, the random name and the delete.
#include "engine/blanko.h"
#include "engine/finisher.h"

#include "common/handles.h"
#include "ui/application.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr int R = -1;  // a pass with the random buffer

struct TPassList {
    const int* Passes;
    int Count;
    bool FirstIsZeroPass;  // the leading zero pass that dummy-file mode leaves out
};

constexpr int kMethod0[] = {0x00, 0xFF, 0x00};
constexpr int kMethod1[] = {0x00};
constexpr int kMethod2[] = {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, R};
constexpr int kMethod3[] = {R,    R,    R,    R,    0x55, 0xAA, 0x92, 0x49, 0x24, 0x00, 0x11, 0x22,
                            0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC, 0xDD, 0xEE,
                            0xFF, 0x92, 0x49, 0x24, 0x6D, 0xB6, 0xDB, R,    R,    R,    R};

TPassList PassesOf(int Method) {
    switch (Method) {
        case 1: return {kMethod1, 1, true};
        case 2: return {kMethod2, 7, true};
        case 3: return {kMethod3, 35, false};
        default: return {kMethod0, 3, true};
    }
}

bool IsPlainFile(HANDLE File) {
    FILE_BASIC_INFO info{};
    return GetFileInformationByHandleEx(File, FileBasicInfo, &info, sizeof info) &&
           !(info.FileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY));
}

bool SameFile(HANDLE File, const BY_HANDLE_FILE_INFORMATION& Expected) {
    BY_HANDLE_FILE_INFORMATION now{};
    return GetFileInformationByHandle(File, &now) && now.dwVolumeSerialNumber == Expected.dwVolumeSerialNumber &&
           now.nFileIndexHigh == Expected.nFileIndexHigh && now.nFileIndexLow == Expected.nFileIndexLow;
}

// Opens the existing file exclusively and makes sure the handle is the file itself and not a link
// someone put in its place: nothing is ever written through a link. With Expected given, the
// handle must also be the very file the wipe began with: a pass opens the file by its name
// again, and a folder on the way may have been replaced by a link since.
handles::UniqueFile OpenForPass(const std::wstring& FileName, DWORD Access, DWORD Flags,
                                const BY_HANDLE_FILE_INFORMATION* Expected = nullptr) {
    handles::UniqueFile f(CreateFileW(FileName.c_str(), Access | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                      Flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (f && (!IsPlainFile(f.get()) || (Expected && !SameFile(f.get(), *Expected)))) f.reset();
    return f;
}

bool WriteAll(HANDLE File, const uint8_t* Buffer, DWORD Size) {
    DWORD written = 0;
    return WriteFile(File, Buffer, Size, &written, nullptr) && written == Size;
}

void Step(ui::TProgressBar* ProgressBar) {
    if (ProgressBar) ProgressBar->StepBy(1);
}

// Keeps the windows answering (and a stop button reachable) during a run. Looking at the queue
// costs about as much as writing a small file, so it is looked at no more often than every
// 10 ms: often enough for a smooth progress bar and an immediate stop.
void PumpMessages() {
    static ULONGLONG last = 0;
    const ULONGLONG now = GetTickCount64();
    if (now - last < 10) return;
    last = now;
    ui::Application.ProcessMessages();
}

}  // namespace

TBlanko::TPassResult TBlanko::WritePass(const std::wstring& FileName, ui::TProgressBar* ProgressBar, uint8_t Value,
                                        int64_t Size, HANDLE Cached) {
    if (FLAG_STOP) return TPassResult::Stopped;
    if (Size <= 0) return TPassResult::Written;
    const uint8_t* buffer;
    if (Value == 0x00)
        buffer = FContentPtr_Zeros;
    else if (Value == 0xFF)
        buffer = FContentPtr_255;
    else {
        // Only as much as the file will take from it.
        if (FContentPtr) std::memset(FContentPtr, Value, static_cast<size_t>(std::min<int64_t>(Size, BLOCK_SIZE)));
        buffer = FContentPtr;
    }
    return WriteBuffer(FileName, ProgressBar, buffer, Size, Cached);
}

TBlanko::TPassResult TBlanko::WritePassRandom(const std::wstring& FileName, ui::TProgressBar* ProgressBar,
                                              int64_t Size, HANDLE Cached) {
    if (FLAG_STOP) return TPassResult::Stopped;
    if (Size <= 0) return TPassResult::Written;
    return WriteBuffer(FileName, ProgressBar, FContentPtr_Random, Size, Cached);
}

// One pass over the whole file: full blocks unbuffered and write-through from offset 0, the tail
// through the system cache, and a flush of each handle so the pass is on the disk before the
// next one starts (also where the system ignores the unbuffered flags). The file's length never
// changes. Any failing open, write, seek or flush fails the pass.
TBlanko::TPassResult TBlanko::WriteBuffer(const std::wstring& FileName, ui::TProgressBar* ProgressBar,
                                          const uint8_t* Buffer, int64_t Size, HANDLE Cached) {
    if (!Buffer) return TPassResult::Failed;
    int64_t blocks = Size / BLOCK_SIZE;
    DWORD tail = static_cast<DWORD>(Size % BLOCK_SIZE);

    if (blocks > 0) {
        handles::UniqueFile f = OpenForPass(FileName, GENERIC_WRITE,
                                            FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING | FILE_FLAG_SEQUENTIAL_SCAN,
                                            FWipedFile);
        if (!f) return TPassResult::Failed;
        for (int64_t i = 0; i < blocks; ++i) {
            if (FLAG_STOP) break;
            Step(ProgressBar);
            PumpMessages();
            if (FLAG_STOP) break;
            if (!WriteAll(f.get(), Buffer, BLOCK_SIZE)) return TPassResult::Failed;
        }
        // Also after a stop: what was written reaches the disk.
        if (!FlushFileBuffers(f.get())) return TPassResult::Failed;
        if (FLAG_STOP) return TPassResult::Stopped;
    }

    if (tail > 0) {
        Step(ProgressBar);
        PumpMessages();
        if (FLAG_STOP) return TPassResult::Stopped;
        // A file smaller than a block is written through the exclusive handle its wipe holds;
        // otherwise through a handle of its own.
        handles::UniqueFile own;
        HANDLE f = Cached;
        if (!f) {
            own = OpenForPass(FileName, GENERIC_WRITE, 0, FWipedFile);
            if (!own) return TPassResult::Failed;
            f = own.get();
        }
        LARGE_INTEGER offset;
        offset.QuadPart = blocks * static_cast<int64_t>(BLOCK_SIZE);
        if (!SetFilePointerEx(f, offset, nullptr, FILE_BEGIN)) return TPassResult::Failed;
        if (!WriteAll(f, Buffer, tail)) return TPassResult::Failed;
        if (!FlushFileBuffers(f)) return TPassResult::Failed;
    }
    return TPassResult::Written;
}

bool TBlanko::Wipe_File(const std::wstring& FullPath, ui::TProgressBar* ProgressBar, uint32_t& Errors) {
    TStatsBatch batch(*this);
    // A path that does not name one definite file (relative to whatever the current folder is,
    // or a device) is no selection: nothing is touched.
    if (!FLAG_STOP && !Path_IsFullyQualified(FullPath)) {
        ++Errors;
        return false;
    }
    const std::wstring path = Path_Extended(FullPath);
    // The file's folder cannot be moved away (and a link put in its place) while it is held.
    DWORD attributes;
    const handles::UniqueFile hold = Folder_Hold(path.substr(0, path.find_last_of(L'\\') + 1), true, attributes);
    return Wipe_FileExtended(path, hold.get(), ProgressBar, Errors, nullptr);
}

bool TBlanko::Wipe_FileExtended(const std::wstring& path, HANDLE Folder, ui::TProgressBar* ProgressBar,
                                uint32_t& Errors, std::wstring* Deferred, bool* HandedOver) {
    if (Deferred) Deferred->clear();
    if (HandedOver) *HandedOver = false;
    // Empty files write nothing: the windows (and the stop button) get their turn here too.
    PumpMessages();
    // After a stop nothing more is touched.
    if (FLAG_STOP) return false;

    WIN32_FILE_ATTRIBUTE_DATA entry{};
    const bool known = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &entry);
    // A link is removed as a link; what it points to is none of ours. Another kind of reparse
    // point (a file whose data a filter keeps) is neither written through nor deleted: an error.
    if (known && Attr_IsLink(entry.dwFileAttributes)) {
        if (Link_Remove(path)) return true;
        ++Errors;
        return false;
    }
    // A folder is no file: it keeps its attributes and everything in it.
    if (known && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ++Errors;
        return false;
    }
    // Read-only, hidden and system go; a file that has none of them is left as it is.
    if (!known || (entry.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        SetFileAttributesW(path.c_str(), 0);

    // The in-use test: nobody else may hold the file. The exclusive handle carries the right to
    // rename and delete, so that the file destroyed is the very file that was overwritten,
    // whatever happens to its name meanwhile; where that right is refused, the passes still run
    // and the rename below fails (the file is overwritten but counts as not destroyed).
    handles::UniqueFile exclusive = OpenForPass(path, GENERIC_READ | GENERIC_WRITE | DELETE, FILE_ATTRIBUTE_NORMAL);
    if (!exclusive && GetLastError() == ERROR_ACCESS_DENIED)
        exclusive = OpenForPass(path, GENERIC_READ | GENERIC_WRITE, FILE_ATTRIBUTE_NORMAL);
    if (!exclusive) {
        ++Errors;
        return false;
    }
    // The size as it is now that nobody else can change it.
    LARGE_INTEGER length;
    const int64_t size = GetFileSizeEx(exclusive.get(), &length) ? length.QuadPart : -1;
    if (size < 0) {  // unknown: nothing can be destroyed
        ++Errors;
        return false;
    }
    // A file of a block or more is written through handles of its own, which open it by its name
    // again: each must find this very file. A smaller one keeps its exclusive handle throughout.
    BY_HANDLE_FILE_INFORMATION identity{};
    const bool reopens = size >= static_cast<int64_t>(BLOCK_SIZE);
    if (reopens) {
        if (!GetFileInformationByHandle(exclusive.get(), &identity)) {
            ++Errors;
            return false;
        }
        exclusive.reset();
    }

    const TPassList list = PassesOf(USE_WIPE_METHOD);
    const int first = (FSpecialMode_SkipFirstNullStep && list.FirstIsZeroPass) ? 1 : 0;
    const HANDLE cached = exclusive ? exclusive.get() : nullptr;
    for (int pass = first; pass < list.Count; ++pass) {
        const int value = list.Passes[pass];
        FWipedFile = reopens ? &identity : nullptr;
        TPassResult r = value == R ? WritePassRandom(path, ProgressBar, size, cached)
                                   : WritePass(path, ProgressBar, static_cast<uint8_t>(value), size, cached);
        FWipedFile = nullptr;
        if (r == TPassResult::Failed) {
            // Disk full, media error, access denied: the file is not destroyed and keeps its name.
            ++Errors;
            return false;
        }
        if (r == TPassResult::Stopped) break;
        if (OnPassWritten) OnPassWritten(path, cached, pass);
    }

    FPendingFiles += 1;
    FPendingBytes += size;

    if (FLAG_STOP) return false;
    if (FSpecialMode_SkipFirstNullStep) return true;

    // The random name and the delete go through a handle on the overwritten file itself.
    if (!exclusive) {
        exclusive = OpenForPass(path, DELETE, 0, &identity);
        if (!exclusive) {
            ++Errors;  // gone, replaced or held by someone else: not known to be destroyed
            return false;
        }
    }
    if (Deferred && HandedOver && FFinisher && FFinisher->Running()) {
        FFinisher->Post(std::move(exclusive), Folder, path);
        *HandedOver = true;
        return true;
    }
    std::wstring candidate;
    if (!Finish_File(exclusive, Folder, path, candidate)) {
        ++Errors;  // the file keeps its own name: it is not destroyed
        return false;
    }
    // A delete can report success and leave the file (Wine does so in a folder that allows no
    // removal): only a name that is really gone counts. A folder walk checks all its names in
    // one listing afterwards.
    if (Deferred) {
        *Deferred = candidate;
        return true;
    }
    if (Path_Exists(candidate)) {
        ++Errors;
        return false;
    }
    return true;
}

bool TBlanko::Finish_File(handles::UniqueFile& File, HANDLE Folder, const std::wstring& path,
                          std::wstring& candidate) {
    // The rename itself tells whether a name is taken (it never replaces a file), which spares
    // a look-up of a name that usually does not exist.
    const std::wstring folder = path.substr(0, path.find_last_of(L'\\') + 1);
    for (int attempt = 0;; ++attempt) {
        const std::wstring name = Random_Name();
        candidate = folder + name;
        if (File_RenameByHandle(File.get(), Folder, Folder ? name : candidate)) break;
        const DWORD err = GetLastError();
        if ((err != ERROR_ALREADY_EXISTS && err != ERROR_FILE_EXISTS) || attempt > 100000) {
            candidate.clear();
            return false;
        }
    }
    const bool marked = File_DeleteOnClose(File.get());
    File.reset();
    if (!marked) DeleteFileW(candidate.c_str());
    return true;
}
