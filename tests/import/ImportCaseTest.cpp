// The import cases of tests/cases/import/*.case: a model text (version 6 or tabular, as the
// program tells them apart; \xHH in it is that byte) or a file, and the fields, warnings, report
// lines or exact error it gives.
#include "CaseFile.h"
#include "CorpusFiles.h"
#include "ModelDump.h"

#include "import/ModelFile.h"
#include "model/Errors.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vandra::testing {
namespace {

// The expression with each {Field} replaced by the model's value.
std::string WithFields(std::string e, const ModelDump& dump) {
    for (size_t a; (a = e.find('{')) != std::string::npos;) {
        const size_t b = e.find('}', a);
        e.replace(a, b - a + 1, "(" + dump[e.substr(a + 1, b - a - 1)] + ")");
    }
    return e;
}

// Runs one case; false when it needs the corpus and the corpus is absent.
bool RunImportCase(const TestCase& c) {
    SCOPED_TRACE(c.where + ": " + c.title);
    S2kText lines;
    std::string name = "m.s2k";
    if (c.Has("text")) {
        std::string text = c.One("text");
        for (size_t at; (at = text.find("\\x")) != std::string::npos;)
            text.replace(at, 4, 1, char(std::stoi(text.substr(at + 2, 2), nullptr, 16)));
        lines = SplitS2kLines(text);
    } else if (c.Has("corpus")) {
        name = c.One("corpus");
        if (CorpusFile(name).empty()) return false;
        lines = ReadS2kFile(CorpusFile(name));
    } else {
        EXPECT_TRUE(c.Has("file")) << "a case without text, corpus or file";
        lines = ReadS2kFile(SourcePath(c.One("file")));
    }
    std::vector<std::string> report;
    std::string error = "none";
    TModel m;
    try {
        m = ImportModelText(lines, name, &report);
    } catch (const ConversionError& e) {
        error = std::string("ConversionError: ") + e.what();
    } catch (const InputError& e) {
        error = std::string("InputError: ") + e.what();
    }
    EXPECT_EQ(error, c.One("error", "none"));
    if (error != "none") return true;
    const ModelDump dump(m);
    for (const std::string& e : c.All("expect")) {
        const size_t cut = e.find_first_of("=~");
        const std::string key = e.substr(0, cut), value = WithFields(e.substr(cut + 1), dump);
        if (e[cut] == '=') {
            EXPECT_EQ(dump[key], value) << key;
            continue;
        }
        double expected = 0;
        const std::string has = dump[key];
        EXPECT_TRUE(has != "<absent>" &&
                    CloseTo(std::stod(has), value.find(" rel ") == std::string::npos &&
                                                    value.find(" abs ") == std::string::npos
                                                ? value + " rel 1e-12"
                                                : value,
                            &expected))
            << key << " is " << has << ", not " << expected;
    }
    std::vector<std::string> warnings;
    for (const TWarning& w : m.Warnings)
        warnings.push_back(FormatWarning(w));
    if (c.Has("warning") || c.Has("warnings")) {
        EXPECT_EQ(warnings, c.All("warning"));
    }
    if (c.Has("warning-count")) {
        EXPECT_EQ(std::to_string(warnings.size()), c.One("warning-count"));
    }
    for (const std::string& r : c.All("report"))
        EXPECT_TRUE(std::any_of(report.begin(), report.end(),
                                [&](const std::string& line) { return line.find(r) != line.npos; }))
            << "no report line with: " << r;
    return true;
}

class ImportCase : public ::testing::TestWithParam<TestCase> {};

TEST_P(ImportCase, GivesItsFieldsWarningsOrError) {
    if (!RunImportCase(GetParam())) GTEST_SKIP() << "no corpus";
}

INSTANTIATE_TEST_SUITE_P(Cases, ImportCase, ::testing::ValuesIn(CasesOf("import")), CaseName());

} // namespace
} // namespace vandra::testing
