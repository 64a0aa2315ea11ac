#include "dat_source.h"

#include <zlib.h>

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace tokenade {
namespace {

constexpr size_t kChunk = 256 * 1024;

}  // namespace

struct DatSource::Inflater {
    z_stream stream{};
    std::string input;
    bool ended = false;

    Inflater() { ok = inflateInit2(&stream, -MAX_WBITS) == Z_OK; }  // raw deflate, as zips hold it
    ~Inflater() { inflateEnd(&stream); }
    bool ok = false;
};

DatSource::DatSource(int fd) : fd_(fd) {}

DatSource::DatSource(std::string_view memory) : memory_(memory) {}

DatSource::DatSource(int fd, const ZipMemberPlace& member) : fd_(fd), member_(member), inZip_(true)
{
    if (member.method == 8)
        inflater_ = std::make_unique<Inflater>();
    if (member.method != 0 && member.method != 8)
        damage_ = "packed in a way not read (method " + std::to_string(member.method) + ")";
    else if (inflater_ && !inflater_->ok)
        damage_ = "cannot be unpacked (no memory)";
}

DatSource::~DatSource() = default;

std::string_view DatSource::next()
{
    if (inZip_)
        return nextOfMember();
    if (fd_ < 0) {
        const std::string_view chunk = memory_.substr(memoryAt_, std::min(kChunk, memory_.size() - memoryAt_));
        memoryAt_ += chunk.size();
        return chunk;
    }
    buffer_.resize(kChunk);
    while (true) {
        const ssize_t got = ::read(fd_, buffer_.data(), buffer_.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error_ = errno;
            return {};
        }
        return std::string_view(buffer_.data(), static_cast<size_t>(got));
    }
}

// Reads the next `bytes` of the member's packed data; false after a failed
// read or a zip that ends before its data does.
bool DatSource::readPacked(char* into, size_t bytes)
{
    for (size_t done = 0; done < bytes;) {
        const ssize_t got = ::pread(fd_, into + done, bytes - done, static_cast<off_t>(member_.offset + packedRead_));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error_ = errno;
            return false;
        }
        if (got == 0) {
            damage_ = "cut short: the zip ends inside it";
            return false;
        }
        done += static_cast<size_t>(got);
        packedRead_ += static_cast<uint64_t>(got);
    }
    return true;
}

// The chunk just unpacked, once checked against what the directory says.
std::string_view DatSource::unpacked(size_t bytes)
{
    unpackedSoFar_ += bytes;
    crc_ = static_cast<uint32_t>(::crc32(crc_, reinterpret_cast<const Bytef*>(buffer_.data()), static_cast<uInt>(bytes)));
    if (unpackedSoFar_ > member_.size) {
        damage_ = "unpacks to more bytes than the zip's directory says";
        return {};
    }
    return std::string_view(buffer_.data(), bytes);
}

std::string_view DatSource::nextOfMember()
{
    if (!damage_.empty() || error_ != 0)
        return {};
    buffer_.resize(kChunk);
    if (!inflater_) {
        const size_t bytes = static_cast<size_t>(std::min<uint64_t>(kChunk, member_.packed - packedRead_));
        if (bytes > 0 && readPacked(buffer_.data(), bytes))
            return unpacked(bytes);
    } else {
        z_stream& stream = inflater_->stream;
        while (!inflater_->ended) {
            if (stream.avail_in == 0 && packedRead_ < member_.packed) {
                inflater_->input.resize(static_cast<size_t>(std::min<uint64_t>(kChunk, member_.packed - packedRead_)));
                if (!readPacked(inflater_->input.data(), inflater_->input.size()))
                    return {};
                stream.next_in = reinterpret_cast<Bytef*>(inflater_->input.data());
                stream.avail_in = static_cast<uInt>(inflater_->input.size());
            }
            stream.next_out = reinterpret_cast<Bytef*>(buffer_.data());
            stream.avail_out = static_cast<uInt>(buffer_.size());
            const int status = inflate(&stream, Z_NO_FLUSH);
            const size_t made = buffer_.size() - stream.avail_out;
            if (status == Z_STREAM_END)
                inflater_->ended = true;
            else if (made == 0 && (status == Z_BUF_ERROR || (stream.avail_in == 0 && packedRead_ >= member_.packed))) {
                damage_ = "cut short: its packed data ends before it does";
                return {};
            } else if (status != Z_OK && status != Z_BUF_ERROR) {
                damage_ = std::string("cannot be unpacked (") + (stream.msg ? stream.msg : "damaged data") + ")";
                return {};
            }
            if (made > 0)
                return unpacked(made);
        }
    }
    // At the end: the whole file, and the right one.
    if (damage_.empty() && error_ == 0 && (unpackedSoFar_ != member_.size || crc_ != member_.crc))
        damage_ = unpackedSoFar_ != member_.size ? "unpacks to fewer bytes than the zip's directory says"
                                                 : "damaged: its CRC is not the one the zip's directory gives";
    return {};
}

}  // namespace tokenade
