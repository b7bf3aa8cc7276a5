#include "ui/component.h"

#include "common/text.h"

#include <algorithm>

namespace ui {

TComponent::TComponent(TComponent* AOwner) { AttachOwner(AOwner); }

void TComponent::AttachOwner(TComponent* AOwner) {
    if (FOwner || !AOwner) return;
    FOwner = AOwner;
    FOwner->FComponents.push_back(this);
}

TComponent::~TComponent() {
    DestroyComponents();
    if (FOwner) {
        auto& list = FOwner->FComponents;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }
}

void TComponent::DestroyComponents() {
    // Free what we own, newest first; each child unlinks itself from us as it goes.
    while (!FComponents.empty()) FComponents.back()->Free();
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

bool TComponent::GetProperty(const std::wstring&, std::wstring&) const { return false; }
bool TComponent::SetProperty(const std::wstring&, const std::wstring&) { return false; }

TComponent* TComponent::FindComponent(const std::wstring& AName) const {
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (text::EqualsIgnoreCaseAscii(c->Name, AName)) return c;
    return nullptr;
}

}  // namespace ui
