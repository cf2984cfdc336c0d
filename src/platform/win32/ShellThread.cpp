#include "platform/win32/ShellThread.h"

namespace lsu::win32 {

namespace {

thread_local OpenLink* threadReader = nullptr;

}  // namespace

HRESULT newLink(OpenLink& open) {
    HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&open.link));
    return SUCCEEDED(result) ? open.link.As(&open.file) : result;
}

ShellThread::ShellThread() : apartment_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {
    if (!threadReader && SUCCEEDED(newLink(reader_))) {
        threadReader = &reader_;
        lent_ = true;
    }
}

ShellThread::~ShellThread() {
    if (lent_) threadReader = nullptr;
    reader_ = {};
    if (SUCCEEDED(apartment_)) CoUninitialize();
}

OpenLink* ShellThread::linkReader() { return threadReader; }

}  // namespace lsu::win32
