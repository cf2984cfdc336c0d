#include "ui/logic/WindowLayout.h"

#include <algorithm>

namespace lsu {

Rect placeProgramList(const Rect& pane, bool paneVisible, int formWidth, int formScaleWidth) {
    Rect list;
    list.top = pane.top + 50;
    list.left = pane.width + 10;
    list.width = std::max(formWidth - pane.width - 200, 300);
    if (!paneVisible) {
        list.left = 50;
        list.width = formScaleWidth - 100;
    }
    list.height = pane.height - 100;
    return list;
}

PaneChildren layoutFolderPane(int width, int height) {
    PaneChildren children;
    children.splitter = {width - kSplitterTwips, 0, kSplitterTwips, height};
    children.closeButton = {width - kPaneCloseTwips - 30 - kSplitterTwips, 60, kPaneCloseTwips, kPaneCloseTwips};
    const int treeTop = children.closeButton.top + kPaneCloseTwips + 30;
    children.tree = {60, treeTop, std::max(width - 80 - kSplitterTwips, 0),
                     std::max(height - (children.closeButton.top + kPaneCloseTwips + 100), 0)};
    children.caption = {60, 30, std::clamp(children.closeButton.left - 120, 0, 2490), 240};
    return children;
}

// The least width wins over the right edge: the window's own least width
// leaves room for both.
int clampSplitter(int position, int paneLeft, int formWidth) {
    return std::max(std::min(position, formWidth - 240), paneLeft + kMinimumPaneTwips);
}

}  // namespace lsu
