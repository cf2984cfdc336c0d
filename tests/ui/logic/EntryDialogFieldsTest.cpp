#include <gtest/gtest.h>

#include "catalog/Sections.h"
#include "platform/memory/MemoryPlatform.h"
#include "ui/logic/EntryDialogFields.h"

namespace lsu {
namespace {

constexpr char kRun[] = "Registry\\Current User\\Run";

EntryField refusedField(const EntryForm& form, bool forAdd = true) {
    auto problem = entryFieldProblem(form, forAdd);
    EXPECT_TRUE(problem) << form.name << " | " << form.commandLine << " | " << form.section;
    return problem ? problem->field : EntryField::Description;
}

TEST(EntryDialogFields, AddOffersNoWinIniSectionAndStartsEmpty) {
    const EntryDialogSetup add = addDialogSetup();
    EXPECT_EQ(add.caption, "Add new program");
    EXPECT_EQ(add.sections.size(), 9u);
    for (const auto& section : add.sections) EXPECT_EQ(section.rfind("Win.ini", 0), std::string::npos) << section;
    EXPECT_TRUE(add.form.name.empty() && add.form.commandLine.empty() && add.form.section.empty());
}

TEST(EntryDialogFields, EditShowsTheRowInAllElevenSections) {
    StartupEntry row;
    row.Name = "Tray";
    row.CommandLine = "tray.exe /quiet";
    row.Section = std::string(kWinIniLoad);
    const EntryDialogSetup edit = editDialogSetup(row);
    EXPECT_EQ(edit.caption, "Edit program");
    EXPECT_EQ(edit.sections.size(), 11u);
    EXPECT_FALSE(edit.forAdd);
    EXPECT_EQ(edit.form.name, "Tray");
    EXPECT_EQ(edit.form.commandLine, "tray.exe /quiet");
    EXPECT_EQ(edit.form.section, kWinIniLoad);
    row.Section = "All Programs";  // a group is no place to write to: nothing is chosen
    EXPECT_TRUE(editDialogSetup(row).form.section.empty());
}

TEST(EntryDialogFields, EmptyFieldsAreRefusedOneAtATimeInOrder) {
    auto all = entryFieldProblem({}, true);
    ASSERT_TRUE(all);
    EXPECT_EQ(all->prompt, "Enter description for Program");
    EXPECT_EQ(all->title, "Description empty");
    EXPECT_EQ(all->style, 64);
    EXPECT_EQ(all->field, EntryField::Description);

    auto command = entryFieldProblem({"Tool", "", kRun}, true);
    ASSERT_TRUE(command);
    EXPECT_EQ(command->prompt, "Enter Command line for Program");
    EXPECT_EQ(command->title, "Command line empty");
    EXPECT_EQ(command->field, EntryField::CommandLine);

    auto section = entryFieldProblem({"Tool", "tool.exe", ""}, true);
    ASSERT_TRUE(section);
    EXPECT_EQ(section->prompt, "Select section to add program");
    EXPECT_EQ(section->title, "Section not select");
    EXPECT_EQ(section->field, EntryField::Section);
}

TEST(EntryDialogFields, OnlyTheEmptyDescriptionFailsTheFirstCheck) {
    EXPECT_FALSE(entryFieldProblem({" ", "tool.exe", kRun}, true));
    EXPECT_FALSE(entryFieldProblem({"Tool", "tool.exe", kRun}, true));
}

TEST(EntryDialogFields, RefusesWhatTheOperationWouldNotWrite) {
    // A link's name becomes a file name in the Startup folder.
    EXPECT_EQ(refusedField({"..\\..\\evil", "tool.exe", std::string(kStartupCurrentUser)}), EntryField::Description);
    EXPECT_EQ(refusedField({" ", "tool.exe", std::string(kStartupAllUsers)}), EntryField::Description);
    EXPECT_EQ(refusedField({"NUL", "tool.exe", std::string(kStartupAllUsers)}), EntryField::Description);
    // Add cannot write a win.ini line; Edit can.
    EXPECT_EQ(refusedField({"Tool", "tool.exe", std::string(kWinIniRun)}, true), EntryField::Section);
    EXPECT_FALSE(entryFieldProblem({"Tool", "tool.exe", std::string(kWinIniRun)}, false));
    auto refused = entryFieldProblem({"a:b", "tool.exe", std::string(kStartupCurrentUser)}, true);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->style, 48);
    EXPECT_FALSE(refused->prompt.empty());
}

TEST(EntryDialogFields, BrowsingStartsInTheCommandLinesFolder) {
    MemoryPlatform platform;
    platform.putFile("C:\\Program Files\\My App\\app.exe", {'x'});
    EXPECT_EQ(browseFolderFor(platform, "C:\\Program Files\\My App\\app.exe /tray"), "C:\\Program Files\\My App");
    EXPECT_EQ(browseFolderFor(platform, "\"C:\\Program Files\\My App\\gone.exe\" -x"), "C:\\Program Files\\My App");
    EXPECT_EQ(browseFolderFor(platform, " C:\\Program Files\\My App "), "C:\\Program Files\\My App");
    EXPECT_EQ(browseFolderFor(platform, "%SystemRoot%\\notepad.exe"), "C:\\windows");
    EXPECT_EQ(browseFolderFor(platform, "D:\\nowhere\\tool.exe"), "");
    EXPECT_EQ(browseFolderFor(platform, "tool.exe"), "");
    EXPECT_EQ(browseFolderFor(platform, ""), "");
}

TEST(EntryDialogFields, AChosenPathWithASpaceIsQuoted) {
    EXPECT_EQ(commandLineForChosenFile("C:\\Tools\\tool.exe"), "C:\\Tools\\tool.exe");
    EXPECT_EQ(commandLineForChosenFile("C:\\Program Files\\My App\\app.exe"), "\"C:\\Program Files\\My App\\app.exe\"");
}

}  // namespace
}  // namespace lsu
