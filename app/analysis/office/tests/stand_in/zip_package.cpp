#include "zip_package.h"

#include <zlib.h>

#include <fstream>
#include <iterator>
#include <system_error>

namespace {

void Put16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
std::uint32_t Get16(const std::string& in, std::size_t at) {
    return static_cast<std::uint8_t>(in[at]) | (static_cast<std::uint32_t>(static_cast<std::uint8_t>(in[at + 1])) << 8);
}
std::uint32_t Get32(const std::string& in, std::size_t at) { return Get16(in, at) | (Get16(in, at + 2) << 16); }

std::uint32_t Crc(const std::string& bytes) {
    return static_cast<std::uint32_t>(
        crc32(crc32(0, nullptr, 0), reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

}  // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteZip(const std::filesystem::path& path, const ZipEntries& entries) {
    std::string out;
    std::string directory;
    for (const auto& [name, bytes] : entries) {
        const std::uint32_t offset = static_cast<std::uint32_t>(out.size());
        const std::uint32_t crc = Crc(bytes);
        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, 0x0800);  // UTF-8 names
        Put16(out, 0);       // stored
        Put16(out, 0);
        Put16(out, 0x21);    // 1980-01-01
        Put32(out, crc);
        Put32(out, static_cast<std::uint32_t>(bytes.size()));
        Put32(out, static_cast<std::uint32_t>(bytes.size()));
        Put16(out, static_cast<std::uint32_t>(name.size()));
        Put16(out, 0);
        out += name;
        out += bytes;

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, 0x0800);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0x21);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(bytes.size()));
        Put32(directory, static_cast<std::uint32_t>(bytes.size()));
        Put16(directory, static_cast<std::uint32_t>(name.size()));
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put16(directory, 0);
        Put32(directory, 0);
        Put32(directory, offset);
        directory += name;
    }
    const std::uint32_t directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    Put32(out, 0x06054b50);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put16(out, static_cast<std::uint32_t>(entries.size()));
    Put32(out, static_cast<std::uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);

    std::filesystem::path part = path;
    part += L".part";
    {
        std::ofstream file(part, std::ios::binary | std::ios::trunc);
        file.write(out.data(), static_cast<std::streamsize>(out.size()));
        if (!file) return false;
    }
    std::error_code ec;
    std::filesystem::rename(part, path, ec);
    return !ec;
}

std::optional<ZipEntries> ReadZip(const std::filesystem::path& path) {
    const std::string in = ReadWholeFile(path);
    ZipEntries entries;
    std::size_t at = 0;
    while (at + 30 <= in.size() && Get32(in, at) == 0x04034b50) {
        if (Get16(in, at + 8) != 0) return std::nullopt;  // compressed: not ours
        const std::uint32_t crc = Get32(in, at + 14);
        const std::uint32_t size = Get32(in, at + 18);
        const std::uint32_t nameLength = Get16(in, at + 26);
        const std::uint32_t extraLength = Get16(in, at + 28);
        const std::size_t data = at + 30 + nameLength + extraLength;
        if (data + size > in.size()) return std::nullopt;
        std::string bytes = in.substr(data, size);
        if (Crc(bytes) != crc) return std::nullopt;
        entries[in.substr(at + 30, nameLength)] = std::move(bytes);
        at = data + size;
    }
    if (entries.empty()) return std::nullopt;
    return entries;
}
