#include "ui/component.h"

#include "common/text.h"

#include <algorithm>

namespace ui {

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
    if (FOwner) FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
    // Free what we own, newest first; each child unlinks itself from us as it goes.
    while (!FComponents.empty()) delete FComponents.back();
    if (FOwner) {
        auto& list = FOwner->FComponents;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

TComponent* TComponent::FindComponent(const std::wstring& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (text::EqualsIgnoreCaseAscii(c->Name, AName)) return c;
    return nullptr;
}

}  // namespace ui
