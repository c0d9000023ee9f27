#pragma once

#include <string_view>
#include <sys/types.h>
#include <utility>

// An owned file descriptor and the few whole-content operations a save is made of.
namespace zev {

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    [[nodiscard]] bool valid() const { return fd_ >= 0; }
    // A close after a successful fsync loses nothing, so its result is not looked at.
    void reset(int fd = -1);
    // Hands the descriptor over to another owner.
    [[nodiscard]] int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

// Each returns 0 or the errno of its failure.

// Writes all the bytes at the offset, however many calls that takes; stored, where given,
// tells how many reached the file, failure or not.
int writeAt(int fd, const char* data, size_t size, off_t offset, size_t* stored = nullptr);

// Makes the file hold exactly these bytes, then makes them durable. changed, where given, tells
// whether the file may differ from what it was, failure or not.
int writeWhole(int fd, std::string_view bytes, bool* changed = nullptr);

// The bytes a copy holds at a time, whatever the size of the file copied.
inline constexpr size_t kCopyChunk = 64 * 1024;

// Copies from's bytes to the start of to, one chunk at a time, up to from's end; copied tells
// how many.
int copyContent(int from, int to, off_t& copied);

} // namespace zev
