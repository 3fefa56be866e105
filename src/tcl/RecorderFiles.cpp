#include "tcl/RecorderFiles.h"

#include "model/Model.h"
#include "model/NumberText.h"

namespace vandra::recorder {
namespace {

constexpr int kFiberDeformations = 4;      // axial strain, curvature z, curvature y, twist
constexpr int kAggregatedDeformations = 6; // then shear y, shear z
constexpr int kElasticDeformations = 4;    // the elastic sections inside a beam with hinges
constexpr int kEndForces = 12;             // N, Vy, Vz, T, My, Mz at both ends
constexpr int kRigidLinkMoments = 3;       // the zero-length element's springs on 4, 5, 6

} // namespace

std::string FileName(RecorderFile file, int block, int mode) {
    switch (file) {
    case RecorderFile::NodeDisplacement:
        return text::Format("node%d.out", {block});
    case RecorderFile::ElementForce:
        return text::Format("ele%d.out", {block});
    case RecorderFile::SectionFirst:
        return text::Format("ele%d_secs.out", {block});
    case RecorderFile::SectionLast:
        return text::Format("ele%d_secn.out", {block});
    case RecorderFile::HingeEndJ:
        return text::Format("ele%d_hingej.out", {block});
    case RecorderFile::ModeShape:
        return text::Format("eigen%d_node%d.out", {mode, block});
    case RecorderFile::NodeRotation:
        return text::Format("node%d_rot.out", {block});
    case RecorderFile::NodeReaction:
        return text::Format("react%d.out", {block});
    case RecorderFile::TrussAxialForce:
        return text::Format("ele%d_axial.out", {block});
    case RecorderFile::Eigenvalues:
        return "Periods.txt";
    case RecorderFile::ModalReport:
        return "ModalProperties.txt";
    }
    return std::string();
}

int EndJSection(int frameType, int numIntgrPts) {
    if (frameType == kBeamWithHinge) return kHingeSections;
    if (frameType == kTruss || frameType == kCorotTruss) return 1;
    return numIntgrPts;
}

int SectionDeformationCount(int frameType, bool useAggregator, int section, int numIntgrPts) {
    if (section < 1) return 0;
    const int aggregated = useAggregator ? kAggregatedDeformations : kFiberDeformations;
    switch (frameType) {
    case kNonlinearBeamColumn:
    case kDispBeamColumn:
        return section <= numIntgrPts ? aggregated : 0;
    case kBeamWithHinge:
        if (section == 1 || section == kHingeSections) return aggregated;
        return section < kHingeSections ? kElasticDeformations : 0;
    case kTruss: // trusses use the fiber section itself, never the aggregator
    case kCorotTruss:
        return section == 1 ? kFiberDeformations : 0;
    default:
        return 0;
    }
}

int ElementForceCount(int frameType) {
    switch (frameType) {
    case kElasticBeamColumn:
    case kNonlinearBeamColumn:
    case kDispBeamColumn:
    case kBeamWithHinge:
    case kElasticTimoshenkoBeam:
    case kTruss:
        return kEndForces;
    case kRigidBeam:
        return kRigidLinkMoments;
    default: // kCorotTruss writes nothing for "localForce"
        return 0;
    }
}

} // namespace vandra::recorder
