#pragma once
// The two records the counting engine exchanges with the program, laid out
// byte for byte as callers copy them: one per counted target and the filter
// of lower and upper limits.
#include <cstddef>
#include <cstdint>

struct _tagOBJRESULT {
    std::int32_t number = 0;    // target number, from 1
    std::int32_t excluded = 0;  // non-zero: removed by the filter
    std::int32_t mark = 0;      // mark word, free for the caller
    std::int32_t reserved0 = 0;
    double area = 0;       // pixels
    double perimeter = 0;  // length of the outline through the pixel centres
    double width = 0;      // bounding box, pixels
    double height = 0;
    double boxLeft = 0;  // bounding box corner, y counted from the bottom
    double boxBottom = 0;
    double radius = 0;  // circumscribed radius about the centre
    double reserved1[4] = {};
    double centreX = 0;  // centre of the target's pixels, y from the bottom
    double centreY = 0;
    double reserved2 = 0;
    double roundness = 0;  // area of the circumscribed circle it fills, 0..1
    std::uint8_t greyMin = 0;
    std::uint8_t greyMax = 0;
    std::uint8_t reserved3[2] = {};
    std::uint32_t greyMean = 0;
    std::uint32_t greySum = 0;  // saturates at the largest uint32
    std::uint32_t reserved4 = 0;
};

struct _tagOBJFILTER {
    std::int32_t enabled = 0;
    std::int32_t reserved = 0;
    _tagOBJRESULT lower;
    _tagOBJRESULT upper;
};

static_assert(sizeof(_tagOBJRESULT) == 152);
static_assert(offsetof(_tagOBJRESULT, excluded) == 4 && offsetof(_tagOBJRESULT, mark) == 8);
static_assert(offsetof(_tagOBJRESULT, area) == 16 && offsetof(_tagOBJRESULT, perimeter) == 24);
static_assert(offsetof(_tagOBJRESULT, width) == 32 && offsetof(_tagOBJRESULT, height) == 40);
static_assert(offsetof(_tagOBJRESULT, radius) == 64 && offsetof(_tagOBJRESULT, centreX) == 104);
static_assert(offsetof(_tagOBJRESULT, centreY) == 112 && offsetof(_tagOBJRESULT, roundness) == 128);
static_assert(offsetof(_tagOBJRESULT, greyMin) == 136 && offsetof(_tagOBJRESULT, greyMax) == 137);
static_assert(offsetof(_tagOBJRESULT, greyMean) == 140 && offsetof(_tagOBJRESULT, greySum) == 144);
static_assert(sizeof(_tagOBJFILTER) == 312);
static_assert(offsetof(_tagOBJFILTER, lower) == 8 && offsetof(_tagOBJFILTER, upper) == 160);
