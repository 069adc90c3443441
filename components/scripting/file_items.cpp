#include "file_items.h"

#include <ctime>
#include <filesystem>
#include <vector>

#include "errors.h"
#include "file_operations.h"
#include "member_dispatch.h"
#include "path_text.h"
#include "platform/com/text.h"
#include "system_files.h"
#include "text_stream.h"

namespace zorv::scripting {
namespace {

namespace fs = std::filesystem;

enum Attribute : LONG { kReadOnly = 1, kHidden = 2, kDirectory = 16, kAlias = 1024 };

void Text(VARIANT& result, std::u16string_view text) {
    result = com::Variant(text).Detach();
}
void Object(Invocation& call, const com::ComPtr<IDispatch>& object) {
    ObjectResult(call, object.Get());
}

bool Flag(const Invocation& call, UINT at) {
    return call.args.Count() > at && !call.args.IsMissing(at) && call.args.Bool(at);
}

// A time as an Automation date (days since 30 December 1899, local time).
double OleDate(const timespec& when) {
    const std::time_t seconds = when.tv_sec;
    std::tm local{};
    localtime_r(&seconds, &local);
    // Days from the civil date, from Howard Hinnant's well-known formulation.
    const int y = local.tm_year + 1900 - (local.tm_mon < 2 ? 1 : 0);
    const int era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = y - era * 400;
    const int m = local.tm_mon + 1;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + local.tm_mday - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const long days = era * 146097L + doe - 719468L; // since 1970-01-01
    return static_cast<double>(days + 25569) +
           (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

FileFacts FactsOf(const std::u16string& path, int missing) {
    FileFacts facts;
    std::error_code failed;
    if (!ReadFileFacts(ToPath(path), facts, failed))
        RaiseFor(failed, missing);
    return facts;
}

void DateResult(VARIANT& result, const timespec& when) {
    result.vt = VT_DATE;
    result.date = OleDate(when);
}

std::uintmax_t TreeSize(const fs::path& folder) {
    std::uintmax_t total = 0;
    std::error_code failed;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, failed),
         end;
         !failed && it != end; it.increment(failed))
        if (it->is_regular_file(failed))
            total += it->file_size(failed);
    return total;
}

void SizeResult(VARIANT& result, std::uintmax_t size) {
    if (size <= 0x7FFFFFFF)
        result = com::Variant(static_cast<LONG>(size)).Detach();
    else
        result = com::Variant(static_cast<double>(size)).Detach();
}

// What File and Folder share: names, dates, attributes, the parent, the drive.
template <class Derived> class Item : public MemberDispatch<Derived> {
public:
    explicit Item(std::u16string path) : path_(std::move(path)) {}

protected:
    static constexpr int kMissing = Derived::kMissing;

    void Path(Invocation& call) { Text(call.result, path_); }
    void ShortPath(Invocation& call) { Path(call); }
    void ShortName(Invocation& call) { Text(call.result, FileNameOf(path_)); }
    // Renaming in place: a name taken already is an error, never a replacement.
    void Name(Invocation& call) {
        if (!call.IsPut())
            return Text(call.result, FileNameOf(path_));
        std::u16string name;
        if (FAILED(com::Variant(*call.put).ToString(name)) || name.empty() ||
            name.find_first_of(u"/\\") != std::u16string::npos)
            Raise(kBadFileName);
        const std::u16string renamed = Joined(ParentOf(path_), name);
        std::error_code failed;
        if (fs::exists(ToPath(renamed), failed))
            Raise(kFileExists);
        fs::rename(ToPath(path_), ToPath(renamed), failed);
        if (failed)
            RaiseFor(failed, kMissing);
        path_ = renamed;
    }
    void DateCreated(Invocation& call) { DateResult(call.result, FactsOf(path_, kMissing).created); }
    void DateLastModified(Invocation& call) { DateResult(call.result, FactsOf(path_, kMissing).modified); }
    void DateLastAccessed(Invocation& call) { DateResult(call.result, FactsOf(path_, kMissing).accessed); }
    void Attributes(Invocation& call) {
        const FileFacts facts = FactsOf(path_, kMissing);
        if (call.IsPut()) {
            LONG wanted = 0;
            if (FAILED(com::Variant(*call.put).ToLong(wanted)))
                Raise(kTypeMismatch);
            std::error_code failed;
            fs::permissions(ToPath(path_), fs::perms::owner_write,
                            wanted & kReadOnly ? fs::perm_options::remove : fs::perm_options::add, failed);
            if (failed)
                RaiseFor(failed, kMissing);
            return;
        }
        LONG attributes = 0;
        if (facts.readOnly)
            attributes |= kReadOnly;
        if (facts.hidden)
            attributes |= kHidden;
        if (facts.directory)
            attributes |= kDirectory;
        if (facts.alias)
            attributes |= kAlias;
        call.result = com::Variant(attributes).Detach();
    }
    void ParentFolder(Invocation& call) {
        const std::u16string parent = ParentOf(path_);
        if (!parent.empty())
            Object(call, MakeFolder(parent));
        else
            call.result = com::Variant(static_cast<IDispatch*>(nullptr)).Detach();
    }
    void Drive(Invocation& call) { Object(call, MakeDrive(DriveOf(path_))); }

    std::u16string path_;
};

class File final : public Item<File> {
public:
    static constexpr int kMissing = kFileNotFound;
    using Item::Item;
    static std::span<const Member<File>> Members() {
        static const Member<File> members[] = {
            {u"Path", DISPID_VALUE, &File::Path},
            {u"Name", 1, &File::Name},
            {u"ShortPath", 2, &File::ShortPath},
            {u"ShortName", 3, &File::ShortName},
            {u"Drive", 4, &File::Drive},
            {u"ParentFolder", 5, &File::ParentFolder},
            {u"Attributes", 6, &File::Attributes},
            {u"DateCreated", 7, &File::DateCreated},
            {u"DateLastModified", 8, &File::DateLastModified},
            {u"DateLastAccessed", 9, &File::DateLastAccessed},
            {u"Size", 10, &File::Size},
            {u"Type", 11, &File::Type},
            {u"Delete", 12, &File::Delete},
            {u"Copy", 13, &File::Copy},
            {u"Move", 14, &File::Move},
            {u"OpenAsTextStream", 15, &File::OpenAsTextStream},
        };
        return members;
    }
    std::u16string_view TypeName() const { return u"File"; }

private:
    void Size(Invocation& call) { SizeResult(call.result, FactsOf(path_, kMissing).size); }
    void Type(Invocation& call) {
        const std::u16string extension = ExtensionOf(path_);
        std::u16string upper;
        for (char16_t c : extension)
            upper += c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
        Text(call.result, extension.empty() ? u"Fichier" : u"Fichier " + upper);
    }
    void Delete(Invocation& call) {
        call.args.ExpectCount(0, 1);
        DeleteFiles(path_, Flag(call, 0));
    }
    void Copy(Invocation& call) {
        call.args.ExpectCount(1, 2);
        CopyFiles(path_, call.args.String(0), Flag(call, 1));
    }
    void Move(Invocation& call) {
        call.args.ExpectCount(1, 1);
        const std::u16string destination = call.args.String(0);
        MoveFiles(path_, destination);
        const bool intoFolder = EndsWithSeparator(destination);
        path_ = Absolute(intoFolder ? Joined(destination, FileNameOf(path_)) : destination);
    }
    void OpenAsTextStream(Invocation& call) {
        call.args.ExpectCount(0, 2);
        StreamRequest request;
        request.path = ToPath(path_);
        request.mode =
            static_cast<IoMode>(call.args.Count() > 0 && !call.args.IsMissing(0) ? call.args.Long(0) : 1);
        if (request.mode != IoMode::Reading && request.mode != IoMode::Writing &&
            request.mode != IoMode::Appending)
            Raise(kInvalidCall);
        request.tristate =
            call.args.Count() > 1 && !call.args.IsMissing(1) ? call.args.Long(1) : kTristateFalse;
        com::ComPtr<IDispatch> stream(com::MakeObject<TextStream>(request).Get());
        call.result = com::Variant(stream.Get()).Detach();
    }
};

// Files or SubFolders of a folder, as they are when asked for.
class Listing final : public MemberDispatch<Listing> {
public:
    Listing(std::u16string folder, bool folders) : folder_(std::move(folder)), folders_(folders) {}
    static std::span<const Member<Listing>> Members() {
        static const Member<Listing> members[] = {
            {u"Item", DISPID_VALUE, &Listing::Item},
            {u"Count", 1, &Listing::Count},
            {u"_NewEnum", DISPID_NEWENUM, &Listing::NewEnum},
        };
        return members;
    }
    std::u16string_view TypeName() const { return folders_ ? u"Folders" : u"Files"; }

private:
    std::vector<std::u16string> Paths() const {
        std::vector<std::u16string> paths;
        std::error_code failed;
        for (fs::directory_iterator it(ToPath(folder_), failed), end; !failed && it != end;
             it.increment(failed)) {
            std::error_code kind;
            if (folders_ ? it->is_directory(kind) : it->is_regular_file(kind))
                paths.push_back(Joined(folder_, FromPath(it->path().filename())));
        }
        if (failed)
            RaiseFor(failed, kPathNotFound);
        std::sort(paths.begin(), paths.end());
        return paths;
    }
    com::ComPtr<IDispatch> Make(const std::u16string& path) const {
        return folders_ ? MakeFolder(path) : MakeFile(path);
    }

