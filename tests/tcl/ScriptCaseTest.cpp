// The script cases of tests/cases/tcl/*.case: a model (a file, or an inline text of version 6 or
// tabular) and settings give a script, checked against a reference file (whole, or as a diff from
// another one), by the lines it holds, the lines that start alike, its warnings and a run through
// the Tcl stand-in of the solver; or they are refused with the exact message, leaving the model
// and the previous script as they were.
#include "CaseFile.h"
#include "ScriptTestSupport.h"

#include "document/SettingsByName.h"
#include "import/ModelFile.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace vandra::testing {
namespace {

std::vector<std::string> LinesOf(const std::string& block) {
    std::vector<std::string> lines;
    std::istringstream in(block);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The base reference with a unified diff applied (lines keep their CR).
std::string Patched(const std::string& base, const std::string& diff) {
    const std::vector<std::string> in = LinesOf(base);
    std::string out;
    size_t next = 0;
    bool hunks = false;
    for (const std::string& d : LinesOf(diff)) {
        if (d.starts_with("@@ -")) {
            hunks = true;
            size_t start = std::stoul(d.substr(4)), comma = d.find(',');
            if (comma < d.find(' ', 4) && std::stoul(d.substr(comma + 1)) == 0) ++start;
            for (; next + 1 < start && next < in.size(); ++next)
                out += in[next] + "\n";
        } else if (hunks && !d.empty() && d[0] != '+') {
            EXPECT_EQ(next < in.size() ? in[next] : "<end>", d.substr(1)) << "the diff does not fit";
            if (d[0] == ' ') out += in[next] + "\n";
            ++next;
        } else if (hunks && !d.empty()) {
            out += d.substr(1) + "\n";
        }
    }
    for (; next < in.size(); ++next)
        out += in[next] + "\n";
    return out;
}

void ExpectGoldenOf(const TestCase& c, const std::string& actual) {
    const std::string name = c.One("golden"), path = GoldenPath(name);
    const bool diff = name.ends_with(".diff");
    if (std::getenv("VANDRA_UPDATE_GOLDEN")) {
        const std::string written = diff ? ProcessTempDir() + "/actual.tcl" : path;
        std::ofstream(written, std::ios::binary) << actual;
        if (diff)
            std::system(("cd '" + GoldenPath("") + "' && { echo '--- " + c.One("base") +
                         "'; echo '+++ " + name + "'; diff -u '" + c.One("base") + "' '" +
                         written + "' | tail -n +3; } > '" + name + "'")
                            .c_str());
        return;
    }
    const std::string expected =
        diff ? Patched(ReadText(GoldenPath(c.One("base"))), ReadText(path)) : ReadText(path);
    ASSERT_FALSE(expected.empty()) << "missing reference " << path;
    const std::vector<std::string> a = LinesOf(actual), e = LinesOf(expected);
    const auto at = std::mismatch(a.begin(), a.end(), e.begin(), e.end());
    EXPECT_TRUE(actual == expected)
        << name << " differs at line " << (at.first - a.begin()) + 1 << "\n  expected: ["
        << (at.second == e.end() ? "<end>" : *at.second) << "]\n  actual:   ["
        << (at.first == a.end() ? "<end>" : *at.first) << "]";
}

void RunScriptCase(const TestCase& c) {
    SCOPED_TRACE(c.where + ": " + c.title);
    TModel model = ImportModelText(c.Has("text") ? SplitS2kLines(c.One("text"))
                                                 : ReadS2kFile(SourcePath(c.One("model"))),
                                   c.where);
    TSettings settings;
    TModel before;
    std::array<bool, 6> flags = settings.RecOpt;
    ScriptLineList lines = {"previous"};
    WarningList warnings;
    std::string error = "none";
    try {
        for (const std::string& s : c.All("set")) {
            before = model;
            flags = settings.RecOpt;
            AssignSetting(model, settings, InSource(s));
        }
        before = model;
        GenerateScript(model, settings, lines, &warnings);
    } catch (const InputError& e) {
        error = std::string("InputError: ") + e.what();
    } catch (const UsageError& e) {
        error = std::string("UsageError: ") + e.what();
    } catch (const ConversionError& e) {
        error = std::string("ConversionError: ") + e.what();
    }
    EXPECT_EQ(error, c.One("error", "none"));
    if (error != "none") {
        EXPECT_TRUE(model == before) << "a refusal changed the model";
        EXPECT_EQ(settings.RecOpt, flags) << "a refusal changed the recorder flags";
        EXPECT_EQ(lines, ScriptLineList{"previous"});
        return;
    }
    // The script's lines without their trailing blanks, which case files do not keep.
    std::vector<std::string> trimmed;
    for (std::string_view line : lines)
        trimmed.emplace_back(line.substr(0, line.find_last_not_of(' ') + 1));
    const auto has = [&](const std::string& line) {
        return std::find(trimmed.begin(), trimmed.end(), line) != trimmed.end();
    };
    std::string prefix;
    for (const auto& [key, value] : c.fields) {
        if (key == "has") { EXPECT_TRUE(has(value)) << "no line: " << value; }
        if (key == "lacks") { EXPECT_FALSE(has(value)) << "a line: " << value; }
        if (key == "lines") {
            const std::vector<std::string> block = LinesOf(value);
            EXPECT_NE(std::search(trimmed.begin(), trimmed.end(), block.begin(), block.end()),
                      trimmed.end())
                << "no lines:\n" << value;
        }
        if (key == "starting") prefix = value;
        if (key == "gives") {
            std::vector<std::string> found;
            for (const std::string& line : trimmed)
                if (line.starts_with(prefix)) found.push_back(line);
            EXPECT_EQ(found, LinesOf(value)) << "the lines starting with " << prefix;
        }
        if (key == "stand-in") {
            const std::vector<std::string> complaint = StandInComplaints({&lines});
            if (complaint.empty()) continue; // no Tcl
            if (value == "ok") { EXPECT_EQ(complaint[0], ""); }
            else EXPECT_NE(complaint[0].find(value), std::string::npos) << complaint[0];
        }
    }
    std::vector<std::string> formatted;
    for (const TWarning& w : warnings)
        formatted.push_back(FormatWarning(w));
    if (c.Has("warning") || c.Has("warnings")) { EXPECT_EQ(formatted, c.All("warning")); }
    if (c.Has("golden")) ExpectGoldenOf(c, std::string(lines.Text()));
}

class ScriptCase : public ::testing::TestWithParam<TestCase> {};

TEST_P(ScriptCase, GivesItsScriptOrItsRefusal) {
    RunScriptCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, ScriptCase, ::testing::ValuesIn(CasesOf("tcl")), CaseName());

} // namespace
} // namespace vandra::testing
