#pragma once
// Where the main window's parts go, in twips, and the limits of resizing.

namespace lsu {

inline constexpr int kMinimumWindowTwips = 4000;
inline constexpr int kDesignClientWidthTwips = 10185;
inline constexpr int kDesignClientHeightTwips = 6510;
inline constexpr int kToolbarHeightTwips = 840;
inline constexpr int kHeaderHeightTwips = 390;
inline constexpr int kDesignPaneWidthTwips = 2910;
inline constexpr int kSplitterTwips = 75;
inline constexpr int kPaneCloseTwips = 195;
// The narrowest pane still shows its whole close button beside the grip, so
// that a pane dragged narrow can be closed or dragged wide again.
inline constexpr int kMinimumPaneTwips = 60 + kPaneCloseTwips + 30 + kSplitterTwips;

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
};

// The list beside the folder pane, or alone across the window when the pane
// is hidden.
Rect placeProgramList(const Rect& pane, bool paneVisible, int formWidth, int formScaleWidth);

// The folder pane's children for its inner size. The "Folders" caption
// strip keeps its design place and size, and gives way to the close button
// in a narrower pane.
struct PaneChildren {
    Rect splitter, closeButton, tree, caption;
    bool operator==(const PaneChildren&) const = default;
};
PaneChildren layoutFolderPane(int width, int height);

// Where the splitter bar may be dragged: no nearer to the pane's left edge
// than its least width, no nearer than 240 twips to the right edge of the
// window's outer width.
int clampSplitter(int position, int paneLeft, int formWidth);

}  // namespace lsu
