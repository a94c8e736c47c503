#pragma once
// A splitter with a fixed grid of panes: row heights and column widths are
// set by the program (the last row and column take the rest), the bars
// between panes are drawn in the face colour.
#include <memory>
#include <vector>

#include "window.h"

class CStaticSplitter : public CWindow {
public:
    static constexpr const wchar_t* kClassName = L"VizcamSplitter";
    static constexpr const wchar_t* kBlankPaneClassName = L"VizcamPane";

    bool CreateStatic(HWND parent, int rows, int columns, UINT id);
    // The control id a pane's window must have.
    static UINT PaneId(int row, int column) { return 0xE900 + row * 16 + column; }
    // Takes a pane whose window the caller created as a child of the
    // splitter with PaneId(row, column).
    bool SetPane(int row, int column, std::unique_ptr<CWindow> pane);
    // A pane with an empty window of its own.
    bool CreateBlankPane(int row, int column);
    CWindow* GetPane(int row, int column) const;

    void SetRowHeight(int row, int height);
    void SetColumnWidth(int column, int width);
    // The width of the bar between panes (bar and gap).
    void SetBarWidth(int width);
    int GetRowHeight(int row) const { return m_rowHeights.at(row); }
    int GetColumnWidth(int column) const { return m_columnWidths.at(column); }
    int GetBarWidth() const { return m_barWidth; }
    void RecalcLayout();

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int m_rows = 0;
    int m_columns = 0;
    int m_barWidth = 1;
    std::vector<int> m_rowHeights;
    std::vector<int> m_columnWidths;
    std::vector<std::unique_ptr<CWindow>> m_panes;
};
