// The command-line cases of tests/cases/cli/*.case (their keys: tests/cases/README.md), each a
// test of its own. In every text $CLI, $SRC, $DATA (tests/data), $CASES (tests/cases), $TMP (a
// folder of this test), $CORPUS[NAME] and \xHH stand for what they name.
#include "CaseFile.h"
#include "CorpusFiles.h"
#include "TestTempDir.h"
#include "model/SolverLocator.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>
#include <regex>

namespace vandra::testing {
namespace {

std::string Expand(std::string s) {
    const std::pair<std::string, std::string> names[] = {
        {"$CLI", VANDRA_CLI_PATH},       {"$SRC", VANDRA_SOURCE_DIR},
        {"$DATA", SourcePath("tests/data")}, {"$CASES", SourcePath("tests/cases")},
        {"$TMP", ProcessTempDir()}};
    for (const auto& [name, value] : names)
        for (size_t at; (at = s.find(name)) != std::string::npos;)
            s.replace(at, name.size(), value);
    for (size_t at; (at = s.find("\\x")) != std::string::npos;)
        s.replace(at, 4, 1, char(std::stoi(s.substr(at + 2, 2), nullptr, 16)));
    for (size_t at; (at = s.find("$CORPUS[")) != std::string::npos;) {
        const size_t end = s.find(']', at);
        s.replace(at, end - at + 1, CorpusFile(s.substr(at + 8, end - at - 8)));
    }
    return s;
}

std::string JsonAt(const QJsonValue& root, const std::string& path) {
    QJsonValue v = root;
    for (const std::string& step : Words(std::regex_replace(path, std::regex("\\."), " "))) {
        if (v.isArray() && std::isdigit(step[0])) v = v.toArray().at(std::stoi(step));
        else if (v.isObject() && v.toObject().contains(QString::fromStdString(step)))
            v = v.toObject().value(QString::fromStdString(step));
        else return "absent";
    }
    if (v.isNull()) return "null";
    if (v.isArray()) return "[" + std::to_string(v.toArray().size()) + "]";
    if (v.isDouble()) return QString::number(v.toDouble(), 'g', 15).toStdString();
    return v.toString().toStdString();
}

void RunCliCase(const TestCase& c) {
    SCOPED_TRACE(c.where + ": " + c.title);
    for (const auto& [key, value] : c.fields)
        if (key.starts_with("write "))
            std::ofstream(ProcessTempDir() + "/" + Expand(key.substr(6)), std::ios::binary)
                << Expand(value);
    const std::string out = ProcessTempDir() + "/cli.out", err = ProcessTempDir() + "/cli.err";
    const std::string line = c.Has("sh") ? Expand(c.One("sh"))
                                         : "'" + std::string(VANDRA_CLI_PATH) + "' " + Expand(c.One("run"));
    const int raw = std::system(("{ " + line + " ; } >'" + out + "' 2>'" + err + "'").c_str());
    const std::string stdoutText = ReadText(out), stderrText = ReadText(err);
    EXPECT_EQ(std::to_string(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1), c.One("status", "0"))
        << line << "\n" << stderrText;
    const QJsonValue json = QJsonDocument::fromJson(QByteArray::fromStdString(stdoutText)).object();
    for (const auto& [key, given] : c.fields) {
        const std::string value = Expand(given);
        const std::string& text = key.starts_with("stdout") ? stdoutText : stderrText;
        const std::string what = key.substr(key.find('-') + 1);
        if (key == "stdout" || key == "stderr") { EXPECT_EQ(text, value) << key; }
        if (key.ends_with("-has")) { EXPECT_NE(text.find(value), std::string::npos) << key << ": " << value << "\n" << text; }
        if (key.ends_with("-lacks")) { EXPECT_EQ(text.find(value), std::string::npos) << key << ": " << value; }
        if (key.ends_with("-starts")) { EXPECT_TRUE(text.starts_with(value)) << key << ": " << value; }
        if (key.ends_with("-lines")) { EXPECT_EQ(std::to_string(std::count(text.begin(), text.end(), '\n')), value); }
        if (key.ends_with("-file")) { EXPECT_TRUE(text == ReadText(value)) << key << " differs from " << value; }
        if (key == "json") {
            const size_t op = value.find_first_of("=~"), cut = value.find(' ', op);
            const std::string at = JsonAt(json, value.substr(0, op - 1));
            if (value[op] == '=') { EXPECT_EQ(at, value.substr(cut + 1)) << value; }
            else { EXPECT_TRUE(at != "absent" && CloseTo(std::stod(at), value.substr(cut + 1))) << value << ": " << at; }
        }
        if (key == "png") {
            const std::vector<std::string> w = Words(value);
            const QSize size =
                QImage::fromData(QByteArray::fromStdString(ReadText(w[0])), "PNG").size();
            EXPECT_EQ(std::to_string(size.width()) + "x" + std::to_string(size.height()), w[1]) << w[0];
        }
        if (key == "same" || key == "differ") {
            const std::vector<std::string> w = Words(value);
            EXPECT_EQ(ReadText(w[0]) == ReadText(w[1]), key == "same") << value;
        }
        if (key == "filled") { EXPECT_FALSE(ReadText(value).empty()) << value; }
    }
}

class CliCase : public ::testing::TestWithParam<TestCase> {};

TEST_P(CliCase, ExitsWithItsStatusOutputAndFiles) {
    if (GetParam().Has("corpus") && !HaveCorpus()) GTEST_SKIP() << "no corpus";
    if (GetParam().Has("solver") &&
        vandra::FindSolver(std::filesystem::path(VANDRA_CLI_PATH).parent_path().string()).empty())
        GTEST_SKIP() << "no OpenSees solver found";
    if (GetParam().Has("needs") &&
        std::system(("command -v " + GetParam().One("needs") + " >/dev/null").c_str()) != 0)
        GTEST_SKIP() << "no " << GetParam().One("needs");
    RunCliCase(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Cases, CliCase, ::testing::ValuesIn(CasesOf("cli")), CaseName());

} // namespace
} // namespace vandra::testing
