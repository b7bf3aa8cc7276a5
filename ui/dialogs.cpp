#include "ui/dialogs.h"

#include "ui/application.h"
#include "ui/forms.h"

#include <commdlg.h>
#include <shobjidl.h>

namespace ui {

namespace {
HWND DefaultOwner(HWND Owner) {
    if (Owner) return Owner;
    if (HWND a = GetActiveWindow()) return a;
    if (Application.MainForm() && Application.MainForm()->HandleAllocated())
        return Application.MainForm()->Handle();
    return nullptr;
}
}  // namespace

bool TOpenDialog::Execute(HWND Owner) {
    // The filter's "|" separators become the NULs the system expects, doubled at the end.
    std::wstring filter = Filter;
    for (auto& c : filter)
        if (c == L'|') c = L'\0';
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::vector<wchar_t> buf(64 * 1024, L'\0');
    OPENFILENAMEW o{};
    o.lStructSize = sizeof(o);
    o.hwndOwner = DefaultOwner(Owner);
    o.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    o.lpstrFile = buf.data();
    o.nMaxFile = DWORD(buf.size());
    o.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    o.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    o.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST;
    if (FileMustExist) o.Flags |= OFN_FILEMUSTEXIST;
    if (AllowMultiSelect) o.Flags |= OFN_ALLOWMULTISELECT;
    Files.clear();
    FileName.clear();
    if (!GetOpenFileNameW(&o)) return false;
    Files = FileDialog_SplitResult(buf.data());
    FileName = Files.empty() ? L"" : Files.front();
    return !Files.empty();
}

std::vector<std::wstring> FileDialog_SplitResult(const wchar_t* Buffer) {
    std::vector<std::wstring> files;
    std::wstring first(Buffer);
    if (first.empty()) return files;
    const wchar_t* p = Buffer + first.size() + 1;
    if (*p == L'\0') {
        files.push_back(first);
        return files;
    }
    std::wstring dir = first;
    if (dir.back() != L'\\') dir += L'\\';
    while (*p) {
        std::wstring name(p);
        files.push_back(dir + name);
        p += name.size() + 1;
    }
    return files;
}

int MessageBox_Show(const std::wstring& Text, UINT Flags, HWND Owner) {
    return MessageBoxW(DefaultOwner(Owner), Text.c_str(), Application.Title.c_str(), Flags);
}

TTaskbarProgress::TTaskbarProgress(HWND Window) : FWindow(Window) {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    FComInitialised = SUCCEEDED(hr);
    ITaskbarList3* list = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                   reinterpret_cast<void**>(&list))) &&
        list) {
        if (SUCCEEDED(list->HrInit()))
            FList = list;
        else
            list->Release();
    }
}

TTaskbarProgress::~TTaskbarProgress() {
    if (FList) {
        FList->SetProgressState(FWindow, TBPF_NOPROGRESS);
        FList->Release();
    }
    if (FComInitialised) CoUninitialize();
}

void TTaskbarProgress::SetState(TState State) {
    if (FList) FList->SetProgressState(FWindow, TBPFLAG(State));
}

void TTaskbarProgress::SetProgress(uint64_t Position, uint64_t Max) {
    if (FList) FList->SetProgressValue(FWindow, Position, Max);
}

}  // namespace ui
