#include "import/ReaderSupport.h"

#include "model/NumberText.h"
#include "model/ShownText.h"

namespace vandra::s2k {

namespace {
constexpr int kWarningsPerKind = 10;
}

void CheckRange(int value, int count, std::string_view what, int lineIndex) {
    if (value >= 1 && value <= count) return;
    throw InputError(text::Format("Line %d: %s %d is outside 1..%d",
                                  {lineIndex + 1, what, value, CountOf(count)}));
}

void ThrowConversionAt(const ConversionError& e, int lineIndex, std::string_view keyword) {
    const std::string_view message = e.what();
    // A message that already names its line passes unchanged.
    if (message.starts_with("Line ")) throw e;
    throw ConversionError(text::Format("Line %d (%s): ", {lineIndex + 1, keyword}) +
                          std::string(message));
}

SectionWarnings::SectionWarnings(const S2kInput& in, TModel& model, std::string_view keyword)
    : in_(in), model_(model), keyword_(keyword) {}

void SectionWarnings::Add(int lineIndex, std::string what, std::string done) {
    if (++count_ > kWarningsPerKind) {
        if (firstLeftOut_ < 0) firstLeftOut_ = lineIndex;
        return;
    }
    model_.Warnings.push_back(TWarning{
        in_.File, lineIndex + 1, std::string(keyword_) + ": " + std::move(what), std::move(done)});
}

void SectionWarnings::Finish(std::string_view what) {
    if (count_ <= kWarningsPerKind) return;
    model_.Warnings.push_back(TWarning{
        in_.File, firstLeftOut_ + 1,
        text::Format("%s: %d more lines with %s", {keyword_, count_ - kWarningsPerKind, what}),
        "not listed one by one"});
}

std::string QuotedToken(std::string_view token) {
    return text::ShownToken(token);
}

std::string MisplacedKey(const S2kTokens& t, std::initializer_list<KeyAt> keys) {
    for (const KeyAt& k : keys) {
        if (t[k.Token] == k.Key) continue;
        // A run of blanks between fields shifts every later token by one.
        return text::Format("key %s expected as field %d, found %s",
                            {k.Key, k.Token + 1, QuotedToken(t[k.Token])});
    }
    return std::string();
}

void UnmatchedNames::Add(std::string_view name, int lineIndex, int record) {
    auto [it, added] = byName_.try_emplace(std::string(name), entries_.size());
    if (added)
        entries_.push_back({std::string(name), lineIndex, record, 1});
    else
        ++entries_[it->second].Count;
}

} // namespace vandra::s2k
