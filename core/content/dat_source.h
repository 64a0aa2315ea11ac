#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tokenade {

// Where the data of one file of a zip lies, and what it must unpack to.
struct ZipMemberPlace {
    uint64_t offset = 0;  // of its data in the zip, past the local header
    uint64_t packed = 0;  // bytes there
    uint64_t size = 0;    // bytes once unpacked
    uint32_t crc = 0;
    uint16_t method = 0;  // 0 stored, 8 deflated
};

// The bytes of a DAT, a chunk at a time, from an open file, from memory or
// from a file of a zip (unpacked as it is read), so that a reader never holds
// more than one chunk of a large file.
class DatSource {
public:
    explicit DatSource(int fd);
    explicit DatSource(std::string_view memory);
    // The zip stays open as `fd` for as long as this is read.
    DatSource(int fd, const ZipMemberPlace& member);
    ~DatSource();
    DatSource(const DatSource&) = delete;
    DatSource& operator=(const DatSource&) = delete;

    // The next bytes, valid until the next call; empty at the end, or after
    // a failed read (error() then says why).
    std::string_view next();
    int error() const { return error_; }
    // Of a zip's file: why its data does not hold together (it unpacks to
    // more bytes, or other bytes, than the zip's directory says, or it cannot
    // be unpacked); "" when it does, so far as it was read.
    const std::string& damage() const { return damage_; }

private:
    struct Inflater;
    std::string_view nextOfMember();
    std::string_view unpacked(size_t bytes);
    bool readPacked(char* into, size_t bytes);

    int fd_ = -1;
    std::string_view memory_;
    size_t memoryAt_ = 0;
    std::string buffer_;
    int error_ = 0;
    ZipMemberPlace member_;
    bool inZip_ = false;
    uint64_t packedRead_ = 0;
    uint64_t unpackedSoFar_ = 0;
    uint32_t crc_ = 0;
    std::string damage_;
    std::unique_ptr<Inflater> inflater_;
};

}  // namespace tokenade
