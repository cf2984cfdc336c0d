#pragma once
// The pictures of the section tree's nodes.

#include "catalog/Sections.h"

namespace lsu {

// In the order of the tree's image list.
enum class TreeImage { OpenFolder, Registry, StartupFolder, User, ClosedFolder, Users, App, Task };
inline constexpr int kTreeImageCount = 8;

struct NodeImages {
    TreeImage shown;
    TreeImage selected;
    bool operator==(const NodeImages&) const = default;
};

// A group shows what it gathers; a Startup folder its users; packaged apps
// and scheduled tasks their own pictures; any other leaf is a closed folder
// that opens when selected.
NodeImages nodeImagesOf(SectionId id);

}  // namespace lsu
