// The progress bar: range, position and step, shown by the system's progress control.
// The numbers live in the object, so the bar works without a window as well (the engine steps it
// before every block it writes; its tests and an invisible run have no window). A bar placed on a
// form gets its window with the form's; a bar on no parent never makes one.
#pragma once

#include "ui/controls.h"

#include <windows.h>

namespace ui {

class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner = nullptr);
    ~TProgressBar() override;
    std::wstring ClassName() const override { return L"TProgressBar"; }
    bool HasCaption() const override { return false; }

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

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void InitWnd() override;
    // Called after the position or the range changed.
    virtual void Changed();

private:
    void Apply(int Position);
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
};

}  // namespace ui
