// The tabular SAP2000 files of the shared corpus, by short name. They are real exports of public
// projects kept beside the repository (../shared/corpus/sap-tabular, or the folder named by
// VANDRA_CORPUS), not in it: tests that need them are skipped where the corpus is absent.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vandra::testing {

// The path of the corpus file with this short name, or "" when the corpus is not there.
inline std::string CorpusFile(const std::string& shortName) {
    static const char* const kNames[][2] = {
        {"ofem-demo.s2k", "pcachim-ofem__demo-s2k.s2k"},
        {"building-pso.$2k", "MTalebi-FEMU-3DBuilding-PSO__2StoryFrame_RHA_Main.$2k"},
        {"building-ga.$2k", "MTalebi-FEMU-3DBuilding-GA__2StoryFrame_RHA_MainID(Estimated).$2k"},
        {"bridge-pso.$2k", "MTalebi-FEMU-Bridge-PSO__Main Bridge Moving Load.$2k"},
        {"bridge-ga.$2k", "MTalebi-FEMU-Bridge-GA__Main Bridge Moving Load for GA.$2k"},
        {"init.$2k", "OsmanKAYI-sap2000-tbdy2018__Init.$2k"},
    };
    std::string original;
    for (const auto& n : kNames)
        if (shortName == n[0]) original = n[1];
    if (original.empty()) return "";
    std::filesystem::path dirs[] = {
        std::getenv("VANDRA_CORPUS") ? std::getenv("VANDRA_CORPUS") : "",
        std::filesystem::path(VANDRA_SOURCE_DIR) / ".." / "shared" / "corpus" / "sap-tabular",
    };
    for (const auto& dir : dirs)
        if (!dir.empty() && std::filesystem::exists(dir / original))
            return (dir / original).string();
    return "";
}

inline bool HaveCorpus() {
    return !CorpusFile("ofem-demo.s2k").empty();
}

} // namespace vandra::testing
