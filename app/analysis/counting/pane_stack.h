#pragma once
// The count results dialog's three panes, stacked top to bottom (picture,
// summary, table), share the client height: the summary and the table keep
// their shares of it, the picture takes the rest. Platform-free.

// The panes' top and bottom edges in client coordinates.
struct PaneStack {
    int pictureTop = 0;
    int pictureBottom = 0;
    int summaryTop = 0;
    int summaryBottom = 0;
    int tableTop = 0;
    int tableBottom = 0;
    friend bool operator==(const PaneStack&, const PaneStack&) = default;
};

struct PaneShares {
    float picture = 0;
    float summary = 0;
    float table = 0;
};

// Neither the summary nor the table is laid out lower than this.
inline constexpr int kMinimumPaneHeight = 80;
// An edge that would move by this much or less stays where it is.
inline constexpr int kPaneEdgeSlack = 5;

// The shares of `panes` in a client of `clientHeight`, each of the summary
// and the table counted as at least kMinimumPaneHeight.
PaneShares SharesOf(const PaneStack& panes, int clientHeight);

// The panes for a client that changed from `oldClientHeight` to
// `clientHeight`: the table keeps its distance from the bottom, the gaps
// between the panes stay, the summary and table take their shares (rounded,
// so that a resize back gives the panes back) and the picture's top stays.
PaneStack LayOutPanes(const PaneStack& panes, const PaneShares& shares, int oldClientHeight, int clientHeight);

// The summary or the table is lower than kMinimumPaneHeight.
bool IsPaneTooLow(const PaneStack& panes);
