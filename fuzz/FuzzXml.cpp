// Reads any bytes as an XML document: malformed input is refused, never a
// crash or an endless loop, and what is read stays within the bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/formats/XmlDocument.h"

namespace {

std::size_t nodesWithin(const lsu::formats::XmlElement& element, std::size_t depth) {
    if (depth > lsu::formats::kMaxXmlDepth || element.localName.empty()) std::abort();
    std::size_t nodes = 1 + element.attributes.size();
    for (const auto& child : element.children) nodes += nodesWithin(child, depth + 1);
    return nodes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto root = lsu::formats::parseXml(std::span(data, size));
    if (root && nodesWithin(*root, 1) > lsu::formats::kMaxXmlNodes) std::abort();
    if (!root && root.error().kind != lsu::ErrorKind::DamagedData) std::abort();
    return 0;
}
