#include "archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <vector>

#include "le_bytes.h"

const char* ArchiveException::what() const noexcept {
    switch (cause_) {
    case endOfFile: return "archive: unexpected end of file";
    case badFormat: return "archive: bad format";
    case tooLarge: return "archive: length or count too large";
    case openFailed: return "archive: file could not be opened";
    case readFailed: return "archive: read failed";
    case writeFailed: return "archive: write failed";
    }
    return "archive: error";
}

namespace {
constexpr std::uint8_t kLongLength8 = 0xFF;
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLongLength16 = 0xFFFF;
// Text is read in slices so that a lying length fails at the end of the
// stream before much memory is taken.
constexpr std::size_t kTextSlice = 16 * 1024;
}  // namespace

CArchive::CArchive(ByteStream& stream, Mode mode) : stream_(stream), mode_(mode) {}

CArchive::~CArchive() {
    if (mode_ == store) {
        try {
            Flush();
        } catch (const ArchiveException&) {
            // Close() is where a caller learns of a failed write.
        }
    }
}

void CArchive::RequireStoring() const {
    if (mode_ != store) {
        throw ArchiveException(ArchiveException::badFormat);
    }
}

void CArchive::RequireLoading() const {
    if (mode_ != load) {
        throw ArchiveException(ArchiveException::badFormat);
    }
}

void CArchive::Flush() {
    if (mode_ == store && end_ != 0) {
        const std::size_t n = end_;
        end_ = 0;
        stream_.Write(std::span(buffer_.data(), n));
    }
}

void CArchive::Close() { Flush(); }

CArchive& CArchive::PutLESlow(std::uint32_t v, int bytes) {
    RequireStoring();
    if (end_ + static_cast<std::size_t>(bytes) > buffer_.size()) {
        Flush();
    }
    vz::PutLE(buffer_, end_, v, static_cast<std::size_t>(bytes));
    end_ += static_cast<std::size_t>(bytes);
    return *this;
}

void CArchive::Write(std::span<const std::uint8_t> bytes) {
    RequireStoring();
    if (bytes.size() > buffer_.size() - end_) {
        Flush();
        if (bytes.size() >= buffer_.size()) {
            stream_.Write(bytes);
            return;
        }
    }
    if (!bytes.empty()) {
        std::memcpy(buffer_.data() + end_, bytes.data(), bytes.size());
        end_ += bytes.size();
    }
}

CArchive& CArchive::operator<<(std::u16string_view text) {
    RequireStoring();
    if (text.size() > UINT32_MAX - 1) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    const auto length = static_cast<std::uint32_t>(text.size());
    *this << kLongLength8 << kWideMarker;
    if (length < kLongLength8) {
        *this << static_cast<std::uint8_t>(length);
    } else if (length < kWideMarker) {
        *this << kLongLength8 << static_cast<std::uint16_t>(length);
    } else {
        *this << kLongLength8 << kLongLength16 << length;
    }
    // The code units go to the buffer a buffer's worth at a time.
    for (std::size_t done = 0; done < text.size();) {
        if (buffer_.size() - end_ < 2) {
            Flush();
        }
        const std::size_t n = std::min(text.size() - done, (buffer_.size() - end_) / 2);
        for (std::size_t i = 0; i < n; ++i) {
            vz::PutLE16(buffer_, end_ + 2 * i, static_cast<std::uint16_t>(text[done + i]));
        }
        end_ += 2 * n;
        done += n;
    }
    return *this;
}

