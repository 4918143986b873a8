#pragma once
// Base of everything a layout creates. A component owns the components
// created with it as owner and deletes them, newest first, when it goes.
#include "base/Text.h"
#include "ui/Layout.h"

#include <functional>
#include <vector>

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

class TComponent : public TObject {
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const String& Name() const { return name_; }
    void SetName(const String& name) { name_ = name; }
    TComponent* Owner() const { return owner_; }
    std::size_t ComponentCount() const { return components_.size(); }
    TComponent* Component(std::size_t index) const { return components_.at(index); }
    TComponent* FindComponent(const String& name) const;

    // Applied while a layout is built. Each answers false for a name the
    // component does not know, so that a misspelt layout fails loudly.
    virtual bool SetLayoutProperty(const LayoutProperty& property);
    virtual bool SetLayoutEvent(const String& event, TNotifyEvent handler);
    virtual bool SetLayoutReference(const String& property, TComponent* target);
    // The layout's pixel figures have been applied again, at another
    // density, to a component built long before.
    virtual void LayoutReapplied() {}

protected:
    void DestroyComponents();

private:
    TComponent* owner_;
    String name_;
    std::vector<TComponent*> components_;
};
