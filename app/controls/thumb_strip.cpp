#include "thumb_strip.h"

#include <algorithm>
#include <future>
#include <thread>

#include "packed_point.h"
#include "picture_file_dialogs.h"
#include "thumb_messages.h"
#include "thumb_rules.h"

namespace {

constexpr const wchar_t* kClassName = L"VizcamThumbStrip";

}  // namespace

CThumbStrip::~CThumbStrip() {
    DestroyItems();
    DestroyWindow();
}

bool CThumbStrip::Create(HWND parent, int x, int y, DWORD style) {
    RegisterWindowClass(kClassName, 0, nullptr);
    m_parent = parent;
    m_x = x;
    m_y = y;
    return CreateEx(0, kClassName, L"", style | WS_CHILD | WS_CLIPCHILDREN, RECT{x, y, x, y}, parent, kControlId);
}

void CThumbStrip::DestroyItems() {
    m_items.clear();
    m_paths.clear();
}

void CThumbStrip::SetGrid(int rows, int columns) {
    DestroyItems();
    m_rows = std::max(0, rows);
    m_columns = std::max(0, columns);
    m_selectedRow = m_selectedColumn = -1;
    m_stripWidth = m_columns * m_zoom * CThumbnailItem::kCellWidth;
    m_stripHeight = m_rows * m_zoom * CThumbnailItem::kCellHeight;
    SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_stripWidth, m_stripHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    HWND host = m_parent ? GetParent(m_parent) : nullptr;
    if (!host) {
        host = m_parent;
    }
    const int cellWidth = m_zoom * CThumbnailItem::kCellWidth;
    const int cellHeight = m_zoom * CThumbnailItem::kCellHeight;
    m_paths.assign(static_cast<std::size_t>(m_rows), std::vector<std::wstring>(static_cast<std::size_t>(m_columns)));
    m_items.resize(static_cast<std::size_t>(m_rows));
    for (int i = 0; i < m_rows; ++i) {
        for (int j = 0; j < m_columns; ++j) {
            auto item = std::make_unique<CThumbnailItem>();
            item->Create(m_hWnd, host, &m_dialogs, MakeCellId(i, j), m_zoom, j * cellWidth, i * cellHeight);
            m_items[static_cast<std::size_t>(i)].push_back(std::move(item));
        }
    }
}

bool CThumbStrip::InGrid(int row, int column) const {
    return row >= 0 && row < m_rows && column >= 0 && column < m_columns;
}

CThumbnailItem* CThumbStrip::GetItem(int row, int column) const {
    return InGrid(row, column) ? m_items[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].get()
                               : nullptr;
}

bool CThumbStrip::HoldsPath(const std::wstring& path) const {
    for (const auto& row : m_paths) {
        for (const std::wstring& held : row) {
            if (!held.empty() && SamePath(held, path)) {
                return true;
            }
        }
    }
    return false;
}

bool CThumbStrip::FreeCell(int& row, int& column) const {
    for (int i = 0; i < m_rows; ++i) {
        for (int j = 0; j < m_columns; ++j) {
            if (GetItem(i, j)->GetPath().empty()) {
                row = i;
                column = j;
                return true;
            }
        }
    }
    return false;
}

int CThumbStrip::FreeCellCount() const {
    int count = 0;
    for (const auto& row : m_items) {
        count += static_cast<int>(
            std::count_if(row.begin(), row.end(), [](const auto& item) { return item->GetPath().empty(); }));
    }
    return count;
}

