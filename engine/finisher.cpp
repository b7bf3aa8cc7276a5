#include "engine/finisher.h"

#include <utility>

TFinisher::TFinisher(TWork Work) : FWork(std::move(Work)) {
    FThread = CreateThread(nullptr, 0, &TFinisher::ThreadMain, this, 0, nullptr);
}

TFinisher::~TFinisher() {
    if (!FThread) return;
    AcquireSRWLockExclusive(&FLock);
    FQuit = true;
    WakeConditionVariable(&FWake);
    ReleaseSRWLockExclusive(&FLock);
    WaitForSingleObject(FThread, INFINITE);
    CloseHandle(FThread);
}

DWORD WINAPI TFinisher::ThreadMain(void* Self) {
    static_cast<TFinisher*>(Self)->Loop();
    return 0;
}

void TFinisher::Loop() {
    AcquireSRWLockExclusive(&FLock);
    for (;;) {
        while (!FBusy && !FQuit) SleepConditionVariableSRW(&FWake, &FLock, INFINITE, 0);
        if (!FBusy) break;  // the end, with nothing in hand
        handles::UniqueFile file = std::move(FFile);
        const HANDLE folder = FFolder;
        const std::wstring path = std::move(FPath);
        ReleaseSRWLockExclusive(&FLock);

        std::wstring candidate;
        const bool renamed = FWork(file, folder, path, candidate);
        file.reset();

        AcquireSRWLockExclusive(&FLock);
        if (renamed)
            FRenamed.push_back(std::move(candidate));
        else
            ++FErrors;
        FBusy = false;
        WakeAllConditionVariable(&FDone);
    }
    ReleaseSRWLockExclusive(&FLock);
}

void TFinisher::Post(handles::UniqueFile File, HANDLE Folder, const std::wstring& Path) {
    AcquireSRWLockExclusive(&FLock);
    while (FBusy) SleepConditionVariableSRW(&FDone, &FLock, INFINITE, 0);
    FFile = std::move(File);
    FFolder = Folder;
    FPath = Path;
    FBusy = true;
    WakeConditionVariable(&FWake);
    ReleaseSRWLockExclusive(&FLock);
}

void TFinisher::Drain(uint32_t& Errors, std::vector<std::wstring>& Renamed) {
    AcquireSRWLockExclusive(&FLock);
    while (FBusy) SleepConditionVariableSRW(&FDone, &FLock, INFINITE, 0);
    Errors += FErrors;
    FErrors = 0;
    for (auto& name : FRenamed) Renamed.push_back(std::move(name));
    FRenamed.clear();
    ReleaseSRWLockExclusive(&FLock);
}
