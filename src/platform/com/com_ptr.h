#pragma once
// Owning interface pointer: every reference the C++ layers hold goes through it.
#include <utility>

#include "unknown.h"

namespace zorv::com {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference on `p`.
    ComPtr(T* p) : ptr_(p) { AddRefIfAny(); }
    ComPtr(const ComPtr& other) : ptr_(other.ptr_) { AddRefIfAny(); }
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).Swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    ComPtr& operator=(T* p) {
        ComPtr(p).Swap(*this);
        return *this;
    }

    // Adopts a reference that the caller already owns.
    static ComPtr Adopt(T* p) {
        ComPtr result;
        result.ptr_ = p;
        return result;
    }

    void Reset() {
        if (T* p = std::exchange(ptr_, nullptr))
            p->Release();
    }
    T* Detach() { return std::exchange(ptr_, nullptr); }
    void Swap(ComPtr& other) noexcept { std::swap(ptr_, other.ptr_); }

    T* Get() const { return ptr_; }
    T* operator->() const { return ptr_; }
    T& operator*() const { return *ptr_; }
    explicit operator bool() const { return ptr_ != nullptr; }

    // For out-parameters: releases what is held first.
    T** ReleaseAndGetAddressOf() {
        Reset();
        return &ptr_;
    }
    void** ReleaseAndGetVoidAddress() { return reinterpret_cast<void**>(ReleaseAndGetAddressOf()); }

    template <class U>
    HRESULT As(ComPtr<U>* out) const {
        if (ptr_ == nullptr)
            return E_POINTER;
        return ptr_->QueryInterface(IidOf<U>(), out->ReleaseAndGetVoidAddress());
    }
    template <class U>
    ComPtr<U> As() const {
        ComPtr<U> out;
        As(&out);
        return out;
    }

    // Hands a new reference to an out-parameter.
    HRESULT CopyTo(T** out) const {
        if (out == nullptr)
            return E_POINTER;
        *out = ptr_;
        AddRefIfAny();
        return S_OK;
    }

private:
    void AddRefIfAny() const {
        if (ptr_ != nullptr)
            ptr_->AddRef();
    }

    T* ptr_ = nullptr;
};

template <class T, class U>
bool operator==(const ComPtr<T>& a, const ComPtr<U>& b) {
    return a.Get() == b.Get();
}

} // namespace zorv::com
