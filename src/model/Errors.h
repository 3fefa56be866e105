// Errors that abandon a command. The message is shown as it stands (message box or stderr).
#pragma once

#include <stdexcept>
#include <string>

namespace vandra {

// A text that should be a number and is not. The message is exactly
// "'<text>' is not a valid integer value" or "'<text>' is not a valid floating point value".
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Input that cannot be used safely: a reference outside its table, a file that cannot be read or
// written, a setting that cannot be applied. The message names what was wrong and where.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A command used wrongly: an unknown setting, field or name, a missing argument. The command-line
// tool exits with status 2 for it.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace vandra
