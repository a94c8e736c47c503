// The frame thread's drawing allocates nothing: it runs inside the camera
// library's frame callback on every frame. A counting operator new sees
// every allocation of this program while the count is armed on a thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <vector>

#include "colour_ref.h"
#include "cross_line_list.h"
#include "cross_lines.h"

#if defined(__GNUC__) && !defined(__clang__)
// The counting operator new below hands out malloc memory on purpose.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
thread_local bool t_counting = false;
thread_local long t_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (t_counting) ++t_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {

TEST(FramePath, DrawsWithoutAllocating) {
    CrossLineList list;
    list.Grow(50);
    for (int i = 0; i < 50; ++i) ASSERT_TRUE(list.Set(i, {i, 1, i % 2, i * 3, i * 5, MakeColourRef(9, 99, 199)}));
    std::vector<std::uint8_t> bytes(640 * 480 * 3);
    for (int bits : {24, 16, 8}) {
        const CameraFrame frame{bytes, 640, 480, bits};
        t_allocations = 0;
        t_counting = true;
        const bool drawn = list.DrawInto(frame) && DrawSingleCross(frame, {true, false, 10, 20});
        t_counting = false;
        EXPECT_TRUE(drawn);
        EXPECT_EQ(t_allocations, 0) << bits << " bits";
    }
    // The counter does count: growing the list copies it.
    t_allocations = 0;
    t_counting = true;
    list.Grow(51);
    t_counting = false;
    EXPECT_GT(t_allocations, 0);
}

}  // namespace
