#include "file_system_object.h"

#include <filesystem>
#include <random>

#include "errors.h"
#include "file_items.h"
#include "file_operations.h"
#include "path_text.h"
#include "system_files.h"
#include "text_stream.h"

namespace zorv::scripting {
namespace {

namespace fs = std::filesystem;

void Text(VARIANT& result, std::u16string_view text) {
    result = com::Variant(text).Detach();
}
void Bool(VARIANT& result, bool value) {
    result = com::Variant(value).Detach();
}
void Object(Invocation& call, const com::ComPtr<IDispatch>& object) {
    call.result = com::Variant(object.Get()).Detach();
}

std::u16string OneText(const Invocation& call) {
    call.args.ExpectCount(1, 1);
    return call.args.String(0);
}

bool OptionalFlag(const Invocation& call, UINT at, bool missing) {
    return call.args.Count() > at && !call.args.IsMissing(at) ? call.args.Bool(at) : missing;
}

LONG OptionalLong(const Invocation& call, UINT at, LONG missing) {
    return call.args.Count() > at && !call.args.IsMissing(at) ? call.args.Long(at) : missing;
}

} // namespace

std::span<const Member<FileSystemObject>> FileSystemObject::Members() {
    using F = FileSystemObject;
    static const Member<F> members[] = {
        {u"BuildPath", 1, &F::BuildPath},
        {u"GetAbsolutePathName", 2, &F::GetAbsolutePathName},
        {u"GetBaseName", 3, &F::GetBaseName},
        {u"GetExtensionName", 4, &F::GetExtensionName},
        {u"GetFileName", 5, &F::GetFileName},
        {u"GetParentFolderName", 6, &F::GetParentFolderName},
        {u"GetDriveName", 7, &F::GetDriveName},
        {u"GetTempName", 8, &F::GetTempName},
        {u"FileExists", 9, &F::FileExists},
        {u"FolderExists", 10, &F::FolderExists},
        {u"DriveExists", 11, &F::DriveExists},
        {u"GetFile", 12, &F::GetFile},
        {u"GetFolder", 13, &F::GetFolder},
        {u"GetDrive", 14, &F::GetDrive},
        {u"Drives", 15, &F::Drives},
        {u"GetSpecialFolder", 16, &F::GetSpecialFolder},
        {u"CreateFolder", 17, &F::CreateFolder},
        {u"CreateTextFile", 18, &F::CreateTextFile},
        {u"OpenTextFile", 19, &F::OpenTextFile},
        {u"CopyFile", 20, &F::CopyFile},
        {u"MoveFile", 21, &F::MoveFile},
        {u"DeleteFile", 22, &F::DeleteFile},
        {u"CopyFolder", 23, &F::CopyFolder},
        {u"MoveFolder", 24, &F::MoveFolder},
        {u"DeleteFolder", 25, &F::DeleteFolder},
        {u"GetStandardStream", 26, &F::GetStandardStream},
    };
    return members;
}

void FileSystemObject::BuildPath(Invocation& call) {
    call.args.ExpectCount(2, 2);
    Text(call.result, Joined(call.args.String(0), call.args.String(1)));
}

void FileSystemObject::GetAbsolutePathName(Invocation& call) {
    Text(call.result, Absolute(OneText(call)));
}
void FileSystemObject::GetBaseName(Invocation& call) {
    Text(call.result, BaseNameOf(OneText(call)));
}
void FileSystemObject::GetExtensionName(Invocation& call) {
    Text(call.result, ExtensionOf(OneText(call)));
}
void FileSystemObject::GetFileName(Invocation& call) {
    Text(call.result, FileNameOf(OneText(call)));
}
void FileSystemObject::GetParentFolderName(Invocation& call) {
    Text(call.result, ParentOf(OneText(call)));
}

// Linux's one drive is the root: absolute paths are on it, relative ones name none.
void FileSystemObject::GetDriveName(Invocation& call) {
    Text(call.result, DriveOf(OneText(call)));
}

// A name, not a file: "radXXXXX.tmp", as the classic one makes them.
void FileSystemObject::GetTempName(Invocation& call) {
    call.args.ExpectCount(0, 0);
    static std::mt19937 random{std::random_device{}()};
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string name = u"rad";
    for (int i = 0; i < 5; ++i)
        name += kDigits[random() % 16];
    Text(call.result, name + u".tmp");
}

void FileSystemObject::FileExists(Invocation& call) {
    std::error_code failed;
    Bool(call.result, fs::is_regular_file(ToPath(OneText(call)), failed));
}

void FileSystemObject::FolderExists(Invocation& call) {
    std::error_code failed;
    Bool(call.result, fs::is_directory(ToPath(OneText(call)), failed));
}

void FileSystemObject::DriveExists(Invocation& call) {
    Bool(call.result, !DriveNamed(OneText(call)).empty());
}

void FileSystemObject::GetFile(Invocation& call) {
    Object(call, MakeFile(OneText(call)));
}
void FileSystemObject::GetFolder(Invocation& call) {
    Object(call, MakeFolder(OneText(call)));
}

void FileSystemObject::GetDrive(Invocation& call) {
    const std::u16string drive = DriveNamed(OneText(call));
    if (drive.empty())
        Raise(kDiskNotReady);
    Object(call, MakeDrive(drive));
}

void FileSystemObject::Drives(Invocation& call) {
    ObjectResult(call, MakeDrives().Get());
}

// 0 the system's folder ("/", the Windows folder), 1 its programs
// ("/usr/bin", System32), 2 the temporary folder.
void FileSystemObject::GetSpecialFolder(Invocation& call) {
    call.args.ExpectCount(1, 1);
    const LONG which = call.args.Long(0);
    if (which < 0 || which > 2)
        Raise(kInvalidCall);
    Object(call, MakeFolder(Normalized(SpecialFolder(which))));
}

void FileSystemObject::CreateFolder(Invocation& call) {
    const std::u16string path = OneText(call);
    scripting::CreateFolder(path);
    Object(call, MakeFolder(path));
}

void FileSystemObject::CreateTextFile(Invocation& call) {
    call.args.ExpectCount(1, 3);
    Object(call, scripting::CreateTextFile(call.args.String(0), OptionalFlag(call, 1, false),
                                           OptionalFlag(call, 2, false)));
}

void FileSystemObject::OpenTextFile(Invocation& call) {
    call.args.ExpectCount(1, 4);
    Object(call,
           scripting::OpenTextFile(call.args.String(0), static_cast<IoMode>(OptionalLong(call, 1, 1)),
                                   OptionalFlag(call, 2, false), OptionalLong(call, 3, kTristateFalse)));
}

// Copies replace nothing unless overwrite is passed as True.
void FileSystemObject::CopyFile(Invocation& call) {
    call.args.ExpectCount(2, 3);
    CopyFiles(call.args.String(0), call.args.String(1), OptionalFlag(call, 2, false));
}

void FileSystemObject::MoveFile(Invocation& call) {
    call.args.ExpectCount(2, 2);
    MoveFiles(call.args.String(0), call.args.String(1));
}

void FileSystemObject::DeleteFile(Invocation& call) {
    call.args.ExpectCount(1, 2);
    DeleteFiles(call.args.String(0), OptionalFlag(call, 1, false));
}

void FileSystemObject::CopyFolder(Invocation& call) {
    call.args.ExpectCount(2, 3);
    CopyFolders(call.args.String(0), call.args.String(1), OptionalFlag(call, 2, false));
}

void FileSystemObject::MoveFolder(Invocation& call) {
    call.args.ExpectCount(2, 2);
    MoveFolders(call.args.String(0), call.args.String(1));
}

void FileSystemObject::DeleteFolder(Invocation& call) {
    call.args.ExpectCount(1, 2);
    DeleteFolders(call.args.String(0), OptionalFlag(call, 1, false));
}

// The standard streams are the host's (WScript.StdIn...), not the component's.
void FileSystemObject::GetStandardStream(Invocation& call) {
    call.args.ExpectCount(1, 2);
    Raise(kInvalidCall);
}

} // namespace zorv::scripting
