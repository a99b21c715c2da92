#include "ui/text/Component.h"

#include "common/WideText.h"

namespace lumora {

Component* FindComponent(Form& form, const std::wstring& name) {
    const std::wstring wanted = AsciiLower(name);
    const std::size_t count = form.ComponentCount();
    for (std::size_t i = 0; i < count; ++i) {
        Component& component = form.ComponentAt(i);
        if (AsciiLower(component.Name()) == wanted) {
            return &component;
        }
    }
    return nullptr;
}

}  // namespace lumora
