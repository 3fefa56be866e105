// Fiber discretisation of frame sections: the fiber table that a fiber section of the script lists.
#pragma once

#include "model/Model.h"

#include <optional>
#include <string>
#include <vector>

namespace vandra {

// One fiber: its centre in the section plane (local y, z), its area and its model material.
struct TFIBER {
    double FibY = 0, FibZ = 0, FibArea = 0;
    int FibMat = 0;

    bool operator==(const TFIBER&) const = default;
};

// True for the frame types whose sections get fibers (nonlinear, displacement-based, hinged beam
// columns and both trusses).
bool HasFiberSection(int frameType);

// The most fibers one section may have: far beyond any practical layout (a 300 x 300 grid), it
// keeps a mistyped division count from exhausting the memory or overflowing the numbering.
inline constexpr long long kMaxFibersPerSection = 100000;

// The number of fibers SectionFibers gives the section, counted without overflow; -1 for a shape
// without a layout.
long long FiberCountOf(const TSECTION& section);

// The first field of a section whose value would make its layout silently wrong, and the refusal
// that names it ("Frame section <name>: <field> ..."): for a fiber frame type a division count
// below 1 (below 3 round a pipe) drops the section's fibers, a bar count below 2 on a face with a
// bar area leaves its corners bare (0 drops the bars), a negative bar area, and a cover that puts
// the bars outside the rectangle (negative, or half its width or depth and more); for a beam with
// hinges a negative hinge length. Nothing for a sound layout.
struct LayoutFault {
    std::string field; // as Sections[NAME].FIELD names it: "DivideFX", "Cover", ...
    std::string message;
};
std::optional<LayoutFault> FiberLayoutFault(const TSECTION& section);

// Throws InputError with the message of FiberLayoutFault. The one check of a section's fields: the
// frame section dialog (as the fields are typed), the setting names of vandra-cli and the project
// file call it wherever a section's fields change.
void CheckFiberLayout(const TSECTION& section);

// The fibers of one section from its shape, dimensions, divisions and bars, in the order the
// script lists them: the cells, then the bars. Bars take material rebarMat, every other fiber the
// section's MatIdx. None for a shape without a layout. More than kMaxFibersPerSection fibers
// raise InputError.
std::vector<TFIBER> SectionFibers(const TSECTION& section, int rebarMat);

} // namespace vandra
