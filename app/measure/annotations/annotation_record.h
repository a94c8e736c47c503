#pragma once
// Loading a class's record: the base record, then the class's own fields.
#include <cstddef>
#include <string>

#include "archive.h"
#include "cl_object.h"

// Reads the base record and then calls readOwnFields, which reads the class's
// fields into locals; the class commits them after this returns. When any
// read throws, the base part is put back, so a damaged record changes nothing.
template <typename ReadOwnFields>
void LoadWithBase(CCLObject& object, CArchive& ar, ReadOwnFields&& readOwnFields) {
    const CCLObject basePart(object);
    const std::int32_t visible = object.visible;
    try {
        object.CCLObject::Serialize(ar);
        readOwnFields();
    } catch (...) {
        object.CCLObject::operator=(basePart);
        object.visible = visible;
        throw;
    }
}

// Reads a text of the record and refuses one longer than maxChars.
inline void ReadBoundedText(CArchive& ar, std::u16string& text, std::size_t maxChars) {
    ar >> text;
    if (text.size() > maxChars) {
        throw ArchiveException(ArchiveException::tooLarge);
    }
}