bool CThumbStrip::AddFile(const std::wstring& path) {
    int row = 0;
    int column = 0;
    if (HoldsPath(path) || !FreeCell(row, column)) {
        return false;
    }
    CThumbnailItem* item = GetItem(row, column);
    if (!item->LoadImage(path)) {
        return false;
    }
    m_paths[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = path;
    return true;
}

int CThumbStrip::AddFiles() {
    if (m_rows <= 1 && m_columns <= 1) {
        return 0;
    }
    std::vector<std::wstring> chosen = m_dialogs.ChoosePictures(m_hWnd);
    int added = 0;
    std::size_t next = 0;
    // As many files as there are free cells are decoded side by side, then
    // placed in the dialog's order; files that fail leave their cell to the
    // next batch.
    while (next < chosen.size()) {
        const int freeCells = FreeCellCount();
        if (freeCells == 0) {
            break;
        }
        std::vector<std::wstring> batch;
        for (; next < chosen.size() && static_cast<int>(batch.size()) < freeCells; ++next) {
            const std::wstring& path = chosen[next];
            const bool repeated = std::any_of(batch.begin(), batch.end(),
                                              [&](const std::wstring& other) { return SamePath(other, path); });
            if (!repeated && !HoldsPath(path)) {
                batch.push_back(path);
            }
        }
        const std::size_t workers = std::max(1u, std::thread::hardware_concurrency());
        for (std::size_t first = 0; first < batch.size(); first += workers) {
            const std::size_t last = std::min(batch.size(), first + workers);
            std::vector<std::future<std::unique_ptr<CellPicture>>> decoding;
            for (std::size_t k = first; k < last; ++k) {
                decoding.push_back(
                    std::async(std::launch::async, [path = batch[k]] { return DecodeCellPicture(path); }));
            }
            for (auto& pending : decoding) {
                std::unique_ptr<CellPicture> picture = pending.get();
                int row = 0;
                int column = 0;
                if (!picture || !FreeCell(row, column)) {
                    continue;
                }
                const std::wstring path = picture->path;
                GetItem(row, column)->TakePicture(std::move(*picture));
                m_paths[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = path;
                ++added;
            }
        }
    }
    return added;
}

void CThumbStrip::RemoveAllItems() {
    for (int i = 0; i < m_rows; ++i) {
        for (int j = 0; j < m_columns; ++j) {
            GetItem(i, j)->Clear();
            m_paths[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)].clear();
        }
    }
}

bool CThumbStrip::RemoveCell(int row, int column) {
    if (!InGrid(row, column)) {
        return false;
    }
    m_paths[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)].clear();
    GetItem(row, column)->Clear();
    return true;
}

bool CThumbStrip::RemoveItem() { return RemoveCell(m_selectedRow, m_selectedColumn); }

const std::vector<std::vector<std::wstring>>& CThumbStrip::GetCells(int& rows, int& columns) const {
    rows = m_rows;
    columns = m_columns;
    return m_paths;
}

bool CThumbStrip::IsEmpty() const {
    for (const auto& row : m_paths) {
        for (const std::wstring& path : row) {
            if (!path.empty()) {
                return false;
            }
        }
    }
    return true;
}

bool CThumbStrip::IsFull() const {
    for (const auto& row : m_paths) {
        for (const std::wstring& path : row) {
            if (path.empty()) {
                return false;
            }
        }
    }
    return true;
}

bool CThumbStrip::ZoomIn() {
    if (m_zoom >= kMaxZoom) {
        return false;
    }
    ++m_zoom;
    Relayout();
    return true;
}

bool CThumbStrip::ZoomOut() {
    if (m_zoom <= 1) {
        return false;
    }
    --m_zoom;
    Relayout();
    return true;
}