    void Item(Invocation& call) {
        call.args.ExpectCount(1, 1);
        const std::u16string name = call.args.String(0);
        for (const std::u16string& path : Paths()) {
            if (FileNameOf(path) == name) {
                call.result = com::Variant(Make(path).Get()).Detach();
                return;
            }
        }
        Raise(folders_ ? kPathNotFound : kFileNotFound);
    }
    void Count(Invocation& call) { call.result = com::Variant(static_cast<LONG>(Paths().size())).Detach(); }
    void NewEnum(Invocation& call) {
        com::Values items;
        for (const std::u16string& path : Paths())
            items.emplace_back(Make(path).Get());
        com::ValueList(std::move(items)).EnumeratorResult(call.result);
    }

    std::u16string folder_;
    bool folders_;
};

class Folder final : public Item<Folder> {
public:
    static constexpr int kMissing = kPathNotFound;
    using Item::Item;
    static std::span<const Member<Folder>> Members() {
        static const Member<Folder> members[] = {
            {u"Path", DISPID_VALUE, &Folder::Path},
            {u"Name", 1, &Folder::Name},
            {u"ShortPath", 2, &Folder::ShortPath},
            {u"ShortName", 3, &Folder::ShortName},
            {u"Drive", 4, &Folder::Drive},
            {u"ParentFolder", 5, &Folder::ParentFolder},
            {u"Attributes", 6, &Folder::Attributes},
            {u"DateCreated", 7, &Folder::DateCreated},
            {u"DateLastModified", 8, &Folder::DateLastModified},
            {u"DateLastAccessed", 9, &Folder::DateLastAccessed},
            {u"Size", 10, &Folder::Size},
            {u"Type", 11, &Folder::Type},
            {u"Delete", 12, &Folder::Delete},
            {u"Copy", 13, &Folder::Copy},
            {u"Move", 14, &Folder::Move},
            {u"IsRootFolder", 15, &Folder::IsRootFolder},
            {u"Files", 16, &Folder::Files},
            {u"SubFolders", 17, &Folder::SubFolders},
            {u"CreateTextFile", 18, &Folder::CreateTextFile},
        };
        return members;
    }
    std::u16string_view TypeName() const { return u"Folder"; }

private:
    void Size(Invocation& call) { SizeResult(call.result, TreeSize(ToPath(path_))); }
    void Type(Invocation& call) { Text(call.result, u"Dossier de fichiers"); }
    void Delete(Invocation& call) {
        call.args.ExpectCount(0, 1);
        DeleteFolders(path_, Flag(call, 0));
    }
    void Copy(Invocation& call) {
        call.args.ExpectCount(1, 2);
        CopyFolders(path_, call.args.String(0), Flag(call, 1));
    }
    void Move(Invocation& call) {
        call.args.ExpectCount(1, 1);
        const std::u16string destination = call.args.String(0);
        MoveFolders(path_, destination);
        const bool intoFolder = EndsWithSeparator(destination);
        path_ = Absolute(intoFolder ? Joined(destination, FileNameOf(path_)) : destination);
    }
    void IsRootFolder(Invocation& call) { call.result = com::Variant(IsRoot(path_)).Detach(); }
    void Files(Invocation& call) {
        Object(call, com::ComPtr<IDispatch>(com::MakeObject<Listing>(path_, false).Get()));
    }
    void SubFolders(Invocation& call) {
        Object(call, com::ComPtr<IDispatch>(com::MakeObject<Listing>(path_, true).Get()));
    }
    void CreateTextFile(Invocation& call);
};

// A drive by its name as DriveOf gives it: "/" on Linux, "C:" or a share on Windows.
class Drive final : public MemberDispatch<Drive> {
public:
    explicit Drive(std::u16string name) : name_(std::move(name)) {}
    static std::span<const Member<Drive>> Members() {
        // clang-format off
        static const Member<Drive> members[] = {
            {u"Path", DISPID_VALUE, &Drive::Path},
            {u"DriveLetter", 1, &Drive::DriveLetter},
            {u"ShareName", 2, &Drive::ShareName},
            {u"DriveType", 3, &Drive::DriveType},
            {u"RootFolder", 4, &Drive::RootFolder},
            {u"AvailableSpace", 5, &Drive::AvailableSpace},
            {u"FreeSpace", 6, &Drive::FreeSpace},
            {u"TotalSize", 7, &Drive::TotalSize},
            {u"VolumeName", 8, &Drive::VolumeName},
            {u"FileSystem", 9, &Drive::FileSystem},
            {u"SerialNumber", 10, &Drive::SerialNumber},
            {u"IsReady", 11, &Drive::IsReady},
        };
        // clang-format on
        return members;
    }
    std::u16string_view TypeName() const { return u"Drive"; }

private:
    std::u16string Root() const { return EndsWithSeparator(name_) ? name_ : name_ + kSeparator; }
    DriveFacts Facts() const {
        DriveFacts facts;
        if (!ReadDriveFacts(Root(), facts))
            Raise(kDiskNotReady);
        return facts;
    }
    bool IsLetter() const { return name_.size() == 2 && name_[1] == u':'; }

