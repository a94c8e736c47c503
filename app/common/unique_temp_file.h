#pragma once
// A file name of our own in a folder, for a file written and read back
// within one operation: it names no file that existed when it was chosen,
// and the file is removed when the object goes, whatever happened between.
// Platform-free.
#include <filesystem>
#include <string>

class CUniqueTempFile {
public:
    // A name "<stem>_<random hex><extension>" in `folder`; empty when the
    // folder does not exist.
    CUniqueTempFile(const std::filesystem::path& folder, const std::string& stem, const std::string& extension);
    ~CUniqueTempFile();
    CUniqueTempFile(const CUniqueTempFile&) = delete;
    CUniqueTempFile& operator=(const CUniqueTempFile&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};
