// A progress bar's state: range, position and step. Without a window it only keeps the numbers
// (the engine's tests, an invisible run); with a progress control attached it keeps that control
// in step. The windowed control of the forms derives from it.
#pragma once

#include "ui/component.h"

#include <windows.h>

namespace ui {

class TProgressBar : public TComponent {
public:
    using TComponent::TComponent;
    ~TProgressBar() override = default;
    std::wstring ClassName() const override { return L"TProgressBar"; }

    int Min() const { return FMin; }
    int Max() const { return FMax; }
    int Position() const { return FPosition; }
    // The range keeps Min <= Max; the position is held inside the range.
    void SetMin(int Value);
    void SetMax(int Value);
    void SetPosition(int Value);

    // Amount StepIt advances by.
    int Step = 10;
    // Advances by Step and, like the system control, starts again at Min when it passes Max.
    virtual void StepIt();
    // Advances by Delta and stops at the end of the range.
    virtual void StepBy(int Delta);

    // The progress control this bar drives; nullptr for none.
    HWND Handle() const { return FHandle; }
    // Attaches a system progress control (or detaches with nullptr) and shows the current state.
    void AttachWindow(HWND Wnd);

protected:
    // Called after the position or the range changed.
    virtual void Changed();

private:
    void Apply(int Position);
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    HWND FHandle = nullptr;
};

}  // namespace ui