    void Path(Invocation& call) { Text(call.result, name_); }
    void DriveLetter(Invocation& call) { Text(call.result, IsLetter() ? name_.substr(0, 1) : u""); }
    void ShareName(Invocation& call) { Text(call.result, name_.starts_with(u"\\\\") ? name_ : u""); }
    void DriveType(Invocation& call) {
        DriveFacts facts;
        ReadDriveFacts(Root(), facts); // the kind, even of a drive that is not ready
        call.result = com::Variant(LONG{facts.type}).Detach();
    }
    void RootFolder(Invocation& call) { Object(call, MakeFolder(Root())); }
    void AvailableSpace(Invocation& call) { call.result = com::Variant(Facts().available).Detach(); }
    void FreeSpace(Invocation& call) { call.result = com::Variant(Facts().free).Detach(); }
    void TotalSize(Invocation& call) { call.result = com::Variant(Facts().total).Detach(); }
    void VolumeName(Invocation& call) { Text(call.result, Facts().volumeName); }
    void FileSystem(Invocation& call) { Text(call.result, Facts().fileSystem); }
    void SerialNumber(Invocation& call) {
        call.result = com::Variant(static_cast<LONG>(Facts().serialNumber & 0x7FFFFFFF)).Detach();
    }
    void IsReady(Invocation& call) {
        DriveFacts facts;
        call.result = com::Variant(ReadDriveFacts(Root(), facts)).Detach();
    }

