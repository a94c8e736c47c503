// AviWriter::Create where the platform has no movie streams: our own AVI
// 1.0 writer. The Windows build defines it over AVIFile instead
// (win32/avifile_writer.cpp).

#include "avi_writer.h"

namespace kq::files {

std::unique_ptr<AviWriter> AviWriter::Create(const std::filesystem::path& path, const Format& format,
                                             std::string* message) {
    auto writer = RiffAviWriter::Create(path, format);
    if (writer == nullptr && message != nullptr) *message = "Unable to Create the Movie File";
    return writer;
}

}  // namespace kq::files
