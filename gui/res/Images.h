// The program's pictures, drawn by us: the list images (paper clip and blank), the
// tool-bar buttons and the application icon. The buttons and the icon come from
// the SVG sources gui/res/toolbar.svg and gui/res/icons/ekview.svg, compiled in.
#pragma once

#include <wx/bmpbndl.h>
#include <wx/icon.h>
#include <wx/imaglist.h>

#include <memory>

namespace ek {

// Two 5 x 11 images: 0 a black paper clip (multipart message), 1 blank.
std::unique_ptr<wxImageList> CreateListImages();

// The 16 x 15 image of a tool-bar button's command, with its 32 x 30 variant for
// displays at twice the scale; an empty bundle for other ids.
wxBitmapBundle ToolBarImage(int commandId);

// The application icon (resource 128) at 32 x 32 pixels.
wxIcon AppIcon();

}  // namespace ek
