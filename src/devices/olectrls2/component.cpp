#include "devices/olectrls2/component.h"

#include <algorithm>

namespace zorv::devices {

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    if (owner_ != nullptr)
        owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    while (!components_.empty())
        delete components_.back(); // removes itself from the list
    if (owner_ != nullptr) {
        auto& siblings = owner_->components_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
}

} // namespace zorv::devices
