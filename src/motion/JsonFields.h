// Reading suites and manifests: the parsed JSON document and typed access to its members, every
// refusal an InputError naming the file and the key ("suite.json, "records" entry 2, "dt": ...").
// Used by the readers' sources only; nothing outside src/motion sees the JSON library.
#pragma once

#include <nlohmann/json.hpp>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vandra::motion::json {

using Json = nlohmann::json;

// Parses the text of the file at path: "<path>, line L, column C: not valid JSON" for a syntax
// error, "<path>: the key "k" is given twice" for a key repeated in one object.
Json Parse(const std::string& text, const std::string& path);

// The words naming a member or an entry (counted from 1) in a message.
std::string KeyWhere(const std::string& where, std::string_view key);
std::string EntryWhere(const std::string& where, size_t index);

// A value as the file gives it, for messages.
std::string ValueText(const Json& value);

// The member, or "<where>: "key" is missing".
const Json& Required(const Json& object, std::string_view key, const std::string& where);
// The member, or null when it is not there.
const Json* Optional(const Json& object, std::string_view key);

// "<where>: <value> is not a number" (and so on for the other kinds).
double Number(const Json& value, const std::string& where);
long long Integer(const Json& value, const std::string& where);
const std::string& String(const Json& value, const std::string& where);
bool Bool(const Json& value, const std::string& where);
// A list, or "<where>: a list of <what> is expected"; "<where>: the list is empty" when empty.
const Json& List(const Json& value, std::string_view what, const std::string& where);
// An object, or "<where>: <what> is expected".
const Json& Object(const Json& value, std::string_view what, const std::string& where);

// Adds "<where>: unknown key "k" ignored" for each member outside known.
void WarnUnknownKeys(const Json& object, std::initializer_list<std::string_view> known,
                     const std::string& where, std::vector<std::string>& warnings);

} // namespace vandra::motion::json
