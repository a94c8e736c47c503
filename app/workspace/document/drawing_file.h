#pragma once
// Whole drawing documents on disk: the picture block, then the object and
// counter-style blocks. Writing goes to a temporary file beside the document
// that replaces it only once every byte is written; reading fills a fresh
// document that the caller takes over only on success.

#include <filesystem>

#include "kqmk_blocks.h"

enum class DocumentStatus {
    ok,
    cannotOpen,     // the file could not be opened or created
    damaged,        // short, malformed or oversized content
    cannotRead,     // the system failed to read
    cannotWrite,    // the data did not reach the disk; the document is unchanged
    cannotReplace,  // written, but the document could not be replaced
};

struct DrawingDocument {
    std::int32_t pictureKind = kqmk::kKindOther;
    CPicture picture;  // 24-bit, or empty
    ObjectList objects;
    CounterStyleList counterStyles;
    ObjectTypeCounters counters;
};

// Reads the three blocks from an archive; an 8-bit picture becomes 24-bit.
// The objects come from `makeObject`. Throws ArchiveException.
DrawingDocument ReadDrawingDocument(CArchive& ar, ObjectFactory makeObject = &CreateObjectForTag);
void WriteDrawingDocument(CArchive& ar, const CPicture* picture, std::int32_t pictureKind, const ObjectList& objects,
                          const CounterStyleList& styles);

DocumentStatus ReadDrawingFile(const std::filesystem::path& path, DrawingDocument& document,
                               ObjectFactory makeObject = &CreateObjectForTag);
DocumentStatus WriteDrawingFile(const std::filesystem::path& path, const CPicture* picture, std::int32_t pictureKind,
                                const ObjectList& objects, const CounterStyleList& styles);

DocumentStatus StatusOf(const ArchiveException& e);
