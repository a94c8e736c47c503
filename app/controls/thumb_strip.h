#pragma once
// The thumbnail grid: a fixed grid of rows x columns picture cells that the
// user fills from file dialogs, reorders by dragging one cell onto another,
// selects by clicking and zooms in four steps. The dialog that embeds it
// reads back the path of every cell in grid order.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "thumbnail_item.h"
#include "window.h"

class IPictureFileDialogs;

class CThumbStrip : public CWindow {
public:
    static constexpr UINT kControlId = 0xFFFF;
    static constexpr int kMaxZoom = 4;

    // dialogs runs the file dialogs; it outlives the grid.
    explicit CThumbStrip(IPictureFileDialogs& dialogs) : m_dialogs(dialogs) {}
    ~CThumbStrip() override;

    bool Create(HWND parent, int x, int y, DWORD style);
    // Rebuilds rows x columns empty cells at the current zoom.
    void SetGrid(int rows, int columns);
    // Files chosen in the multi-selection dialog go into the free cells in
    // row order (decoded side by side, placed in the dialog's order); the
    // number added. 0 at once for a grid of one cell.
    int AddFiles();
    // The file goes into the first free cell in row order; false when a cell
    // holds it already (without case), no cell is free or it cannot be read.
    bool AddFile(const std::wstring& path);
    void RemoveAllItems();
    bool RemoveCell(int row, int column);
    // Clears the selected cell; true when a cell was cleared.
    bool RemoveItem();
    const std::vector<std::vector<std::wstring>>& GetCells(int& rows, int& columns) const;
    bool IsEmpty() const;
    bool IsFull() const;
    // False at the limit (4 and 1), changing nothing.
    bool ZoomIn();
    bool ZoomOut();
    SIZE GetStripSize() const { return SIZE{m_stripWidth, m_stripHeight}; }

    int GetZoom() const { return m_zoom; }
    int GetSelectedRow() const { return m_selectedRow; }
    int GetSelectedColumn() const { return m_selectedColumn; }
    CThumbnailItem* GetItem(int row, int column) const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Relayout();
    void DestroyItems();
    bool HoldsPath(const std::wstring& path) const;
    // The first free cell in row order, or false.
    bool FreeCell(int& row, int& column) const;
    int FreeCellCount() const;
    void OnDragOver(WPARAM point);
    void OnDrop(WPARAM point, LPARAM source);
    CThumbnailItem* ItemAt(POINT screen, int& row, int& column) const;
    bool InGrid(int row, int column) const;

    IPictureFileDialogs& m_dialogs;
    HWND m_parent = nullptr;
    std::vector<std::vector<std::unique_ptr<CThumbnailItem>>> m_items;
    int m_columns = 0;
    int m_rows = 0;
    int m_stripWidth = 0;
    int m_stripHeight = 0;
    int m_x = 0;
    int m_y = 0;
    int m_zoom = 1;
    std::vector<std::vector<std::wstring>> m_paths;
    int m_selectedRow = -1;
    int m_selectedColumn = -1;
};
