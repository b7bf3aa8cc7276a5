#include "ui/progress_bar.h"

#include <commctrl.h>

#include <algorithm>

namespace ui {

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 150;
    FHeight = 17;
}

TProgressBar::~TProgressBar() { DestroyHandle(); }

void TProgressBar::SetMin(int Value) {
    FMin = Value;
    if (FMax < FMin) FMax = FMin;
    Apply(FPosition);
}

void TProgressBar::SetMax(int Value) {
    FMax = Value;
    if (FMin > FMax) FMin = FMax;
    Apply(FPosition);
}

void TProgressBar::SetPosition(int Value) { Apply(Value); }

void TProgressBar::StepIt() {
    long long next = static_cast<long long>(FPosition) + Step;
    Apply(next > FMax ? FMin : static_cast<int>(next));
}

void TProgressBar::StepBy(int Delta) {
    long long next = static_cast<long long>(FPosition) + Delta;
    Apply(static_cast<int>(std::clamp<long long>(next, FMin, FMax)));
}

void TProgressBar::CreateParams(TCreateParams& P) {
    TWinControl::CreateParams(P);
    P.WinClass = PROGRESS_CLASSW;
    P.ExStyle &= ~WS_EX_CONTROLPARENT;
}

void TProgressBar::CreateWnd() {
    // A bar on no parent only counts.
    if (!FParent) return;
    static bool registered = [] {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&icc) != FALSE;
    }();
    (void)registered;
    TWinControl::CreateWnd();
}

void TProgressBar::InitWnd() { Changed(); }

void TProgressBar::Apply(int Position) {
    FPosition = std::clamp(Position, FMin, FMax);
    Changed();
}

void TProgressBar::Changed() {
    if (!FHandle) return;
    SendMessageW(FHandle, PBM_SETRANGE32, WPARAM(FMin), LPARAM(FMax));
    SendMessageW(FHandle, PBM_SETPOS, WPARAM(FPosition), 0);
}

}  // namespace ui
