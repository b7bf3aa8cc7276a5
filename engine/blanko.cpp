#include "engine/blanko.h"
#include "engine/finisher.h"

#include "common/text.h"
#include "engine/random.h"
#include "settings/stats.h"

#include <windows.h>

#include <cstring>

bool FLAG_STOP = false;

int WipeMethod_PassCount(int Method) {
    switch (Method) {
        case 1: return 1;
        case 2: return 7;
        case 3: return 35;
        default: return 3;
    }
}

namespace {

uint8_t* AllocateBlock() {
    // VirtualAlloc hands out whole pages: page alignment is what unbuffered writes need.
    return static_cast<uint8_t*>(VirtualAlloc(nullptr, BLOCK_SIZE, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
}

void FreeBlock(uint8_t*& Block) {
    if (Block) VirtualFree(Block, 0, MEM_RELEASE);
    Block = nullptr;
}

}  // namespace

TBlanko::TBlanko(ui::TVirtualDrawTree* Tree) {
    FContentPtr = AllocateBlock();
    FContentPtr_Zeros = AllocateBlock();
    FContentPtr_Random = AllocateBlock();
    FContentPtr_255 = AllocateBlock();
    if (FContentPtr_Zeros) std::memset(FContentPtr_Zeros, 0x00, BLOCK_SIZE);
    if (FContentPtr_255) std::memset(FContentPtr_255, 0xFF, BLOCK_SIZE);

    Randomize();
    if (FContentPtr_Random) {
        for (uint32_t i = 0; i < BLOCK_SIZE / 4; ++i) {
            uint32_t word = Random(2147483647u);
            std::memcpy(FContentPtr_Random + i * 4, &word, 4);  // little-endian on every target
        }
    }

    FTree = Tree;
    if (FTree) {
        FTree->SetNodeDataType<TWipeItem>();
        FTree->OnDrawNode = [this](ui::TBaseVirtualTree* Sender, ui::TVTPaintInfo& PaintInfo) {
            DefaultEvent_DrawNode(Sender, PaintInfo);
        };
    }
}

TBlanko::~TBlanko() {
    if (FTree) FTree->OnDrawNode = nullptr;
    FreeBlock(FContentPtr);
    FreeBlock(FContentPtr_Zeros);
    FreeBlock(FContentPtr_Random);
    FreeBlock(FContentPtr_255);
}

ui::PVirtualNode TBlanko::AddRow(uint32_t Typ, const std::wstring& Text, wchar_t Drive) {
    if (!FTree) return nullptr;
    ui::PVirtualNode node = FTree->AddChild(nullptr);
    TWipeItem* item = FTree->GetNodeData<TWipeItem>(node);
    if (!item) return node;
    item->Typ = Typ;
    item->Done = false;
    item->Text = Text;
    item->Drive = Drive;
    return node;
}

ui::PVirtualNode TBlanko::Add_File(const std::wstring& FullPath) {
    if (FullPath.empty() || Exists(FullPath, TYP_FILE)) return nullptr;
    return AddRow(TYP_FILE, FullPath, 0);
}

ui::PVirtualNode TBlanko::Add_Folder(const std::wstring& FullPath) {
    if (FullPath.empty() || Exists(FullPath, TYP_FOLDER)) return nullptr;
    return AddRow(TYP_FOLDER, FullPath, 0);
}

ui::PVirtualNode TBlanko::Add_RecycleBin(const std::wstring& DisplayText) {
    if (Exists(DisplayText, TYP_RECYCLEBIN)) return nullptr;
    return AddRow(TYP_RECYCLEBIN, DisplayText, 0);
}

ui::PVirtualNode TBlanko::Add_FreeDiskSpace(wchar_t Drive, const std::wstring& DisplayText) {
    if (Exists(DisplayText, TYP_FREEDISKSPACE)) return nullptr;
    return AddRow(TYP_FREEDISKSPACE, DisplayText, Drive);
}

ui::PVirtualNode TBlanko::Exists(const std::wstring& FullPath, uint32_t Typ) {
    if (!FTree) return nullptr;
    for (ui::PVirtualNode node = FTree->GetFirst(); node; node = FTree->GetNext(node)) {
        const TWipeItem* item = FTree->GetNodeData<TWipeItem>(node);
        if (!item || item->Typ != Typ) continue;
        if (Typ == TYP_RECYCLEBIN || text::EqualsIgnoreCaseAscii(item->Text, FullPath)) return node;
    }
    return nullptr;
}

void TBlanko::Count_Items(int& files, int& folders) {
    files = 0;
    folders = 0;
    if (!FTree) return;
    for (ui::PVirtualNode node = FTree->GetFirst(); node; node = FTree->GetNext(node)) {
        const TWipeItem* item = FTree->GetNodeData<TWipeItem>(node);
        if (!item) continue;
        if (item->Typ == TYP_FILE)
            ++files;
        else
            ++folders;
    }
}

void TBlanko::DefaultEvent_DrawNode(ui::TBaseVirtualTree* Sender, ui::TVTPaintInfo& PaintInfo) {
    // Rows are painted by the list view's painter; without a visible list there is nothing to draw.
    (void)Sender;
    (void)PaintInfo;
}

std::wstring TBlanko::Random_Name() {
    // Drawn on the finisher's thread as well; the three draws of a name stay together.
    static SRWLOCK lock = SRWLOCK_INIT;
    AcquireSRWLockExclusive(&lock);
    std::wstring name;
    for (int i = 0; i < 3; ++i) name += std::to_wstring(Random(1000000));
    ReleaseSRWLockExclusive(&lock);
    return name;
}

TBlanko::TStatsBatch::TStatsBatch(TBlanko& Engine) : FEngine(Engine) { ++FEngine.FStatsDepth; }

TBlanko::TStatsBatch::~TStatsBatch() {
    if (--FEngine.FStatsDepth > 0) return;
    if (FEngine.FPendingFiles > 0) Stats_Add(STATS_FILES_WIPED, FEngine.FPendingFiles);
    if (FEngine.FPendingBytes > 0) Stats_Add(STATS_WIPED_BYTES, FEngine.FPendingBytes);
    FEngine.FPendingFiles = 0;
    FEngine.FPendingBytes = 0;
}

std::wstring TBlanko::Make_RandomFileName(const std::wstring& Folder) {
    // A folder that answers every query with "access denied" would keep this drawing forever;
    // after many draws the last candidate is taken and the rename, checked afterwards, decides.
    std::wstring candidate;
    for (int attempt = 0; attempt < 100000; ++attempt) {
        candidate = Folder + Random_Name();
        if (!Path_Exists(candidate)) break;
    }
    return candidate;
}
