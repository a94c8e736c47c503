#pragma once
// The zip container of an Office Open XML package, as the stand-ins write
// and read their own files: entries stored without compression, checked by
// their CRC-32 on reading.
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

using ZipEntries = std::map<std::string, std::string>;  // name -> bytes

// Writes the entries to `path` (through a sibling file moved into place).
bool WriteZip(const std::filesystem::path& path, const ZipEntries& entries);
// The entries of a stored zip; none when the file is not one.
std::optional<ZipEntries> ReadZip(const std::filesystem::path& path);

std::string ReadWholeFile(const std::filesystem::path& path);
