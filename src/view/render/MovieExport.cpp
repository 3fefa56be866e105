#include "view/render/MovieExport.h"

#include "model/Errors.h"
#include "view/render/ModelRenderer.h"
#include "view/render/MovieWriter.h"

#include <algorithm>

namespace vandra {

MovieFrames::MovieFrames(const MovieScene& scene, int fps) : scene_(scene), fps_(fps) {
    const TResults& r = scene.Results;
    if (scene.Motion == MovieMotion::History) {
        const TNodeHistory& h = r.History;
        const size_t filled = std::min({h.X.size(), h.Y.size(), h.Z.size()});
        if (h.Steps < 1 || h.Stride == 0 || filled < static_cast<size_t>(h.Steps) * h.Stride)
            throw InputError("No displacement history is loaded: there is nothing to replay");
        count_ = AnimationFrameCount(scene.Motion, h.Steps, fps);
        step_.ResultMin = r.ResultMin;
        step_.ResultMax = r.ResultMax;
    } else {
        if (r.Disp.X.empty()) throw InputError("No mode shape is loaded: there is nothing to move");
        count_ = AnimationFrameCount(scene.Motion, 0, std::max(fps, 1));
    }
}

void MovieFrames::Draw(QImage& image, int k) {
    TViewState view = scene_.View;
    const TAnimationFrame frame = AnimationFrameAt(scene_.Motion, k, count_);
    if (scene_.Motion == MovieMotion::ModeShape) {
        view.DisplacementScale *= frame.Factor;
        RedrawModel(image, scene_.Model, scene_.Options, view, 0, scene_.Results);
        return;
    }
    const TNodeHistory& h = scene_.Results.History;
    const int step = frame.Step;
    step_.Disp.X.assign(h.StepX(step), h.StepX(step) + h.Stride);
    step_.Disp.Y.assign(h.StepY(step), h.StepY(step) + h.Stride);
    step_.Disp.Z.assign(h.StepZ(step), h.StepZ(step) + h.Stride);
    step_.DispStep = step;
    RedrawModel(image, scene_.Model, scene_.Options, view, 0, step_);
}

void ExportMovie(const std::string& path, int width, int height, int fps, const MovieScene& scene,
                 Progress* progress) {
    MovieFrames frames(scene, fps);
    MovieWriter movie(path, width, height, fps);
    StartProgress(progress, "Writing the movie", frames.Count());
    QImage image(width, height, QImage::Format_RGB32);
    for (int k = 0; k < frames.Count(); ++k) {
        frames.Draw(image, k);
        movie.AddFrame(image);
        AddProgress(progress, 1);
    }
    movie.Finish();
}

} // namespace vandra
