#pragma once

#include <unistd.h>
#include <utility>

namespace qzr {

// Owns a file descriptor and closes it.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int Descriptor) : FDescriptor(Descriptor) {}
    FileDescriptor(FileDescriptor&& Other) noexcept
        : FDescriptor(std::exchange(Other.FDescriptor, -1))
    {}
    FileDescriptor& operator=(FileDescriptor&& Other) noexcept
    {
        std::swap(FDescriptor, Other.FDescriptor);
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor()
    {
        if (FDescriptor >= 0)
            ::close(FDescriptor);
    }

    int Get() const { return FDescriptor; }
    bool Valid() const { return FDescriptor >= 0; }

private:
    int FDescriptor = -1;
};

} // namespace qzr
