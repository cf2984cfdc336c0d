#include "ui/win32/EntryDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "platform/win32/WideText.h"
#include "ui/win32/EntryDialogIds.h"
#include "ui/win32/GdiObjects.h"
#include "ui/win32/MessageBoxPrompts.h"
#include "ui/win32/WindowObject.h"

namespace lsu::win32 {

namespace {

std::string controlText(HWND dialog, int id) {
    HWND control = GetDlgItem(dialog, id);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void setControlText(HWND dialog, int id, const std::string& text) { SetDlgItemTextW(dialog, id, widen(text).c_str()); }

EntryForm fieldsOf(HWND dialog, const EntryDialogSetup& setup) {
    EntryForm form{controlText(dialog, LSU_IDC_DESCRIPTION), controlText(dialog, LSU_IDC_COMMAND_LINE), std::nullopt};
    const LRESULT chosen = SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_GETCURSEL, 0, 0);
    if (chosen >= 0 && static_cast<std::size_t>(chosen) < setup.sections.size())
        form.section = setup.sections[static_cast<std::size_t>(chosen)];
    return form;
}

int controlOf(EntryField field) {
    switch (field) {
        case EntryField::CommandLine: return LSU_IDC_COMMAND_LINE;
        case EntryField::Section: return LSU_IDC_SECTION;
        case EntryField::Description: break;
    }
    return LSU_IDC_DESCRIPTION;
}

void setIcons(HWND dialog) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // Shared icons belong to the system's cache and are never destroyed.
    for (auto [which, width, height] :
         {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        HANDLE icon =
            LoadImageW(instance, L"AAA", IMAGE_ICON, GetSystemMetrics(width), GetSystemMetrics(height), LR_SHARED);
        if (icon) SendMessageW(dialog, WM_SETICON, static_cast<WPARAM>(which), reinterpret_cast<LPARAM>(icon));
    }
}

// The browse button lies over the right end of the command line. A dialog
// stacks its controls in their Tab order, which puts the box above the
// button; the box leaves the button's corner out of its own region, and its
// text stops short of it.
void makeRoomForBrowseButton(HWND dialog) {
    HWND box = GetDlgItem(dialog, LSU_IDC_COMMAND_LINE);
    RECT boxArea, button;
    GetWindowRect(box, &boxArea);
    GetWindowRect(GetDlgItem(dialog, LSU_IDC_FIND), &button);
    OffsetRect(&button, -boxArea.left, -boxArea.top);
    RegionHandle region(CreateRectRgn(0, 0, boxArea.right - boxArea.left, boxArea.bottom - boxArea.top));
    RegionHandle corner(CreateRectRgnIndirect(&button));
    CombineRgn(region.get(), region.get(), corner.get(), RGN_DIFF);
    // The box owns its region once it has taken it.
    if (SetWindowRgn(box, region.get(), TRUE)) region.release();
    SendMessageW(box, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, boxArea.right - boxArea.left - button.left));
}

void setUpDialog(HWND dialog, const EntryDialogSetup& setup) {
    setIcons(dialog);
    makeRoomForBrowseButton(dialog);
    SetWindowTextW(dialog, widen(setup.caption).c_str());
    for (SectionId id : setup.sections)
        SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(widen(section(id).key).c_str()));
    const auto at = setup.form.section ? std::find(setup.sections.begin(), setup.sections.end(), *setup.form.section)
                                       : setup.sections.end();
    const WPARAM index =
        at == setup.sections.end() ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(at - setup.sections.begin());
    SendDlgItemMessageW(dialog, LSU_IDC_SECTION, CB_SETCURSEL, index, 0);
    setControlText(dialog, LSU_IDC_DESCRIPTION, setup.form.name);
    setControlText(dialog, LSU_IDC_COMMAND_LINE, setup.form.commandLine);
}

// The chosen file's full path, or nullopt when the user cancelled.
std::optional<std::string> chooseProgramFile(HWND owner, const std::string& initialFolder) {
    const std::wstring folder = widen(initialFolder);
    std::vector<wchar_t> file(32768, L'\0');
    OPENFILENAMEW request = {};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = L"All Files (*.*)\0*.*\0";
    request.nFilterIndex = 1;
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    request.lpstrTitle = L"Select program :";
    // The program's own working folder stays where it was.
    request.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameW(&request)) return std::nullopt;
    return narrow(file.data());
}

class EntryDialog : public WindowObject {
public:
    EntryDialog(const SourcePorts& ports, const EntryDialogSetup& setup) : ports_(ports), setup_(setup) {}

    std::optional<EntryForm> show(HWND owner) {
        if (showModal(GetModuleHandleW(nullptr), LSU_IDD_ENTRY, owner) != IDOK) return std::nullopt;
        return confirmed_;
    }

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_INITDIALOG) {
            setUpDialog(handle(), setup_);
            return TRUE;
        }
        if (message != WM_COMMAND) return std::nullopt;
        switch (LOWORD(wParam)) {
            case IDOK: confirm(); return TRUE;
            case IDCANCEL: EndDialog(handle(), IDCANCEL); return TRUE;
            case LSU_IDC_FIND:
                if (HIWORD(wParam) == BN_CLICKED) browseForProgram();
                return TRUE;
            default: return std::nullopt;
        }
    }

    // When memory runs out the dialog ends as if cancelled, and nothing is written.
    void onHandlerFailed(const char*) noexcept override { EndDialog(handle(), IDCANCEL); }

    // OK closes the dialog only on fields that can be written; otherwise the
    // user is told why and the focus goes to the field at fault.
    void confirm() {
        EntryForm form = fieldsOf(handle(), setup_);
        if (auto refusal = refusalOfFields(form, setup_.forAdd)) {
            showMessage(handle(), refusal->message);
            SendMessageW(handle(), WM_NEXTDLGCTL,
                         reinterpret_cast<WPARAM>(GetDlgItem(handle(), controlOf(refusal->field))), TRUE);
            return;
        }
        confirmed_ = std::move(form);
        EndDialog(handle(), IDOK);
    }

    void browseForProgram() {
        const std::string folder =
            browseFolderFor(ports_.system, ports_.files, controlText(handle(), LSU_IDC_COMMAND_LINE));
        if (auto chosen = chooseProgramFile(handle(), folder))
            setControlText(handle(), LSU_IDC_COMMAND_LINE, commandLineForChosenFile(*chosen));
    }

    const SourcePorts& ports_;
    const EntryDialogSetup& setup_;
    EntryForm confirmed_;
};

}  // namespace

std::optional<EntryForm> showEntryDialog(HWND owner, const SourcePorts& ports, const EntryDialogSetup& setup) {
    return EntryDialog(ports, setup).show(owner);
}

}  // namespace lsu::win32
