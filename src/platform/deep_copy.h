// An owner of one heap object that copies it whole when it is copied: a
// large value (the solver's matrices) kept off the stack with value
// semantics. The type needs to be complete only where an object is made
// (Make), so a record can hold the owner of a type from a layer above it.
#pragma once

#include <utility>

namespace qw {

template <typename T>
class DeepCopy {
public:
    DeepCopy() = default;
    template <typename... Args>
    static DeepCopy Make(Args&&... args) {
        DeepCopy d;
        d.value_ = new T(std::forward<Args>(args)...);
        d.clone_ = [](const T& v) { return new T(v); };
        d.destroy_ = [](T* v) { delete v; };
        return d;
    }
    DeepCopy(const DeepCopy& other) : clone_(other.clone_), destroy_(other.destroy_) {
        if (other.value_) value_ = clone_(*other.value_);
    }
    DeepCopy(DeepCopy&& other) noexcept { swap(other); }
    DeepCopy& operator=(DeepCopy other) noexcept {
        swap(other);
        return *this;
    }
    ~DeepCopy() {
        if (value_) destroy_(value_);
    }

    explicit operator bool() const { return value_ != nullptr; }
    T& operator*() { return *value_; }
    const T& operator*() const { return *value_; }
    T* operator->() { return value_; }
    const T* operator->() const { return value_; }

private:
    void swap(DeepCopy& other) noexcept {
        std::swap(value_, other.value_);
        std::swap(clone_, other.clone_);
        std::swap(destroy_, other.destroy_);
    }
    T* value_ = nullptr;
    T* (*clone_)(const T&) = nullptr;
    void (*destroy_)(T*) = nullptr;
};

}  // namespace qw
