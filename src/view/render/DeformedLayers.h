// What the view draws for a deformed shape besides the shape itself: the undeformed model drawn
// faintly beneath it, the section values coloured along the frames, and the legend that says what
// the picture shows (the step or the mode with its period, the displacement scale and the largest
// displacement in the model's unit, the colour scale of the section values with its numbers).
// The window, `render` pictures (PNG and SVG) and movies draw them through RedrawModel and
// PaintModel.
#pragma once

#include "model/Model.h"
#include "post/Results.h"
#include "view/Camera.h"

#include <QImage>

#include <string>
#include <vector>

class QPainter;

namespace vandra {

class Canvas;

inline constexpr QRgb kUndeformedColour = qRgb(205, 205, 205);
inline constexpr int kResultColourSteps = 6;
inline constexpr int kResultColourBase = 10; // Palette[10 + k], k = 1..6

// Colour step 1..6 of a section value in the results' colour range: round((v - min) / range * 6)
// held to 1..6; an empty range draws the middle step (3).
int ResultColourStep(double value, const TResults& results);
// The colour of step k (1..6).
QRgb ResultStepColour(int k);

// A deformed shape is drawn: displacements are loaded and the scale is not 0.
bool ShowsDeformation(const TResults& results, const TViewState& view);

// The frames (rigid links apart) at their undisplaced places, one pixel wide in kUndeformedColour.
void DrawUndeformedFrames(Canvas& c, const TModel& model, const TViewState& view);

// Beside every frame with a section value at both ends (a band right of the frame seen from end
// I to end J, so the frame keeps its colour), the colour steps of the values, varying linearly
// from end I to end J (the recorders give the ends only).
void DrawSectionValuesAlong(Canvas& c, const TModel& model, const TProjection& p,
                            const TResults& results);

// The legend's text lines; empty when nothing is loaded to explain.
std::vector<std::string> DeformationLegendLines(const TModel& model, const TResults& results,
                                                const TViewState& view);

// The legend in the top right corner of a width x height picture: its lines, then, with section
// values loaded, the six colour steps each beside the range of values it stands for.
void DrawDeformationLegend(QPainter& p, int width, const TModel& model, const TResults& results,
                           const TViewState& view);

} // namespace vandra
