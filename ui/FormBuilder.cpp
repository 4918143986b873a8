#include "ui/FormBuilder.h"

#include "base/Exception.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/LayoutScale.h"
#include "ui/StdCtrls.h"

#include <windows.h>

#include <map>
#include <set>

namespace {

using Factory = TComponent* (*)(TComponent* owner);

template <class T>
TComponent* Make(TComponent* owner)
{
    return new T(owner);
}

const std::map<String, Factory>& Factories()
{
    static const std::map<String, Factory> factories = {
        {"TButton", Make<TButton>},       {"TEdit", Make<TEdit>},       {"TImageList", Make<TImageList>},
        {"TLabel", Make<TLabel>},         {"TListBox", Make<TListBox>}, {"TListView", Make<TListView>},
        {"TMemo", Make<TMemo>},           {"TPanel", Make<TPanel>},     {"TSplitter", Make<TSplitter>},
        {"TStatusBar", Make<TStatusBar>}, {"TTimer", Make<TTimer>},     {"TTreeView", Make<TTreeView>},
    };
    return factories;
}

class Builder {
public:
    Builder(TForm& form, const FormClass& formClass) : form_(form), class_(formClass) {}

    void Build(const LayoutObject& root)
    {
        if (root.className != class_.className)
            throw LayoutError(root.line, "the layout is for " + root.className + ", not " + class_.className);
        form_.SetName(root.name);
        Apply(form_, root);
        for (const LayoutObject& child : root.children)
            Create(child, &form_);
        for (const FormBinding& binding : class_.bindings)
            if (binding.field && !bound_.count(binding.name))
                throw LayoutError(root.line, "the published control " + binding.name + " is not in the layout");
        form_.CreateHandle();
        for (const Reference& reference : references_) {
            TComponent* target = form_.FindComponent(reference.target);
            if (!target)
                throw LayoutError(reference.line, "no component named " + reference.target);
            if (!reference.component->SetLayoutReference(reference.property, target))
                throw LayoutError(reference.line,
                                  "unknown property " + reference.property + " of " + reference.component->Name());
        }
        form_.ApplyTabOrder();
    }

private:
    struct Reference {
        TComponent* component;
        String property;
        String target;
        int line;
    };

    void Create(const LayoutObject& object, TControl* parent)
    {
        const auto factory = Factories().find(object.className);
        if (factory == Factories().end())
            throw LayoutError(object.line, "unknown class " + object.className);
        if (form_.FindComponent(object.name))
            throw LayoutError(object.line, "a second component named " + object.name);
        TComponent* component = factory->second(&form_);
        component->SetName(object.name);
        const FormBinding* binding = class_.Find(object.name);
        if (!binding || !binding->field)
            throw LayoutError(object.line, object.name + " is not a published control of " + class_.className);
        if (!binding->field(form_, component))
            throw LayoutError(object.line, object.name + " is declared with another class than " + object.className);
        bound_.insert(object.name);
        auto* control = dynamic_cast<TControl*>(component);
        if (control)
            control->SetParent(parent);
        else if (!object.children.empty())
            throw LayoutError(object.line, object.name + " cannot hold controls");
        Apply(*component, object);
        for (const LayoutObject& child : object.children)
            Create(child, control);
    }

    void Apply(TComponent& component, const LayoutObject& object)
    {
        for (const LayoutProperty& property : object.properties) {
            if (property.name.rfind("On", 0) == 0 && property.value.kind == LayoutValue::Kind::Identifier) {
                BindEvent(component, property);
                continue;
            }
            if (component.SetLayoutProperty(property))
                continue;
            if (property.value.kind == LayoutValue::Kind::Identifier) {
                references_.push_back({&component, property.name, property.value.text, property.line});
                continue;
            }
            throw LayoutError(property.line, "unknown property " + property.name + " of " + object.name);
        }
    }

    void BindEvent(TComponent& component, const LayoutProperty& property)
    {
        const FormBinding* binding = class_.Find(property.value.text);
        if (!binding || (!binding->notify && !binding->close))
            throw LayoutError(property.line,
                              property.value.text + " is not a published handler of " + class_.className);
        if (property.name == "OnClose" && &component == &form_ && binding->close) {
            form_.SetCloseEvent(binding->close(form_));
            return;
        }
        if (!binding->notify || !component.SetLayoutEvent(property.name, binding->notify(form_)))
            throw LayoutError(property.line, "the event " + property.name + " of " + component.Name() +
                                                 " cannot take " + property.value.text);
    }

    TForm& form_;
    const FormClass& class_;
    std::vector<Reference> references_;
    std::set<String> bound_;
};

const LayoutProperty* Named(const LayoutObject& object, const String& name)
{
    for (const LayoutProperty& property : object.properties)
        if (property.name == name)
            return &property;
    return nullptr;
}

// The side of an aligned control that the user can drag (with a splitter).
bool IsDraggedSide(const TControl& control, const String& name)
{
    switch (control.Align()) {
    case TAlign::Left:
    case TAlign::Right:
        return name == "Width";
    case TAlign::Top:
    case TAlign::Bottom:
        return name == "Height";
    default:
        return false;
    }
}

int CurrentSide(const TControl& control, const String& name)
{
    return name == "Width" ? control.Bounds().width : control.Bounds().height;
}

// A collection whose items hold figures, such as columns with their widths;
// one of texts (a memo's lines) is not applied twice.
bool HoldsPixels(const LayoutProperty& property)
{
    if (property.value.kind != LayoutValue::Kind::Collection)
        return false;
    for (const auto& item : property.value.collection)
        for (const LayoutProperty& field : item)
            if (field.value.kind == LayoutValue::Kind::Integer && IsPixelProperty(field.name))
                return true;
    return false;
}

void Reapply(TComponent& component, const LayoutObject& applied, const LayoutObject& next, int from, int to)
{
    auto* control = dynamic_cast<TControl*>(&component);
    for (const LayoutProperty& property : next.properties) {
        const bool pixels = property.value.kind == LayoutValue::Kind::Integer && IsPixelProperty(property.name);
        if (!pixels && !HoldsPixels(property))
            continue;
        LayoutProperty value = property;
        const LayoutProperty* before = Named(applied, property.name);
        if (pixels && control && before && IsDraggedSide(*control, property.name)) {
            const int current = CurrentSide(*control, property.name);
            if (current != before->value.integer)
                value.value.integer = ::MulDiv(current, to, from);
        }
        if (!component.SetLayoutProperty(value))
            throw LayoutError(property.line, "unknown property " + property.name + " of " + component.Name());
    }
    component.LayoutReapplied();
}

} // namespace

void BuildForm(TForm& form, const LayoutObject& layout, const FormClass& formClass)
{
    Builder(form, formClass).Build(layout);
}

void ReapplyPixels(TForm& form, const LayoutObject& applied, const LayoutObject& next, int from, int to)
{
    if (from <= 0 || to <= 0)
        return;
    // The two layouts come from one stored layout: their objects pair up.
    std::vector<std::pair<const LayoutObject*, const LayoutObject*>> pending{{&applied, &next}};
    while (!pending.empty()) {
        const auto [before, after] = pending.back();
        pending.pop_back();
        TComponent* component = after == &next ? &form : form.FindComponent(after->name);
        if (!component)
            throw LayoutError(after->line, "no component named " + after->name);
        Reapply(*component, *before, *after, from, to);
        for (std::size_t i = 0; i < after->children.size() && i < before->children.size(); ++i)
            pending.emplace_back(&before->children[i], &after->children[i]);
    }
    std::vector<platform::Font> retired;
    form.RefreshPixels(from, to, retired);
}
