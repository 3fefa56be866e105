// The recorder files of the script: their names, their blocks of tags and what each element writes
// into them. The recorder writer and the result readers both use these functions, so the files the
// script asks for are the files the readers open.
#pragma once

#include <string>

namespace vandra::recorder {

// Tags are recorded in blocks of this many consecutive tags, one file per block.
inline constexpr int kBlockSize = 100;

enum class RecorderFile {
    NodeDisplacement, // "node%d.out": time, then X, Y, Z displacement per node
    ElementForce,     // "ele%d.out": time, then the local end forces per element
    SectionFirst,     // "ele%d_secs.out": time, then the deformations of section 1
    SectionLast,      // "ele%d_secn.out": time, then the deformations of section NumIntgrPts
    HingeEndJ,        // "ele%d_hingej.out": time, then section 6 of each beam with hinges
    ModeShape,        // "eigen%d_node%d.out": time, then X, Y, Z of the mode per node
    NodeRotation,     // "node%d_rot.out": time, then the rotations RX, RY, RZ per node
    NodeReaction,     // "react%d.out": time, then FX, FY, FZ, MX, MY, MZ per reaction node
    TrussAxialForce,  // "ele%d_axial.out": time, then the axial force of each corotational truss
    Eigenvalues,      // "Periods.txt": the eigenvalues of the modal analysis on one line
    ModalReport,      // "ModalProperties.txt": the solver's report of periods and mass ratios
};

// The file name (without folder) of a block; `mode` counts only for ModeShape.
std::string FileName(RecorderFile file, int block, int mode = 0);

// Node files: block k (from 0) holds node tags 100k + 1 .. 100k + 100.
inline int NodeFileBlock(int tag) {
    return (tag - 1) / kBlockSize;
}

// Element files: the full blocks of `elementCount` tags are files 1..n (file k holds tags
// 100(k - 1) + 1 .. 100k) and the remainder is file 0, written only when there is a remainder.
inline int ElementFileBlock(int tag, int elementCount) {
    const int block = (tag - 1) / kBlockSize;
    return block < elementCount / kBlockSize ? block + 1 : 0;
}

// The first tag of an element file.
inline int ElementFileFirstTag(int fileBlock, int elementCount) {
    return fileBlock == 0 ? kBlockSize * (elementCount / kBlockSize) + 1
                          : kBlockSize * (fileBlock - 1) + 1;
}

// The place (from 0) of a tag in its block.
inline int PlaceInBlock(int tag) {
    return (tag - 1) % kBlockSize;
}

// A beam with hinges has six sections: the hinge at end I is section 1, the hinge at end J
// section 6, the four between are elastic.
inline constexpr int kHingeSections = 6;

// The section whose deformations show end J of a frame of this type: the last integration point,
// the hinge at J of a beam with hinges, and the one section of a truss.
int EndJSection(int frameType, int numIntgrPts);

// How many values one element of this frame type writes for "section `section` deformation":
// as many as the section has deformations (4 for a fiber section with its torsion: axial strain,
// curvature z, curvature y, twist; 6 when the aggregator adds the two shears), and none for
// elements without that section (elastic, Timoshenko, rigid links, unknown types).
int SectionDeformationCount(int frameType, bool useAggregator, int section, int numIntgrPts);

// How many values one element of this frame type writes for "localForce": the twelve end forces
// of a beam-column and of a truss (N, Vy, Vz, T, My, Mz at end I, then at end J, in its local
// axes), the three moments of a rigid link's zero-length element, and none for a corotational
// truss (the solver's corotTrussSection knows no "localForce") or an unknown type.
int ElementForceCount(int frameType);

// The value of each corotational truss in TrussAxialForce ("axialForce").
inline constexpr int kTrussAxialValues = 1;

} // namespace vandra::recorder
