#include "controls/pellan_mouse_image_3state.h"

#include "ui/gfx/picture_loader.h"

using namespace ui;

TPellanMouseImage3State::TPellanMouseImage3State(TComponent* AOwner) : TImage(AOwner) {
    Gfx_InstallPictureLoader();
    SetStretch(true);
    OnMouseDown = [this](TComponent*, TMouseButton Button, TShiftState, int, int) { Pressed(Button); };
    OnMouseUp = [this](TComponent*, TMouseButton Button, TShiftState, int, int) { Released(Button); };
}

void TPellanMouseImage3State::SetPicture_Normal(const TPicture& Value) {
    FPicture_Normal = Value;
    Picture() = FPicture_Normal;
}

void TPellanMouseImage3State::MouseEnter() {
    FMouseIsInside = true;
    if (!FEnabled) return;
    Picture() = FPicture_Highlight;  // first: the handler may free the image
    if (OnMouseEnter) OnMouseEnter(this);
}

void TPellanMouseImage3State::MouseLeave() {
    FMouseIsInside = false;
    if (!FEnabled) return;
    // While the button is held the pressed picture stays: released outside, the image keeps it
    // until the mouse comes back and leaves again.
    if (!FHeld) Picture() = FPicture_Normal;
    if (OnMouseLeave) OnMouseLeave(this);
}

void TPellanMouseImage3State::Pressed(TMouseButton) {
    if (!FEnabled) return;
    FHeld = true;
    if (FMove_If_MousePressed && !FMoved) {
        FMoved = true;
        SetBounds(FLeft + 1, FTop + 1, FWidth, FHeight);
    }
    Picture() = FPicture_Pressed;
}

void TPellanMouseImage3State::Released(TMouseButton) {
    if (!FEnabled) return;
    FHeld = false;
    // Back by exactly what the press moved, also when Move_If_MousePressed changed meanwhile.
    if (FMoved) {
        FMoved = false;
        SetBounds(FLeft - 1, FTop - 1, FWidth, FHeight);
    }
    if (FMouseIsInside) Picture() = FPicture_Highlight;
}
