#include "tcl/ScriptLineList.h"

#include "model/LargeMemory.h"

namespace vandra {

ScriptLineList::ScriptLineList(std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines)
        push_back(line);
}

void ScriptLineList::push_back(std::string_view line) {
    text_ += line;
    EndLine();
}

void ScriptLineList::reserve(size_t lines, size_t bytes) {
    ReserveLarge(ends_, lines);
    text_.reserve(bytes);
    AdviseHugePages(text_.data(), text_.capacity());
}

void ScriptLineList::clear() {
    text_.clear();
    ends_.clear();
}

void ScriptLineList::swap(ScriptLineList& other) noexcept {
    text_.swap(other.text_);
    ends_.swap(other.ends_);
}

} // namespace vandra
