#pragma once
// The fixed catalog of the 17 sections: the tree the folder pane shows, the
// header texts, and where each registry section lives.

#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace lsu {

struct Section {
    std::string_view key;
    std::string_view caption;
    std::string_view parentKey;  // empty for the root
    std::string_view image;
    std::string_view selectedImage;  // empty: the node keeps its image when selected
    std::string_view description;
    bool isLeaf;
};

inline constexpr std::string_view kRootSectionKey = "All Programs";
inline constexpr std::string_view kStartupAllUsers = "Startup Folder\\All Users";
inline constexpr std::string_view kStartupCurrentUser = "Startup Folder\\Current User";
inline constexpr std::string_view kWinIniLoad = "Win.ini\\Load";
inline constexpr std::string_view kWinIniRun = "Win.ini\\Run";

// In tree order: each parent comes before its children.
const std::vector<Section>& sectionCatalog();
const Section* findSection(std::string_view key);  // exact, case-sensitive

struct RegistrySection {
    std::string_view key;
    Hive hive;
    std::string_view subkey;
};

// The seven registry leaves, in the order GetSubKey compares them.
const std::vector<RegistrySection>& registrySections();

// The images of the tree, in image-list order.
const std::vector<std::string_view>& treeImageKeys();

// Local machine when the key contains "All" in any case, else current user.
Hive GetHKey(std::string_view sSection);
// The Run-type subkey of a registry leaf (exact match), else empty.
std::string GetSubKey(std::string_view sSection);
std::string AddSlash(std::string_view lzPathName);
std::string WinDir(Platform& platform);

bool isRegistrySection(std::string_view key);

}  // namespace lsu
