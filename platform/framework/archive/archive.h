#pragma once
// The binary archive every file of the program is written with: little-endian
// fixed-width values and the archived text form, through a 4096-byte buffer.
//
// Text form: 0xFF, the 16-bit marker 0xFFFE, a length in characters (one byte
// below 255; else 0xFF and 16 bits below 0xFFFE; else 0xFF, 0xFFFF and 32
// bits), then UTF-16LE code units. The 8-bit form (the same length prefix
// without the marker, then 8-bit characters) is accepted on read and decoded
// by the archive's 8-bit decoder (the system code page on Windows).
//
// Every failure is an ArchiveException; a length or count read from the
// stream is checked before anything is allocated for it.

#include <array>
#include <bit>
#include <cstdint>
#include <span>
#include <string>

#include "archive_exception.h"
#include "byte_stream.h"
#include "le_bytes.h"

class CArchive {
public:
    enum Mode { load, store };
    using AnsiDecoder = std::u16string (*)(std::span<const std::uint8_t>);

    static constexpr std::size_t kBufferSize = 4096;
    // Default cap on one archived text; no text of the program comes near it.
    static constexpr std::uint32_t kDefaultMaxTextChars = 1u << 20;

    CArchive(ByteStream& stream, Mode mode);
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;
    // Flushes a storing archive that was not closed, ignoring errors: call
    // Close() to learn whether everything was written.
    ~CArchive();

    bool IsStoring() const { return mode_ == store; }
    bool IsLoading() const { return mode_ == load; }

    // Writes out what is buffered (storing); throws on failure.
    void Flush();
    void Close();

    void SetMaxTextChars(std::uint32_t n) { maxTextChars_ = n; }
    void SetAnsiDecoder(AnsiDecoder decoder) { ansiDecoder_ = decoder; }

    // Storing.
    CArchive& operator<<(std::int32_t v) { return PutLE(static_cast<std::uint32_t>(v), 4); }
    CArchive& operator<<(std::uint32_t v) { return PutLE(v, 4); }
    CArchive& operator<<(std::uint16_t v) { return PutLE(v, 2); }
    CArchive& operator<<(std::uint8_t v) { return PutLE(v, 1); }
    CArchive& operator<<(float v) { return PutLE(std::bit_cast<std::uint32_t>(v), 4); }
    CArchive& operator<<(std::u16string_view text);
    void Write(std::span<const std::uint8_t> bytes);

    // Loading.
    CArchive& operator>>(std::int32_t& v) {
        v = static_cast<std::int32_t>(GetLE(4));
        return *this;
    }
    CArchive& operator>>(std::uint32_t& v) {
        v = GetLE(4);
        return *this;
    }
    CArchive& operator>>(std::uint16_t& v) {
        v = static_cast<std::uint16_t>(GetLE(2));
        return *this;
    }
    CArchive& operator>>(std::uint8_t& v) {
        v = static_cast<std::uint8_t>(GetLE(1));
        return *this;
    }
    CArchive& operator>>(float& v) {
        v = std::bit_cast<float>(GetLE(4));
        return *this;
    }
    CArchive& operator>>(std::u16string& text);
    // Fills bytes completely or throws endOfFile.
    void Read(std::span<std::uint8_t> bytes);
    // Reads an int32 count and checks that it lies in 0..max.
    std::int32_t ReadCount(std::int32_t max);
    // Bytes still to be read from buffer and stream, when the stream knows.
    std::uint64_t Remaining() const;

    // The default 8-bit decoder: every byte becomes the code unit of equal value.
    static std::u16string DecodeLatin1(std::span<const std::uint8_t> bytes);

private:
    // Values go through the buffer inline; only a full or empty buffer, or
    // the wrong direction, takes the call.
    CArchive& PutLE(std::uint32_t v, int bytes) {
        const auto n = static_cast<std::size_t>(bytes);
        if (mode_ != store || n > buffer_.size() - end_) {
            return PutLESlow(v, bytes);
        }
        vz::PutLE(buffer_, end_, v, n);
        end_ += n;
        return *this;
    }
    std::uint32_t GetLE(int bytes) {
        const auto n = static_cast<std::size_t>(bytes);
        if (mode_ != load || end_ - begin_ < n) {
            return GetLESlow(bytes);
        }
        const std::uint32_t v = vz::GetLE(buffer_, begin_, n);
        begin_ += n;
        return v;
    }
    CArchive& PutLESlow(std::uint32_t v, int bytes);
    std::uint32_t GetLESlow(int bytes);
    // Fills `units` with UTF-16LE code units from the stream.
    void ReadUnits(std::span<char16_t> units);
    std::uint32_t ReadTextLength(bool& wide);
    void FillBuffer();
    void RequireStoring() const;
    void RequireLoading() const;

    ByteStream& stream_;
    Mode mode_;
    std::array<std::uint8_t, kBufferSize> buffer_{};
    std::size_t begin_ = 0;  // loading: next byte to hand out
    std::size_t end_ = 0;    // loading: end of valid bytes; storing: bytes buffered
    std::uint32_t maxTextChars_ = kDefaultMaxTextChars;
    AnsiDecoder ansiDecoder_ = &DecodeLatin1;
};
