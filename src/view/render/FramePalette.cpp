#include "view/render/FramePalette.h"

#include <algorithm>
#include <unordered_map>

namespace vandra {
namespace {

// Squared distance with the eye's weights for red, green and blue.
int Distance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    return 2 * r * r + 4 * g * g + 3 * bl * bl;
}

uint8_t Nearest(QRgb color, const std::vector<QRgb>& palette) {
    size_t best = 0;
    int bestDistance = Distance(color, palette[0]);
    for (size_t i = 1; i < palette.size() && bestDistance > 0; ++i) {
        const int d = Distance(color, palette[i]);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return static_cast<uint8_t>(best);
}

// Calls f(color, runLength) for every run of one colour along the rows.
template <class F> void ForEachRun(const QImage& image, F&& f) {
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        int x = 0;
        while (x < image.width()) {
            const QRgb c = row[x] | 0xff000000u;
            int end = x + 1;
            while (end < image.width() && (row[end] | 0xff000000u) == c)
                ++end;
            f(c, end - x);
            x = end;
        }
    }
}

} // namespace

FramePalette::Change FramePalette::Map(const QImage& rgb32, uint8_t* indices, int stride) {
    std::unordered_map<QRgb, long long> counts;
    ForEachRun(rgb32, [&](QRgb c, int n) { counts[c] += n; });

    std::unordered_map<QRgb, uint8_t> index;
    for (size_t i = 0; i < colors_.size(); ++i)
        index.emplace(colors_[i], static_cast<uint8_t>(i));
    std::array<bool, kMaxColors> taken = usedBefore_;
    std::vector<std::pair<QRgb, long long>> fresh;
    for (const auto& [color, n] : counts) {
        const auto known = index.find(color);
        if (known != index.end())
            taken[known->second] = true;
        else
            fresh.emplace_back(color, n);
    }
    Change change = fresh.empty() ? Change::None : Change::Added;
    const auto assign = [&] {
        // most frequent first; equal counts by colour so that the table does not depend on the
        // hash order
        std::sort(fresh.begin(), fresh.end(), [](const auto& a, const auto& b) {
            return a.second != b.second ? a.second > b.second : a.first < b.first;
        });
        size_t entry = 0;
        for (const auto& [color, n] : fresh) {
            while (entry < colors_.size() && taken[entry])
                ++entry;
            if (entry == kMaxColors) return false;
            if (entry == colors_.size())
                colors_.push_back(color);
            else
                colors_[entry] = color;
            index[color] = static_cast<uint8_t>(entry);
            taken[entry] = true;
        }
        return true;
    };
    const bool constrained =
        std::find(usedBefore_.begin(), usedBefore_.end(), true) != usedBefore_.end();
    if (!assign() && constrained) {
        change = Change::Rebuilt;
        colors_.clear();
        index.clear();
        taken.fill(false);
        fresh.assign(counts.begin(), counts.end());
        assign();
    }
    for (const auto& [color, n] : fresh)
        if (index.count(color) == 0) index.emplace(color, Nearest(color, colors_));

    usedBefore_.fill(false);
    for (int y = 0; y < rgb32.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(rgb32.constScanLine(y));
        uint8_t* out = indices + static_cast<ptrdiff_t>(y) * stride;
        QRgb last = row[0] | 0xff000000u;
        uint8_t lastIndex = index.at(last);
        for (int x = 0; x < rgb32.width(); ++x) {
            const QRgb c = row[x] | 0xff000000u;
            if (c != last) {
                last = c;
                lastIndex = index.at(c);
            }
            out[x] = lastIndex;
            usedBefore_[lastIndex] = true;
        }
    }
    return change;
}

} // namespace vandra
