// Renames and deletes overwritten files on a thread of its own, so that the next file of a folder
// is overwritten meanwhile (both mostly wait: one for the disk, the other for the file system's
// bookkeeping). It holds one file at a time: Post waits until the file before is done, and Drain
// waits for the file in hand, so files are finished in the order they were overwritten.
#pragma once

#include "common/handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TFinisher {
public:
    // Renames and deletes one file through its handle; false when it keeps its name. Candidate
    // receives the random name (full path) the file was given.
    using TWork = std::function<bool(handles::UniqueFile& File, HANDLE Folder, const std::wstring& Path,
                                     std::wstring& Candidate)>;
    explicit TFinisher(TWork Work);
    ~TFinisher();
    TFinisher(const TFinisher&) = delete;
    TFinisher& operator=(const TFinisher&) = delete;

    // False when no thread could be started: the caller finishes its files itself.
    bool Running() const { return FThread != nullptr; }
    // Hands over an overwritten file: its exclusive handle (with the right to delete), the hold on
    // its folder (must stay open until Drain) and its path.
    void Post(handles::UniqueFile File, HANDLE Folder, const std::wstring& Path);
    // Waits until the file in hand is done, then adds the files that kept their names to Errors
    // and hands back the random names (full paths) of the others, for the caller to check.
    void Drain(uint32_t& Errors, std::vector<std::wstring>& Renamed);

private:
    static DWORD WINAPI ThreadMain(void* Self);
    void Loop();

    TWork FWork;
    HANDLE FThread = nullptr;
    SRWLOCK FLock = SRWLOCK_INIT;
    CONDITION_VARIABLE FWake = CONDITION_VARIABLE_INIT;  // a file was posted, or the end
    CONDITION_VARIABLE FDone = CONDITION_VARIABLE_INIT;  // the file in hand is done
    bool FBusy = false;
    bool FQuit = false;
    handles::UniqueFile FFile;
    HANDLE FFolder = nullptr;
    std::wstring FPath;
    uint32_t FErrors = 0;
    std::vector<std::wstring> FRenamed;
};
