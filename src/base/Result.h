#pragma once
// One way to fail: what was asked for, or the typed reason it could not be
// had. The kind says what happened, so that the window and the tools can say
// it in their own way (a message box, an exit code); the code and the message
// are the system's own where it gave them.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>

namespace lsu {

enum class ErrorKind {
    System,              // the system refused, for the reason its code and message give
    NotFound,            // the entry, file, key or folder is not where it was looked for
    ReadOnlyVolume,      // the volume takes no writes
    DirtyHive,           // the hive lacks changes its transaction logs hold
    ReadBackMismatch,    // the system took the write, but it did not read back the same
    RefusedByPolicy,     // group policy sets the entry, and sets it again
    DeclinedByUser,      // the user answered No; the message is the question asked
    InvalidInput,        // what the user typed cannot be written
    UnsafeName,          // a name that does not name exactly one place
    OffTheVolume,        // a path that leads off the offline Windows volume
    DamagedData,         // stored data the system or the program cannot take apart
    PartlyDone,          // a change failed half-way and could not be taken back
    NoWindowsVolume,     // the folder named holds no Windows
    NoProfile,           // no user profile stands for the current user
    NotOffered,          // this kind of entry is not changed that way here (a service is never deleted)
    NeedsAdministrator,  // the system refused access: the change needs administrator rights
    NotJournaled,        // the change could not be recorded in the journal first, so it was not made
    ChangedSince,        // a place no longer holds what a change left there: it is not undone
};

struct Error {
    ErrorKind kind = ErrorKind::System;
    std::uint32_t code = 0;  // the system's error number; 0 when it gave none
    std::string message;     // the system's words, or what was refused and why; may be empty
    bool operator==(const Error&) const = default;
};

template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    Result(Error error) : state_(std::in_place_index<1>, std::move(error)) {}

    explicit operator bool() const { return state_.index() == 0; }
    T& value() { return std::get<0>(state_); }
    const T& value() const { return std::get<0>(state_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return std::addressof(value()); }
    const T* operator->() const { return std::addressof(value()); }
    const Error& error() const { return std::get<1>(state_); }
    bool operator==(const Result&) const = default;

private:
    std::variant<T, Error> state_;
};

// Done, or why not.
template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : error_(std::move(error)) {}

    explicit operator bool() const { return !error_; }
    const Error& error() const { return *error_; }
    bool operator==(const Result&) const = default;

private:
    std::optional<Error> error_;
};

using Status = Result<void>;

}  // namespace lsu
