#include "motion/JsonFields.h"

#include "model/Errors.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace vandra::motion::json {
namespace {

[[noreturn]] void Refuse(const std::string& where, const Json& value, std::string_view what) {
    throw InputError(where + ": " + ValueText(value) + " is not " + std::string(what));
}

} // namespace

Json Parse(const std::string& text, const std::string& path) {
    // The keys met in each object being read, innermost last.
    std::vector<std::set<std::string>> keys;
    const Json::parser_callback_t check = [&](int, Json::parse_event_t event, Json& parsed) {
        if (event == Json::parse_event_t::object_start) {
            keys.emplace_back();
        } else if (event == Json::parse_event_t::object_end) {
            keys.pop_back();
        } else if (event == Json::parse_event_t::key) {
            const std::string& key = parsed.get_ref<const std::string&>();
            if (!keys.back().insert(key).second)
                throw InputError(path + ": the key \"" + key + "\" is given twice");
        }
        return true;
    };
    try {
        return Json::parse(text, check);
    } catch (const Json::parse_error& e) {
        // e.byte counts the bytes read up to and including the one at fault.
        const size_t at = std::min(text.size(), e.byte > 0 ? static_cast<size_t>(e.byte - 1) : 0);
        const long long line =
            1 + std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n');
        const size_t nl = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
        const size_t column = at - (nl == std::string::npos ? 0 : nl + 1) + 1;
        throw InputError(path + ", line " + text::FormatInt(line) + ", column " +
                         text::FormatInt(static_cast<long long>(column)) + ": not valid JSON");
    } catch (const Json::out_of_range&) {
        throw InputError(path + ": a number is too large to be read");
    }
}

std::string KeyWhere(const std::string& where, std::string_view key) {
    return where + ", \"" + std::string(key) + "\"";
}

std::string EntryWhere(const std::string& where, size_t index) {
    return where + " entry " + text::FormatInt(static_cast<long long>(index) + 1);
}

std::string ValueText(const Json& value) {
    if (value.is_number_float()) return text::FormatGeneral(value.get<double>());
    if (value.is_number()) return value.dump();
    if (value.is_object()) return "an object";
    if (value.is_array()) return "a list";
    return value.dump();
}

const Json& Required(const Json& object, std::string_view key, const std::string& where) {
    if (const Json* member = Optional(object, key)) return *member;
    throw InputError(where + ": \"" + std::string(key) + "\" is missing");
}

const Json* Optional(const Json& object, std::string_view key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

double Number(const Json& value, const std::string& where) {
    if (!value.is_number()) Refuse(where, value, "a number");
    return value.get<double>();
}

long long Integer(const Json& value, const std::string& where) {
    if (value.is_number_integer()) return value.get<long long>();
    if (value.is_number_float()) {
        const double d = value.get<double>();
        if (d == std::floor(d) && std::abs(d) < 1e15) return static_cast<long long>(d);
    }
    Refuse(where, value, "a whole number");
}

const std::string& String(const Json& value, const std::string& where) {
    if (!value.is_string()) Refuse(where, value, "a text in quotes");
    return value.get_ref<const std::string&>();
}

bool Bool(const Json& value, const std::string& where) {
    if (!value.is_boolean()) Refuse(where, value, "true or false");
    return value.get<bool>();
}

const Json& List(const Json& value, std::string_view what, const std::string& where) {
    if (!value.is_array())
        throw InputError(where + ": a list of " + std::string(what) + " is expected");
    if (value.empty()) throw InputError(where + ": the list is empty");
    return value;
}

const Json& Object(const Json& value, std::string_view what, const std::string& where) {
    if (!value.is_object()) throw InputError(where + ": " + std::string(what) + " is expected");
    return value;
}

void WarnUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                     const std::string& where, std::vector<std::string>& warnings) {
    for (const auto& [key, value] : object.items()) {
        if (std::find(known.begin(), known.end(), key) == known.end())
            warnings.push_back(where + ": unknown key \"" + key + "\" ignored");
    }
}

} // namespace vandra::motion::json
