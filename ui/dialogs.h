// The open-file dialog, message boxes and the taskbar progress.
#pragma once

#include "ui/component.h"

#include <windows.h>

#include <string>
#include <vector>

struct ITaskbarList3;

namespace ui {

// The system's file-open dialog.
class TOpenDialog : public TComponent {
public:
    using TComponent::TComponent;
    std::wstring ClassName() const override { return L"TOpenDialog"; }
    std::wstring Title;
    std::wstring InitialDir;
    // Pairs of description and pattern, "|" separated: "Text files|*.txt|All files|*.*".
    std::wstring Filter;
    bool AllowMultiSelect = false;
    bool FileMustExist = true;
    // After Execute: the chosen file (the first one) and all chosen files, as full paths.
    std::wstring FileName;
    std::vector<std::wstring> Files;
    // Shows the dialog, owned by the active form; true when the user chose files.
    bool Execute(HWND Owner = nullptr);
};

// The files of a file dialog's result buffer: one full path, or a folder followed by names (each
// ended by a NUL, the list by a second NUL), as full paths.
std::vector<std::wstring> FileDialog_SplitResult(const wchar_t* Buffer);

// A message box with the application's title as caption, owned by the active form (or Owner).
// Returns the system's result (IDYES, IDNO, IDOK, ...).
int MessageBox_Show(const std::wstring& Text, UINT Flags, HWND Owner = nullptr);

// Progress on the program's taskbar button. Works only where the system offers it (Windows 7
// and later); elsewhere every call does nothing and Available() is false.
class TTaskbarProgress {
public:
    enum TState { tpsNone = 0, tpsIndeterminate = 1, tpsNormal = 2, tpsError = 4, tpsPaused = 8 };
    explicit TTaskbarProgress(HWND Window);
    ~TTaskbarProgress();
    TTaskbarProgress(const TTaskbarProgress&) = delete;
    TTaskbarProgress& operator=(const TTaskbarProgress&) = delete;
    bool Available() const { return FList != nullptr; }
    void SetState(TState State);
    void SetProgress(uint64_t Position, uint64_t Max);

private:
    HWND FWindow;
    ITaskbarList3* FList = nullptr;
    bool FComInitialised = false;
};

}  // namespace ui
