// The wipe engine: the list of items the next run destroys and every operation that destroys
// them. One engine per window that wipes; it owns four 2 MiB buffers made once at construction,
// the list rows belong to the tree it was given.
#pragma once

#include "engine/file_system.h"
#include "ui/progress_bar.h"
#include "ui/virtual_tree.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TFinisher;

// Size of every engine buffer, the largest single write and the unit of the progress count.
inline constexpr uint32_t BLOCK_SIZE = 2097152;

// Item types of a list row.
inline constexpr uint32_t TYP_FILE = 0;
inline constexpr uint32_t TYP_FOLDER = 1;
inline constexpr uint32_t TYP_RECYCLEBIN = 2;
inline constexpr uint32_t TYP_FREEDISKSPACE = 3;

// Asks the running wipe to stop. Set by the user interface's stop command (between blocks, from
// inside the engine's message processing); cleared by the caller before and after a run. The
// engine only reads it.
extern bool FLAG_STOP;

// The record of one list row.
struct TWipeItem : ui::TNodeData {
    uint32_t Typ = TYP_FILE;
    bool Done = false;        // completely processed by the run; removed at its end
    std::wstring Text;        // full path (file, folder) or display text (recycle bin, free space)
    wchar_t Drive = 0;        // drive letter of a free-space row
};

class TBlanko;
// The engine's events: Sender is always the engine.
using TBlankoEvent = std::function<void(TBlanko* Sender, int count)>;

// Number of passes of a wiping method (0: 3, 1: 1, 2: 7, 3: 35); also the factor of the progress
// count. Methods outside 0..3 count as method 0.
int WipeMethod_PassCount(int Method);

class TBlanko {
public:
    explicit TBlanko(ui::TVirtualDrawTree* Tree);
    virtual ~TBlanko();
    TBlanko(const TBlanko&) = delete;
    TBlanko& operator=(const TBlanko&) = delete;

    // Dummy-file mode of the free-space wipe: the single-file wipe leaves out the leading zero
    // pass of methods 0 to 2 and neither renames nor deletes the file.
    bool FSpecialMode_SkipFirstNullStep = false;
    ui::TVirtualDrawTree* FTree = nullptr;
    // The four buffers of BLOCK_SIZE bytes, page-aligned (unbuffered writes need aligned memory).
    uint8_t* FContentPtr = nullptr;         // scratch, filled with the pass value
    uint8_t* FContentPtr_Zeros = nullptr;   // 0x00
    uint8_t* FContentPtr_255 = nullptr;     // 0xFF
    uint8_t* FContentPtr_Random = nullptr;  // pseudo-random, filled once
    std::wstring FLastAddedFolder;
    bool FLAG_IGNOREICON = false;
    int USE_WIPE_METHOD = 0;
    std::wstring STRING_FREEDISKSPACE_TEXT;  // kept for the owner; the engine never reads it
    TBlankoEvent OnDeleteDummyCrappyFiles;
    TBlankoEvent OnDeleteDummyCrappyFilesDone;
    // Called after each pass that wrote a file completely, with the file's name, the pass's number
    // (0-based, in the method's order) and the exclusive handle the wipe holds on a file smaller
    // than a block (readable; nullptr when the file is closed). For tests and diagnostics.
    std::function<void(const std::wstring& FileName, HANDLE Open, int Pass)> OnPassWritten;

    // --- The list ---
    ui::PVirtualNode Add_File(const std::wstring& FullPath);
    ui::PVirtualNode Add_Folder(const std::wstring& FullPath);
    ui::PVirtualNode Add_RecycleBin(const std::wstring& DisplayText);
    ui::PVirtualNode Add_FreeDiskSpace(wchar_t Drive, const std::wstring& DisplayText);
    void Count_Items(int& files, int& folders);
    ui::PVirtualNode Exists(const std::wstring& FullPath, uint32_t Typ);
    // Row painter, installed as the tree's OnDrawNode; the painting itself comes with the list view.
    void DefaultEvent_DrawNode(ui::TBaseVirtualTree* Sender, ui::TVTPaintInfo& PaintInfo);

    // --- Destroying ---
    // Overwrites the file with the passes of USE_WIPE_METHOD, gives it a random name and deletes
    // it. True only when every pass wrote the whole file, no stop was requested and the file is
    // gone under both names (in dummy-file mode: when every pass wrote the whole file). Every
    // failure adds exactly one to Errors; a stop adds none.
    bool Wipe_File(const std::wstring& FullPath, ui::TProgressBar* ProgressBar, uint32_t& Errors);
    // Counts what a run of the list will do. Always False.
    bool Prepare_CountFiles_and_TotalSize(uint32_t& totalfiles, int64_t& totalsize, uint32_t& totalblocksToWipe);
    // Destroys every file of the tree below Dir. True when every file was destroyed and no stop
    // was requested. Never enters a link; a link in the tree is removed as a link.
    bool Wipe_Folder(const std::wstring& Dir, ui::TProgressBar* ProgressBar, uint32_t& Errors,
                     uint32_t& FilesDeleted);
    // Runs the list: destroys each row's items, then removes the rows (and emptied folders) that
    // were completely done. Always False.
    bool Wipe(ui::TProgressBar* ProgressBar, uint32_t& Errors, uint32_t& FilesDeleted);

