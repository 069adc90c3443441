#pragma once
// Root passes every permission check, and tests run as root in CI: a step
// that must meet a permission error runs as an ordinary user there, the
// effective user switched for the step's length only. Its groups stay
// root's, so the files a test prepares give their group what they give others.
#include <sys/types.h>
#include <unistd.h>

namespace zorv::testing {

class AsOrdinaryUser {
public:
    AsOrdinaryUser() {
        if (::geteuid() == 0)
            switched_ = ::seteuid(kNobody) == 0;
        else
            switched_ = false, ordinary_ = true;
    }
    ~AsOrdinaryUser() {
        if (switched_)
            (void)::seteuid(0);
    }
    AsOrdinaryUser(const AsOrdinaryUser&) = delete;
    AsOrdinaryUser& operator=(const AsOrdinaryUser&) = delete;

    // False when root could not step down (no right to change users).
    bool Active() const { return switched_ || ordinary_; }

private:
    static constexpr uid_t kNobody = 65534;
    bool switched_ = false;
    bool ordinary_ = false;
};

} // namespace zorv::testing
