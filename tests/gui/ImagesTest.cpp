// The pictures compiled in from res/: every tool-bar button has an image of its
// own at both scales, drawn (not blank), and the icon is a picture on a clear ground.
#include <wx/image.h>

#include <vector>

#include "GuiTestSupport.h"
#include "gui/res/Images.h"
#include "gui/res/Menus.h"
#include "shell/Resource.h"

namespace ek::test {
namespace {

int OpaquePixels(const wxImage& image) {
    int count = 0;
    for (int y = 0; y < image.GetHeight(); ++y) {
        for (int x = 0; x < image.GetWidth(); ++x) {
            count += !image.HasAlpha() || image.GetAlpha(x, y) > 128 ? 1 : 0;
        }
    }
    return count;
}

bool SamePixels(const wxImage& a, const wxImage& b) {
    std::size_t bytes = static_cast<std::size_t>(a.GetWidth()) * a.GetHeight() * 3;
    return a.GetSize() == b.GetSize() && std::equal(a.GetData(), a.GetData() + bytes, b.GetData());
}

class ImagesTest : public ::testing::Test {
  protected:
    void SetUp() override { EKVIEW_REQUIRE_DISPLAY(); }
};

TEST_F(ImagesTest, EveryButtonHasItsOwnImageAtOneAndTwiceTheScale) {
    std::vector<wxImage> seen;
    for (int id : ToolBarLayout()) {
        if (id == ID_SEPARATOR) {
            continue;
        }
        SCOPED_TRACE(id);
        wxBitmapBundle bundle = ToolBarImage(id);
        ASSERT_TRUE(bundle.IsOk());
        EXPECT_EQ(bundle.GetDefaultSize(), wxSize(16, 15));
        wxImage small = bundle.GetBitmap(wxSize(16, 15)).ConvertToImage();
        wxImage large = bundle.GetBitmap(wxSize(32, 30)).ConvertToImage();
        ASSERT_EQ(small.GetSize(), wxSize(16, 15));
        ASSERT_EQ(large.GetSize(), wxSize(32, 30));
        EXPECT_TRUE(small.HasAlpha()) << "the ground shows through, with no mask colour";
        // Drawn, yet not a filled square: the cell of the strip is the right one.
        int drawn = OpaquePixels(small);
        EXPECT_GT(drawn, 40);
        EXPECT_LT(drawn, 16 * 15);
        EXPECT_NEAR(OpaquePixels(large), 4 * drawn, drawn);
        for (const wxImage& other : seen) {
            EXPECT_FALSE(SamePixels(small, other)) << "two buttons share one image";
        }
        seen.push_back(small);
    }
    EXPECT_EQ(seen.size(), 11u);
    EXPECT_FALSE(ToolBarImage(ID_VIEW_FONT).IsOk());
}

TEST_F(ImagesTest, TheIconIsAPictureOnAClearGround) {
    wxIcon icon = AppIcon();
    ASSERT_TRUE(icon.IsOk());
    EXPECT_EQ(icon.GetSize(), wxSize(32, 32));
    wxBitmap bitmap;
    bitmap.CopyFromIcon(icon);
    wxImage image = bitmap.ConvertToImage();
    ASSERT_TRUE(image.HasAlpha());
    EXPECT_EQ(image.GetAlpha(0, 0), 0);
    EXPECT_EQ(image.GetAlpha(31, 0), 0);
    EXPECT_GT(OpaquePixels(image), 32 * 32 / 3);
}

}  // namespace
}  // namespace ek::test
