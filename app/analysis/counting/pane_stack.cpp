#include "pane_stack.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

PaneShares SharesOf(const PaneStack& panes, int clientHeight) {
    if (clientHeight <= 0) {
        return {};
    }
    const float height = static_cast<float>(clientHeight);
    PaneShares shares;
    shares.summary = static_cast<float>(std::max(panes.summaryBottom - panes.summaryTop, kMinimumPaneHeight)) / height;
    shares.table = static_cast<float>(std::max(panes.tableBottom - panes.tableTop, kMinimumPaneHeight)) / height;
    shares.picture = 1.0f - shares.summary - shares.table;
    return shares;
}

PaneStack LayOutPanes(const PaneStack& panes, const PaneShares& shares, int oldClientHeight, int clientHeight) {
    const float height = static_cast<float>(clientHeight);
    PaneStack wanted = panes;
    wanted.tableBottom = clientHeight - (oldClientHeight - panes.tableBottom);
    wanted.tableTop = wanted.tableBottom - static_cast<int>(std::lround(shares.table * height));
    wanted.summaryBottom = wanted.tableTop - (panes.tableTop - panes.summaryBottom);
    wanted.summaryTop = wanted.summaryBottom - static_cast<int>(std::lround(shares.summary * height));
    wanted.pictureBottom = wanted.summaryTop - (panes.summaryTop - panes.pictureBottom);
    const auto settle = [](int now, int next) { return std::abs(next - now) > kPaneEdgeSlack ? next : now; };
    PaneStack placed = panes;
    placed.pictureBottom = settle(panes.pictureBottom, wanted.pictureBottom);
    placed.summaryTop = settle(panes.summaryTop, wanted.summaryTop);
    placed.summaryBottom = settle(panes.summaryBottom, wanted.summaryBottom);
    placed.tableTop = settle(panes.tableTop, wanted.tableTop);
    placed.tableBottom = settle(panes.tableBottom, wanted.tableBottom);
    return placed;
}

bool IsPaneTooLow(const PaneStack& panes) {
    return panes.summaryBottom - panes.summaryTop < kMinimumPaneHeight ||
           panes.tableBottom - panes.tableTop < kMinimumPaneHeight;
}
