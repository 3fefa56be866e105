#include "post/Envelopes.h"

namespace vandra {

TNodeEnvelope EnvelopeOf(const TNodeHistory& history) {
    TNodeEnvelope envelope;
    envelope.Joints.assign(history.Stride, {});
    for (int k = 1; k <= history.Steps; ++k) {
        const double* xyz[3] = {history.StepX(k), history.StepY(k), history.StepZ(k)};
        for (size_t j = 1; j < history.Stride; ++j)
            for (size_t c = 0; c < 3; ++c)
                Take(envelope.Joints[j][c], xyz[c][j], k);
    }
    return envelope;
}

TNodeField ExtremeField(const TNodeEnvelope& envelope) {
    TNodeField field;
    std::vector<double>* xyz[3] = {&field.X, &field.Y, &field.Z};
    for (size_t c = 0; c < 3; ++c) {
        xyz[c]->reserve(envelope.Joints.size());
        for (const auto& joint : envelope.Joints)
            xyz[c]->push_back(LargerExtreme(joint[c]));
    }
    return field;
}

TReactionEnvelope EnvelopeOf(const TReactionHistory& history) {
    TReactionEnvelope envelope;
    envelope.Joints.assign(history.Joints.size(), {});
    for (int k = 1; k <= history.Steps; ++k) {
        for (size_t j = 0; j < history.Joints.size(); ++j)
            for (size_t c = 0; c < static_cast<size_t>(kReactionComponents); ++c)
                Take(envelope.Joints[j][c], history.At(k, j)[c], k);
        const TReaction total = history.Total(k);
        for (size_t c = 0; c < static_cast<size_t>(kReactionComponents); ++c)
            Take(envelope.Total[c], total[c], k);
    }
    return envelope;
}

} // namespace vandra
