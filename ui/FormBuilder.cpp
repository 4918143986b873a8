#include "ui/FormBuilder.h"

#include "base/Exception.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/StdCtrls.h"

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

} // namespace

void BuildForm(TForm& form, const LayoutObject& layout, const FormClass& formClass)
{
    Builder(form, formClass).Build(layout);
}
