// What the subject list and the thread list have in common: a virtual report list
// in the list font, three columns whose widths live in the profile, rows made on
// demand, selection into the document's current message, Enter and double click
// asking the frame for the text pane, re-selection of the current row when shown,
// stepping row by row, and the font command.
#pragma once

#include <wx/listctrl.h>

#include <array>
#include <string>

#include "shell/Panes.h"

namespace ek {

class PaneHost;

class CListPaneCtrl : public wxListCtrl, public CListPane {
  public:
    CListPaneCtrl(PaneHost& host, wxWindow* parent, const settings::FontSetting& fontSetting,
                  const settings::ColumnSetting& columnSetting);
    // Writes the column widths (once the columns exist) and the font.
    ~CListPaneCtrl() override;

    wxWindow* GetPaneWindow() override { return this; }

    bool CanGoNext() const override;
    bool CanGoPrev() const override;
    void GoNext() override;
    void GoPrev() override;
    void SelectMessage(int index) override;

    // The row showing message `index`; -1 when no row does.
    virtual long RowOfMessage(int index) const = 0;
    // The message a row shows; -1 outside the rows.
    virtual int MessageOfRow(long row) const = 0;

    // Sets the list font: size in tenths of a point and face (UTF-8) as the user chose.
    void SetListFont(int sizeTenths, const std::string& face);
    int GetFontSize() const { return m_nFontSize; }
    const std::string& GetFaceName() const { return m_strFaceName; }
    void RedrawRows() override { ResetRows(GetItemCount()); }

  protected:
    struct RowText {
        std::array<wxString, 3> text;
        int image = 1;
    };
    // Fills the texts and image of a row that exists.
    virtual void MakeRow(long row, RowText& out) const = 0;

    CEKViewDoc& Doc() const;
    PaneHost& Host() const { return m_host; }

    // Gives the control the list font; on the first call also makes the columns with
    // the widths from the profile.
    void PrepareColumns();
    // Sets the number of rows and forgets every row made so far.
    void ResetRows(long count);
    // Selects and focuses a row; its message becomes the current message.
    void SelectRow(long row);
    long CurrentRow() const { return RowOfMessage(Doc().m_nCurrent); }

    wxString OnGetItemText(long item, long column) const override;
    int OnGetItemImage(long item) const override;

  private:
    struct CachedRow {
        long row = -1;
        RowText value;
    };
    const RowText* Row(long item) const;
    void SaveSettings();
    void OnFont();

    void OnItemSelected(wxListEvent& event);
    void OnItemActivated(wxListEvent& event);
    void OnShow(wxShowEvent& event);

    PaneHost& m_host;
    settings::FontSetting m_fontSetting;
    settings::ColumnSetting m_columnSetting;
    int m_nFontSize = 100;
    std::string m_strFaceName;
    wxFont m_font;
    bool m_bColumnsCreated = false;
    mutable std::array<CachedRow, 64> m_rowCache;
};

}  // namespace ek
