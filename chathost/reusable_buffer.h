// A byte buffer kept from call to call and lent to one caller at a time.
//
// The host binding reads the room twice a second into the same buffer, so
// that a read allocates nothing once the buffer has grown to the room's
// size. But a read waits for the host with window messages flowing, and a
// message sent to us meanwhile can run a command that reads the host too,
// nested inside the outer read on the same thread. Such a nested read must
// never free, grow or overwrite the buffer the outer read handed to the host:
// while the kept buffer is lent, a lease gets a buffer of its own, freed when
// the lease ends.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace zol {

class ReusableBuffer {
public:
    class Lease {
    public:
        Lease() = default;
        Lease(Lease&& other) noexcept { *this = std::move(other); }
        Lease& operator=(Lease&& other) noexcept;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        ~Lease() { give_back(); }

        // False when there was no memory for it.
        explicit operator bool() const { return data_ != nullptr; }
        char* data() const { return data_; }
        std::size_t capacity() const { return capacity_; }

        // The part of the buffer that holds text, set by whoever filled it.
        void set_length(std::size_t length) { length_ = length < capacity_ ? length : capacity_; }
        std::string_view text() const { return {data_, length_}; }

        // True when this lease holds the kept buffer (for tests and figures).
        bool is_kept() const { return home_ != nullptr; }

    private:
        friend class ReusableBuffer;
        void give_back();

        ReusableBuffer* home_ = nullptr;  // set while this lease holds the kept buffer
        std::unique_ptr<char[]> own_;     // a buffer of its own, when the kept one was lent
        char* data_ = nullptr;
        std::size_t capacity_ = 0;
        std::size_t length_ = 0;
    };

    ReusableBuffer() = default;
    ReusableBuffer(const ReusableBuffer&) = delete;
    ReusableBuffer& operator=(const ReusableBuffer&) = delete;
    // Every lease of the kept buffer must have ended by now.
    ~ReusableBuffer() = default;

    // A buffer of at least `size` bytes, not initialised: pages nobody
    // writes are never touched. The kept buffer when it is free, grown with
    // some headroom when it is too small (the old one goes first, so the two
    // never stand side by side); otherwise one of exactly `size` bytes. An
    // empty lease when memory is short.
    Lease lend(std::size_t size);

    std::size_t kept_capacity() const { return capacity_; }
    bool lent() const { return lent_; }

private:
    std::unique_ptr<char[]> kept_;
    std::size_t capacity_ = 0;
    bool lent_ = false;
};

}  // namespace zol
