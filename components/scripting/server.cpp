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
     [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<Dictionary>(riid, ppv); },
     u"Scripting.Dictionary"},
    {kClsidFileSystemObject,
     [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<FileSystemObject>(riid, ppv); },
     u"Scripting.FileSystemObject"},
    {kClsidShell, [](REFIID riid, void** ppv) { return zorv::com::CreateObjectOf<Shell>(riid, ppv); },
     u"WScript.Shell"},
};

} // namespace

ZORV_COMPONENT_ENTRY_POINTS(kClasses)
