#include "chathost/reusable_buffer.h"

#include <cstdint>
#include <new>
#include <utility>

namespace zol {

ReusableBuffer::Lease& ReusableBuffer::Lease::operator=(Lease&& other) noexcept {
    if (this != &other) {
        give_back();
        home_ = std::exchange(other.home_, nullptr);
        own_ = std::move(other.own_);
        data_ = std::exchange(other.data_, nullptr);
        capacity_ = std::exchange(other.capacity_, 0);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

void ReusableBuffer::Lease::give_back() {
    if (home_) home_->lent_ = false;
    home_ = nullptr;
    own_.reset();
    data_ = nullptr;
    capacity_ = 0;
    length_ = 0;
}

ReusableBuffer::Lease ReusableBuffer::lend(std::size_t size) {
    Lease lease;
    if (size == 0) size = 1;
    if (lent_) {
        lease.own_.reset(new (std::nothrow) char[size]);
        if (!lease.own_) return lease;
        lease.data_ = lease.own_.get();
        lease.capacity_ = size;
        return lease;
    }
    if (size > capacity_) {
        // Headroom, so that a history growing line by line does not cost a
        // new buffer every read.
        const std::size_t headroom = size / 4 <= SIZE_MAX - size ? size / 4 : 0;
        const std::size_t capacity = size + headroom;
        kept_.reset();
        capacity_ = 0;
        kept_.reset(new (std::nothrow) char[capacity]);
        if (!kept_) return lease;
        capacity_ = capacity;
    }
    lent_ = true;
    lease.home_ = this;
    lease.data_ = kept_.get();
    lease.capacity_ = capacity_;
    return lease;
}

}  // namespace zol
