#pragma once
// A user whose answers are scripted, and the platforms the tests of the entry
// operations run on: the suite's clean backend, or the in-memory platform
// where a test makes the system refuse something.

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "operations/EntryPlaces.h"
#include "operations/Operations.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/Backend.h"
#include "support/Seed.h"
#include "ui/logic/ChangeMessages.h"

namespace lsu::test {

// A question the user was asked: the prompt, the title and the kind of box.
using Question = std::tuple<std::string, std::string, MessageKind>;

// Gives one answer to every question, No unless a test says otherwise, and
// keeps every question, so that a test can say exactly what the user was asked.
class ScriptedPrompts : public UserPrompts {
public:
    bool answer = false;
    std::vector<Question> questions;
    int beeps = 0;

    bool ask(const std::string& prompt, const std::string& title, MessageKind kind) override {
        questions.emplace_back(prompt, title, kind);
        return answer;
    }
    void beep() override { ++beeps; }
};

// A click on a row's check box: what the change came to, and what the
// window showed after it.
struct Click {
    ChangeResult result;
    std::optional<UserMessage> shown;
    explicit operator bool() const { return static_cast<bool>(result); }
};

// Clicks the row's check box and lets the operation follow it.
inline Click clickBox(const SourcePorts& platform, UserPrompts& prompts, StartupEntry& row) {
    row.checked = !row.checked;
    const StartupEntry asked = row;
    ChangeResult result = applyCheckState(platform, prompts, row);
    std::optional<UserMessage> shown = messageAfterCheckChange(asked, result);
    return {std::move(result), std::move(shown)};
}

// What is written stands, but reading it back fails.
inline void refuseReadBack(MemoryPlatform& platform) {
    platform.failWhen = [written = false](MemoryOp op) mutable {
        if (op == MemoryOp::RegistryWrite) written = true;
        return op == MemoryOp::RegistryRead && std::exchange(written, false);
    };
}

// What stands at the place; nullopt when nothing does, or when it cannot be read.
inline std::optional<EntryContent> standing(const SourcePorts& platform, const EntryPlace& place) {
    const EntryRead read = readEntry(platform, place);
    return read ? *read : std::nullopt;
}

inline ShortcutFields linkTo(const std::string& target, const std::string& arguments = {}) {
    ShortcutFields fields;
    fields.targetPath = target;
    fields.arguments = arguments;
    return fields;
}

class OperationsTest : public BackendTest {
protected:
    ScriptedPrompts prompts;
    const std::string userStartup = startupFolder(platform, SectionId::StartupCurrentUser);
};

class RefusingSystemTest : public ::testing::Test {
protected:
    MemoryPlatform platform;
    ScriptedPrompts prompts;
};

// What a prompt shows after its fixed text when the in-memory system refuses
// to write to a read-only place.
inline const std::string kAccessDeniedReason = "\r\n\r\nAccess is denied. (error 5)";
// What the window shows when the system refused access: why, and the offer
// to restart as administrator.
inline UserMessage needsAdministrator(const std::string& prompt, const std::string& title) {
    return {prompt + kAccessDeniedReason + "\r\n\r\n" + kNeedsAdministratorPrompt, title, MessageKind::Exclamation,
            true};
}
// What it shows when the system names no Startup folder of the current user.
inline const std::string kNoStartupFolderReason =
    "\r\n\r\nThe system names no folder for the entries of Startup Folder\\Current User.";

}  // namespace lsu::test
