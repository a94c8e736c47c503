// Dispatch ids of the word processor's automation members that the Word
// roads and the count report call, one table for both.
#pragma once

#include <windows.h>

namespace word_dispid {
// Application
constexpr DISPID kVisible = 0x17;
constexpr DISPID kDocuments = 0x6;
constexpr DISPID kActiveDocument = 0x3;
constexpr DISPID kSelection = 0x5;
// Documents, Document, Tables, Table
constexpr DISPID kAdd = 0xE;
constexpr DISPID kTables = 0x6;
constexpr DISPID kSaveAs = 0x66;
constexpr DISPID kTablesAdd = 0xC8;
constexpr DISPID kTablesItem = 0x0;
constexpr DISPID kStyle = 0xC9;
// Selection
constexpr DISPID kRange = 0x190;
constexpr DISPID kInlineShapes = 0x19B;
constexpr DISPID kParagraphFormat = 0x44E;
constexpr DISPID kMoveEnd = 0x6F;
constexpr DISPID kMoveLeft = 0x1F4;
constexpr DISPID kMoveRight = 0x1F5;
constexpr DISPID kMoveDown = 0x1F7;
constexpr DISPID kTypeText = 0x1FB;
constexpr DISPID kTypeParagraph = 0x200;
constexpr DISPID kInsertRowsBelow = 0x219;
// ParagraphFormat, InlineShapes, InlineShape
constexpr DISPID kAlignment = 0x65;
constexpr DISPID kAddPicture = 0x64;
constexpr DISPID kHeight = 0x8;
constexpr DISPID kWidth = 0x9;
constexpr DISPID kScaleHeight = 0xA;
constexpr DISPID kScaleWidth = 0xB;
constexpr DISPID kLockAspectRatio = 0xC;
}  // namespace word_dispid
