// Writing a whole file so that a failure never leaves a truncated one: the bytes go to a temporary
// file beside the target, which is renamed over the target only when everything was written.
#pragma once

#include <string>
#include <string_view>

namespace vandra {

// Writes content to path atomically. InputError naming the file when it cannot be written; the
// previous file, if any, is then left as it was.
void WriteFileAtomically(const std::string& path, std::string_view content);

} // namespace vandra