    std::u16string name_;
};

class Drives final : public MemberDispatch<Drives> {
public:
    static std::span<const Member<Drives>> Members() {
        static const Member<Drives> members[] = {
            {u"Item", DISPID_VALUE, &Drives::Item},
            {u"Count", 1, &Drives::Count},
            {u"_NewEnum", DISPID_NEWENUM, &Drives::NewEnum},
        };
        return members;
    }
    std::u16string_view TypeName() const { return u"Drives"; }

private:
    void Item(Invocation& call) {
        call.args.ExpectCount(1, 1);
        const std::u16string name = DriveNamed(call.args.String(0));
        if (name.empty())
            Raise(kElementNotFound);
        call.result = com::Variant(MakeDrive(name).Get()).Detach();
    }
    void Count(Invocation& call) {
        call.result = com::Variant(static_cast<LONG>(DriveNames().size())).Detach();
    }
    void NewEnum(Invocation& call) {
        com::Values items;
        for (const std::u16string& name : DriveNames())
            items.emplace_back(MakeDrive(name).Get());
        com::ValueList(std::move(items)).EnumeratorResult(call.result);
    }
};

void Folder::CreateTextFile(Invocation& call) {
    call.args.ExpectCount(1, 3);
    const std::u16string name = call.args.String(0);
    const bool absolute = RootLength(Normalized(name)) > 0;
    call.result = com::Variant(scripting::CreateTextFile(absolute ? name : Joined(path_, name), Flag(call, 1),
                                                         Flag(call, 2))
                                   .Get())
                      .Detach();
}

} // namespace

com::ComPtr<IDispatch> MakeFile(std::u16string_view path) {
    const std::u16string absolute = Absolute(path);
    std::error_code failed;
    if (!fs::is_regular_file(ToPath(absolute), failed))
        Raise(kFileNotFound);
    return com::ComPtr<IDispatch>(com::MakeObject<File>(absolute).Get());
}

com::ComPtr<IDispatch> MakeFolder(std::u16string_view path) {
    const std::u16string absolute = Absolute(path);
    std::error_code failed;
    if (!fs::is_directory(ToPath(absolute), failed))
        Raise(kPathNotFound);
    return com::ComPtr<IDispatch>(com::MakeObject<Folder>(absolute).Get());
}

std::u16string DriveNamed(std::u16string_view text) {
#ifdef _WIN32
    // "c", "C:" and "C:\" all name drive C, when the system has it.
    std::u16string name(text.substr(0, 1));
    if (!name.empty() && name[0] >= u'a' && name[0] <= u'z')
        name[0] = static_cast<char16_t>(name[0] - u'a' + u'A');
    name += u':';
    if (text.size() <= 1 ||
        (text[1] == u':' && (text.size() == 2 || (text.size() == 3 && IsSeparator(text[2]))))) {
        const std::vector<std::u16string> drives = DriveNames();
        if (std::find(drives.begin(), drives.end(), name) != drives.end())
            return name;
    }
    // A share is a drive while it answers.
    const std::u16string share = DriveOf(text);
    DriveFacts facts;
    return share.starts_with(u"\\\\") && ReadDriveFacts(share + kSeparator, facts) ? share : std::u16string();
#else
    return text == u"/" || text == u"\\" ? u"/" : u"";
#endif
}

com::ComPtr<IDispatch> MakeDrive(std::u16string_view name) {
    return com::ComPtr<IDispatch>(com::MakeObject<Drive>(std::u16string(name)).Get());
}
com::ComPtr<IDispatch> MakeDrives() {
    return com::ComPtr<IDispatch>(com::MakeObject<Drives>().Get());
}

} // namespace zorv::scripting
