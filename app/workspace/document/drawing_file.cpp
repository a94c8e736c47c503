#include "drawing_file.h"

#include "grey_to_rgb.h"
#include "replace_file.h"

DocumentStatus StatusOf(const ArchiveException& e) {
    switch (e.GetCause()) {
    case ArchiveException::openFailed: return DocumentStatus::cannotOpen;
    case ArchiveException::readFailed: return DocumentStatus::cannotRead;
    case ArchiveException::writeFailed: return DocumentStatus::cannotWrite;
    case ArchiveException::endOfFile:
    case ArchiveException::badFormat:
    case ArchiveException::tooLarge: return DocumentStatus::damaged;
    }
    return DocumentStatus::damaged;
}

DrawingDocument ReadDrawingDocument(CArchive& ar, ObjectFactory makeObject) {
    DrawingDocument document;
    kqmk::PictureBlock picture = kqmk::LoadPictureBlock(ar);
    kqmk::ObjectBlocks blocks = kqmk::LoadObjectBlocks(ar, makeObject);
    if (!ConvertGreyToRGB(picture.picture)) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
    document.pictureKind = picture.kind;
    document.picture = std::move(picture.picture);
    document.objects = std::move(blocks.objects);
    document.counterStyles = std::move(blocks.styles);
    document.counters = blocks.counters;
    return document;
}

void WriteDrawingDocument(CArchive& ar, const CPicture* picture, std::int32_t pictureKind, const ObjectList& objects,
                          const CounterStyleList& styles) {
    kqmk::StorePictureBlock(ar, picture, pictureKind);
    kqmk::StoreObjectBlocks(ar, objects, styles);
}

DocumentStatus ReadDrawingFile(const std::filesystem::path& path, DrawingDocument& document, ObjectFactory makeObject) {
    try {
        FileStream file(path, FileStream::Mode::read);
        CArchive ar(file, CArchive::load);
        document = ReadDrawingDocument(ar, makeObject);
        return DocumentStatus::ok;
    } catch (const ArchiveException& e) {
        return StatusOf(e);
    }
}

DocumentStatus WriteDrawingFile(const std::filesystem::path& path, const CPicture* picture, std::int32_t pictureKind,
                                const ObjectList& objects, const CounterStyleList& styles) {
    DocumentStatus failure = DocumentStatus::cannotWrite;
    const vz::Replaced replaced = vz::WriteThenReplace(path, [&](const std::filesystem::path& partial) {
        try {
            FileStream file(partial, FileStream::Mode::write);
            CArchive ar(file, CArchive::store);
            WriteDrawingDocument(ar, picture, pictureKind, objects, styles);
            ar.Close();
            file.Close();
            return true;
        } catch (const ArchiveException& e) {
            if (StatusOf(e) == DocumentStatus::cannotOpen) failure = DocumentStatus::cannotOpen;
            return false;
        }
    });
    switch (replaced) {
    case vz::Replaced::ok: return DocumentStatus::ok;
    case vz::Replaced::notWritten: return failure;
    case vz::Replaced::notMoved: return DocumentStatus::cannotReplace;
    }
    return DocumentStatus::cannotWrite;
}
