#include "engine_fixture.h"

namespace {

using enginetest::EngineTest;

class ListTest : public EngineTest {};

TEST_F(ListTest, AddingRulesAndDuplicates) {
    struct Case {
        const char* What;
        std::function<ui::PVirtualNode(TBlanko&)> Add;
        bool Added;
    } cases[] = {
        {"first file", [](TBlanko& e) { return e.Add_File(L"C:\\DATA\\A.TXT"); }, true},
        {"same file, other ASCII case", [](TBlanko& e) { return e.Add_File(L"c:\\data\\a.txt"); }, false},
        {"non-ASCII letter", [](TBlanko& e) { return e.Add_File(L"C:\\Daten\\\u00e4.txt"); }, true},
        {"its upper case is another name", [](TBlanko& e) { return e.Add_File(L"C:\\Daten\\\u00c4.txt"); }, true},
        {"same path as a folder", [](TBlanko& e) { return e.Add_Folder(L"C:\\DATA\\A.TXT"); }, true},
        {"folder again", [](TBlanko& e) { return e.Add_Folder(L"C:\\Data\\a.txt"); }, false},
        {"empty file path", [](TBlanko& e) { return e.Add_File(L""); }, false},
        {"empty folder path", [](TBlanko& e) { return e.Add_Folder(L""); }, false},
        {"path that does not exist", [](TBlanko& e) { return e.Add_Folder(L"Q:\\nowhere"); }, true},
        {"recycle bin", [](TBlanko& e) { return e.Add_RecycleBin(L"Papierkorb"); }, true},
        {"second recycle bin, other text", [](TBlanko& e) { return e.Add_RecycleBin(L"Recycle bin"); }, false},
        {"free space of D", [](TBlanko& e) { return e.Add_FreeDiskSpace(L'D', L"Free space D:\\"); }, true},
        {"same text, other drive", [](TBlanko& e) { return e.Add_FreeDiskSpace(L'E', L"FREE SPACE d:\\"); }, false},
        {"other text, same drive", [](TBlanko& e) { return e.Add_FreeDiskSpace(L'D', L"Frei D:\\"); }, true},
    };
    unsigned expected = 0;
    for (auto& c : cases) {
        ui::PVirtualNode node = c.Add(*Engine);
        EXPECT_EQ(node != nullptr, c.Added) << c.What;
        if (node) {
            EXPECT_EQ(node->Index, expected) << c.What;  // appended at the end
            ++expected;
        }
        EXPECT_EQ(Tree->RootNodeCount(), expected) << c.What;
    }
    auto rows = Rows();
    ASSERT_EQ(rows.size(), 8u);
    EXPECT_EQ(rows[0].Typ, TYP_FILE);
    EXPECT_EQ(rows[0].Text, L"C:\\DATA\\A.TXT");
    EXPECT_EQ(rows[3].Typ, TYP_FOLDER);
    EXPECT_EQ(rows[5].Typ, TYP_RECYCLEBIN);
    EXPECT_EQ(rows[5].Text, L"Papierkorb");
    EXPECT_EQ(rows[6].Drive, L'D');
    EXPECT_EQ(rows[0].Drive, 0);
    for (auto& r : rows) EXPECT_FALSE(r.Done);
}

TEST_F(ListTest, ExistsAndCountItems) {
    auto f1 = Engine->Add_File(L"C:\\a.txt");
    Engine->Add_File(L"C:\\b.txt");
    auto folder = Engine->Add_Folder(L"C:\\dir");
    auto bin = Engine->Add_RecycleBin(L"Papierkorb");
    Engine->Add_FreeDiskSpace(L'C', L"C:\\");

    EXPECT_EQ(Engine->Exists(L"c:\\A.TXT", TYP_FILE), f1);
    EXPECT_EQ(Engine->Exists(L"C:\\a.txt", TYP_FOLDER), nullptr);
    EXPECT_EQ(Engine->Exists(L"C:\\DIR", TYP_FOLDER), folder);
    EXPECT_EQ(Engine->Exists(L"anything at all", TYP_RECYCLEBIN), bin);
    EXPECT_EQ(Engine->Exists(L"C:\\", TYP_FOLDER), nullptr);
    EXPECT_NE(Engine->Exists(L"c:\\", TYP_FREEDISKSPACE), nullptr);

    int files = -1, folders = -1;
    Engine->Count_Items(files, folders);
    EXPECT_EQ(files, 2);
    EXPECT_EQ(folders, 3);

    Tree->Clear();
    Engine->Count_Items(files, folders);
    EXPECT_EQ(files, 0);
    EXPECT_EQ(folders, 0);
}

TEST_F(ListTest, ConstructionState) {
    EXPECT_EQ(Engine->USE_WIPE_METHOD, 0);
    EXPECT_FALSE(Engine->FSpecialMode_SkipFirstNullStep);
    EXPECT_FALSE(Engine->FLAG_IGNOREICON);
    EXPECT_TRUE(Engine->FLastAddedFolder.empty());
    EXPECT_FALSE(Engine->OnDeleteDummyCrappyFiles);
    EXPECT_EQ(Tree->NodeDataSize(), sizeof(TWipeItem));
    EXPECT_TRUE(Tree->OnDrawNode);
    // Four separate page-aligned buffers with their fixed contents.
    const uint8_t* buffers[] = {Engine->FContentPtr, Engine->FContentPtr_Zeros, Engine->FContentPtr_255,
                                Engine->FContentPtr_Random};
    for (auto* b : buffers) {
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(b) % 4096, 0u);
    }
    for (uint32_t i = 0; i < BLOCK_SIZE; i += 4093) {
        ASSERT_EQ(Engine->FContentPtr_Zeros[i], 0x00);
        ASSERT_EQ(Engine->FContentPtr_255[i], 0xFF);
    }
}

}  // namespace
