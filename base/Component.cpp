#include "base/Component.h"

#include <algorithm>

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_) owner_->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : components_)
        if (component->name_ == name) return component;
    return nullptr;
}

void TComponent::ForEachComponent(const std::function<void(TComponent*)>& visit) const {
    // A copy, so a visitor may free components without upsetting the walk.
    std::vector<TComponent*> snapshot = components_;
    for (TComponent* component : snapshot) {
        visit(component);
        component->ForEachComponent(visit);
    }
}

void TComponent::Free() {
    if (!destroying_) {
        destroying_ = true;
        BeforeDestruction();
    }
    delete this;
}

void TComponent::BeforeDestruction() { DestroyComponents(); }

void TComponent::DestroyComponents() {
    // Last created goes first, so later components never outlive what they were built on.
    while (!components_.empty()) components_.back()->Free();
}

void TComponent::InsertComponent(TComponent* component) { components_.push_back(component); }

void TComponent::RemoveComponent(TComponent* component) {
    auto found = std::find(components_.begin(), components_.end(), component);
    if (found != components_.end()) components_.erase(found);
    component->owner_ = nullptr;
}
