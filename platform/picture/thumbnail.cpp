#include "thumbnail.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "codecs.h"

namespace vz::picture {
namespace {

// Rows of source pixels from the top, rowStep bytes apart (negative for the
// bottom-up rows of a DIB). bpp 8 means palette indices, 24 means BGR.
struct SourceRows {
    const std::uint8_t* top = nullptr;
    std::ptrdiff_t rowStep = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bpp = 24;
    std::span<const PaletteEntry> palette;
    bool grey = false;
};

SourceRows RowsOf(const CPicture& picture) {
    SourceRows rows;
    rows.top = picture.GetBits(picture.GetHeight() - 1);
    rows.rowStep = -static_cast<std::ptrdiff_t>(picture.GetStride());
    rows.width = static_cast<std::uint32_t>(picture.GetWidth());
    rows.height = static_cast<std::uint32_t>(picture.GetHeight());
    rows.bpp = picture.GetBpp();
    rows.palette = picture.GetPalette();
    rows.grey = picture.IsGreyPalette();
    return rows;
}

// First source index covered by each of `to` output pixels along a side of
// `from` pixels, plus the end; an output pixel covers at least one source
// pixel, so an enlarged side repeats its nearest source pixel.
std::vector<std::uint32_t> Spans(std::uint32_t from, std::uint32_t to) {
    std::vector<std::uint32_t> starts(std::size_t{to} + 1);
    for (std::uint32_t i = 0; i <= to; ++i) {
        starts[i] = static_cast<std::uint32_t>(std::uint64_t{i} * from / to);
    }
    return starts;
}

std::uint32_t SpanEnd(const std::vector<std::uint32_t>& starts, std::uint32_t i) {
    return std::max(starts[i + 1], starts[i] + 1);
}

// Rounded n / d for the averages. A multiply by ceil(2^32 / d) gives the
// exact quotient while n * d < 2^32, which holds for every n <= 256 d when
// d < 4096 (blocks of up to 64 x 64 pixels); larger blocks divide. The
// multipliers are kept by block size, as neighbouring blocks alternate
// between sizes.
class Divider {
public:
    explicit Divider(std::uint32_t largestCount)
        : reciprocals_(largestCount < 4096 ? std::size_t{largestCount} + 1 : 0, 0) {}

