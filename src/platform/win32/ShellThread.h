#pragma once
// The shell's objects on a thread: its COM apartment, and one link object
// that reads every link the thread reads.

#include <windows.h>
#include <shobjidl.h>
#include <wrl/client.h>

namespace lsu::win32 {

// A link object with its file interface; loading a file replaces all it held.
struct OpenLink {
    Microsoft::WRL::ComPtr<IShellLinkW> link;
    Microsoft::WRL::ComPtr<IPersistFile> file;
};
HRESULT newLink(OpenLink& open);

// Enters the apartment for as long as it lives and keeps a link object for
// the thread: making one costs more than reading a link. The object is let go
// before the apartment is left, here and not in the thread's own storage,
// which is torn down after the system has already let go of the thread's COM
// objects. The outermost one of a thread lends its object to the thread.
class ShellThread {
public:
    ShellThread();
    ~ShellThread();
    ShellThread(const ShellThread&) = delete;
    ShellThread& operator=(const ShellThread&) = delete;

    // The link object this thread's outermost ShellThread holds, or nullptr.
    static OpenLink* linkReader();

private:
    HRESULT apartment_;
    OpenLink reader_;
    bool lent_ = false;
};

}  // namespace lsu::win32
