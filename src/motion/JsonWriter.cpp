#include "motion/JsonWriter.h"

#include "model/NumberText.h"

#include <cmath>
#include <stdexcept>

namespace vandra::motion {

void JsonWriter::NewLine() {
    out_ += '\n';
    out_.append(2 * levels_.size(), ' ');
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (level.members++ > 0) out_ += level.inlined ? ", " : ",";
    if (!level.inlined) NewLine();
}

void JsonWriter::BeginObject(bool inlined) {
    BeforeValue();
    out_ += '{';
    levels_.push_back(Level{inlined || (!levels_.empty() && levels_.back().inlined), 0});
}

void JsonWriter::EndObject() {
    const Level level = levels_.back();
    levels_.pop_back();
    if (!level.inlined && level.members > 0) NewLine();
    out_ += '}';
}

void JsonWriter::BeginArray(bool inlined) {
    BeforeValue();
    out_ += '[';
    levels_.push_back(Level{inlined || (!levels_.empty() && levels_.back().inlined), 0});
}

void JsonWriter::EndArray() {
    EndObject();
    out_.back() = ']';
}

void JsonWriter::Key(std::string_view key) {
    BeforeValue();
    AppendString(key);
    out_ += ": ";
    afterKey_ = true;
}

void JsonWriter::Number(double value) {
    // JSON has no text for infinity or NaN: a caller writes null or leaves the member out.
    if (!std::isfinite(value)) throw std::logic_error("a non-finite number written to JSON");
    BeforeValue();
    text::AppendGeneral(out_, value);
}

void JsonWriter::Integer(long long value) {
    BeforeValue();
    text::AppendInt(out_, value);
}

void JsonWriter::String(std::string_view value) {
    BeforeValue();
    AppendString(value);
}

void JsonWriter::AppendString(std::string_view value) {
    out_ += '"';
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (c == '\n') {
            out_ += "\\n";
        } else if (c == '\t') {
            out_ += "\\t";
        } else if (c == '\r') {
            out_ += "\\r";
        } else if (u < 0x20) {
            out_ += "\\u00";
            out_ += kHex[u >> 4];
            out_ += kHex[u & 15];
        } else {
            out_ += c;
        }
    }
    out_ += '"';
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    out_ += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    out_ += "null";
}

void JsonWriter::NumberField(std::string_view key, double value) {
    Key(key);
    Number(value);
}

void JsonWriter::IntegerField(std::string_view key, long long value) {
    Key(key);
    Integer(value);
}

void JsonWriter::StringField(std::string_view key, std::string_view value) {
    Key(key);
    String(value);
}

std::string JsonWriter::Take() {
    out_ += '\n';
    return std::move(out_);
}

} // namespace vandra::motion
