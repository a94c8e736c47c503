#include "office_rows.h"

#include <cwctype>

#include "measurement_row.h"
#include "text_object.h"

namespace {

std::wstring Wide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

struct Fallback {
    int id;
    const wchar_t* text;
};

constexpr Fallback kFallbacks[] = {
    {47003, L"直线"},       {47047, L"角"},         {47113, L"直线夹角"},   {47007, L"平行线"},
    {47009, L"矩形"},       {47018, L"圆心圆"},     {47019, L"两点圆"},     {47020, L"三点圆"},
    {47021, L"椭圆"},       {47022, L"曲线"},       {47023, L"多边形"},     {47039, L"类型"},
    {47004, L"长度"},       {47010, L"宽度"},       {47011, L"高度"},       {47013, L"周长"},
    {47014, L"半径"},       {47012, L"面积"},       {47005, L"角度"},       {47032, L"单位"},
    {47024, L"圆形计数器"}, {47026, L"菱形计数器"}, {47025, L"矩形计数器"},
    {47040, L"您还没有安装Excel!\n 安装Excel后才可以使用本功能!"},
    {47041, L"创建Excel服务失败!"},
    {47046, L"创建Word服务失败!"},
    {47140, L"导出的文件正被打开且无法关闭，请先关闭它。"},
    {47141, L"导出失败，文件未被改动。"},
};

std::wstring TextOf(const OfficeTextSource& texts, int id) {
    std::wstring text = texts ? texts(id) : std::wstring();
    return text.empty() ? OfficeFallbackText(id) : text;
}

}  // namespace

std::wstring OfficeFallbackText(int stringId) {
    for (const Fallback& fallback : kFallbacks) {
        if (fallback.id == stringId) return fallback.text;
    }
    return {};
}

std::array<std::wstring, 9> OfficeHeadings(const OfficeTextSource& texts) {
    constexpr int kIds[9] = {47039, 47004, 47010, 47011, 47013, 47014, 47012, 47005, 47032};
    std::array<std::wstring, 9> headings;
    for (std::size_t i = 0; i < headings.size(); ++i) headings[i] = TextOf(texts, kIds[i]);
    return headings;
}

std::optional<std::array<std::wstring, 9>> OfficeRowFor(const CCLObject& object, const OfficeTextSource& texts) {
    const std::optional<MeasurementRow> row = MeasurementRowFor(object);
    if (!row) return std::nullopt;
    std::array<std::wstring, 9> cells;
    cells[0] = TextOf(texts, row->nameId) + L"_" + std::to_wstring(object.number);
    for (std::size_t i = 0; i < row->values.size(); ++i) cells[i + 1] = Wide(row->values[i]);
    cells[8] = object.type == 3 || object.type == 4 ? std::wstring(L"°") : Wide(object.unitText);
    return cells;
}

std::optional<CounterRow> CounterRowFor(const CounterStyle& counter, const OfficeTextSource& texts) {
    if (counter.count < 1) return std::nullopt;
    CounterRow row;
    switch (counter.kind) {
    case 14: row = {TextOf(texts, 47024), L"●"}; break;
    case 15: row = {TextOf(texts, 47026), L"◆"}; break;
    case 16: row = {TextOf(texts, 47025), L"■"}; break;
    default: return std::nullopt;
    }
    row.count = std::to_wstring(counter.count);
    row.colour = std::to_wstring(static_cast<long long>(counter.colour));
    return row;
}

int WorkbookFormatFor(const std::filesystem::path& target) {
    std::wstring extension = target.extension().wstring();
    for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
    return extension == L".xlsx" ? 51 : 56;
}

std::wstring FormatOfficeValue(int decimals, float value) { return Wide(CTextObject::FormatValue(decimals, value)); }
