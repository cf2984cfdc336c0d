#include "platform/TemporaryNames.h"

#include <algorithm>
#include <cctype>
#include <random>

namespace lsu {

namespace {

constexpr std::string_view kTemporaryMark = ".lstartup-";
constexpr std::size_t kSuffixLength = 6;

std::string randomSuffix() {
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::random_device random;
    std::string suffix;
    for (std::size_t i = 0; i < kSuffixLength; ++i) suffix += kLetters[random() % kLetters.size()];
    return suffix;
}

}  // namespace

std::string temporaryNameFor(std::string_view target) {
    std::string name(1, '.');
    name.append(target).append(kTemporaryMark).append(randomSuffix());
    return name;
}

bool isTemporaryName(std::string_view name) {
    if (!name.starts_with('.') || name.size() < 1 + kTemporaryMark.size() + kSuffixLength) return false;
    const std::size_t mark = name.size() - kTemporaryMark.size() - kSuffixLength;
    return name.substr(mark, kTemporaryMark.size()) == kTemporaryMark &&
           std::all_of(name.end() - kSuffixLength, name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

}  // namespace lsu
