// The word processor stand-in's object model: Application, Documents,
// Document, Tables, Table, Selection, Range, InlineShapes, InlineShape and
// ParagraphFormat, with the members the exports use. A document is a list
// of paragraphs (characters and inline pictures) and tables of text cells;
// the selection is a caret in it. SaveAs writes an Office Open XML document
// package; new documents start blank or from an RTF template.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "stand_in_server.h"
#include "workbook_model.h"
#include "zip_package.h"

namespace {

constexpr double kEmuPerPoint = 12700.0;

struct WordPicture {
    std::string bytes;
    std::string extension;
    double naturalWidth = 75, naturalHeight = 75;  // points
    double width = 75, height = 75;
};

struct Inline {
    wchar_t character = 0;
    int picture = -1;
};

struct Paragraph {
    std::vector<Inline> items;
    int alignment = 0;
};

struct Table {
    std::vector<std::vector<std::wstring>> cells;
    std::wstring style;
};

struct Block {
    bool isTable = false;
    Paragraph paragraph;
    Table table;
};

struct Document {
    std::vector<Block> blocks{Block{}};
    std::vector<WordPicture> pictures;
};

struct Caret {
    std::size_t block = 0;
    std::size_t offset = 0;
    std::size_t row = 0, column = 0;
    bool wholeRow = false;
};

std::shared_ptr<Document> g_document;
Caret g_caret;

Paragraph* CaretParagraph() {
    if (!g_document || g_caret.block >= g_document->blocks.size()) return nullptr;
    Block& block = g_document->blocks[g_caret.block];
    return block.isTable ? nullptr : &block.paragraph;
}

Table* CaretTable() {
    if (!g_document || g_caret.block >= g_document->blocks.size()) return nullptr;
    Block& block = g_document->blocks[g_caret.block];
    return block.isTable ? &block.table : nullptr;
}

void SplitParagraph() {
    Paragraph* paragraph = CaretParagraph();
    Block after;
    after.paragraph.alignment = paragraph->alignment;
    after.paragraph.items.assign(paragraph->items.begin() + static_cast<std::ptrdiff_t>(g_caret.offset),
                                 paragraph->items.end());
    paragraph->items.resize(g_caret.offset);
    g_document->blocks.insert(g_document->blocks.begin() + static_cast<std::ptrdiff_t>(g_caret.block) + 1, after);
    ++g_caret.block;
    g_caret.offset = 0;
}

void EnterBlock(std::size_t block) {
    g_caret = Caret{block, 0, 0, 0, false};
}

// The text of an RTF template: paragraphs split at \par, \uN escapes read,
// header groups and other control words left out.
std::optional<Document> ReadRtf(const std::string& rtf) {
    if (rtf.rfind("{\\rtf", 0) != 0) return std::nullopt;
    Document document;
    document.blocks.clear();
    Paragraph current;
    int skipDepth = -1;
    int depth = 0;
    for (std::size_t i = 0; i < rtf.size();) {
        const char c = rtf[i];
        if (c == '{') {
            ++depth;
            ++i;
            if (skipDepth < 0) {
                for (const char* header : {"\\fonttbl", "\\colortbl", "\\stylesheet", "\\info", "\\*"}) {
                    if (rtf.compare(i, std::char_traits<char>::length(header), header) == 0) skipDepth = depth;
                }
            }
            continue;
        }
        if (c == '}') {
            if (depth == skipDepth) skipDepth = -1;
            --depth;
            ++i;
            continue;
        }
        if (c == '\\') {
            std::size_t j = i + 1;
            std::string word;
            while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) word += rtf[j++];
            std::string number;
            if (j < rtf.size() && (rtf[j] == '-' || std::isdigit(static_cast<unsigned char>(rtf[j])))) {
                number += rtf[j++];
                while (j < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[j]))) number += rtf[j++];
            }
            if (word.empty() && j < rtf.size()) {
                if (skipDepth < 0 && (rtf[j] == '\\' || rtf[j] == '{' || rtf[j] == '}')) {
                    current.items.push_back({static_cast<wchar_t>(rtf[j])});
                }
                i = j + 1;
                continue;
            }
            if (j < rtf.size() && rtf[j] == ' ') ++j;
            if (skipDepth < 0) {
                if (word == "par") {
                    document.blocks.push_back(Block{false, current});
                    current = Paragraph{};
                } else if (word == "u" && !number.empty()) {
                    current.items.push_back({static_cast<wchar_t>(static_cast<std::uint16_t>(std::stoi(number)))});
                    if (j < rtf.size() && rtf[j] == '?') ++j;
                }
            }
            i = j;
            continue;
        }
        if (skipDepth < 0 && c != '\r' && c != '\n') current.items.push_back({static_cast<wchar_t>(c)});
        ++i;
    }
    document.blocks.push_back(Block{false, current});
    return document;
}

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Run(const std::wstring& text) {
    return text.empty() ? std::string() : "<w:r><w:t xml:space=\"preserve\">" + Escape(Utf8(text)) + "</w:t></w:r>";
}

