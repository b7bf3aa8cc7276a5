// The free-space step of a run: fill the drive's root with dummy files of zeros until its free
// space is used up, give each the remaining passes of the method, delete them all.
#include "engine/blanko.h"

#include "common/handles.h"
#include "ui/application.h"

#include <windows.h>

#include <algorithm>

void TBlanko::Trace(const std::wstring& Line) {
    OutputDebugStringW(Line.c_str());
    if (OnTrace) OnTrace(Line);
}

void TBlanko::Wipe_FreeDiskSpaceRow(TWipeItem& Item, ui::TProgressBar* ProgressBar, uint32_t& Errors) {
    int64_t available = 0, total = 0;
    if (!Disk_GetFreeSpace(Item.Drive, available, total) || total <= 0 || available <= 0 || FLAG_STOP) return;

    int64_t freeBytes = available;
    Trace(L"FreeSize total is " + std::to_wstring(freeBytes));
    TStringList dummies;
    // Given-up dummy files whose deletion failed at that moment (someone held them): they go
    // with the others at the end, so no dummy file outlives the step.
    TStringList undeleted;
    const UINT oldErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    FSpecialMode_SkipFirstNullStep = true;
    const std::wstring root = std::wstring(1, Item.Drive) + L":\\";
    int64_t chunk = 0;

    // Making the dummy files; the zeros they are made of are the method's leading zero pass.
    for (int n = 0;; ++n) {
        ui::Application.ProcessMessages();
        const std::wstring name = root + L"crappydata_" + std::to_wstring(n) + L".dat";
        const std::wstring path = Path_Extended(name);
        Trace(L"Wipe and create file " + name);
        chunk = std::min<int64_t>(BLOCK_SIZE, freeBytes);
        bool ok = false;
        for (;;) {
            bool created = false;
            handles::UniqueFile f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_FLAG_WRITE_THROUGH | FILE_FLAG_NO_BUFFERING |
                                                  FILE_FLAG_SEQUENTIAL_SCAN,
                                              nullptr));
            created = bool(f);
            if (f && FContentPtr_Zeros) {
                DWORD written = 0;
                if (!WriteFile(f.get(), FContentPtr_Zeros, static_cast<DWORD>(std::max<int64_t>(chunk, 0)), &written,
                               nullptr))
                    written = 0;
                chunk = written;
                FlushFileBuffers(f.get());
                f.reset();
                Trace(L"File created and " + std::to_wstring(chunk) + L" Bytes \"nulled\" " + name);
                ok = true;
            } else {
                Trace(L"***Error creating file " + name);
                ok = false;
                // Nothing could be written under this name: as on a full drive, an older dummy
                // file gives up its place, or the making ends. Retrying the same name with ever
                // fewer bytes would never succeed and would leave the row done with most of the
                // free space unwiped.
                chunk = 0;
            }
            if (chunk == 0 && freeBytes > 0) {
                // The drive is full before the free space counted at the start is used up: the
                // oldest dummy file is finished and deleted to make room.
                if (!dummies.empty() && !FLAG_STOP) {
                    if (Wipe_File(dummies.front(), ProgressBar, Errors)) {
                        if (!DeleteFileW(Path_Extended(dummies.front()).c_str())) undeleted.push_back(dummies.front());
                        Trace(L"Wipe file " + dummies.front());
                        dummies.erase(dummies.begin());
                        ok = false;
                        chunk = std::min<int64_t>(BLOCK_SIZE, freeBytes) + 512;
                    }
                } else {
                    ok = false;
                }
            }
            if (!ok) {
                // An attempt that keeps no dummy file leaves none behind.
                if (created) DeleteFileW(path.c_str());
                chunk -= 512;
                Trace(L"***Reduce FreeSize to " + std::to_wstring(chunk));
            }
            if (FLAG_STOP || ok || chunk <= 512) break;
        }
        if (ok) {
            dummies.push_back(name);
            Trace(L"filesize = " + std::to_wstring(chunk));
            freeBytes -= chunk;
            if (ProgressBar) ProgressBar->StepBy(1);
        }
        if (FLAG_STOP || freeBytes <= 0 || chunk <= 512) break;
    }
    SetErrorMode(oldErrorMode);
    Trace(L"All dummy-files created and \"nulled\"");

    // The remaining passes of the method (dummy-file mode: no rename, no delete).
    if (!dummies.empty()) {
        Item.Done = true;
        for (const auto& dummy : dummies) {
            if (FLAG_STOP) break;
            if (!Wipe_File(dummy, ProgressBar, Errors)) Item.Done = false;
        }
        if (FLAG_STOP) Item.Done = false;
    }

    // Deleting them: always to the end, also after a stop; the owner's stop command is off
    // meanwhile (the two events).
    dummies.insert(dummies.begin(), undeleted.begin(), undeleted.end());
    if (!dummies.empty()) {
        const int count = static_cast<int>(dummies.size());
        int oldPosition = 0, oldMax = 0;
        if (ProgressBar) {
            oldPosition = ProgressBar->Position();
            oldMax = ProgressBar->Max();
            ProgressBar->SetPosition(0);
            ProgressBar->SetMax(count);
        }
        if (OnDeleteDummyCrappyFiles) OnDeleteDummyCrappyFiles(this, count);
        for (int i = 0; i < count; ++i) {
            if (ProgressBar) ProgressBar->SetPosition(i);
            ui::Application.ProcessMessages();
            DeleteFileW(Path_Extended(dummies[i]).c_str());
        }
        if (ProgressBar) {
            ProgressBar->SetMax(oldMax);
            ProgressBar->SetPosition(oldPosition);
        }
        if (OnDeleteDummyCrappyFilesDone) OnDeleteDummyCrappyFilesDone(this, 0);
    }
    FSpecialMode_SkipFirstNullStep = false;
}
