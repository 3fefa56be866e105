// Writing JSON for suites and manifests: objects one member a line, lists of numbers on one line,
// every number through the number text module (15 significant digits).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vandra::motion {

class JsonWriter {
public:
    // A container opened inline keeps its members on one line.
    void BeginObject(bool inlined = false);
    void EndObject();
    void BeginArray(bool inlined = false);
    void EndArray();
    void Key(std::string_view key);
    void Number(double value);
    void Integer(long long value);
    void String(std::string_view value);
    void Bool(bool value);
    void Null();
    // A member: its key and its value.
    void NumberField(std::string_view key, double value);
    void IntegerField(std::string_view key, long long value);
    void StringField(std::string_view key, std::string_view value);
    // The text, with a line end after the last closing bracket.
    std::string Take();

private:
    void BeforeValue();
    void NewLine();
    void AppendString(std::string_view value);

    struct Level {
        bool inlined = false;
        int members = 0;
    };
    std::string out_;
    std::vector<Level> levels_;
    bool afterKey_ = false;
};

} // namespace vandra::motion
