// Case files of the data-driven tests (tests/cases, described in its README.md): cases that start
// with a line "== title", each a list of "key: value" fields in order; a value "<<TAG" (TAG "." when
// left out) takes the lines up to a line TAG. Numbers may be written as arithmetic (+ - * / ^,
// parentheses, sqrt, pi), so that a closed form stays readable in the file.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace vandra::testing {

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

inline std::string SourcePath(const std::string& relative) {
    return std::string(VANDRA_SOURCE_DIR) + "/" + relative;
}

// A setting's value with $SRC made the source folder (a record file of tests/data).
inline std::string InSource(std::string value) {
    for (size_t at; (at = value.find("$SRC")) != std::string::npos;)
        value.replace(at, 4, VANDRA_SOURCE_DIR);
    return value;
}

struct TestCase {
    std::string title, where; // where: "file:line" of the title
    std::vector<std::pair<std::string, std::string>> fields;

    std::vector<std::string> All(const std::string& key) const {
        std::vector<std::string> values;
        for (const auto& [k, v] : fields)
            if (k == key) values.push_back(v);
        return values;
    }
    bool Has(const std::string& key) const { return !All(key).empty(); }
    std::string One(const std::string& key, const std::string& otherwise = "") const {
        const auto values = All(key);
        return values.empty() ? otherwise : values.back();
    }
};

// The cases of tests/cases/<name>.
inline std::vector<TestCase> ReadCases(const std::string& name) {
    std::istringstream in(ReadText(SourcePath("tests/cases/" + name)));
    std::vector<TestCase> cases;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        if (line.starts_with("== ")) {
            cases.push_back({line.substr(3), name + ":" + std::to_string(n), {}});
            continue;
        }
        if (line.ends_with(":")) line += " "; // "key:" gives an empty value
        const size_t colon = line.find(": ");
        if (line.empty() || line[0] == '#' || colon == std::string::npos || cases.empty()) continue;
        const std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 2);
        if (value.starts_with("<<")) {
            const std::string tag = value.size() > 2 ? value.substr(2) : ".";
            value.clear();
            while (std::getline(in, line) && ++n && line != tag)
                value += line + "\n";
        }
        cases.back().fields.emplace_back(key, value);
    }
    EXPECT_FALSE(cases.empty()) << "no cases in tests/cases/" << name;
    return cases;
}

// Every case of the .case files of tests/cases/<folder>, in file and line order: the values of a
// parameterized test, each case a test of its own.
inline std::vector<TestCase> CasesOf(const std::string& folder) {
    std::vector<std::string> files;
    for (const auto& f : std::filesystem::directory_iterator(SourcePath("tests/cases/" + folder)))
        if (f.path().extension() == ".case") files.push_back(f.path().filename().string());
    std::sort(files.begin(), files.end());
    std::vector<TestCase> all;
    for (const std::string& f : files)
        for (TestCase& c : ReadCases(folder + "/" + f))
            all.push_back(std::move(c));
    return all;
}

inline void PrintTo(const TestCase& c, std::ostream* out) {
    *out << c.where << ": " << c.title;
}

// A test name of the case's file and title: "generator_FrameType2NonlinearBeamColumn_12".
struct CaseName {
    std::string operator()(const ::testing::TestParamInfo<TestCase>& info) const {
        const std::string& w = info.param.where;
        std::string name = w.substr(w.find('/') + 1, w.find('.') - w.find('/') - 1) + "_";
        bool upper = true;
        for (char ch : info.param.title) {
            if (!std::isalnum(static_cast<unsigned char>(ch))) upper = true;
            else if (name.size() < 60) name += upper ? char(std::toupper(ch)) : ch, upper = false;
        }
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return name + "_" + std::to_string(info.index);
    }
};

// The value of an arithmetic expression ("1000*3000^3/(3*30000*3.125e9)").
class Expression {
public:
    static double Of(const std::string& text) {
        Expression e(text);
        const double v = e.Level(0);
        e.Blanks();
        if (e.at_ != text.size()) throw std::invalid_argument("bad expression: " + text);
        return v;
    }

private:
    explicit Expression(const std::string& s) : s_(s) {}
    const std::string& s_;
    size_t at_ = 0;

    void Blanks() {
        while (at_ < s_.size() && s_[at_] == ' ')
            ++at_;
    }
    bool Take(char c) {
        Blanks();
        if (at_ >= s_.size() || s_[at_] != c) return false;
        ++at_;
        return true;
    }
    // The operators of `level` and those that bind tighter: 0 + -, 1 * /, 2 ^ (from the right),
    // 3 a unary term.
    double Level(int level) {
        if (level == 3) return Unary();
        double v = Level(level + 1);
        for (;;) {
            if (level == 0 && Take('+')) v += Level(1);
            else if (level == 0 && Take('-')) v -= Level(1);
            else if (level == 1 && Take('*')) v *= Level(2);
            else if (level == 1 && Take('/')) v /= Level(2);
            else if (level == 2 && Take('^')) return std::pow(v, Level(2));
            else return v;
        }
    }
    double Unary() {
        if (Take('-')) return -Unary();
        if (Take('(')) {
            const double v = Level(0);
            if (!Take(')')) throw std::invalid_argument("missing ) in " + s_);
            return v;
        }
        Blanks();
        if (s_.compare(at_, 4, "sqrt") == 0) {
            at_ += 4;
            return std::sqrt(Unary());
        }
        if (s_.compare(at_, 2, "pi") == 0) {
            at_ += 2;
            return std::numbers::pi;
        }
        char* end = nullptr;
        const double v = std::strtod(s_.c_str() + at_, &end);
        if (end == s_.c_str() + at_) throw std::invalid_argument("bad expression: " + s_);
        at_ = size_t(end - s_.c_str());
        return v;
    }
};

// A one-line value with its escapes made bytes: \n, \r, \\ and \xHH.
inline std::string Unescaped(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const char next = i + 1 < value.size() ? value[i + 1] : '\0';
        if (value[i] != '\\' || !std::strchr("nrx\\", next) || next == '\0') out += value[i];
        else if (next == 'x') out += char(std::stoi(value.substr(i + 2, 2), nullptr, 16)), i += 3;
        else out += next == 'n' ? '\n' : next == 'r' ? '\r' : '\\', ++i;
    }
    return out;
}

// The words of a line.
inline std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

// "EXPR", optionally followed by "rel R" and or "abs A": the value and whether `actual` lies
// within R |value| + A of it (exactly on it without a tolerance).
inline bool CloseTo(double actual, const std::string& expected, double* value = nullptr) {
    const size_t cut = std::min(expected.find(" rel "), expected.find(" abs "));
    const double v = Expression::Of(expected.substr(0, cut));
    if (value) *value = v;
    if (cut == std::string::npos) return actual == v;
    double tolerance = 0;
    const std::vector<std::string> w = Words(expected.substr(cut));
    for (size_t k = 0; k + 1 < w.size(); k += 2)
        tolerance += Expression::Of(w[k + 1]) * (w[k] == "rel" ? std::abs(v) : 1.0);
    return std::abs(actual - v) <= tolerance;
}

} // namespace vandra::testing
