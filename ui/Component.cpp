#include "ui/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner)
{
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent()
{
    DestroyComponents();
    if (owner_) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* newest = components_.back();
        components_.pop_back();
        newest->owner_ = nullptr;
        delete newest;
    }
}

TComponent* TComponent::FindComponent(const String& name) const
{
    for (TComponent* component : components_)
        if (component->name_ == name)
            return component;
    return nullptr;
}

bool TComponent::SetLayoutProperty(const LayoutProperty&)
{
    return false;
}

bool TComponent::SetLayoutEvent(const String&, TNotifyEvent)
{
    return false;
}

bool TComponent::SetLayoutReference(const String&, TComponent*)
{
    return false;
}
