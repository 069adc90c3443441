// The library's entry point: the class table asks it for the class
// factories of the dictionary, the file system object and the shell.
#include "dictionary.h"
#include "file_system_object.h"
#include "platform/com/inproc_server.h"
#include "shell.h"

namespace {

using namespace zorv::scripting;

const zorv::com::ServedClass kClasses[] = {
    {kClsidDictionary,
     [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<Dictionary>(riid, ppv); }},
    {kClsidFileSystemObject,
     [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<FileSystemObject>(riid, ppv); }},
    {kClsidShell, [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<Shell>(riid, ppv); }},
};

} // namespace

ZORV_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    return zorv::com::ServeClassObject(kClasses, rclsid, riid, ppv);
}

ZORV_EXPORT HRESULT DllCanUnloadNow() {
    return S_FALSE;
}
