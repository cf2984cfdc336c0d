#include "WindowHarness.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include "platform/win32/WideText.h"
#include "catalog/Sections.h"
#include "support/Seed.h"
#include "ui/logic/WindowLayout.h"

namespace lsu::test {

namespace {

int minimumPixels() { return MulDiv(kMinimumWindowTwips, 96, 1440); }

std::string cell(HWND list, int row, int column) {
    wchar_t text[512] = {};
    ListView_GetItemText(list, row, column, text, static_cast<int>(std::size(text)));
    return win32::narrow(text);
}

}  // namespace

TEST(MainWindowStart, ShowsTheRootExpandedAndSelectedWithEverySeededEntry) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    harness.seedCurrentUserRun("Parked", "C:\\nowhere\\parked.exe", true);
    harness.open();
    EXPECT_EQ(harness.selectedSectionKey(), kRootSectionKey);
    EXPECT_TRUE(harness.sectionExpanded(std::string(kRootSectionKey)));
    EXPECT_EQ(harness.window().headerFolderName(), kRootSectionKey);
    EXPECT_NE(harness.rowNamed("Tool"), -1);
    EXPECT_NE(harness.rowNamed("Parked"), -1);
}

TEST(MainWindowStart, CarriesTheTitleAndTheProgramIcon) {
    WindowHarness harness;
    harness.open();
    wchar_t caption[64] = {};
    GetWindowTextW(harness.main(), caption, 64);
    EXPECT_EQ(std::wstring(caption), L"Tovane StartUp");
    EXPECT_NE(GetClassLongPtrW(harness.main(), GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(harness.main(), GCLP_HICONSM), 0);
}

TEST(MainWindowStart, AsksForAMinimumSizeOf4000Twips) {
    WindowHarness harness;
    harness.open();
    MINMAXINFO limits = {};
    SendMessageW(harness.main(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    EXPECT_EQ(limits.ptMinTrackSize.x, minimumPixels());
    EXPECT_EQ(limits.ptMinTrackSize.y, minimumPixels());
}

TEST(MainWindowStart, SnapsBackWhenMadeSmallerThanTheMinimum) {
    WindowHarness harness;
    harness.open();
    SetWindowPos(harness.main(), nullptr, 0, 0, 100, 120, SWP_NOMOVE | SWP_NOZORDER);
    harness.pump();
    RECT outer;
    GetWindowRect(harness.main(), &outer);
    EXPECT_GE(outer.right - outer.left, minimumPixels());
    EXPECT_GE(outer.bottom - outer.top, minimumPixels());
}

TEST(SectionSelection, LoadsOnlyTheSectionsRowsAndRetitlesTheHeader) {
    WindowHarness harness;
    harness.seedCurrentUserRun("Tool", "C:\\nowhere\\tool.exe");
    seedRegistry(harness.platform(), "Registry\\Current User\\Run Once", stringValue("Once", "C:\\nowhere\\once.exe"));
    harness.open();
    ASSERT_NE(harness.rowNamed("Once"), -1);

    harness.selectSection(kCurrentUserRun);
    EXPECT_EQ(harness.rowNames(), std::vector<std::string>{"Tool"});
    EXPECT_EQ(cell(harness.list(), 0, 3), kCurrentUserRun);
    EXPECT_EQ(harness.window().headerFolderName(), kCurrentUserRun);
    EXPECT_EQ(harness.window().headerDescription(), findSection(kCurrentUserRun)->description);
}

}  // namespace lsu::test
