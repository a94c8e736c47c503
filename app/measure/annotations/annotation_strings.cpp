#include "annotation_strings.h"

std::u16string_view CounterName(int stringId) {
    switch (stringId) {
    case IDS_COUNTER_CIRCLE: return u"圆形计数器";
    case IDS_COUNTER_RECT: return u"矩形计数器";
    case IDS_COUNTER_DIAMOND: return u"菱形计数器";
    default: return {};
    }
}
