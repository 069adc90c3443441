#pragma once
// Copying, moving and deleting files and folders for the file system object
// and its items. Sources may end with a wildcard name ("logs/*.txt");
// nothing existing is ever replaced unless the caller passed overwrite, and
// a replaced file is swapped in whole, so a failed copy leaves it as it was.
#include <string_view>

namespace zorv::scripting {

void CopyFiles(std::u16string_view source, std::u16string_view destination, bool overwrite);
void MoveFiles(std::u16string_view source, std::u16string_view destination);
void DeleteFiles(std::u16string_view source, bool force);
void CopyFolders(std::u16string_view source, std::u16string_view destination, bool overwrite);
void MoveFolders(std::u16string_view source, std::u16string_view destination);
void DeleteFolders(std::u16string_view source, bool force);
void CreateFolder(std::u16string_view path);

} // namespace zorv::scripting
