#include "post/RecorderReaders.h"

#include "model/Errors.h"
#include "model/NumberParse.h"
#include "model/NumberText.h"
#include "post/ResultTags.h"
#include "tcl/RecorderFiles.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string_view>

namespace vandra {
namespace {

using recorder::RecorderFile;

constexpr int kNodeValues = 3; // X, Y, Z

std::string Num(long long v) {
    return text::FormatInt(v);
}

// One joint or frame in a recorder file: its tag and how many values it writes there.
struct Item {
    int tag = 0;
    int index = 0;
    int count = 0;
};

// An item placed in its block: its first column (0 is the time column).
struct Placed {
    int index = 0;
    int column = 0;
    int count = 0;
};

// One recorder file: its block number and its items in tag order.
struct Block {
    int file = 0;
    int columns = 1;
    std::vector<Placed> items;
};

// Groups the items by block; within a block the items stand in tag order, each after the values
// of the tags before it.
template <typename BlockOf> std::vector<Block> LayOut(std::vector<Item> items, BlockOf blockOf) {
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.tag < b.tag; });
    std::vector<Block> blocks;
    for (const Item& item : items) {
        const int file = blockOf(item.tag);
        if (blocks.empty() || blocks.back().file != file) blocks.push_back(Block{file, 1, {}});
        Block& block = blocks.back();
        block.items.push_back(Placed{item.index, block.columns, item.count});
        block.columns += item.count;
    }
    return blocks;
}

std::string Where(const std::string& path, long long line, long long column) {
    return path + ", line " + Num(line) + ", column " + Num(column);
}

// The whole text of one recorder file, read at once into a buffer that is reused for the next
// file.
class RecorderText {
public:
    void load(const std::string& path) {
        path_ = path;
        const auto close = [](std::FILE* f) { std::fclose(f); };
        std::unique_ptr<std::FILE, decltype(close)> file(std::fopen(path.c_str(), "rb"), close);
        if (!file)
            throw InputError("Cannot open the result file " + path + ": " + std::strerror(errno));
        // Read straight into the buffer, in as many pieces as the file turns out to need.
        size_t size = 0;
        if (std::fseek(file.get(), 0, SEEK_END) == 0) {
            const long end = std::ftell(file.get());
            if (end > 0) size = static_cast<size_t>(end);
            std::rewind(file.get());
        }
        text_.resize(size + 1);
        size_t got = 0;
        for (;;) {
            got += std::fread(text_.data() + got, 1, text_.size() - got, file.get());
            if (got < text_.size()) break;
            text_.resize(text_.size() * 2);
        }
        text_.resize(got);
        if (std::ferror(file.get())) throw InputError("Cannot read the result file " + path);
        pos_ = 0;
        line_ = 0;
    }

    const std::string& path() const { return path_; }

    // The next line (without its line end); false after the last one.
    bool next(std::string_view& line) {
        if (pos_ >= text_.size()) return false;
        const char* start = text_.data() + pos_;
        const void* nl = std::memchr(start, '\n', text_.size() - pos_);
        const size_t length =
            nl ? static_cast<size_t>(static_cast<const char*>(nl) - start) : text_.size() - pos_;
        line = std::string_view(start, length);
        pos_ += length + 1;
        ++line_;
        return true;
    }

    // Line n (from 1); InputError when the file ends before it.
    std::string_view lineAt(int n) {
        std::string_view line;
        while (line_ < n) {
            if (!next(line))
                throw InputError(path_ + ", line " + Num(n) + ": the file ends after line " +
                                 Num(line_) + " (step " + Num(n) + " was not recorded)");
        }
        return line;
    }

