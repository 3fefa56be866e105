// A movie of the model view: every loaded step of the displacement history replayed (a time
// history or a pushover), or the loaded mode shape swinging through one period. Each frame is what
// RedrawModel draws for that step, so the movie shows what the view and `render` show.
#pragma once

#include "model/Model.h"
#include "model/Progress.h"
#include "post/Animation.h"
#include "post/Results.h"
#include "view/Camera.h"
#include "view/ViewOptions.h"

#include <QImage>

#include <string>

namespace vandra {

// History: step k of results.History, k = 1..Steps, one step a frame. ModeShape: results.Disp
// times sin(2 pi k / fps), one period a second of movie. The window's animation steps the same way.
using MovieMotion = AnimationMotion;

// What a movie shows: the model as the view draws it with these options and this camera (its
// DisplacementScale scales the displacements), moved as `Motion` says.
struct MovieScene {
    const TModel& Model;
    const TViewOptions& Options;
    TViewState View;
    const TResults& Results;
    MovieMotion Motion = MovieMotion::History;
};

// The frames of a movie, drawn one at a time.
class MovieFrames {
public:
    // InputError "No displacement history is loaded" / "No mode shape is loaded" when the results
    // hold nothing to move.
    MovieFrames(const MovieScene& scene, int fps);
    int Count() const { return count_; }
    // Draws frame k (0..Count() - 1) into image, at the image's size: for a history, step k + 1
    // as `render --step k+1` draws it; for a mode shape, the shape at the scale
    // View.DisplacementScale * sin(2 pi k / fps).
    void Draw(QImage& image, int k);

private:
    const MovieScene& scene_;
    int fps_;
    int count_ = 0;
    TResults step_; // the displacements of the history step being drawn
};

// Draws every frame at width x height and writes them as a movie (MP4 or GIF by the extension)
// through MovieWriter, whose refusals it passes on. Counts one unit of progress a frame; a cancel
// (Cancelled) or a failure leaves no file and a previous file of that name as it was.
void ExportMovie(const std::string& path, int width, int height, int fps, const MovieScene& scene,
                 Progress* progress);

} // namespace vandra
