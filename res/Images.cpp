#include "res/Images.h"

#include <wx/dcmemory.h>
#include <wx/image.h>

#include <array>

#include "res/Resource.h"

namespace ek {

namespace {

// Bitmap resource 131, 10 x 11: the paper clip, then the blank image.
const char* const kClipXpm[] = {
    "10 11 2 1",  ". c None",   "# c #000000", ".###......", "#...#.....",
    "#.#.#.....", "#.#.#.....", "#.#.#.....",  "#.#.#.....", "#.#.#.....",
    "#.#.#.....", "#.#.......", "#.#.......",  ".#........",
};

constexpr int kButtonWidth = 16;
constexpr int kButtonHeight = 15;

const wxColour kMask(255, 0, 255);
const wxColour kInk(0, 0, 0);
const wxColour kPaper(255, 255, 255);
const wxColour kFolder(224, 192, 64);
const wxColour kBlue(0, 64, 160);
const wxColour kGrey(128, 128, 128);
const wxColour kTeal(0, 128, 128);

void Page(wxDC& dc, int x, int y, int w, int h) {
    dc.SetPen(wxPen(kInk));
    dc.SetBrush(wxBrush(kPaper));
    dc.DrawRectangle(x, y, w, h);
}

void Lines(wxDC& dc, int x, int y, int w, int count, int step, const wxColour& colour) {
    dc.SetPen(wxPen(colour));
    for (int i = 0; i < count; ++i) {
        dc.DrawLine(x, y + i * step, x + w, y + i * step);
    }
}

void Arrow(wxDC& dc, bool left) {
    dc.SetPen(wxPen(kBlue));
    dc.SetBrush(wxBrush(kBlue));
    std::array<wxPoint, 7> shape =
        left ? std::array<wxPoint, 7>{{{2, 7}, {8, 1}, {8, 4}, {13, 4}, {13, 10}, {8, 10}, {8, 13}}}
             : std::array<wxPoint, 7>{{{13, 7}, {7, 1}, {7, 4}, {2, 4}, {2, 10}, {7, 10}, {7, 13}}};
    dc.DrawPolygon(static_cast<int>(shape.size()), shape.data());
}

void DrawButton(wxDC& dc, int id) {
    switch (id) {
        case ID_FILE_OPEN: {
            dc.SetPen(wxPen(kInk));
            dc.SetBrush(wxBrush(kFolder));
            dc.DrawRectangle(1, 4, 12, 9);
            dc.DrawRectangle(1, 3, 5, 2);
            wxPoint flap[] = {{3, 7}, {15, 7}, {13, 12}, {1, 12}};
            dc.SetBrush(wxBrush(wxColour(248, 224, 120)));
            dc.DrawPolygon(4, flap);
            break;
        }
        case ID_FILE_SAVE:
            dc.SetPen(wxPen(kInk));
            dc.SetBrush(wxBrush(kBlue));
            dc.DrawRectangle(1, 1, 14, 13);
            dc.SetBrush(wxBrush(kPaper));
            dc.DrawRectangle(4, 1, 8, 5);
            dc.SetBrush(wxBrush(kGrey));
            dc.DrawRectangle(4, 9, 8, 5);
            break;
        case ID_EDIT_COPY:
            Page(dc, 1, 1, 8, 10);
            Lines(dc, 3, 4, 4, 3, 2, kGrey);
            Page(dc, 6, 4, 9, 10);
            Lines(dc, 8, 7, 5, 3, 2, kGrey);
            break;
        case ID_VIEW_CONTENT:
            Page(dc, 2, 1, 12, 13);
            Lines(dc, 4, 4, 8, 5, 2, kInk);
            break;
        case ID_VIEW_THREAD:
            dc.SetPen(wxPen(kInk));
            dc.DrawLine(3, 3, 3, 12);
            dc.DrawLine(3, 7, 6, 7);
            dc.DrawLine(3, 11, 6, 11);
            dc.DrawLine(8, 9, 8, 12);
            dc.SetBrush(wxBrush(kTeal));
            dc.SetPen(wxPen(kTeal));
            dc.DrawRectangle(1, 1, 5, 3);
            dc.DrawRectangle(6, 6, 6, 3);
            dc.DrawRectangle(6, 10, 8, 3);
            break;
        case ID_VIEW_ALLHEADER:
            Page(dc, 2, 1, 12, 13);
            Lines(dc, 4, 3, 7, 4, 2, kBlue);
            Lines(dc, 4, 11, 5, 1, 2, kGrey);
            break;
        case ID_MAIL_PREV:
            Arrow(dc, true);
            break;
        case ID_MAIL_NEXT:
            Arrow(dc, false);
            break;
        case ID_FILE_PRINT:
            Page(dc, 4, 1, 8, 6);
            dc.SetPen(wxPen(kInk));
            dc.SetBrush(wxBrush(kGrey));
            dc.DrawRectangle(1, 6, 14, 6);
            Page(dc, 4, 10, 8, 4);
            break;
        case ID_APP_ABOUT: {
            dc.SetPen(wxPen(kBlue));
            dc.SetBrush(wxBrush(kBlue));
            dc.DrawCircle(8, 7, 7);
            dc.SetPen(wxPen(kPaper));
            dc.SetBrush(wxBrush(kPaper));
            dc.DrawRectangle(7, 6, 2, 6);
            dc.DrawRectangle(7, 3, 2, 2);
            break;
        }
        default:
            break;
    }
}

}  // namespace

std::unique_ptr<wxImageList> CreateListImages() {
    wxBitmap strip(kClipXpm);
    auto images = std::make_unique<wxImageList>(5, 11, true, 2);
    images->Add(strip.GetSubBitmap(wxRect(0, 0, 5, 11)));
    images->Add(strip.GetSubBitmap(wxRect(5, 0, 5, 11)));
    return images;
}

wxBitmap ToolBarImage(int commandId) {
    wxBitmap bitmap(kButtonWidth, kButtonHeight, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kMask));
        dc.Clear();
        DrawButton(dc, commandId);
    }
    wxImage image = bitmap.ConvertToImage();
    image.SetMaskColour(kMask.Red(), kMask.Green(), kMask.Blue());
    return wxBitmap(image);
}

wxIcon AppIcon() {
    wxBitmap bitmap(32, 32, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(kMask));
        dc.Clear();
        // An envelope with a magnifier: a viewer of mail.
        dc.SetPen(wxPen(kInk, 2));
        dc.SetBrush(wxBrush(kPaper));
        dc.DrawRectangle(2, 7, 24, 17);
        wxPoint flap[] = {{2, 7}, {14, 17}, {26, 7}};
        dc.DrawLines(3, flap);
        dc.SetPen(wxPen(kBlue, 3));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawCircle(22, 20, 6);
        dc.DrawLine(26, 25, 30, 30);
    }
    wxImage image = bitmap.ConvertToImage();
    image.SetMaskColour(kMask.Red(), kMask.Green(), kMask.Blue());
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    return icon;
}

}  // namespace ek
