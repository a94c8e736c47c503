#include "workbook_model.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <set>

#include "zip_package.h"

namespace {

constexpr double kEmuPerPoint = 12700.0;

std::string Escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    static const std::pair<const char*, char> kEntities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool replaced = false;
        for (const auto& [entity, c] : kEntities) {
            const std::size_t length = std::char_traits<char>::length(entity);
            if (text.compare(i, length, entity) == 0) {
                out += c;
                i += length;
                replaced = true;
                break;
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

std::string ColumnName(int column) {
    std::string name;
    for (; column > 0; column = (column - 1) / 26) name.insert(name.begin(), static_cast<char>('A' + (column - 1) % 26));
    return name;
}

std::string CellRef(int row, int column) { return ColumnName(column) + std::to_string(row); }

std::pair<int, int> ParseRef(const std::string& ref) {
    int column = 0;
    std::size_t i = 0;
    for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) column = column * 26 + (ref[i] - 'A' + 1);
    return {std::atoi(ref.c_str() + i), column};
}

std::string Number(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6g", value);
    return buffer;
}

std::string ArgbOf(std::uint32_t colour) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "FF%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return buffer;
}

std::uint32_t ColourOfArgb(const std::string& argb) {
    const unsigned long value = std::stoul(argb.substr(argb.size() - 6), nullptr, 16);
    return ((value >> 16) & 0xFF) | (value & 0xFF00) | ((value & 0xFF) << 16);
}

std::string ContentTypeOf(const std::string& extension) {
    if (extension == "bmp") return "image/bmp";
    if (extension == "png") return "image/png";
    return "image/jpeg";
}

const char* kRelsNs = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

}  // namespace

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
    return out;
}

std::pair<int, int> Sheet::UsedRows() const {
    std::set<int> rows;
    for (const auto& [cell, text] : cells) rows.insert(cell.first);
    for (const auto& [cell, colour] : fontColours) rows.insert(cell.first);
    for (const auto& [row, height] : rowHeights) rows.insert(row);
    for (const CellBox& box : merges) {
        rows.insert(box.firstRow);
        rows.insert(box.lastRow);
    }
    if (rows.empty()) return {1, 1};
    return {*rows.begin(), *rows.rbegin()};
}

bool Sheet::IsEmpty() const {
    return cells.empty() && fontColours.empty() && rowHeights.empty() && merges.empty() && pictures.empty();
}

double Sheet::RowHeight(int row) const {
    const auto found = rowHeights.find(row);
    return found == rowHeights.end() ? kRowHeight : found->second;
}

double Sheet::RowTop(int row) const {
    double top = 0;
    for (int r = 1; r < row; ++r) top += RowHeight(r);
    return top;
}

Sheet* Workbook::Find(const std::wstring& name) {
    for (Sheet& sheet : sheets) {
        if (_wcsicmp(sheet.name.c_str(), name.c_str()) == 0) return &sheet;
    }
    return nullptr;
}

Workbook BlankWorkbook() {
    Workbook workbook;
    for (const wchar_t* name : {L"Sheet1", L"Sheet2", L"Sheet3"}) workbook.sheets.push_back(Sheet{name});
    return workbook;
}