    int lineCount() const {
        int count = static_cast<int>(std::count(text_.begin(), text_.end(), '\n'));
        if (!text_.empty() && text_.back() != '\n') ++count;
        return count;
    }

private:
    std::string path_;
    std::string text_;
    size_t pos_ = 0;
    int line_ = 0;
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Splits a line into exactly `columns` numbers.
void ParseLine(std::string_view line, const std::string& path, long long lineNo, int columns,
               double* out) {
    const char* p = line.data();
    const char* const end = p + line.size();
    int column = 0;
    for (;;) {
        while (p < end && IsBlank(*p))
            ++p;
        if (p == end) break;
        const char* start = p;
        while (p < end && !IsBlank(*p))
            ++p;
        if (column == columns)
            throw InputError(Where(path, lineNo, column + 1) + ": the line holds more than the " +
                             Num(columns) + " columns its block needs");
        // The solver's own number text reads in one std::from_chars call; anything else (a sign
        // "+", a token that is not a number, infinities and NaN) goes through the parsing module,
        // which accepts or names it.
        double value = 0;
        const auto read = std::from_chars(start, p, value, std::chars_format::general);
        if (read.ec != std::errc() || read.ptr != p || !std::isfinite(value)) {
            const std::string_view token(start, static_cast<size_t>(p - start));
            const std::optional<double> parsed = parse::TryFloat(token);
            if (!parsed)
                throw InputError(Where(path, lineNo, column + 1) + ": " +
                                 parse::FloatMessage(token));
            value = *parsed;
        }
        out[column++] = value;
    }
    if (column < columns)
        throw InputError(Where(path, lineNo, column + 1) + ": the line ends after " + Num(column) +
                         " columns; its block needs " + Num(columns));
}

std::string PathOf(const std::string& folder, const std::string& name) {
    return (std::filesystem::path(folder) / name).string();
}

std::vector<Block> NodeLayout(const TModel& model) {
    std::vector<Item> items;
    const int nodes = CountOf(model.NodeCount);
    items.reserve(static_cast<size_t>(nodes));
    for (int j = 1; j <= nodes; ++j)
        items.push_back(Item{JointNodeTag(model, j), j, kNodeValues});
    return LayOut(std::move(items), [](int tag) { return recorder::NodeFileBlock(tag); });
}

void CheckNodeTable(const TModel& model) {
    if (model.NodeCount > 0 && static_cast<long long>(model.Nodes.size()) <= model.NodeCount)
        throw InputError("The joint table holds fewer records than its count");
}

// Line `lineNo` of every node file named by nameOf(block).
template <typename NameOf>
TNodeField ReadNodeLine(const TModel& model, const std::string& folder, int lineNo, NameOf nameOf) {
    CheckNodeTable(model);
    const size_t size = static_cast<size_t>(CountOf(model.NodeCount)) + 1;
    TNodeField field;
    field.X.assign(size, 0.0);
    field.Y.assign(size, 0.0);
    field.Z.assign(size, 0.0);
    RecorderText text;
    std::vector<double> values;
    for (const Block& block : NodeLayout(model)) {
        text.load(PathOf(folder, nameOf(block.file)));
        values.resize(static_cast<size_t>(block.columns));
        ParseLine(text.lineAt(lineNo), text.path(), lineNo, block.columns, values.data());
        for (const Placed& item : block.items) {
            const auto j = static_cast<size_t>(item.index);
            field.X[j] = values[static_cast<size_t>(item.column)];
            field.Y[j] = values[static_cast<size_t>(item.column) + 1];
            field.Z[j] = values[static_cast<size_t>(item.column) + 2];
        }
    }
    return field;
}

void CheckStep(int step) {
    if (step < 1) throw InputError("Load Step must be 1 or more, not " + Num(step));
}

int FrameTypeOf(const TModel& model, int f) {
    const int sec = model.Frames[static_cast<size_t>(f)].SecIdx;
    if (sec < 1 || sec > model.SectionCount || static_cast<size_t>(sec) >= model.Sections.size())
        return 0;
    return model.Sections[static_cast<size_t>(sec)].FrameType;
}

// What end J of a frame is read from.
enum class EndJSource { None, SectionFirst, SectionLast, Hinge };

EndJSource EndJOf(int frameType, int numIntgrPts) {
    const int section = recorder::EndJSection(frameType, numIntgrPts);
    if (frameType == kBeamWithHinge) return EndJSource::Hinge;
    if (section == 1 && (frameType == kTruss || frameType == kCorotTruss))
        return EndJSource::SectionFirst;
    return EndJSource::SectionLast;
}

} // namespace

