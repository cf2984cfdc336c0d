#pragma once
// A user whose answers are scripted, and the platforms the tests of the entry
// operations run on: the suite's clean backend, or the in-memory platform
// where a test makes the system refuse something.

#include <gtest/gtest.h>

#include <tuple>
#include <utility>

#include "operations/Operations.h"
#include "platform/memory/MemoryPlatform.h"
#include "support/Backend.h"
#include "support/Seed.h"

namespace lsu::test {

// What the user was shown: the prompt, the title and the message box style.
using Message = std::tuple<std::string, std::string, int>;

// Gives one answer to every question, No unless a test says otherwise, and
// keeps every message, so that a test can say exactly what the user saw.
class ScriptedPrompts : public UserPrompts {
public:
    bool answer = false;
    std::vector<Message> messages;
    int beeps = 0;

    void tell(const std::string& prompt, const std::string& title, int style) override {
        messages.emplace_back(prompt, title, style);
    }
    bool ask(const std::string& prompt, const std::string& title, int style) override {
        tell(prompt, title, style);
        return answer;
    }
    void beep() override { ++beeps; }
};

// Clicks the row's check box and lets the operation follow it.
inline bool clickBox(Platform& platform, UserPrompts& prompts, StartupEntry& row) {
    row.checked = !row.checked;
    return applyCheckState(platform, prompts, row);
}

// What is written stands, but reading it back fails.
inline void refuseReadBack(MemoryPlatform& platform) {
    platform.failWhen = [written = false](MemoryOp op) mutable {
        if (op == MemoryOp::RegistryWrite) written = true;
        return op == MemoryOp::RegistryRead && std::exchange(written, false);
    };
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

}  // namespace lsu::test