void CArchive::FillBuffer() {
    if (begin_ == end_) {
        begin_ = end_ = 0;
    } else if (begin_ != 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    end_ += stream_.Read(std::span(buffer_.data() + end_, buffer_.size() - end_));
}

std::uint32_t CArchive::GetLESlow(int bytes) {
    RequireLoading();
    if (end_ - begin_ < static_cast<std::size_t>(bytes)) {
        FillBuffer();
        if (end_ - begin_ < static_cast<std::size_t>(bytes)) {
            throw ArchiveException(ArchiveException::endOfFile);
        }
    }
    const std::uint32_t v = vz::GetLE(buffer_, begin_, static_cast<std::size_t>(bytes));
    begin_ += static_cast<std::size_t>(bytes);
    return v;
}

void CArchive::ReadUnits(std::span<char16_t> units) {
    for (std::size_t done = 0; done < units.size();) {
        if (end_ - begin_ < 2) {
            FillBuffer();
            if (end_ - begin_ < 2) {
                throw ArchiveException(ArchiveException::endOfFile);
            }
        }
        const std::size_t n = std::min(units.size() - done, (end_ - begin_) / 2);
        for (std::size_t i = 0; i < n; ++i) {
            units[done + i] = static_cast<char16_t>(vz::GetLE16(buffer_, begin_ + 2 * i));
        }
        begin_ += 2 * n;
        done += n;
    }
}

void CArchive::Read(std::span<std::uint8_t> bytes) {
    RequireLoading();
    std::size_t done = std::min(bytes.size(), end_ - begin_);
    if (done != 0) {
        std::memcpy(bytes.data(), buffer_.data() + begin_, done);
        begin_ += done;
    }
    while (done < bytes.size()) {
        const std::size_t n = stream_.Read(bytes.subspan(done));
        if (n == 0) {
            throw ArchiveException(ArchiveException::endOfFile);
        }
        done += n;
    }
}

std::int32_t CArchive::ReadCount(std::int32_t max) {
    std::int32_t count = 0;
    *this >> count;
    if (count < 0) {
        throw ArchiveException(ArchiveException::badFormat);
    }
    if (count > max) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    return count;
}

std::uint64_t CArchive::Remaining() const {
    const std::uint64_t inStream = stream_.Remaining();
    return inStream == UINT64_MAX ? UINT64_MAX : inStream + (end_ - begin_);
}

std::uint32_t CArchive::ReadTextLength(bool& wide) {
    wide = false;
    std::uint8_t b = 0;
    *this >> b;
    if (b < kLongLength8) {
        return b;
    }
    std::uint16_t w = 0;
    *this >> w;
    if (w == kWideMarker) {
        wide = true;
        *this >> b;
        if (b < kLongLength8) {
            return b;
        }
        *this >> w;
    }
    if (w < kLongLength16) {
        return w;
    }
    std::uint32_t d = 0;
    *this >> d;
    return d;
}

CArchive& CArchive::operator>>(std::u16string& text) {
    bool wide = false;
    const std::uint32_t length = ReadTextLength(wide);
    if (length > maxTextChars_) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    const std::size_t unit = wide ? 2 : 1;
    const std::uint64_t remaining = Remaining();
    if (remaining != UINT64_MAX && std::uint64_t{length} * unit > remaining) {
        throw ArchiveException(ArchiveException::endOfFile);
    }
    // Read in slices into a text of its own, so that the caller's text is
    // left as it was when the stream ends early.
    if (wide) {
        std::u16string read;
        for (std::size_t done = 0; done < length;) {
            const std::size_t n = std::min(kTextSlice / 2, std::size_t{length} - done);
            read.resize(done + n);
            ReadUnits(std::span(read).subspan(done, n));
            done += n;
        }
        text = std::move(read);
        return *this;
    }
    std::vector<std::uint8_t> raw;
    for (std::size_t done = 0; done < length;) {
        const std::size_t n = std::min(kTextSlice, std::size_t{length} - done);
        raw.resize(done + n);
        Read(std::span(raw).subspan(done, n));
        done += n;
    }
    text = ansiDecoder_(raw);
    return *this;
}

std::u16string CArchive::DecodeLatin1(std::span<const std::uint8_t> bytes) {
    return std::u16string(bytes.begin(), bytes.end());
}