bool SaveWorkbook(const std::filesystem::path& path, const Workbook& workbook) {
    ZipEntries entries;
    // Styles: one font per colour in use, one cell format per font.
    std::vector<std::uint32_t> colours;
    for (const Sheet& sheet : workbook.sheets) {
        for (const auto& [cell, colour] : sheet.fontColours) {
            if (std::find(colours.begin(), colours.end(), colour) == colours.end()) colours.push_back(colour);
        }
    }
    std::string fonts = "<font><sz val=\"11\"/><name val=\"Calibri\"/></font>";
    std::string formats = "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"/>";
    for (std::size_t i = 0; i < colours.size(); ++i) {
        fonts += "<font><color rgb=\"" + ArgbOf(colours[i]) + "\"/><sz val=\"11\"/><name val=\"Calibri\"/></font>";
        formats += "<xf numFmtId=\"0\" fontId=\"" + std::to_string(i + 1) +
                   "\" fillId=\"0\" borderId=\"0\" xfId=\"0\" applyFont=\"1\"/>";
    }
    entries["xl/styles.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<styleSheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
        "<fonts count=\"" + std::to_string(colours.size() + 1) + "\">" + fonts + "</fonts>"
        "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill patternType=\"gray125\"/></fill></fills>"
        "<borders count=\"1\"><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
        "<cellStyleXfs count=\"1\"><xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs>"
        "<cellXfs count=\"" + std::to_string(colours.size() + 1) + "\">" + formats + "</cellXfs>"
        "<cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/></cellStyles>"
        "</styleSheet>";

    std::string types =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Default Extension=\"bmp\" ContentType=\"image/bmp\"/>"
        "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>"
        "<Default Extension=\"png\" ContentType=\"image/png\"/>"
        "<Override PartName=\"/xl/workbook.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    std::string sheetList;
    std::string workbookRels =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    int media = 0;
    for (std::size_t s = 0; s < workbook.sheets.size(); ++s) {
        const Sheet& sheet = workbook.sheets[s];
        const std::string n = std::to_string(s + 1);
        types += "<Override PartName=\"/xl/worksheets/sheet" + n +
                 ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        sheetList += "<sheet name=\"" + Escape(Utf8(sheet.name)) + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        workbookRels += "<Relationship Id=\"rId" + n +
                        "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                        "Target=\"worksheets/sheet" + n + ".xml\"/>";

        std::map<int, std::string> rows;
        std::set<int> rowNumbers;
        std::set<std::pair<int, int>> cellKeys;
        for (const auto& [cell, text] : sheet.cells) cellKeys.insert(cell);
        for (const auto& [cell, colour] : sheet.fontColours) cellKeys.insert(cell);
        for (const auto& cell : cellKeys) rowNumbers.insert(cell.first);
        for (const auto& [row, height] : sheet.rowHeights) rowNumbers.insert(row);
        std::string data;
        for (int row : rowNumbers) {
            data += "<row r=\"" + std::to_string(row) + "\"";
            if (const auto h = sheet.rowHeights.find(row); h != sheet.rowHeights.end()) {
                data += " ht=\"" + Number(h->second) + "\" customHeight=\"1\"";
            }
            data += ">";
            for (auto it = cellKeys.lower_bound({row, 0}); it != cellKeys.end() && it->first == row; ++it) {
                data += "<c r=\"" + CellRef(it->first, it->second) + "\"";
                if (const auto c = sheet.fontColours.find(*it); c != sheet.fontColours.end()) {
                    const auto index = std::find(colours.begin(), colours.end(), c->second) - colours.begin();
                    data += " s=\"" + std::to_string(index + 1) + "\"";
                }
                if (const auto t = sheet.cells.find(*it); t != sheet.cells.end()) {
                    data += " t=\"inlineStr\"><is><t xml:space=\"preserve\">" + Escape(Utf8(t->second)) + "</t></is></c>";
                } else {
                    data += "/>";
                }
            }
            data += "</row>";
        }
        std::string xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
            "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
            std::string(kRelsNs) + "\"><sheetFormatPr defaultRowHeight=\"15\"/><sheetData>" + data + "</sheetData>";
        if (!sheet.merges.empty()) {
            xml += "<mergeCells count=\"" + std::to_string(sheet.merges.size()) + "\">";
            for (const CellBox& box : sheet.merges) {
                xml += "<mergeCell ref=\"" + CellRef(box.firstRow, box.firstColumn) + ":" +
                       CellRef(box.lastRow, box.lastColumn) + "\"/>";
            }
            xml += "</mergeCells>";
        }
        if (!sheet.pictures.empty()) {
            xml += "<drawing r:id=\"rId1\"/>";
            entries["xl/worksheets/_rels/sheet" + n + ".xml.rels"] =
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/drawing\" "
                "Target=\"../drawings/drawing" + n + ".xml\"/></Relationships>";
            types += "<Override PartName=\"/xl/drawings/drawing" + n +
                     ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.drawing+xml\"/>";
            std::string drawing =
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<xdr:wsDr xmlns:xdr=\"http://schemas.openxmlformats.org/drawingml/2006/spreadsheetDrawing\" "
                "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" xmlns:r=\"" + std::string(kRelsNs) + "\">";
            std::string drawingRels =
                "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
                "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
            for (std::size_t p = 0; p < sheet.pictures.size(); ++p) {
                const SheetPicture& picture = sheet.pictures[p];
                const std::string id = "rId" + std::to_string(p + 1);
                const std::string file = "image" + std::to_string(++media) + "." + picture.extension;
                entries["xl/media/" + file] = picture.bytes;
                drawingRels += "<Relationship Id=\"" + id +
                               "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/image\" "
                               "Target=\"../media/" + file + "\"/>";
                const auto emu = [](double points) { return std::to_string(static_cast<long long>(points * kEmuPerPoint + 0.5)); };
                const std::string x = emu(picture.left), y = emu(picture.top), cx = emu(picture.width),
                                  cy = emu(picture.height);
                drawing += "<xdr:absoluteAnchor><xdr:pos x=\"" + x + "\" y=\"" + y + "\"/><xdr:ext cx=\"" + cx +
                           "\" cy=\"" + cy + "\"/><xdr:pic><xdr:nvPicPr><xdr:cNvPr id=\"" + std::to_string(p + 2) +
                           "\" name=\"Picture " + std::to_string(p + 1) +
                           "\"/><xdr:cNvPicPr/></xdr:nvPicPr><xdr:blipFill><a:blip r:embed=\"" + id +
                           "\"/><a:stretch><a:fillRect/></a:stretch></xdr:blipFill><xdr:spPr><a:xfrm><a:off x=\"" + x +
                           "\" y=\"" + y + "\"/><a:ext cx=\"" + cx + "\" cy=\"" + cy +
                           "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></xdr:spPr></xdr:pic>"
                           "<xdr:clientData/></xdr:absoluteAnchor>";
            }
            entries["xl/drawings/drawing" + n + ".xml"] = drawing + "</xdr:wsDr>";
            entries["xl/drawings/_rels/drawing" + n + ".xml.rels"] = drawingRels + "</Relationships>";
        }
        entries["xl/worksheets/sheet" + n + ".xml"] = xml + "</worksheet>";
    }
    workbookRels += "<Relationship Id=\"rId" + std::to_string(workbook.sheets.size() + 1) +
                    "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles\" "
                    "Target=\"styles.xml\"/></Relationships>";
    entries["xl/_rels/workbook.xml.rels"] = workbookRels;
    entries["xl/workbook.xml"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" xmlns:r=\"" +
        std::string(kRelsNs) + "\"><sheets>" + sheetList + "</sheets></workbook>";
    entries["[Content_Types].xml"] = types + "</Types>";
    entries["_rels/.rels"] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" "
        "Target=\"xl/workbook.xml\"/></Relationships>";
    return WriteZip(path, entries);
}

std::optional<Workbook> LoadWorkbook(const std::filesystem::path& path) {
    const std::optional<ZipEntries> entries = ReadZip(path);
    if (!entries || !entries->count("xl/workbook.xml")) return std::nullopt;
    const auto part = [&](const std::string& name) -> std::string {
        const auto found = entries->find(name);
        return found == entries->end() ? std::string() : found->second;
    };
    // Font colours by cell format.
    std::vector<std::optional<std::uint32_t>> fontColours;
    const std::string styles = part("xl/styles.xml");
    const std::regex fontPattern("<font>(.*?)</font>");
    const std::regex colourPattern("<color rgb=\"([0-9A-F]{8})\"");
    for (std::sregex_iterator it(styles.begin(), styles.end(), fontPattern), end; it != end; ++it) {
        std::smatch colour;
        const std::string body = (*it)[1];
        fontColours.push_back(std::regex_search(body, colour, colourPattern)
                                  ? std::optional<std::uint32_t>(ColourOfArgb(colour[1]))
                                  : std::nullopt);
    }
    std::vector<int> formatFonts;
    const std::size_t cellXfs = styles.find("<cellXfs");
    if (cellXfs != std::string::npos) {
        const std::string xfs = styles.substr(cellXfs);
        const std::regex xfPattern("<xf [^>]*fontId=\"(\\d+)\"");
        for (std::sregex_iterator it(xfs.begin(), xfs.end(), xfPattern), end; it != end; ++it) {
            formatFonts.push_back(std::stoi((*it)[1]));
        }
    }

    Workbook workbook;
    const std::string list = part("xl/workbook.xml");
    const std::regex sheetPattern("<sheet name=\"([^\"]*)\"");
    int index = 0;
    for (std::sregex_iterator it(list.begin(), list.end(), sheetPattern), end; it != end; ++it) {
        Sheet sheet{Wide(Unescape((*it)[1]))};
        const std::string n = std::to_string(++index);
        const std::string xml = part("xl/worksheets/sheet" + n + ".xml");
        const std::regex rowPattern("<row r=\"(\\d+)\"( ht=\"([0-9.eE+-]+)\")?");
        for (std::sregex_iterator r(xml.begin(), xml.end(), rowPattern), rend; r != rend; ++r) {
            if ((*r)[3].matched) sheet.rowHeights[std::stoi((*r)[1])] = std::stod((*r)[3]);
        }
        const std::regex cellPattern(
            "<c r=\"([A-Z]+\\d+)\"( s=\"(\\d+)\")?( t=\"inlineStr\"><is><t[^>]*>([^<]*)</t></is></c>|/>)");
        for (std::sregex_iterator c(xml.begin(), xml.end(), cellPattern), cend; c != cend; ++c) {
            const std::pair<int, int> cell = ParseRef((*c)[1]);
            if ((*c)[3].matched) {
                const std::size_t format = std::stoul((*c)[3]);
                if (format < formatFonts.size() && static_cast<std::size_t>(formatFonts[format]) < fontColours.size() &&
                    fontColours[formatFonts[format]]) {
                    sheet.fontColours[cell] = *fontColours[formatFonts[format]];
                }
            }
            if ((*c)[5].matched) sheet.cells[cell] = Wide(Unescape((*c)[5]));
        }
        const std::regex mergePattern("<mergeCell ref=\"([A-Z]+\\d+):([A-Z]+\\d+)\"/>");
        for (std::sregex_iterator m(xml.begin(), xml.end(), mergePattern), mend; m != mend; ++m) {
            const auto first = ParseRef((*m)[1]);
            const auto last = ParseRef((*m)[2]);
            sheet.merges.push_back({first.first, first.second, last.first, last.second});
        }
        const std::string drawing = part("xl/drawings/drawing" + n + ".xml");
        const std::string drawingRels = part("xl/drawings/_rels/drawing" + n + ".xml.rels");
        const std::regex anchorPattern(
            "<xdr:pos x=\"(\\d+)\" y=\"(\\d+)\"/><xdr:ext cx=\"(\\d+)\" cy=\"(\\d+)\"/>.*?r:embed=\"(rId\\d+)\"");
        for (std::sregex_iterator a(drawing.begin(), drawing.end(), anchorPattern), aend; a != aend; ++a) {
            SheetPicture picture;
            picture.left = std::stod((*a)[1]) / kEmuPerPoint;
            picture.top = std::stod((*a)[2]) / kEmuPerPoint;
            picture.width = std::stod((*a)[3]) / kEmuPerPoint;
            picture.height = std::stod((*a)[4]) / kEmuPerPoint;
            std::smatch target;
            const std::regex targetPattern("Id=\"" + std::string((*a)[5]) + "\"[^>]*Target=\"../media/([^\"]+)\"");
            if (std::regex_search(drawingRels, target, targetPattern)) {
                const std::string file = target[1];
                picture.bytes = part("xl/media/" + file);
                picture.extension = file.substr(file.rfind('.') + 1);
            }
            sheet.pictures.push_back(std::move(picture));
        }
        workbook.sheets.push_back(std::move(sheet));
    }
    if (workbook.sheets.empty()) return std::nullopt;
    return workbook;
}