TNodeField ReadNodeStep(const TModel& model, const std::string& folder, int step) {
    CheckStep(step);
    return ReadNodeLine(model, folder, step, [](int block) {
        return recorder::FileName(RecorderFile::NodeDisplacement, block);
    });
}

TNodeField ReadModeShape(const TModel& model, const std::string& folder, int mode) {
    if (mode < 1) throw InputError("Mode Num must be 1 or more, not " + Num(mode));
    return ReadNodeLine(model, folder, 1, [mode](int block) {
        return recorder::FileName(RecorderFile::ModeShape, block, mode);
    });
}

TFrameEnds ReadSectionStep(const TModel& model, const TSettings& settings,
                           const std::string& folder, int step, int component) {
    CheckStep(step);
    if (component < kAxialStrain || component > kCurvatureY)
        throw InputError("The section deformation component must be 1, 2 or 3, not " +
                         Num(component));
    if (model.FrameCount > 0 && static_cast<long long>(model.Frames.size()) <= model.FrameCount)
        throw InputError("The frame table holds fewer records than its count");
    const int frames = CountOf(model.FrameCount);
    const int tagCount = ElementTagCount(model);
    const int intPts = settings.NumIntgrPts;
    const bool agg = settings.UseAggregator;
    const size_t size = static_cast<size_t>(frames) + 1;
    TFrameEnds ends;
    ends.I.assign(size, 0.0);
    ends.J.assign(size, 0.0);
    ends.HasI.assign(size, 0);
    ends.HasJ.assign(size, 0);

    std::vector<Item> first, last, hinge;
    std::vector<int> types(size, 0);
    for (int f = 1; f <= frames; ++f) {
        const int type = FrameTypeOf(model, f);
        const int tag = FrameElementTag(model, f);
        types[static_cast<size_t>(f)] = type;
        first.push_back(Item{tag, f, recorder::SectionDeformationCount(type, agg, 1, intPts)});
        last.push_back(Item{tag, f, recorder::SectionDeformationCount(type, agg, intPts, intPts)});
        if (type == kBeamWithHinge)
            hinge.push_back(Item{
                tag, f,
                recorder::SectionDeformationCount(type, agg, recorder::kHingeSections, intPts)});
    }
    const auto elementBlock = [tagCount](int tag) {
        return recorder::ElementFileBlock(tag, tagCount);
    };

    RecorderText text;
    std::vector<double> values;
    // Reads line `step` of each block file and hands every item's component to take(f, value).
    const auto read = [&](std::vector<Item> items, RecorderFile file, auto wanted, auto take) {
        for (const Block& block : LayOut(std::move(items), elementBlock)) {
            if (!std::any_of(block.items.begin(), block.items.end(), wanted)) continue;
            text.load(PathOf(folder, recorder::FileName(file, block.file)));
            values.resize(static_cast<size_t>(block.columns));
            ParseLine(text.lineAt(step), text.path(), step, block.columns, values.data());
            for (const Placed& item : block.items)
                if (wanted(item) && item.count >= component)
                    take(static_cast<size_t>(item.index),
                         values[static_cast<size_t>(item.column + component - 1)]);
        }
    };
    const auto always = [](const Placed&) { return true; };
    read(std::move(first), RecorderFile::SectionFirst, always, [&](size_t f, double v) {
        ends.I[f] = v;
        ends.HasI[f] = 1;
        if (EndJOf(types[f], intPts) == EndJSource::SectionFirst) {
            ends.J[f] = v;
            ends.HasJ[f] = 1;
        }
    });
    const auto fromLast = [&](const Placed& item) {
        return EndJOf(types[static_cast<size_t>(item.index)], intPts) == EndJSource::SectionLast &&
               item.count > 0;
    };
    const auto takeJ = [&](size_t f, double v) {
        ends.J[f] = v;
        ends.HasJ[f] = 1;
    };
    read(std::move(last), RecorderFile::SectionLast, fromLast, takeJ);
    read(std::move(hinge), RecorderFile::HingeEndJ, always, takeJ);

    for (size_t f = 1; f < size; ++f) {
        for (const auto& [has, value] :
             {std::pair{ends.HasI[f], ends.I[f]}, std::pair{ends.HasJ[f], ends.J[f]}}) {
            if (!has) continue;
            if (!ends.Any || value > ends.Max) ends.Max = value;
            if (!ends.Any || value < ends.Min) ends.Min = value;
            ends.Any = true;
        }
    }
    return ends;
}

