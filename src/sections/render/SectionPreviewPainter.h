// Paints the section picture (DrawSectionPreview) with QPainter: the frame section dialog's picture
// and the command-line tool's preview command draw through here.
#pragma once

#include "model/Model.h"
#include "sections/SectionPreview.h"

#include <QImage>

#include <vector>

class QPainter;

namespace vandra {

void PaintSectionPreview(QPainter& painter, const std::vector<PreviewPrimitive>& picture);

// The kPreviewSize square picture of section s.
QImage SectionPreviewImage(const TSECTION& s);

} // namespace vandra
