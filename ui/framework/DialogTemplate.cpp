// ui/framework/DialogTemplate.cpp - building dialog templates.
#include "ui/framework/DialogTemplate.h"

#include "ui/framework/DialogWindow.h"

namespace uifw {

DialogTemplate::DialogTemplate(int resourceId, std::string caption)
    : resourceId_(resourceId), caption_(std::move(caption)) {}

const ControlSpec* DialogTemplate::Find(ControlId id) const {
    if (id == kIdStatic)
        return nullptr;
    for (const ControlSpec& spec : controls_)
        if (spec.id == id)
            return &spec;
    return nullptr;
}

DialogTemplate& DialogTemplate::SetSize(int width, int height) {
    size_.width = width;
    size_.height = height;
    return *this;
}

DialogTemplate& DialogTemplate::SetAnswerName(std::string name) {
    answerName_ = std::move(name);
    return *this;
}

DialogTemplate& DialogTemplate::SetActionPrompt(std::string name) {
    actionPrompt_ = std::move(name);
    return *this;
}

DialogTemplate& DialogTemplate::Add(ControlKind kind, ControlId id, std::string text,
                                    unsigned style) {
    ControlSpec spec;
    spec.id = id;
    spec.kind = kind;
    spec.text = std::move(text);
    spec.style = style;
    controls_.push_back(std::move(spec));
    return *this;
}

DialogTemplate& DialogTemplate::Label(std::string text, ControlId id) {
    return Add(ControlKind::Static, id, std::move(text));
}
DialogTemplate& DialogTemplate::GroupBox(std::string text, ControlId id) {
    return Add(ControlKind::GroupBox, id, std::move(text));
}
DialogTemplate& DialogTemplate::Edit(ControlId id, unsigned style) {
    return Add(ControlKind::Edit, id, std::string(), style);
}
DialogTemplate& DialogTemplate::CheckBox(ControlId id, std::string text, unsigned style) {
    return Add(ControlKind::CheckBox, id, std::move(text), style);
}
DialogTemplate& DialogTemplate::Radio(ControlId id, std::string text, unsigned style) {
    return Add(ControlKind::RadioButton, id, std::move(text), style);
}
DialogTemplate& DialogTemplate::Button(ControlId id, std::string text, unsigned style) {
    return Add(ControlKind::PushButton, id, std::move(text), style);
}
DialogTemplate& DialogTemplate::DropList(ControlId id, unsigned style) {
    return Add(ControlKind::DropList, id, std::string(), style);
}
DialogTemplate& DialogTemplate::ComboBox(ControlId id, unsigned style) {
    return Add(ControlKind::ComboBox, id, std::string(), style);
}
DialogTemplate& DialogTemplate::ListView(ControlId id, unsigned style) {
    return Add(ControlKind::ListView, id, std::string(), style);
}
DialogTemplate& DialogTemplate::TreeView(ControlId id, unsigned style) {
    return Add(ControlKind::TreeView, id, std::string(), style);
}
DialogTemplate& DialogTemplate::DatePicker(ControlId id, unsigned style) {
    return Add(ControlKind::DatePicker, id, std::string(), style);
}

DialogTemplate& DialogTemplate::At(int x, int y, int width, int height) {
    if (!controls_.empty())
        controls_.back().rect = Rect{x, y, width, height};
    return *this;
}

DialogTemplate& DialogTemplate::Prompt(std::string name, std::string label) {
    if (!controls_.empty()) {
        controls_.back().prompt = std::move(name);
        controls_.back().promptLabel = std::move(label);
    }
    return *this;
}

DialogTemplate& DialogTemplate::Required() {
    if (!controls_.empty())
        controls_.back().optional = false;
    return *this;
}

DialogTemplate& DialogTemplate::AskedFor(ControlId button) {
    if (!controls_.empty())
        controls_.back().askedFor = button;
    return *this;
}

DialogTemplate& DialogTemplate::AskedWith(ControlId other) {
    if (!controls_.empty())
        controls_.back().askedWith = other;
    return *this;
}

std::vector<ControlId> DialogTemplate::RadioGroupOf(ControlId id) const {
    std::vector<ControlId> group;
    bool found = false;
    for (const ControlSpec& c : controls_) {
        if (c.style & kGroup) {
            if (found)
                break;
            group.clear();
        }
        if (c.kind == ControlKind::RadioButton)
            group.push_back(c.id);
        if (c.id == id)
            found = true;
    }
    return found ? group : std::vector<ControlId>();
}

ControlId InitialFocus(const DialogTemplate& t, const IDialogWindow& window) {
    for (const ControlSpec& c : t.Controls()) {
        if (!CanTakeFocus(c.kind) || (c.style & kNoTabStop) || !window.IsEnabled(c.id) ||
            !window.IsVisible(c.id))
            continue;
        if (c.kind == ControlKind::RadioButton)
            for (ControlId member : t.RadioGroupOf(c.id))
                if (window.GetCheck(member) && window.IsEnabled(member) && window.IsVisible(member))
                    return member;
        return c.id;
    }
    return 0;
}

bool CanTakeFocus(ControlKind kind) {
    switch (kind) {
    case ControlKind::Static:
    case ControlKind::GroupBox:
    case ControlKind::Separator:
    case ControlKind::Animation:
        return false;
    default:
        return true;
    }
}

} // namespace uifw
