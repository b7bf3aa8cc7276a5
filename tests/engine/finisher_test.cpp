// The finisher: the renames and deletes of a folder walk, done on a thread of their own.
#include "engine/finisher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FinisherTest, FinishesPostedFilesOneAtATimeInOrderOnItsOwnThread) {
    std::vector<std::wstring> order;
    std::vector<DWORD> threads;
    TFinisher finisher([&](handles::UniqueFile& File, HANDLE, const std::wstring& Path, std::wstring& Candidate) {
        threads.push_back(GetCurrentThreadId());
        order.push_back(Path);
        Sleep(5);  // the poster moves on meanwhile and must wait before it hands over the next
        EXPECT_TRUE(File);
        if (Path.back() == L'x') return false;  // keeps its name
        Candidate = Path + L".renamed";
        return true;
    });
    ASSERT_TRUE(finisher.Running());

    const std::vector<std::wstring> paths = {L"a", L"bx", L"c", L"dx", L"e"};
    for (const auto& p : paths) {
        // Any handle will do: the finisher only passes it on and closes it.
        handles::UniqueFile event(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        finisher.Post(std::move(event), nullptr, p);
    }
    uint32_t errors = 1;  // added to, never reset
    std::vector<std::wstring> renamed;
    finisher.Drain(errors, renamed);

    EXPECT_EQ(order, paths);
    for (DWORD t : threads) EXPECT_NE(t, GetCurrentThreadId());
    EXPECT_EQ(errors, 3u);
    EXPECT_EQ(renamed, (std::vector<std::wstring>{L"a.renamed", L"c.renamed", L"e.renamed"}));

    // A drain hands over each outcome once.
    finisher.Drain(errors, renamed);
    EXPECT_EQ(errors, 3u);
    EXPECT_EQ(renamed.size(), 3u);
}

}  // namespace
