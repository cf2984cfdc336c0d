#pragma once
// Where the main window's parts go, in twips, and the limits of resizing.

namespace lsu {

inline constexpr int kMinimumWindowTwips = 4000;
inline constexpr int kDesignClientWidthTwips = 10185;
inline constexpr int kDesignClientHeightTwips = 6510;
inline constexpr int kToolbarHeightTwips = 840;
inline constexpr int kHeaderHeightTwips = 390;
inline constexpr int kDesignPaneWidthTwips = 2910;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// The outer size the window snaps back to when dragged below the minimum.
struct Size {
    int width = 0, height = 0;
    bool operator==(const Size&) const = default;
};
Size Form_Resize(Size outer);

struct ListPlacement {
    Rect list;
    int descriptionLeft = 0;
    bool operator==(const ListPlacement&) const = default;
};

// The list beside the folder pane (or alone when the pane is hidden), and
// the description label ending 100 twips left of the list's right edge.
ListPlacement mtFolders_Resize(const Rect& pane, bool paneVisible, int formWidth, int formScaleWidth,
                               int descriptionWidth);

// The folder pane's children for its inner size.
struct PaneChildren {
    Rect splitter, closeButton, tree;
    bool operator==(const PaneChildren&) const = default;
};
PaneChildren layoutMenuTree(int width, int height, int splitterWidth = 75, int closeSize = 195);

// Where the splitter bar may be dragged: not left of the pane, not nearer
// than 240 twips to the host's right edge.
int clampSplitter(int position, int paneLeft, int hostWidth);

}  // namespace lsu
