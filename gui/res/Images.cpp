#include "gui/res/Images.h"

#include <algorithm>
#include <vector>

#include "gui/res/Menus.h"
#include "shell/Resource.h"

namespace ek {

namespace {

#include "kAppIconSvg.inc"
#include "kToolBarSvg.inc"

// Bitmap resource 131, 10 x 11: the paper clip, then the blank image.
const char* const kClipXpm[] = {
    "10 11 2 1",  ". c None",   "# c #000000", ".###......", "#...#.....",
    "#.#.#.....", "#.#.#.....", "#.#.#.....",  "#.#.#.....", "#.#.#.....",
    "#.#.#.....", "#.#.......", "#.#.......",  ".#........",
};

const wxSize kButton(16, 15);

template <std::size_t N>
wxBitmap RenderSvg(const unsigned char (&svg)[N], wxSize size) {
    return wxBitmapBundle::FromSVG(svg, N, size).GetBitmap(size);
}

// The strip holds one image per button, in the tool bar's order.
std::vector<int> StripOrder() {
    std::vector<int> order;
    for (int id : ToolBarLayout()) {
        if (id != ID_SEPARATOR) {
            order.push_back(id);
        }
    }
    return order;
}

}  // namespace

std::unique_ptr<wxImageList> CreateListImages() {
    wxBitmap strip(kClipXpm);
    auto images = std::make_unique<wxImageList>(5, 11, true, 2);
    images->Add(strip.GetSubBitmap(wxRect(0, 0, 5, 11)));
    images->Add(strip.GetSubBitmap(wxRect(5, 0, 5, 11)));
    return images;
}

wxBitmapBundle ToolBarImage(int commandId) {
    static const std::vector<int> order = StripOrder();
    auto found = std::find(order.begin(), order.end(), commandId);
    if (found == order.end()) {
        return {};
    }
    // Each scale is drawn from the source itself, not enlarged from the smaller image.
    auto index = static_cast<int>(found - order.begin());
    std::vector<wxBitmap> variants;
    for (int scale : {1, 2}) {
        wxSize size(kButton.x * static_cast<int>(order.size()) * scale, kButton.y * scale);
        variants.push_back(RenderSvg(kToolBarSvg, size)
                               .GetSubBitmap(wxRect(index * kButton.x * scale, 0, kButton.x * scale,
                                                    kButton.y * scale)));
    }
    return wxBitmapBundle::FromBitmaps(variants[0], variants[1]);
}

wxIcon AppIcon() {
    wxIcon icon;
    icon.CopyFromBitmap(RenderSvg(kAppIconSvg, wxSize(32, 32)));
    return icon;
}

}  // namespace ek
