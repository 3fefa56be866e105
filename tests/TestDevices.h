// Character devices for tests of writers that must write a device in place. As root, a writer
// that wrongly replaced its target by a regular file would replace the system's /dev/null for
// every program on the machine: root gets a node of the same device made in the test's own folder
// instead. Other users get the system's device, which they cannot replace.
#pragma once

#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace vandra::testing {

enum class Device { Null, Full }; // Full fails every write with "No space left on device"

// The path of the device, or empty when root may not make device nodes here.
inline std::string TestDevice(Device device, const std::string& folder) {
    const char* name = device == Device::Null ? "null" : "full";
    if (::geteuid() != 0) return std::string("/dev/") + name;
    const std::string path = (std::filesystem::path(folder) / name).string();
    ::unlink(path.c_str());
    if (::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, device == Device::Null ? 3 : 7)) != 0)
        return "";
    return path;
}

} // namespace vandra::testing
