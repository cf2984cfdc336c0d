#include <gtest/gtest.h>

#include "base/Utf16.h"
#include "base/WindowsPaths.h"
#include "operations/journal/ChangeJournal.h"
#include "platform/memory/MemoryPlatform.h"

// The journal's lines as they are written and read back: every byte kept,
// damaged lines passed over, the oldest changes dropped at the cap.

namespace lsu {
namespace {

ChangeHeader headerOf(ChangeId id, const std::string& entry = "Tool") {
    return {id, "2026-12-08T23:59:00Z", "test", ChangeAction::Disable, "Registry\\Current User\\Run", entry, {}};
}

const RegistryLocation kRun{Hive::CurrentUser, RegistryView::Shared,
                            "Software\\Microsoft\\Windows\\CurrentVersion\\Run"};

TEST(JournalRecords, KeepEveryNameAndByteAsStored) {
    // An unpaired surrogate and a NUL, as a registry value name may hold them.
    std::u16string units = u"Odd";
    units += {char16_t(0xD800), u'n', char16_t(0), u'x'};
    const std::string name = utf8FromUtf16(units);
    const RegistryValue value{name, 0xFFFF0001u, {0, 0xFF, 0x80, 1}};
    const std::vector<TouchedBefore> places = {{RegistryPlace{kRun, name}, value},
                                               {FilePlace{"C:\\Startup\\\xC3\xA9t\xC3\xA9.lnk"}, Bytes{0, 1, 2, 0xFE}},
                                               {ProfilePlace{"C:\\windows\\win.ini", "windows", "load"}, std::nullopt},
                                               {ServicePlace{"Svc"}, ServiceStart{2, true}},
                                               {KeyPlace{kRun}, Present{}}};
    std::string text = beginLine(headerOf(7, name));
    for (const TouchedBefore& touched : places) text += placeLine(7, touched);
    ChangeEnd end{false, "Access is denied.", {}};
    for (const TouchedBefore& touched : places) end.after.push_back(touched.before);
    text += endLine(7, end, places);
    const auto changes = readJournalText(text);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].header.entry, name);
    ASSERT_EQ(changes[0].places.size(), places.size());
    for (std::size_t at = 0; at < places.size(); ++at) {
        EXPECT_TRUE(samePlace(changes[0].places[at].place, places[at].place)) << at;
        EXPECT_EQ(changes[0].places[at].before, places[at].before) << at;
    }
    ASSERT_TRUE(changes[0].end);
    EXPECT_EQ(changes[0].end->after, end.after);
    EXPECT_EQ(changes[0].end->message, "Access is denied.");
}

TEST(JournalRecords, DamagedLinesArePassedOver) {
    const TouchedBefore touched{RegistryPlace{kRun, "Tool"}, std::nullopt};
    const std::string place = placeLine(1, touched);
    const std::pair<const char*, std::string> damaged[] = {
        {"not JSON", "{\"change\":1,\"event\":\n"},
        {"bytes that are not base64",
         R"({"change":1,"event":"place","place":{"kind":"file","path":"C:\\a"},"before":{"bytes":"QQ=A"}})"
         "\n"},
        {"a value of a type too large",
         R"({"change":1,"event":"place","place":{"kind":"value","hive":"HKCU","view":"shared","key":"K","name":"n"},)"
         R"("before":{"name":"n","type":4294967296,"data":""}})"
         "\n"},
        {"an unknown kind of place", R"({"change":1,"event":"place","place":{"kind":"disk"},"before":null})"
                                     "\n"},
        {"a place of a change never begun", placeLine(2, touched)},
        {"a second beginning", beginLine(headerOf(1))},
        {"an end with too few states", R"({"change":1,"event":"end","outcome":"done","message":"","after":[]})"
                                       "\n"},
        {"a line of another shape", "[1,2,3]\n"},
    };
    for (const auto& [what, line] : damaged) {
        const auto changes = readJournalText(beginLine(headerOf(1)) + place + line);
        ASSERT_EQ(changes.size(), 1u) << what;
        EXPECT_EQ(changes[0].places.size(), 1u) << what;
        EXPECT_FALSE(changes[0].end) << what;
    }
}

TEST(ChangeJournalCap, DropsTheOldestChangesWhole) {
    MemoryPlatform platform;
    constexpr std::size_t kCap = 4000;
    ChangeJournal journal(platform, platform, "test", utcNow, kCap);
    const std::string big(kCap / 4, 'x');
    std::string text;
    for (ChangeId id = 1; id <= 4; ++id)
        text += beginLine(headerOf(id, big)) + placeLine(id, {FolderPlace{"C:\\f"}, Present{}});
    ASSERT_TRUE(platform.ensureFolder(std::string(parentFolderOf(journal.path()))));
    ASSERT_TRUE(platform.writeFile(journal.path(), Bytes(text.begin(), text.end())));
    ASSERT_TRUE(journal.append(beginLine(headerOf(5))));
    const auto kept = journal.read().value();
    ASSERT_EQ(kept.size(), 4u);
    EXPECT_EQ(kept.front().header.id, 2);
    EXPECT_EQ(kept.front().places.size(), 1u);
    EXPECT_EQ(kept.back().header.id, 5);
    EXPECT_LE(platform.readFile(journal.path())->size(), kCap);
}

}  // namespace
}  // namespace lsu
