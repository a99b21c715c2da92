#include "ui/framework/Menu.h"

#include "ui/framework/FormWindow.h"

namespace lumora {

void PopupMenu::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    menu_ = CreatePopupMenu();
}

PopupMenu::~PopupMenu() {
    if (menu_ != nullptr) {
        DestroyMenu(menu_);
    }
}

void MenuItem::Create(FormWindow& form, const Args& args) {
    Join(form, args);
    menu_ = args.menu != nullptr ? args.menu->Menu() : nullptr;
    id_ = NewCommandId();
    AppendMenuW(menu_, MF_STRING, id_, L"");
}

void MenuItem::SetCaption(const std::wstring& text) {
    caption_ = text;
    if (menu_ != nullptr) {
        ModifyMenuW(menu_, id_, MF_BYCOMMAND | MF_STRING, id_, text.c_str());
    }
}

}  // namespace lumora
