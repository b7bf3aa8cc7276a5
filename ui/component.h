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

    // Frees the component the way its owner does: BeforeDestruction first (a form raises its
    // destruction event there, while everything it holds still exists), then delete.
    void Free();
    static void Free(TComponent* Component) {
        if (Component) Component->Free();
    }

    // Published properties by name, as text, for code that walks a component tree without knowing
    // the classes (the form translation): "Caption", "HTMLText", "Width", "AutoSize" ("True" or
    // "False"), "AutoSizeType", "CaptionMaxWidth". False when the class has no such property (or,
    // for SetProperty, cannot take the value).
    virtual bool GetProperty(const std::wstring& PropName, std::wstring& Value) const;
    virtual bool SetProperty(const std::wstring& PropName, const std::wstring& Value);
    bool HasProperty(const std::wstring& PropName) const {
        std::wstring v;
        return GetProperty(PropName, v);
    }

protected:
    // Joins the owner's list once. Classes that derive from TComponent virtually (controls, and
    // the radio button that is a control and a TRadioButtonBase at once) call it from their
    // constructors, because only the most derived class initialises a virtual base.
    void AttachOwner(TComponent* AOwner);
    virtual void BeforeDestruction() {}
    // Frees every owned component now (newest first), for destructors that must free their
    // components before their own parts go.
    void DestroyComponents();

private:
    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;  // freed by this component, last created first
};

// A radio button's state as far as the settings code needs it: Name and Checked. The windowed
// control derives from this and keeps Checked in step with its window.
class TRadioButtonBase : public virtual TComponent {
public:
    explicit TRadioButtonBase(TComponent* AOwner = nullptr) : TComponent(AOwner) { AttachOwner(AOwner); }
    std::wstring ClassName() const override { return L"TRadioButton"; }
    virtual bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value) { FChecked = Value; }

protected:
    bool FChecked = false;
};

}  // namespace ui