    // --- Recycle bin ---
    // Every file below the recycle-bin folders of the fixed and RAM drives B to Z, apart from
    // "desktop.ini", "INFO" and "INFO2". Liste is cleared first.
    void RecycleBin_GetFiles(TStringList& Liste);
    uint32_t RecycleBin_GetFileCount();
    // Lets the shell empty the recycle bins of all drives without asking. Always False.
    bool RecycleBin_EmptyNow(HWND FormHandle);

    // Receives every trace line of the free-space wipe, besides the debugger output channel.
    std::function<void(const std::wstring& Line)> OnTrace;

    // The random name a wiped file gets: three draws below 1,000,000 in decimal, in Folder (which
    // ends in "\"); drawn again while a file of that name exists.
    std::wstring Make_RandomFileName(const std::wstring& Folder);

private:
    // Usage counters are gathered during an operation and written once at its end.
    struct TStatsBatch {
        explicit TStatsBatch(TBlanko& Engine);
        ~TStatsBatch();
        TBlanko& FEngine;
    };
    int FStatsDepth = 0;
    int64_t FPendingFiles = 0;
    int64_t FPendingBytes = 0;

    enum class TPassResult { Written, Stopped, Failed };
    // Identity of the file whose passes are being written; a pass's own open must find it.
    const BY_HANDLE_FILE_INFORMATION* FWipedFile = nullptr;
    // Cached: an open exclusive handle for the tail write, or nullptr to open one.
    TPassResult WritePass(const std::wstring& FileName, ui::TProgressBar* ProgressBar, uint8_t Value, int64_t Size,
                          HANDLE Cached = nullptr);
    TPassResult WritePassRandom(const std::wstring& FileName, ui::TProgressBar* ProgressBar, int64_t Size,
                                HANDLE Cached = nullptr);
    TPassResult WriteBuffer(const std::wstring& FileName, ui::TProgressBar* ProgressBar, const uint8_t* Buffer,
                            int64_t Size, HANDLE Cached);
    // Wipe_File on an extended path. Folder is the caller's hold on the file's folder (may be
    // null): the random name is given inside that very folder. With Deferred given, a destroyed
    // file's random name is handed back instead of being looked up, for the caller to check
    // with others at once. With HandedOver given as well, an overwritten file's rename and delete
    // may go to the finisher: then the result is true, HandedOver true, and the caller learns
    // the outcome from the finisher's Drain.
    bool Wipe_FileExtended(const std::wstring& Path, HANDLE Folder, ui::TProgressBar* ProgressBar,
                           uint32_t& Errors, std::wstring* Deferred, bool* HandedOver = nullptr);
    // Gives the overwritten file (exclusive handle with the right to delete) its random name in
    // its folder and marks it for deletion, then closes it; false when it keeps its own name.
    // Candidate receives the random name (full path). Runs on the finisher's thread as well.
    bool Finish_File(handles::UniqueFile& File, HANDLE Folder, const std::wstring& Path, std::wstring& Candidate);
    // Finishes the files of folder walks while the next file is overwritten; made at the first walk.
    std::unique_ptr<TFinisher> FFinisher;
    // Three draws below 1,000,000 in decimal.
    std::wstring Random_Name();
    void Trace(const std::wstring& Line);
    void Count_File(const std::wstring& Path, uint32_t& totalfiles, int64_t& totalsize, uint32_t& totalblocksToWipe);
    void Count_Folder(const std::wstring& Dir, uint32_t& totalfiles, int64_t& totalsize, uint32_t& totalblocksToWipe);
    bool Wipe_FolderExtended(const std::wstring& Dir, ui::TProgressBar* ProgressBar, uint32_t& Errors,
                             uint32_t& FilesDeleted);
    // The recycle-bin and free-space steps of a run.
    void Wipe_RecycleBinRow(TWipeItem& Item, ui::TProgressBar* ProgressBar, uint32_t& Errors, uint32_t& FilesDeleted);
    void Wipe_FreeDiskSpaceRow(TWipeItem& Item, ui::TProgressBar* ProgressBar, uint32_t& Errors);
    ui::PVirtualNode AddRow(uint32_t Typ, const std::wstring& Text, wchar_t Drive);
};
