// The root of the component tree: every form, control and non-visual component has an owner that
// frees it, a Name, a Tag and a class name that the translation code dispatches on.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ui {

class TComponent {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // The class name as the form framework reports it ("TRadioButton", "THTMLabel", ...).
    virtual std::wstring ClassName() const { return L"TComponent"; }

    TComponent* Owner() const { return FOwner; }
    // Owned components in the order they were created.
    int ComponentCount() const { return int(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents[Index]; }
    TComponent* FindComponent(const std::wstring& AName) const;

    std::wstring Name;
    intptr_t Tag = 0;

private:
    TComponent* FOwner;
    std::vector<TComponent*> FComponents;  // freed by this component, last created first
};

// A radio button's state as far as the settings code needs it: Name and Checked. The windowed
// control derives from this and keeps Checked in step with its window.
class TRadioButtonBase : public TComponent {
public:
    using TComponent::TComponent;
    std::wstring ClassName() const override { return L"TRadioButton"; }
    virtual bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value) { FChecked = Value; }

protected:
    bool FChecked = false;
};

}  // namespace ui
