#include "history_actions.h"

#include <array>

namespace {

struct ActionEntry {
    int stringId;
    std::u16string_view text;
};

constexpr std::array<ActionEntry, 25> kActions = {{
    {45003, u"加载"},         {45004, u"创建"},         {45005, u"删除"},         {45006, u"修改"},
    {45018, u"保存"},         {45007, u"图片粘贴"},     {45008, u"图片剪切"},     {45009, u"模糊"},
    {45010, u"锐化"},         {45011, u"浮雕"},         {45012, u"镜像"},         {45013, u"反色"},
    {45014, u"边缘化"},       {45015, u"旋转"},         {45016, u"图片参数调节"}, {45017, u"图片RGB调节"},
    {45019, u"细胞自动计数"}, {45026, u"细胞手动计数"}, {45027, u"细胞单点计数"}, {45021, u"填充内洞"},
    {45020, u"细胞橡皮擦"},   {45022, u"细胞画笔"},     {45023, u"单点删除细胞"}, {45024, u"直线分割细胞"},
    {45025, u"细胞计数选区"},
}};

bool Known(std::int32_t action) { return action >= 0 && action < static_cast<std::int32_t>(kActions.size()); }

}  // namespace

HistoryActionSaves SavesFor(std::int32_t action) {
    if (action == kHistoryLoad) {
        return {true, false, true};
    }
    if (action == kHistorySave) {
        return {true, false, false};
    }
    if (action >= kHistoryPaste && action <= kHistoryAdjustRgb) {
        return {true, true, true};
    }
    if (action >= kHistoryAutoCount && action <= kHistoryCountRegion) {
        return {true, false, true};
    }
    return {};
}

int HistoryActionStringId(std::int32_t action) { return Known(action) ? kActions[action].stringId : 0; }

std::u16string_view HistoryActionText(std::int32_t action) {
    return Known(action) ? kActions[action].text : std::u16string_view{};
}
