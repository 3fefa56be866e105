// What every result reader shares: the whole text of a recorder file, its lines, the numbers of a
// line, and where each joint or frame of the model stands in the files' blocks. Errors name the
// file, the line and the column (columns count from 1, the time column first).
#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace vandra::recorder_text {

std::string Num(long long v);

// "PATH, line L, column C".
std::string Where(const std::string& path, long long line, long long column);

// The path of a file of the results folder.
std::string PathOf(const std::string& folder, const std::string& name);

// One joint, node or frame in a recorder file: its tag, the index the reader files its values
// under, and how many values it writes there.
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

// One recorder file: its block number, its column count (the time column included) and its items
// in tag order.
struct Block {
    int file = 0;
    int columns = 1;
    std::vector<Placed> items;
};

// Groups the items by block (blockOf(tag) gives a tag's file number); within a block the items
// stand in tag order, each after the values of the tags before it.
template <typename BlockOf> std::vector<Block> LayOut(std::vector<Item> items, BlockOf blockOf);

// The longest line a recorder file may have: a block of 100 elements writes 1201 numbers, some
// 30 kB; a million characters is far beyond any record.
inline constexpr size_t kMaxRecordLine = size_t{1} << 20;

// The whole text of one recorder file, read into a buffer that is reused for the next file.
class RecorderText {
public:
    // InputError when the path is not a regular file (a directory, a FIFO) or cannot be opened
    // or read, and, naming the line, at the first byte that no recorder writes (a NUL, a control
    // character, a byte beyond ASCII) or the first line longer than kMaxRecordLine: the memory
    // a file that is no recorder file takes stays bounded. Each file counts one on the thread's
    // progress (ThreadProgress) and throws Cancelled once that was cancelled.
    void load(const std::string& path);

    const std::string& path() const { return path_; }
    size_t size() const { return text_.size(); }

    // The next line (without its line end); false after the last one.
    bool next(std::string_view& line);

    // Line n (from 1); InputError when the file ends before it.
    std::string_view lineAt(int n);

    int lineCount() const;

private:
    std::string path_;
    std::string text_;
    size_t pos_ = 0;
    int line_ = 0;
};

// Splits a line into exactly `columns` numbers; InputError naming the file, line and column for a
// shorter or longer line or a token that is not a finite number.
void ParseLine(std::string_view line, const std::string& path, long long lineNo, int columns,
               double* out);

// Refuses a file (InputError at its first line too many or too few) whose `lines` differ from the
// `steps` lines of the first file of a request, `first`.
void CheckLineCount(const RecorderText& text, int lines, int steps, const std::string& first);

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

} // namespace vandra::recorder_text
