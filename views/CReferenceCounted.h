#pragma once

#include <cstdint>
#include <utility>

// Base of everything shared between views: created with one reference held by the creator;
// the last releaseRef destroys the object. Used on the user-interface thread only.
class CReferenceCounted {
  public:
    CReferenceCounted() = default;
    // A copy is a new object, owned by whoever made it.
    CReferenceCounted(const CReferenceCounted&) : CReferenceCounted() {}
    CReferenceCounted& operator=(const CReferenceCounted&) { return *this; }
    virtual ~CReferenceCounted() = default;

    virtual void releaseRef() {
        if (--referenceCount_ == 0) delete this;
    }
    virtual void addRef() { ++referenceCount_; }
    int32_t getNbReference() const { return referenceCount_; }

  private:
    int32_t referenceCount_ = 1;
};

// Holds one reference on a shared object (or none) and gives it back when it goes.
template <class T> class SharedRef {
  public:
    SharedRef() = default;
    // Takes a new reference on `object`.
    explicit SharedRef(T* object) : object_(object) {
        if (object_) object_->addRef();
    }
    SharedRef(const SharedRef& o) : SharedRef(o.object_) {}
    SharedRef(SharedRef&& o) noexcept : object_(std::exchange(o.object_, nullptr)) {}
    SharedRef& operator=(SharedRef o) noexcept {
        std::swap(object_, o.object_);
        return *this;
    }
    ~SharedRef() {
        if (object_) object_->releaseRef();
    }
    // Takes over a reference the caller already holds (for example a freshly created object).
    static SharedRef adopt(T* object) {
        SharedRef r;
        r.object_ = object;
        return r;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

  private:
    T* object_ = nullptr;
};
