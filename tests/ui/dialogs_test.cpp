// The system dialogs as the layer shows them: message boxes with the application's title and the
// open-file dialog, answered from a timer as a user would.
#include "ui_test_util.h"

#include "ui/application.h"
#include "ui/dialogs.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

// The dialog box this thread shows now, or null.
HWND ThreadDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM lp) -> BOOL {
            wchar_t cls[16];
            GetClassNameW(w, cls, 16);
            if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) {
                *reinterpret_cast<HWND*>(lp) = w;
                return FALSE;
            }
            return TRUE;
        },
        LPARAM(&found));
    return found;
}

// Answers the next dialog with the given command once it shows.
void AnswerDialog(WPARAM Command, std::wstring* Caption = nullptr) {
    After(100, [=] {
        HWND d = ThreadDialog();
        if (!d) {
            AnswerDialog(Command, Caption);
            return;
        }
        if (Caption) {
            wchar_t buf[128];
            GetWindowTextW(d, buf, 128);
            *Caption = buf;
        }
        PostMessageW(d, WM_COMMAND, Command, 0);
    });
}

TEST(DialogTest, MessageBoxCarriesTheApplicationTitleAndReturnsTheAnswer) {
    std::wstring caption;
    AnswerDialog(IDNO, &caption);
    EXPECT_EQ(MessageBox_Show(L"Sind Sie sicher?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(caption, Application.Title);
}

TEST(DialogTest, OpenDialogCancelledChoosesNothing) {
    TOpenDialog d(nullptr);
    d.AllowMultiSelect = true;
    d.Filter = L"Alle Dateien|*.*";
    d.FileName = L"stale";
    AnswerDialog(IDCANCEL);
    EXPECT_FALSE(d.Execute());
    EXPECT_TRUE(d.Files.empty());
    EXPECT_TRUE(d.FileName.empty());
}

// A literal with its inner NULs.
template <size_t N>
std::wstring Z(const wchar_t (&S)[N]) {
    return std::wstring(S, N - 1);
}

TEST(DialogTest, FileDialogResultsBecomeFullPaths) {
    struct Case {
        std::wstring Buffer;  // with its NULs
        std::vector<std::wstring> Files;
    } cases[] = {
        {Z(L"C:\\a\\b.txt\0\0"), {L"C:\\a\\b.txt"}},
        {Z(L"C:\\a\0b.txt\0c d.dat\0\0"), {L"C:\\a\\b.txt", L"C:\\a\\c d.dat"}},
        {Z(L"C:\\\0x\0\0"), {L"C:\\x"}},
        {Z(L"\0\0"), {}},
    };
    for (const Case& c : cases) EXPECT_EQ(FileDialog_SplitResult(c.Buffer.c_str()), c.Files);
}

TEST(DialogTest, TaskbarProgressIsHarmlessWithOrWithoutTheSystemsSupport) {
    HWND w = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    {
        TTaskbarProgress p(w);
        p.SetState(TTaskbarProgress::tpsNormal);
        p.SetProgress(50, 100);
    }
    DestroyWindow(w);
}

}  // namespace
