// Finding a section of an .s2k file: its header is a line that equals the keyword exactly (no
// blanks around it, case-sensitive), and its data lines run to the first blank line after it.
#pragma once

#include "import/S2kText.h"
#include "model/ModelCheck.h"

#include <array>

#include <string>
#include <string_view>
#include <vector>

namespace vandra {

// The section keywords, in the order in which the readers run.
inline constexpr std::string_view kJointKeyword = "JOINT";
inline constexpr std::string_view kConstraintKeyword = "CONSTRAINT";
inline constexpr std::string_view kRestraintKeyword = "RESTRAINT";
inline constexpr std::string_view kMassKeyword = "MASS";
inline constexpr std::string_view kMaterialKeyword = "MATERIAL";
inline constexpr std::string_view kFrameSectionKeyword = "FRAME SECTION";
inline constexpr std::string_view kShellSectionKeyword = "SHELL SECTION";
inline constexpr std::string_view kFrameKeyword = "FRAME";
inline constexpr std::string_view kShellKeyword = "SHELL";
inline constexpr std::string_view kSolidKeyword = "SOLID";
inline constexpr std::string_view kLoadKeyword = "LOAD";
inline constexpr std::array<std::string_view, 11> kSectionKeywords = {
    kJointKeyword,    kConstraintKeyword,   kRestraintKeyword,    kMassKeyword,
    kMaterialKeyword, kFrameSectionKeyword, kShellSectionKeyword, kFrameKeyword,
    kShellKeyword,    kSolidKeyword,        kLoadKeyword};

// Header line Start and closing line End (0-based); the data lines are Start + 1 .. End - 1.
// The first header counts; a header on line 0 is never found (the first line of a file is its
// title). A section without a closing blank line ends at the end of the file (End = the number
// of lines).
struct SectionBounds {
    int Start = 0;
    int End = 0;
    bool Found = false;

    // The number of data lines, or -1 for an absent section.
    int LineCount() const { return Found ? End - Start - 1 : -1; }
};

SectionBounds FindSection(const S2kText& lines, std::string_view keyword);

// The eleven sections of a file, found in one pass over its lines. A header that differs from a
// keyword only by case or blanks ("RESTRAINT " with a trailing blank, "Frame Section") is read as
// that section when the file has no exact header for it; either way a warning names it. A second
// header of a keyword is ignored with a warning.
struct S2kSectionIndex {
    std::array<SectionBounds, kSectionKeywords.size()> Sections{};

    const SectionBounds& Of(std::string_view keyword) const;
    bool AnyFound() const;
};

S2kSectionIndex IndexSections(const S2kText& lines, const std::string& file, WarningList& warnings);

// True when the line holds nothing but characters with codes up to 32.
bool IsBlankLine(std::string_view line);

} // namespace vandra