    std::uint32_t Average(std::uint32_t total, std::uint32_t count) {
        const std::uint32_t n = total + count / 2;
        if (count >= reciprocals_.size()) {
            return n / count;
        }
        std::uint64_t& reciprocal = reciprocals_[count];
        if (reciprocal == 0) {
            reciprocal = ((std::uint64_t{1} << 32) + count - 1) / count;
        }
        return static_cast<std::uint32_t>((n * reciprocal) >> 32);
    }

private:
    std::vector<std::uint64_t> reciprocals_;
};

// Spans of floor(i * from / to) differ in width by at most one.
std::uint32_t NarrowestSpan(const std::vector<std::uint32_t>& starts) {
    std::uint32_t narrowest = SpanEnd(starts, 0) - starts[0];
    for (std::uint32_t i = 1; i + 1 < starts.size(); ++i) {
        narrowest = std::min(narrowest, SpanEnd(starts, i) - starts[i]);
    }
    return narrowest;
}

std::uint32_t WidestSpan(const std::vector<std::uint32_t>& starts) {
    std::uint32_t widest = 1;
    for (std::uint32_t i = 0; i + 1 < starts.size(); ++i) {
        widest = std::max(widest, SpanEnd(starts, i) - starts[i]);
    }
    return widest;
}

// Each output pixel of one output row: the column sums of the source
// columns it covers, averaged over its block. Blocks along a row are
// `narrowest` or one more columns wide; the loop runs `narrowest` times and
// adds the extra column multiplied by 0 or 1, so the varying width costs no
// mispredicted branch. `sums` has one zero column past the picture for that
// read.
template <std::size_t Channels, typename Sum>
void AverageColumns(const std::vector<Sum>& sums, const std::vector<std::uint32_t>& xs, std::uint32_t narrowest,
                    std::uint32_t rowsCovered, std::uint8_t* dst, Divider& divider) {
    const std::uint32_t outW = static_cast<std::uint32_t>(xs.size() - 1);
    for (std::uint32_t ox = 0; ox < outW; ++ox) {
        const std::uint32_t x0 = xs[ox];
        const std::uint32_t width = SpanEnd(xs, ox) - x0;
        const std::uint32_t extra = width - narrowest;
        std::uint32_t total[Channels] = {};
        const Sum* s = sums.data() + std::size_t{x0} * Channels;
        for (std::uint32_t i = 0; i < narrowest; ++i) {
            for (std::size_t c = 0; c < Channels; ++c) {
                total[c] += s[i * Channels + c];
            }
        }
        const Sum* last = s + std::size_t{narrowest} * Channels;
        for (std::size_t c = 0; c < Channels; ++c) {
            total[c] += last[c] * extra;
        }
        const std::uint32_t count = width * rowsCovered;
        for (std::size_t c = 0; c < Channels; ++c) {
            dst[ox * Channels + c] = static_cast<std::uint8_t>(divider.Average(total[c], count));
        }
    }
}

// Area average: for each output row the source rows it covers are summed
// column by column (a loop the compiler vectorises), then each output pixel
// adds up its columns of that sum. Sum is wide enough for the most source
// rows one output row covers times 255.
template <typename Sum>
void Reduce(const SourceRows& src, CPicture& out) {
    const std::uint32_t outW = static_cast<std::uint32_t>(out.GetWidth());
    const std::uint32_t outH = static_cast<std::uint32_t>(out.GetHeight());
    const bool expand = src.bpp == 8 && !src.grey;
    const std::size_t channels = (src.bpp == 24 || expand) ? 3 : 1;
    const std::size_t rowValues = std::size_t{src.width} * channels;
    const std::vector<std::uint32_t> xs = Spans(src.width, outW);
    const std::vector<std::uint32_t> ys = Spans(src.height, outH);
    std::vector<Sum> sums(rowValues + channels);  // one zero column past the row
    const std::uint32_t narrowest = NarrowestSpan(xs);
    std::vector<std::uint8_t> colours(expand ? rowValues : 0);
    Divider divider(WidestSpan(xs) * WidestSpan(ys));

    for (std::uint32_t oy = 0; oy < outH; ++oy) {
        const std::uint32_t y0 = ys[oy];
        const std::uint32_t y1 = SpanEnd(ys, oy);
        Sum* sum = sums.data();
        for (std::uint32_t y = y0; y < y1;) {
            const std::uint8_t* row = src.top + static_cast<std::ptrdiff_t>(y) * src.rowStep;
            const bool first = y == y0;
            if (!expand && y + 1 < y1) {
                // Two rows per pass halve the loads and stores of the sums.
                const std::uint8_t* next = row + src.rowStep;
                if (first) {
                    for (std::size_t i = 0; i < rowValues; ++i) {
                        sum[i] = static_cast<Sum>(row[i] + next[i]);
                    }
                } else {
                    for (std::size_t i = 0; i < rowValues; ++i) {
                        sum[i] = static_cast<Sum>(sum[i] + row[i] + next[i]);
                    }
                }
                y += 2;
                continue;
            }
            if (expand) {
                for (std::uint32_t x = 0; x < src.width; ++x) {
                    const PaletteEntry& e = src.palette[row[x]];
                    colours[std::size_t{x} * 3] = e.blue;
                    colours[std::size_t{x} * 3 + 1] = e.green;
                    colours[std::size_t{x} * 3 + 2] = e.red;
                }
                row = colours.data();
            }
            if (first) {
                for (std::size_t i = 0; i < rowValues; ++i) {
                    sum[i] = row[i];
                }
            } else {
                for (std::size_t i = 0; i < rowValues; ++i) {
                    sum[i] = static_cast<Sum>(sum[i] + row[i]);
                }
            }
            ++y;
        }
        std::uint8_t* dst = out.GetBits(static_cast<int>(outH - 1 - oy));
        if (channels == 3) {
            AverageColumns<3>(sums, xs, narrowest, y1 - y0, dst, divider);
        } else {
            AverageColumns<1>(sums, xs, narrowest, y1 - y0, dst, divider);
        }
    }
}

CPicture ResizeRows(const SourceRows& src, FitSize size, int type) {
    if (src.top == nullptr || src.width == 0 || src.height == 0 || size.IsEmpty()) {
        return {};
    }
    const bool greyOut = src.bpp == 8 && src.grey;
    CPicture out;
    if (!out.Create(static_cast<int>(size.width), static_cast<int>(size.height), greyOut ? 8 : 24, type)) {
        return {};
    }
    // Rows one output row covers, rounded up; 257 x 255 still fits 16 bits.
    const std::uint32_t rowsPerOutput = (src.height + size.height - 1) / size.height;
    if (rowsPerOutput <= 257) {
        Reduce<std::uint16_t>(src, out);
    } else {
        Reduce<std::uint32_t>(src, out);
    }
    return out;
}

template <typename SizeFor>
Thumbnail DecodeWith(std::span<const std::uint8_t> bytes, int type, SizeFor sizeFor) {
    Thumbnail result;
    if (type == kPictureAuto) {
        type = picture_codec::DetectType(bytes);
    }
    if (type == kPictureJpeg) {
        std::uint32_t w = 0;
        std::uint32_t h = 0;
        if (!picture_codec::ReadJpegSize(bytes, w, h, result.error)) {
            return result;
        }
        result.sourceSize = {w, h};
        const FitSize target = sizeFor(w, h);
        if (target.IsEmpty()) {
            return result;
        }
        CPicture decoded(kPictureJpeg);
        if (!picture_codec::DecodeJpeg(bytes, decoded, result.error, target.width, target.height)) {
            result.sourceSize = {};
            return result;
        }
        result.picture = ResizePicture(decoded, target);
        return result;
    }
    if (type == kPictureBmp) {
        picture_codec::RgbRows rows;
        if (picture_codec::FindBmpRgbRows(bytes, rows)) {
            SourceRows src;
            src.top = rows.top;
            src.rowStep = rows.rowStep;
            src.width = rows.width;
            src.height = rows.height;
            result.sourceSize = {rows.width, rows.height};
            result.picture = ResizeRows(src, sizeFor(rows.width, rows.height), kPictureBmp);
            return result;
        }
    }
    CPicture decoded;
    if (!decoded.Decode(bytes, type)) {
        result.error = decoded.GetLastError();
        return result;
    }
    const auto w = static_cast<std::uint32_t>(decoded.GetWidth());
    const auto h = static_cast<std::uint32_t>(decoded.GetHeight());
    result.sourceSize = {w, h};
    result.picture = ResizePicture(decoded, sizeFor(w, h));
    return result;
}

template <typename SizeFor>
Thumbnail LoadWith(const std::filesystem::path& path, int type, SizeFor sizeFor) {
    std::vector<std::uint8_t> bytes;
    Thumbnail result;
    if (!picture_codec::ReadFileBytes(path, bytes, result.error)) {
        return result;
    }
    return DecodeWith(bytes, type, sizeFor);
}

FitRect Centred(FitSize size, std::uint32_t cellW, std::uint32_t cellH) {
    if (size.IsEmpty()) {
        return {};
    }
    return {static_cast<std::int32_t>((cellW - size.width) / 2), static_cast<std::int32_t>((cellH - size.height) / 2),
            size};
}

}  // namespace

FitSize FitIntoBox(std::uint32_t w, std::uint32_t h, std::uint32_t boxW, std::uint32_t boxH) {
    if (w == 0 || h == 0 || boxW == 0 || boxH == 0) {
        return {};
    }
    FitSize fit;
    // Compared as w / h >= boxW / boxH without rounding.
    if (std::uint64_t{w} * boxH >= std::uint64_t{h} * boxW) {
        fit = {boxW, static_cast<std::uint32_t>(std::uint64_t{h} * boxW / w)};
    } else {
        fit = {static_cast<std::uint32_t>(std::uint64_t{w} * boxH / h), boxH};
    }
    return fit.IsEmpty() ? FitSize{} : fit;
}

FitSize BrowserThumbnailSize(std::uint32_t w, std::uint32_t h) {
    return FitIntoBox(w, h, kBrowserCellSide, kBrowserCellSide);
}

FitRect PlaceInBrowserCell(std::uint32_t w, std::uint32_t h) {
    return Centred(BrowserThumbnailSize(w, h), kBrowserCellSide, kBrowserCellSide);
}

FitSize GridThumbnailSize(std::uint32_t w, std::uint32_t h) {
    const FitSize zoom1 = FitIntoBox(w, h, kGridCellWidth - 2 * kGridMargin, kGridCellHeight - 2 * kGridMargin);
    return {zoom1.width * kGridMaxZoom, zoom1.height * kGridMaxZoom};
}

FitRect PlaceInGridCell(std::uint32_t w, std::uint32_t h, std::uint32_t cellW, std::uint32_t cellH) {
    const std::uint32_t areaW = cellW > 2 * kGridMargin ? cellW - 2 * kGridMargin : 0;
    const std::uint32_t areaH = cellH > 2 * kGridMargin ? cellH - 2 * kGridMargin : 0;
    FitRect placed = Centred(FitIntoBox(w, h, areaW, areaH), cellW, cellH);
    if (placed.size.IsEmpty()) {
        return placed;
    }
    const std::uint32_t captionSpace = kGridFontHeight + kGridFontHeight / 2;
    const std::uint32_t below = cellH - static_cast<std::uint32_t>(placed.top) - placed.size.height;
    if (below >= captionSpace) {
        return placed;
    }
    // The smaller of the fitted scale and the scale that leaves the caption
    // its space, compared without rounding.
    const std::uint32_t shortH = areaH > captionSpace ? areaH - captionSpace : 0;
    FitSize size;
    if (std::uint64_t{shortH} * w < std::uint64_t{placed.size.width} * h) {
        size = {static_cast<std::uint32_t>(std::uint64_t{w} * shortH / h), shortH};
    } else {
        size = {placed.size.width, static_cast<std::uint32_t>(std::uint64_t{h} * placed.size.width / w)};
    }
    return Centred(size.IsEmpty() ? FitSize{} : size, cellW, cellH);
}

CPicture ResizePicture(const CPicture& source, FitSize size) {
    if (!source.IsValid()) {
        return {};
    }
    return ResizeRows(RowsOf(source), size, source.GetType());
}

CPicture MakeThumbnail(const CPicture& source, std::uint32_t boxW, std::uint32_t boxH) {
    return ResizePicture(source, FitIntoBox(static_cast<std::uint32_t>(source.GetWidth()),
                                            static_cast<std::uint32_t>(source.GetHeight()), boxW, boxH));
}

Thumbnail DecodeThumbnail(std::span<const std::uint8_t> bytes, int type, ThumbnailRule rule) {
    if (rule == nullptr) {
        return {CPicture(), {}, "no thumbnail size rule"};
    }
    return DecodeWith(bytes, type, rule);
}

Thumbnail DecodeThumbnail(std::span<const std::uint8_t> bytes, int type, std::uint32_t boxW, std::uint32_t boxH) {
    return DecodeWith(bytes, type, [=](std::uint32_t w, std::uint32_t h) { return FitIntoBox(w, h, boxW, boxH); });
}

Thumbnail LoadThumbnail(const std::filesystem::path& path, int type, ThumbnailRule rule) {
    if (rule == nullptr) {
        return {CPicture(), {}, "no thumbnail size rule"};
    }
    return LoadWith(path, type, rule);
}

Thumbnail LoadThumbnail(const std::filesystem::path& path, std::uint32_t boxW, std::uint32_t boxH, int type) {
    return LoadWith(path, type, [=](std::uint32_t w, std::uint32_t h) { return FitIntoBox(w, h, boxW, boxH); });
}

}  // namespace vz::picture