bool SaveDocx(const std::wstring& path, const Document& document) {
    ZipEntries entries;
    std::string body;
    std::string rels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    const auto emu = [](double points) { return std::to_string(static_cast<long long>(points * kEmuPerPoint + 0.5)); };
    int drawingId = 0;
    const auto paragraphXml = [&](const Paragraph& paragraph) {
        std::string xml = "<w:p>";
        if (paragraph.alignment == 1) xml += "<w:pPr><w:jc w:val=\"center\"/></w:pPr>";
        std::wstring text;
        for (const Inline& item : paragraph.items) {
            if (item.picture < 0) {
                text += item.character;
                continue;
            }
            xml += Run(text);
            text.clear();
            const WordPicture& picture = document.pictures[static_cast<std::size_t>(item.picture)];
            const std::string id = "rIdImage" + std::to_string(item.picture + 1);
            const std::string cx = emu(picture.width), cy = emu(picture.height);
            ++drawingId;
            xml += "<w:r><w:drawing><wp:inline distT=\"0\" distB=\"0\" distL=\"0\" distR=\"0\"><wp:extent cx=\"" + cx +
                   "\" cy=\"" + cy + "\"/><wp:docPr id=\"" + std::to_string(drawingId) + "\" name=\"Picture " +
                   std::to_string(drawingId) +
                   "\"/><a:graphic><a:graphicData uri=\"http://schemas.openxmlformats.org/drawingml/2006/picture\">"
                   "<pic:pic><pic:nvPicPr><pic:cNvPr id=\"0\" name=\"picture\"/><pic:cNvPicPr/></pic:nvPicPr>"
                   "<pic:blipFill><a:blip r:embed=\"" + id + "\"/><a:stretch><a:fillRect/></a:stretch></pic:blipFill>"
                   "<pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" + cx + "\" cy=\"" + cy +
                   "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr></pic:pic>"
                   "</a:graphicData></a:graphic></wp:inline></w:drawing></w:r>";
        }
        return xml + Run(text) + "</w:p>";
    };
    for (const Block& block : document.blocks) {
        if (!block.isTable) {
            body += paragraphXml(block.paragraph);
            continue;
        }
        const std::size_t columns = block.table.cells.empty() ? 0 : block.table.cells[0].size();
        body += "<w:tbl><w:tblPr>";
        if (!block.table.style.empty()) body += "<w:tblStyle w:val=\"" + Escape(Utf8(block.table.style)) + "\"/>";
        body += "<w:tblW w:w=\"0\" w:type=\"auto\"/></w:tblPr><w:tblGrid>";
        for (std::size_t c = 0; c < columns; ++c) body += "<w:gridCol w:w=\"1000\"/>";
        body += "</w:tblGrid>";
        for (const auto& row : block.table.cells) {
            body += "<w:tr>";
            for (const std::wstring& cell : row) body += "<w:tc><w:p>" + Run(cell) + "</w:p></w:tc>";
            body += "</w:tr>";
        }
        body += "</w:tbl>";
    }
    for (std::size_t i = 0; i < document.pictures.size(); ++i) {
        const std::string file = "image" + std::to_string(i + 1) + "." + document.pictures[i].extension;
        entries["word/media/" + file] = document.pictures[i].bytes;
        rels += "<Relationship Id=\"rIdImage" + std::to_string(i + 1) +
                "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" Target=\"media/" +
                file + "\"/>";
    }
    entries["word/_rels/document.xml.rels"] = rels + "</Relationships>";
    entries["word/document.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<w:document xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
        "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\" "
        "xmlns:wp=\"http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing\" "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
        "xmlns:pic=\"http://schemas.openxmlformats.org/drawingml/2006/picture\"><w:body>" +
        body + "<w:sectPr/></w:body></w:document>";
    entries["[Content_Types].xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"bmp\" ContentType=\"image/bmp\"/>"
        "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
        "<Override PartName=\"/word/document.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml\"/></Types>";
    entries["_rels/.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"word/document.xml\"/></Relationships>";
    return WriteZip(path, entries);
}

class ShapeObject final : public StandInObject {
public:
    explicit ShapeObject(int picture)
        : StandInObject("InlineShape", {{0x8, "Height"}, {0x9, "Width"}, {0xA, "ScaleHeight"}, {0xB, "ScaleWidth"},
                                        {0xC, "LockAspectRatio"}}),
          picture_(picture), document_(g_document) {}

protected:
    HRESULT Call(DISPID id, bool put, const Args& args, VARIANT* result) override {
        WordPicture& picture = document_->pictures[static_cast<std::size_t>(picture_)];
        if (!put) {
            switch (id) {
            case 0x8: return ReturnDouble(picture.height, result);
            case 0x9: return ReturnDouble(picture.width, result);
            default: return DISP_E_MEMBERNOTFOUND;
            }
        }
        const double value = DoubleOf(args.back());
        switch (id) {
        case 0x8: picture.height = value; break;
        case 0x9: picture.width = value; break;
        case 0xA: picture.height = picture.naturalHeight * value / 100.0; break;
        case 0xB: picture.width = picture.naturalWidth * value / 100.0; break;
        default: break;
        }
        return S_OK;
    }

private:
    int picture_;
    std::shared_ptr<Document> document_;
};

class RangeObject final : public StandInObject {
public:
    RangeObject() : StandInObject("Range", {{0x0, "Text"}}), caret_(g_caret) {}
    const Caret& caret() const { return caret_; }

protected:
    HRESULT Call(DISPID, bool, const Args&, VARIANT*) override { return DISP_E_MEMBERNOTFOUND; }

private:
    Caret caret_;
};

// The caret a Range argument stands for: the exports take the range of the
// selection just before they pass it.
Caret CaretOf(const VARIANT&) { return g_caret; }

class InlineShapesObject final : public StandInObject {
public:
    InlineShapesObject() : StandInObject("InlineShapes", {{0x64, "AddPicture"}}) {}

protected:
    HRESULT Call(DISPID, bool, const Args& args, VARIANT* result) override {
        if (args.empty()) return Fail(L"AddPicture needs a file");
        const Caret at = args.size() > 3 ? CaretOf(args[3]) : g_caret;
        if (!g_document || at.block >= g_document->blocks.size() || g_document->blocks[at.block].isTable) {
            return Fail(L"pictures go into paragraphs only");
        }
        WordPicture picture;
        picture.bytes = ReadWholeFile(TextOf(args[0]));
        if (picture.bytes.size() < 26) return Fail(L"the picture file cannot be read");
        if (picture.bytes.compare(0, 2, "BM") == 0) {
            picture.extension = "bmp";
            const auto le32 = [&](std::size_t i) {
                return static_cast<std::int32_t>(static_cast<std::uint8_t>(picture.bytes[i]) |
                                                 static_cast<std::uint8_t>(picture.bytes[i + 1]) << 8 |
                                                 static_cast<std::uint8_t>(picture.bytes[i + 2]) << 16 |
                                                 static_cast<std::uint32_t>(static_cast<std::uint8_t>(picture.bytes[i + 3])) << 24);
            };
            picture.naturalWidth = picture.width = le32(18) * 0.75;
            picture.naturalHeight = picture.height = std::abs(le32(22)) * 0.75;
        } else {
            picture.extension = "jpeg";
        }
        g_document->pictures.push_back(std::move(picture));
        const int index = static_cast<int>(g_document->pictures.size()) - 1;
        Paragraph& paragraph = g_document->blocks[at.block].paragraph;
        const std::size_t offset = std::min(at.offset, paragraph.items.size());
        paragraph.items.insert(paragraph.items.begin() + static_cast<std::ptrdiff_t>(offset), Inline{0, index});
        return ReturnObject(new ShapeObject(index), result);
    }
};

class ParagraphFormatObject final : public StandInObject {
public:
    ParagraphFormatObject() : StandInObject("ParagraphFormat", {{0x65, "Alignment"}}) {}

protected:
    HRESULT Call(DISPID, bool put, const Args& args, VARIANT* result) override {
        Paragraph* paragraph = CaretParagraph();
        if (!put) return ReturnLong(paragraph ? paragraph->alignment : 0, result);
        if (paragraph) paragraph->alignment = static_cast<int>(LongOf(args.back()));
        return S_OK;
    }
};

class SelectionObject final : public StandInObject {
public:
    SelectionObject()
        : StandInObject("Selection", {{0x190, "Range"},
                                      {0x19B, "InlineShapes"},
                                      {0x44E, "ParagraphFormat"},
                                      {0x6F, "MoveEnd"},
                                      {0x1F4, "MoveLeft"},
                                      {0x1F5, "MoveRight"},
                                      {0x1F7, "MoveDown"},
                                      {0x1FB, "TypeText"},
                                      {0x200, "TypeParagraph"},
                                      {0x219, "InsertRowsBelow"}}) {}

protected:
    HRESULT Call(DISPID id, bool, const Args& args, VARIANT* result) override {
        if (!g_document) return Fail(L"no document");
        const int unit = args.size() > 0 && !IsOmitted(args[0]) ? static_cast<int>(LongOf(args[0])) : 1;
        const int count = args.size() > 1 && !IsOmitted(args[1]) ? static_cast<int>(LongOf(args[1])) : 1;
        switch (id) {
        case 0x190: return ReturnObject(new RangeObject, result);
        case 0x19B: return ReturnObject(new InlineShapesObject, result);
        case 0x44E: return ReturnObject(new ParagraphFormatObject, result);
        case 0x6F: return S_OK;
        case 0x1F4: return MoveLeft(unit, count);
        case 0x1F5: return MoveRight(unit, count);
        case 0x1F7: return MoveDown(count);
        case 0x1FB:
            if (args.empty()) return Fail(L"TypeText needs a text");
            Type(TextOf(args[0]));
            return S_OK;
        case 0x200:
            Type(L"\r");
            return S_OK;
        case 0x219: {
            Table* table = CaretTable();
            if (!table) return Fail(L"not in a table");
            const std::size_t columns = table->cells[0].size();
            for (int i = 0; i < (args.empty() ? 1 : LongOf(args[0])); ++i) {
                table->cells.insert(table->cells.begin() + static_cast<std::ptrdiff_t>(g_caret.row) + 1,
                                    std::vector<std::wstring>(columns));
            }
            ++g_caret.row;
            g_caret.column = 0;
            g_caret.wholeRow = true;
            return S_OK;
        }
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    static void Type(const std::wstring& text) {
        for (wchar_t c : text) {
            if (Table* table = CaretTable()) {
                table->cells[g_caret.row][g_caret.column] += c == L'\r' ? L'\n' : c;
                continue;
            }
            if (c == L'\n' || c == L'\r') {
                SplitParagraph();
                continue;
            }
            Paragraph* paragraph = CaretParagraph();
            paragraph->items.insert(paragraph->items.begin() + static_cast<std::ptrdiff_t>(g_caret.offset), Inline{c});
            ++g_caret.offset;
        }
    }
    static HRESULT MoveRight(int unit, int count) {
        if (unit == 12) {
            Table* table = CaretTable();
            if (!table) return Fail(L"not in a table");
            for (int i = 0; i < count; ++i) {
                if (g_caret.column + 1 < table->cells[g_caret.row].size()) {
                    ++g_caret.column;
                } else if (g_caret.row + 1 < table->cells.size()) {
                    ++g_caret.row;
                    g_caret.column = 0;
                }
            }
            g_caret.wholeRow = false;
            return S_OK;
        }
        if (Paragraph* paragraph = CaretParagraph()) {
            g_caret.offset = std::min(g_caret.offset + static_cast<std::size_t>(count), paragraph->items.size());
        }
        return S_OK;
    }
    static HRESULT MoveLeft(int unit, int count) {
        Table* table = CaretTable();
        if (unit != 12 || !table) {
            if (CaretParagraph()) g_caret.offset -= std::min(g_caret.offset, static_cast<std::size_t>(count));
            return S_OK;
        }
        if (g_caret.wholeRow) {
            // A selected row collapses to its first cell.
            g_caret.column = 0;
            g_caret.wholeRow = false;
            return S_OK;
        }
        for (int i = 0; i < count; ++i) {
            if (g_caret.column > 0) {
                --g_caret.column;
            } else if (g_caret.row > 0) {
                --g_caret.row;
                g_caret.column = table->cells[g_caret.row].size() - 1;
            }
        }
        return S_OK;
    }
    static HRESULT MoveDown(int count) {
        for (int i = 0; i < count; ++i) {
            if (Table* table = CaretTable(); table && g_caret.row + 1 < table->cells.size()) {
                ++g_caret.row;
                continue;
            }
            if (g_caret.block + 1 < g_document->blocks.size()) {
                EnterBlock(g_caret.block + 1);
            } else if (Paragraph* last = CaretParagraph()) {
                g_caret.offset = last->items.size();
            }
        }
        return S_OK;
    }
};

class TableObject final : public StandInObject {
public:
    explicit TableObject(std::size_t block) : StandInObject("Table", {{0xC9, "Style"}}), block_(block) {}

protected:
    HRESULT Call(DISPID, bool put, const Args& args, VARIANT* result) override {
        if (!g_document || block_ >= g_document->blocks.size() || !g_document->blocks[block_].isTable) {
            return Fail(L"the table is gone");
        }
        Table& table = g_document->blocks[block_].table;
        if (!put) return ReturnText(table.style, result);
        const std::wstring style = TextOf(args.back());
        if (!style.empty() && style == StandInSetting(L"UnknownStyle")) return Fail(L"no style of that name");
        table.style = style;
        return S_OK;
    }

private:
    std::size_t block_;
};

class TablesObject final : public StandInObject {
public:
    TablesObject() : StandInObject("Tables", {{0xC8, "Add"}, {0x0, "Item"}, {0x2, "Count"}}) {}

protected:
    HRESULT Call(DISPID id, bool, const Args& args, VARIANT* result) override {
        if (!g_document) return Fail(L"no document");
        std::vector<std::size_t> tables;
        for (std::size_t i = 0; i < g_document->blocks.size(); ++i) {
            if (g_document->blocks[i].isTable) tables.push_back(i);
        }
        switch (id) {
        case 0xC8: {
            if (args.size() < 3) return Fail(L"Add needs a range, rows and columns");
            const Caret at = CaretOf(args[0]);
            const long rows = LongOf(args[1]);
            const long columns = LongOf(args[2]);
            if (rows < 1 || columns < 1 || at.block >= g_document->blocks.size() ||
                g_document->blocks[at.block].isTable) {
                return Fail(L"a table goes into a paragraph");
            }
            g_caret = at;
            SplitParagraph();  // the caret is now at the start of the part after
            Block table;
            table.isTable = true;
            table.table.cells.assign(static_cast<std::size_t>(rows),
                                     std::vector<std::wstring>(static_cast<std::size_t>(columns)));
            std::size_t position = g_caret.block;
            if (g_document->blocks[position - 1].paragraph.items.empty()) {
                g_document->blocks.erase(g_document->blocks.begin() + static_cast<std::ptrdiff_t>(position) - 1);
                --position;
            }
            g_document->blocks.insert(g_document->blocks.begin() + static_cast<std::ptrdiff_t>(position), table);
            EnterBlock(position);
            return ReturnObject(new TableObject(position), result);
        }
        case 0x0: {
            const long index = args.empty() ? 1 : LongOf(args[0]);
            if (index < 1 || static_cast<std::size_t>(index) > tables.size()) return Fail(L"no such table");
            return ReturnObject(new TableObject(tables[static_cast<std::size_t>(index) - 1]), result);
        }
        case 0x2: return ReturnLong(static_cast<long>(tables.size()), result);
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }
};

class DocumentObject final : public StandInObject {
public:
    DocumentObject() : StandInObject("Document", {{0x6, "Tables"}, {0x66, "SaveAs"}}), document_(g_document) {}

protected:
    HRESULT Call(DISPID id, bool, const Args& args, VARIANT* result) override {
        if (id == 0x6) return ReturnObject(new TablesObject, result);
        if (args.empty() || IsOmitted(args[0])) return Fail(L"SaveAs needs a file name");
        return SaveDocx(TextOf(args[0]), *document_) ? S_OK : Fail(L"the file cannot be written");
    }

private:
    std::shared_ptr<Document> document_;
};

class DocumentsObject final : public StandInObject {
public:
    DocumentsObject() : StandInObject("Documents", {{0xE, "Add"}, {0x2, "Count"}}) {}

protected:
    HRESULT Call(DISPID id, bool, const Args& args, VARIANT* result) override {
        if (id == 0x2) return ReturnLong(g_document ? 1 : 0, result);
        auto document = std::make_shared<Document>();
        const std::wstring base = args.empty() || IsOmitted(args[0]) ? std::wstring() : TextOf(args[0]);
        if (!base.empty()) {
            if (GetFileAttributesW(base.c_str()) == INVALID_FILE_ATTRIBUTES) return Fail(L"no such template");
            std::optional<Document> read = ReadRtf(ReadWholeFile(base));
            if (!read) return Fail(L"the template cannot be read");
            *document = std::move(*read);
        }
        g_document = document;
        g_caret = Caret{};
        return ReturnObject(new DocumentObject, result);
    }
};

class WordApplication final : public StandInObject {
public:
    WordApplication()
        : StandInObject("Application", {{0x17, "Visible"},
                                        {0x6, "Documents"},
                                        {0x3, "ActiveDocument"},
                                        {0x5, "Selection"},
                                        {0x451, "Quit"}}) {}

protected:
    HRESULT Call(DISPID id, bool put, const Args&, VARIANT* result) override {
        switch (id) {
        case 0x17: return put ? S_OK : ReturnLong(-1, result);
        case 0x6: return ReturnObject(new DocumentsObject, result);
        case 0x3:
            if (!g_document) return Fail(L"no document");
            return ReturnObject(new DocumentObject, result);
        case 0x5: return ReturnObject(new SelectionObject, result);
        case 0x451:
            g_document.reset();
            QuitRequested();
            return S_OK;
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }
};

}  // namespace

StandInObject* CreateWordApplication() { return new WordApplication; }
