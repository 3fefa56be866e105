// The lines of a generated script, held as the text that Save writes (every line followed by
// CR LF) in one buffer, with the place where each line ends. A script of a large model has
// hundreds of thousands of lines: one buffer instead of a string per line spares an allocation per
// line, and the text is written out as it stands.
#pragma once

#include "model/NumberText.h"

#include <compare>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace vandra {

class ScriptLineList {
public:
    // Walks the lines in order; each line is a view into the list, valid until the list changes.
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using reference = std::string_view;
        using pointer = void;

        const_iterator() = default;
        const_iterator(const ScriptLineList* lines, size_t index) : lines_(lines), index_(index) {}

        std::string_view operator*() const { return (*lines_)[index_]; }
        std::string_view operator[](difference_type n) const { return *(*this + n); }
        const_iterator& operator++() { return ++index_, *this; }
        const_iterator& operator--() { return --index_, *this; }
        const_iterator operator++(int) { return {lines_, index_++}; }
        const_iterator operator--(int) { return {lines_, index_--}; }
        const_iterator& operator+=(difference_type n) { return index_ += size_t(n), *this; }
        const_iterator& operator-=(difference_type n) { return index_ -= size_t(n), *this; }
        friend const_iterator operator+(const_iterator it, difference_type n) { return it += n; }
        friend const_iterator operator+(difference_type n, const_iterator it) { return it += n; }
        friend const_iterator operator-(const_iterator it, difference_type n) { return it -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b) {
            return difference_type(a.index_) - difference_type(b.index_);
        }
        friend bool operator==(const_iterator a, const_iterator b) { return a.index_ == b.index_; }
        friend auto operator<=>(const_iterator a, const_iterator b) {
            return a.index_ <=> b.index_;
        }

    private:
        const ScriptLineList* lines_ = nullptr;
        size_t index_ = 0;
    };
    using iterator = const_iterator;
    using value_type = std::string_view;
    using size_type = size_t;

    ScriptLineList() = default;
    ScriptLineList(std::initializer_list<std::string_view> lines);
    template <std::input_iterator Iterator> ScriptLineList(Iterator first, Iterator last) {
        for (; first != last; ++first)
            push_back(*first);
    }

    size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // Line k without its line end.
    std::string_view operator[](size_t k) const {
        const size_t begin = k == 0 ? 0 : ends_[k - 1];
        return std::string_view(text_.data() + begin, ends_[k] - 2 - begin);
    }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Every line followed by CR LF: the script as Save writes it.
    std::string_view Text() const { return text_; }

    void push_back(std::string_view line);
    // Appends one line: a template filled with its arguments (text::AppendFormat). A template
    // error leaves the list as it was.
    void AppendFormat(std::string_view tmpl, std::initializer_list<text::FmtArg> args) {
        const size_t begin = text_.size();
        try {
            text::AppendFormat(text_, tmpl, args);
        } catch (...) {
            text_.resize(begin);
            throw;
        }
        EndLine();
    }

    // Room for `lines` lines of `bytes` bytes in all (line ends included), huge pages advised for
    // a large list.
    void reserve(size_t lines, size_t bytes);
    void clear();
    void swap(ScriptLineList& other) noexcept;

    bool operator==(const ScriptLineList& other) const = default;

private:
    void EndLine() {
        text_ += "\r\n";
        ends_.push_back(text_.size());
    }

    std::string text_;
    std::vector<size_t> ends_; // ends_[k]: where line k + 1 starts, past line k's CR LF
};

} // namespace vandra
