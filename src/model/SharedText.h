// A text that many records hold alike, such as the section name of every frame: copies share one
// buffer, so a long name named by many records is held once.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

namespace vandra {

class SharedText {
public:
    SharedText() = default;
    SharedText(std::string_view text) : text_(std::make_shared<const std::string>(text)) {}
    SharedText(const std::string& text) : SharedText(std::string_view(text)) {}
    SharedText(const char* text) : SharedText(std::string_view(text)) {}

    const std::string& str() const { return text_ ? *text_ : Empty(); }
    operator const std::string&() const { return str(); }
    operator std::string_view() const { return str(); }
    bool empty() const { return str().empty(); }
    size_t size() const { return str().size(); }
    const char* c_str() const { return str().c_str(); }

    friend bool operator==(const SharedText& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const std::string& b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const char* b) { return a.str() == b; }
    friend bool operator==(const SharedText& a, const SharedText& b) { return a.str() == b.str(); }
    friend std::ostream& operator<<(std::ostream& out, const SharedText& t) {
        return out << t.str();
    }

private:
    static const std::string& Empty() {
        static const std::string kEmpty;
        return kEmpty;
    }
    std::shared_ptr<const std::string> text_;
};

} // namespace vandra
