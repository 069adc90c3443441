#pragma once
// "Scripting.FileSystemObject": paths, files, folders, the drive and text
// files, with the classic members' names, arguments and error numbers.
#include <span>

#include "member_dispatch.h"

namespace zorv::scripting {

inline constexpr CLSID kClsidFileSystemObject = {
    0x3C7F1A20, 0x5E4B, 0x4D9A, {0x8F, 0x61, 0x2B, 0x0C, 0x9D, 0x4E, 0x5A, 0x02}};

class FileSystemObject final : public MemberDispatch<FileSystemObject> {
public:
    static std::span<const Member<FileSystemObject>> Members();
    std::u16string_view TypeName() const { return u"FileSystemObject"; }

private:
    void BuildPath(Invocation& call);
    void GetAbsolutePathName(Invocation& call);
    void GetBaseName(Invocation& call);
    void GetExtensionName(Invocation& call);
    void GetFileName(Invocation& call);
    void GetParentFolderName(Invocation& call);
    void GetDriveName(Invocation& call);
    void GetTempName(Invocation& call);
    void FileExists(Invocation& call);
    void FolderExists(Invocation& call);
    void DriveExists(Invocation& call);
    void GetFile(Invocation& call);
    void GetFolder(Invocation& call);
    void GetDrive(Invocation& call);
    void Drives(Invocation& call);
    void GetSpecialFolder(Invocation& call);
    void CreateFolder(Invocation& call);
    void CreateTextFile(Invocation& call);
    void OpenTextFile(Invocation& call);
    void CopyFile(Invocation& call);
    void MoveFile(Invocation& call);
    void DeleteFile(Invocation& call);
    void CopyFolder(Invocation& call);
    void MoveFolder(Invocation& call);
    void DeleteFolder(Invocation& call);
    void GetStandardStream(Invocation& call);
};

} // namespace zorv::scripting
