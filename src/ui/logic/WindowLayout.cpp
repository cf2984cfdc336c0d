#include "ui/logic/WindowLayout.h"

#include <algorithm>

namespace lsu {

Size Form_Resize(Size outer) {
    return {std::max(outer.width, kMinimumWindowTwips), std::max(outer.height, kMinimumWindowTwips)};
}

ListPlacement mtFolders_Resize(const Rect& pane, bool paneVisible, int formWidth, int formScaleWidth,
                               int descriptionWidth) {
    ListPlacement placement;
    Rect& list = placement.list;
    list.top = pane.top + 50;
    list.left = pane.width + 10;
    list.width = std::max(formWidth - pane.width - 200, 300);
    if (!paneVisible) {
        list.left = 50;
        list.width = formScaleWidth - 100;
    }
    list.height = pane.height - 100;
    placement.descriptionLeft = list.width + list.left - descriptionWidth - 100;
    return placement;
}

PaneChildren layoutMenuTree(int width, int height, int splitterWidth, int closeSize) {
    PaneChildren children;
    children.splitter = {width - splitterWidth, 0, splitterWidth, height};
    children.closeButton = {width - closeSize - 30 - splitterWidth, 60, closeSize, closeSize};
    const int treeTop = children.closeButton.top + closeSize + 30;
    children.tree = {60, treeTop, std::max(width - 80 - splitterWidth, 0),
                     std::max(height - (children.closeButton.top + closeSize + 100), 0)};
    return children;
}

int clampSplitter(int position, int paneLeft, int hostWidth) {
    if (position < paneLeft) return paneLeft;
    if (position > hostWidth - 240) return hostWidth - 240;
    return position;
}

}  // namespace lsu
