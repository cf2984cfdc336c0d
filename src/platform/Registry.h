#pragma once
// The registry: values read and written by key and name, in the views a
// 64-bit system keeps of its machine-wide keys.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/Result.h"

namespace lsu {

// Numbered as the Win32 predefined key handles.
enum class Hive : std::uint32_t { CurrentUser = 0x80000001u, LocalMachine = 0x80000002u };

// Machine-wide keys exist once per registry view on 64-bit Windows; the
// current user's Run keys are shared, so their rows carry Shared.
enum class RegistryView { Shared, Bits64, Bits32 };

// Registry value types, numbered as the registry numbers them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

// The longest value name the registry takes, in UTF-16 units.
inline constexpr std::size_t kLongestValueName = 16383;

// A value exactly as stored: the name untrimmed (in UTF-8 that keeps every
// UTF-16 name, unpaired surrogates and NULs included), the raw type, and the
// bytes as the registry holds them for every type, so that what is moved is
// what was stored: a string's UTF-16LE units with its terminator, or without
// one, an odd last byte and what follows the terminator included.
struct RegistryValue {
    std::string name;
    std::uint32_t type = kRegSz;
    std::vector<std::uint8_t> data;
    bool operator==(const RegistryValue&) const = default;
};

struct RegistryLocation {
    Hive hive = Hive::CurrentUser;
    RegistryView view = RegistryView::Shared;
    std::string subkey;
    bool operator==(const RegistryLocation&) const = default;
};

// Keys are opened with read rights only for reading; names are compared as
// the registry compares them, ignoring case.
class Registry {
public:
    virtual ~Registry() = default;
    // nullopt: the key could not be opened (missing or refused).
    virtual std::optional<std::vector<RegistryValue>> readValues(const RegistryLocation& key) = 0;
    // The value under the name asked for, in whatever case it is stored.
    virtual std::optional<RegistryValue> readValue(const RegistryLocation& key, const std::string& name) = 0;
    // Writes the value, creating the key (and its parents) when createKey is
    // set; a value of the same name keeps the name it is stored under.
    virtual Status writeValue(const RegistryLocation& key, const RegistryValue& value, bool createKey) = 0;
    virtual Status deleteValue(const RegistryLocation& key, const std::string& name) = 0;
    // The names of the keys directly below the key; nullopt when it cannot be opened.
    virtual std::optional<std::vector<std::string>> readSubkeys(const RegistryLocation& key) = 0;
    // Removes the key when it holds no values and no subkeys. Done when the
    // key is gone afterwards or holds something (which stays); otherwise the
    // system's reason.
    virtual Status removeEmptyKey(const RegistryLocation& key) = 0;
    // Why a change to the key's values (the key created where it is
    // missing) would be refused, as far as the system tells without changing
    // anything; done when nothing is known against it.
    virtual Status checkChange(const RegistryLocation& key) = 0;
    // True when the 64-bit and 32-bit views of this machine key are one key,
    // so that reading both would list each entry twice.
    virtual bool viewsShareKey(Hive hive, const std::string& subkey) = 0;
};

}  // namespace lsu
