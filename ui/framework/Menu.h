// A popup menu owned by the window, and its items. The menu owns its items
// and is not one; an item raises a click when it is chosen.
#pragma once

#include "ui/framework/Control.h"

namespace lumora {

class PopupMenu : public Control {
  public:
    struct Args : ControlArgs {};
    void Create(FormWindow& form, const Args& args);
    ~PopupMenu() override;

    HMENU Menu() const { return menu_; }
    void AddSeparator() { AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr); }

  protected:
    HMENU menu_ = nullptr;
};

class MenuItem : public Control {
  public:
    struct Args : ControlArgs {
        PopupMenu* menu = nullptr;  // the menu that holds the item
    };
    void Create(FormWindow& form, const Args& args);

    ComponentKind Kind() const override { return ComponentKind::PopupMenuItem; }
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& text) override;
    // The menu that holds the item.
    HMENU Menu() const { return menu_; }

    Event onClick;

  protected:
    Event* EventOf(EventKind kind) override {
        return kind == EventKind::Click ? &onClick : nullptr;
    }
    // A command from a menu carries no control window.
    bool IsClick(UINT, LPARAM lParam) const override { return lParam == 0; }
    std::wstring caption_;
    HMENU menu_ = nullptr;
};

}  // namespace lumora
