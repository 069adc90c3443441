#pragma once
// The items the file system object hands out: File, Folder, Drive, and the
// Files, SubFolders and Drives collections. Each item knows its absolute
// path only; what it answers is read from the disk when asked.
#include <string>

#include "platform/com/com_ptr.h"
#include "platform/com/dispatch.h"

namespace zorv::scripting {

// Each raises 53 (file) or 76 (folder) when the path names no such item.
com::ComPtr<IDispatch> MakeFile(std::u16string_view path);
com::ComPtr<IDispatch> MakeFolder(std::u16string_view path);
// The drive `text` names ("/" on Linux; "C", "C:", "C:\\" or a share that
// answers on Windows) as DriveOf spells it; empty when there is no such drive.
std::u16string DriveNamed(std::u16string_view text);
// `name` as DriveNamed gives it.
com::ComPtr<IDispatch> MakeDrive(std::u16string_view name);
com::ComPtr<IDispatch> MakeDrives();

} // namespace zorv::scripting
