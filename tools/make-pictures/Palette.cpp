#include "Palette.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace {

using Rgba = std::array<int, 4>;

struct Entry {
    Rgba colour;
    int count;
};

/// A box of colours for the median cut.
struct Box {
    std::vector<Entry> entries;

    int Spread(int channel) const {
        auto [lo, hi] = std::minmax_element(entries.begin(), entries.end(), [&](auto& a, auto& b) {
            return a.colour[channel] < b.colour[channel];
        });
        return hi->colour[channel] - lo->colour[channel];
    }
    int WidestChannel() const {
        int best = 0;
        for (int c = 1; c < 4; ++c)
            if (Spread(c) > Spread(best))
                best = c;
        return best;
    }
    long Weight() const {
        long n = 0;
        for (const Entry& e : entries)
            n += e.count;
        return n;
    }
    Rgba Mean() const {
        std::array<double, 4> sum{};
        const double n = static_cast<double>(Weight());
        for (const Entry& e : entries)
            for (int c = 0; c < 4; ++c)
                sum[c] += e.colour[c] * e.count;
        return {int(sum[0] / n + 0.5), int(sum[1] / n + 0.5), int(sum[2] / n + 0.5),
                int(sum[3] / n + 0.5)};
    }
};

Rgba Unpack(QRgb p) {
    return {qRed(p), qGreen(p), qBlue(p), qAlpha(p)};
}

int Distance(const Rgba& a, const Rgba& b) {
    int d = 0;
    for (int c = 0; c < 4; ++c)
        d += (a[c] - b[c]) * (a[c] - b[c]) * (c == 3 ? 2 : 1);
    return d;
}

}  // namespace

QImage ToPalette256(const QImage& picture) {
    const QImage source = picture.convertToFormat(QImage::Format_ARGB32);
    std::map<Rgba, int> histogram;
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = source.pixel(x, y);
            if (qAlpha(p) > 0)
                ++histogram[Unpack(p)];
        }

    std::vector<Box> boxes(1);
    for (auto& [colour, count] : histogram)
        boxes[0].entries.push_back({colour, count});
    while (boxes.size() < 255) {
        // Split the heaviest box that still holds more than one colour, at its weighted median.
        auto it = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
            const long wa = a.entries.size() > 1 ? a.Weight() * a.Spread(a.WidestChannel()) : -1;
            const long wb = b.entries.size() > 1 ? b.Weight() * b.Spread(b.WidestChannel()) : -1;
            return wa < wb;
        });
        if (it->entries.size() < 2)
            break;
        const int channel = it->WidestChannel();
        std::sort(it->entries.begin(), it->entries.end(),
                  [&](auto& a, auto& b) { return a.colour[channel] < b.colour[channel]; });
        const long half = it->Weight() / 2;
        long seen = 0;
        size_t cut = 0;
        while (cut + 1 < it->entries.size() && seen + it->entries[cut].count <= half)
            seen += it->entries[cut++].count;
        cut = std::max<size_t>(cut, 1);
        Box upper{std::vector<Entry>(it->entries.begin() + cut, it->entries.end())};
        it->entries.resize(cut);
        boxes.push_back(std::move(upper));
    }

    QList<QRgb> table{qRgba(0, 0, 0, 0)};
    std::vector<Rgba> palette;
    for (const Box& box : boxes) {
        if (box.entries.empty())
            continue;
        const Rgba m = box.Mean();
        palette.push_back(m);
        table.push_back(qRgba(m[0], m[1], m[2], m[3]));
    }

    QImage indexed(source.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    for (int y = 0; y < source.height(); ++y) {
        uchar* line = indexed.scanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = source.pixel(x, y);
            if (qAlpha(p) == 0) {
                line[x] = 0;
                continue;
            }
            const Rgba c = Unpack(p);
            size_t best = 0;
            for (size_t i = 1; i < palette.size(); ++i)
                if (Distance(c, palette[i]) < Distance(c, palette[best]))
                    best = i;
            line[x] = static_cast<uchar>(best + 1);
        }
    }
    return indexed;
}