TNodeHistory ReadNodeHistory(const TModel& model, const std::string& folder, int steps) {
    if (steps < 0) throw InputError("Nstep must be 0 or more, not " + Num(steps));
    CheckNodeTable(model);
    TNodeHistory history;
    history.Stride = static_cast<size_t>(CountOf(model.NodeCount)) + 1;
    RecorderText text;
    std::vector<double> values;
    bool first = true;
    for (const Block& block : NodeLayout(model)) {
        text.load(PathOf(folder, recorder::FileName(RecorderFile::NodeDisplacement, block.file)));
        if (first) {
            if (steps == 0) steps = text.lineCount();
            const size_t total = static_cast<size_t>(steps) * history.Stride;
            history.Time.assign(static_cast<size_t>(steps), 0.0);
            history.X.assign(total, 0.0);
            history.Y.assign(total, 0.0);
            history.Z.assign(total, 0.0);
        }
        values.resize(static_cast<size_t>(block.columns));
        std::string_view line;
        for (int k = 1; k <= steps; ++k) {
            if (!text.next(line))
                throw InputError(text.path() + ", line " + Num(k) + ": the file ends after line " +
                                 Num(k - 1) + "; " + Num(steps) + " steps were asked for");
            ParseLine(line, text.path(), k, block.columns, values.data());
            const size_t base = static_cast<size_t>(k - 1) * history.Stride;
            if (first) history.Time[static_cast<size_t>(k - 1)] = values[0];
            for (const Placed& item : block.items) {
                const size_t at = base + static_cast<size_t>(item.index);
                const double* v = values.data() + item.column;
                history.X[at] = v[0];
                history.Y[at] = v[1];
                history.Z[at] = v[2];
            }
        }
        first = false;
    }
    history.Steps = steps;
    return history;
}

TJointHistory ReadJointHistory(const TModel& model, const std::string& folder, int joint) {
    CheckNodeTable(model);
    if (joint < 1 || joint > CountOf(model.NodeCount))
        throw InputError("Joint " + Num(joint) + " is not in the model (joints 1 to " +
                         Num(CountOf(model.NodeCount)) + ")");
    const int tag = JointNodeTag(model, joint);
    for (const Block& block : NodeLayout(model)) {
        const auto item = std::find_if(block.items.begin(), block.items.end(),
                                       [joint](const Placed& p) { return p.index == joint; });
        if (item == block.items.end()) continue;
        RecorderText text;
        text.load(PathOf(folder, recorder::FileName(RecorderFile::NodeDisplacement,
                                                    recorder::NodeFileBlock(tag))));
        TJointHistory history;
        std::vector<double> values(static_cast<size_t>(block.columns));
        std::string_view line;
        for (long long k = 1; text.next(line); ++k) {
            ParseLine(line, text.path(), k, block.columns, values.data());
            history.Time.push_back(values[0]);
            history.X.push_back(values[static_cast<size_t>(item->column)]);
            history.Y.push_back(values[static_cast<size_t>(item->column) + 1]);
            history.Z.push_back(values[static_cast<size_t>(item->column) + 2]);
        }
        return history;
    }
    return TJointHistory();
}

} // namespace vandra