void CThumbStrip::Relayout() {
    m_stripWidth = m_columns * m_zoom * CThumbnailItem::kCellWidth;
    m_stripHeight = m_rows * m_zoom * CThumbnailItem::kCellHeight;
    SetWindowPos(m_hWnd, nullptr, m_x, m_y, m_stripWidth, m_stripHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    const int cellWidth = m_zoom * CThumbnailItem::kCellWidth;
    const int cellHeight = m_zoom * CThumbnailItem::kCellHeight;
    for (int i = 0; i < m_rows; ++i) {
        for (int j = 0; j < m_columns; ++j) {
            CThumbnailItem* item = GetItem(i, j);
            item->SetZoom(m_zoom);
            SetWindowPos(item->GetSafeHwnd(), nullptr, j * cellWidth, i * cellHeight, cellWidth, cellHeight,
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

CThumbnailItem* CThumbStrip::ItemAt(POINT screen, int& row, int& column) const {
    for (int i = 0; i < m_rows; ++i) {
        for (int j = 0; j < m_columns; ++j) {
            RECT r{};
            GetWindowRect(GetItem(i, j)->GetSafeHwnd(), &r);
            if (PtInRect(&r, screen)) {
                row = i;
                column = j;
                return GetItem(i, j);
            }
        }
    }
    return nullptr;
}

void CThumbStrip::OnDragOver(WPARAM point) {
    const PackedPoint p = UnpackPoint(static_cast<std::uint64_t>(point));
    for (const auto& row : m_items) {
        for (const auto& item : row) {
            item->SetDropHighlight(-1);
        }
    }
    int row = 0;
    int column = 0;
    if (CThumbnailItem* target = ItemAt(POINT{p.x, p.y}, row, column)) {
        target->SetDropHighlight(CThumbnailItem::kDropWholeCell);
    }
}

void CThumbStrip::OnDrop(WPARAM point, LPARAM source) {
    const PackedPoint p = UnpackPoint(static_cast<std::uint64_t>(point));
    for (const auto& row : m_items) {
        for (const auto& item : row) {
            item->SetDropHighlight(-1);
        }
    }
    const int sourceRow = CellRow(static_cast<std::uint64_t>(source));
    const int sourceColumn = CellColumn(static_cast<std::uint64_t>(source));
    int row = 0;
    int column = 0;
    CThumbnailItem* target = ItemAt(POINT{p.x, p.y}, row, column);
    if (!target || !InGrid(sourceRow, sourceColumn)) {
        return;
    }
    m_selectedRow = row;
    m_selectedColumn = column;
    if (row == sourceRow && column == sourceColumn) {
        return;
    }
    auto& a = m_items[static_cast<std::size_t>(sourceRow)][static_cast<std::size_t>(sourceColumn)];
    auto& b = m_items[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    RECT placeA{};
    RECT placeB{};
    GetWindowRect(a->GetSafeHwnd(), &placeA);
    GetWindowRect(b->GetSafeHwnd(), &placeB);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&placeA), 2);
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&placeB), 2);
    const std::uint32_t idA = a->GetCellId();
    a->SetCellId(b->GetCellId());
    b->SetCellId(idA);
    SetWindowPos(a->GetSafeHwnd(), nullptr, placeB.left, placeB.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(b->GetSafeHwnd(), nullptr, placeA.left, placeA.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::swap(a, b);
    std::swap(m_paths[static_cast<std::size_t>(sourceRow)][static_cast<std::size_t>(sourceColumn)],
              m_paths[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]);
    InvalidateRect(a->GetSafeHwnd(), nullptr, FALSE);
    InvalidateRect(b->GetSafeHwnd(), nullptr, FALSE);
}

LRESULT CThumbStrip::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_THUMB_DRAG_OVER: OnDragOver(wParam); return 0;
    case WM_THUMB_DROP: OnDrop(wParam, lParam); return 0;
    case WM_THUMB_SELECT:
        m_selectedRow = CellRow(static_cast<std::uint64_t>(lParam));
        m_selectedColumn = CellColumn(static_cast<std::uint64_t>(lParam));
        return 0;
    case WM_THUMB_CHECK_DUPLICATE: {
        const auto* path = reinterpret_cast<const std::wstring*>(wParam);
        CThumbnailItem* item =
            GetItem(CellRow(static_cast<std::uint64_t>(lParam)), CellColumn(static_cast<std::uint64_t>(lParam)));
        if (path && item && HoldsPath(*path)) {
            item->SetAccept(false);
        }
        return 0;
    }
    case WM_THUMB_SET_PATH: {
        const auto* path = reinterpret_cast<const std::wstring*>(wParam);
        const int row = CellRow(static_cast<std::uint64_t>(lParam));
        const int column = CellColumn(static_cast<std::uint64_t>(lParam));
        if (path && InGrid(row, column)) {
            m_paths[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = *path;
        }
        return 0;
    }
    case WM_SIZE:
        if (LOWORD(lParam) != m_stripWidth || HIWORD(lParam) != m_stripHeight) {
            SetWindowPos(m_hWnd, nullptr, 0, 0, m_stripWidth, m_stripHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return 0;
    case WM_ERASEBKGND: return 0;
    default: break;
    }
    return Default(message, wParam, lParam);
}
