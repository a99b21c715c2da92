// A plain form for the tests of the caption and font helpers: it keeps the
// properties the helpers set and nothing else.
#pragma once

#include <algorithm>
#include <deque>
#include <stdexcept>
#include <string>
#include <utility>

#include "ui/framework/FontSpec.h"
#include "ui/text/Component.h"

namespace lumora::test {

struct TestComponent : Component, FontedComponent {
    TestComponent(std::wstring componentName, ComponentKind componentKind)
        : name(std::move(componentName)), kind(componentKind) {}

    std::wstring Name() const override { return name; }
    ComponentKind Kind() const override { return kind; }
    std::wstring Caption() const override { return caption; }
    void SetCaption(const std::wstring& text) override { caption = text; }
    std::wstring Lines() const override { return lines; }
    void SetLines(const std::wstring& text) override { lines = text; }
    bool HasFont() const override { return hasFont; }
    bool ParentFont() const override { return parentFont; }
    FontSpec Font() const override { return font; }
    void SetFont(const FontSpec& newFont) override { font = newFont; }

    std::wstring name;
    ComponentKind kind;
    std::wstring caption;
    std::wstring lines;
    bool hasFont = true;
    bool parentFont = false;
    FontSpec font;
};

struct TestForm : Form, FontedForm {
    explicit TestForm(std::wstring formName) : name(std::move(formName)) {}

    std::wstring Name() const override { return name; }
    std::wstring Title() const override { return title; }
    void SetTitle(const std::wstring& text) override { title = text; }
    FontSpec Font() const override { return font; }
    void SetFont(const FontSpec& newFont) override { font = newFont; }
    std::size_t ComponentCount() const override { return components.size(); }
    Component& ComponentAt(std::size_t index) override { return components.at(index); }
    FontedComponent& FontedComponentAt(std::size_t index) override { return components.at(index); }

    TestComponent& Add(const std::wstring& componentName, ComponentKind kind) {
        components.emplace_back(componentName, kind);
        return components.back();
    }
    TestComponent& Named(const std::wstring& componentName) {
        const auto found =
            std::find_if(components.begin(), components.end(),
                         [&](const TestComponent& c) { return c.name == componentName; });
        if (found == components.end()) {
            throw std::out_of_range("no such component");
        }
        return *found;
    }

    std::wstring name;
    std::wstring title;
    FontSpec font;
    std::deque<TestComponent> components;  // references stay valid as it grows
};

}  // namespace lumora::test
