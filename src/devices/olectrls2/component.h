#pragma once
// Ownership as the window toolkit of the original program has it: a
// component owns the components created with it as owner and destroys them
// with itself, the last created first.
#include <vector>

namespace zorv::devices {

class TComponent {
public:
    explicit TComponent(TComponent* owner);
    virtual ~TComponent();
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    const std::vector<TComponent*>& Components() const { return components_; }

private:
    TComponent* owner_;
    std::vector<TComponent*> components_;
};

} // namespace zorv::devices
